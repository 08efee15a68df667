// SPDX-License-Identifier: MIT
// Keeps the calculators' files, so that the page opens without a network once it has been
// visited. Suggestions and every other request go to the network as usual.
'use strict';
var CACHE = 'qup-@QUP_VERSION@';
var FILES = ['./', 'index.html', 'qup.css', 'start.js', 'qup.js', 'qup.wasm', 'logo.png',
             'icon-large.png', 'icon-small.png', 'qup.webmanifest'];

self.addEventListener('install', function(event) {
  event.waitUntil(caches.open(CACHE).then(function(cache) { return cache.addAll(FILES); }));
});

self.addEventListener('activate', function(event) {
  event.waitUntil(caches.keys().then(function(names) {
    return Promise.all(names.filter(function(name) { return name !== CACHE; })
                            .map(function(name) { return caches.delete(name); }));
  }));
});

self.addEventListener('fetch', function(event) {
  if (event.request.method !== 'GET') return;
  var url = new URL(event.request.url);
  if (url.origin !== self.location.origin) return;
  event.respondWith(fetch(event.request).then(function(response) {
    return response;
  }, function() {
    return caches.match(event.request, {ignoreSearch: true});
  }));
});
