// SPDX-License-Identifier: MIT
// The page around the window: what it shows while the window is closed.
mergeInto(LibraryManager.library, {
  qup_page_closed: function() {
    return Asyncify.handleSleep(function(wakeUp) {
      var desk = document.getElementById('qup-desk');
      var note = document.getElementById('qup-closed');
      desk.dataset.state = 'closed';
      note.hidden = false;
      var again = note.querySelector('button');
      again.focus();
      again.addEventListener('click', function() {
        note.hidden = true;
        desk.dataset.state = 'open';
        wakeUp(0);
      }, {once: true});
    });
  },
});
