// SPDX-License-Identifier: MIT
// Starts the program once its code is loaded, and keeps the page's files for use offline.
'use strict';
var Module = {
  onRuntimeInitialized: function() {
    var loading = document.getElementById('qup-loading');
    if (loading) loading.remove();
    document.getElementById('qup-desk').dataset.state = 'open';
  },
  print: function(text) { console.log(text); },
  printErr: function(text) { console.error(text); },
};
if ('serviceWorker' in navigator && window.location.protocol !== 'file:') {
  window.addEventListener('load', function() {
    navigator.serviceWorker.register('sw.js').catch(function() {});
  });
}
