// SPDX-License-Identifier: MIT
// The one request a suggestion makes, sent by the browser to the page's own origin.
mergeInto(LibraryManager.library, {
  // The page's host name, for the address a suggestion's reply is shown under.
  qup_net_page_host: function(buffer, size) {
    stringToUTF8(window.location.hostname, buffer, size);
  },
  qup_net_online: function() {
    return navigator.onLine === false ? 0 : 1;
  },
  // Posts body to path with the form type and waits for the reply, at most timeout
  // milliseconds. The reply is written as its status line, an empty line and its text, cut to
  // size bytes; returns the bytes written, or -1 when no reply came.
  qup_net_post: function(pathPtr, bodyPtr, timeout, buffer, size) {
    var path = UTF8ToString(pathPtr);
    var body = UTF8ToString(bodyPtr);
    return Asyncify.handleSleep(function(wakeUp) {
      var abort = new AbortController();
      var timer = setTimeout(function() { abort.abort(); }, timeout);
      var status = '';
      fetch(path, {
        method: 'POST',
        headers: {'Content-Type': 'application/x-www-form-urlencoded'},
        body: body,
        cache: 'no-store',
        credentials: 'same-origin',
        signal: abort.signal,
      }).then(function(response) {
        var reason = response.statusText || (response.status === 200 ? 'OK' : '');
        status = 'HTTP/1.1 ' + response.status + ' ' + reason + '\r\n\r\n';
        return response.text();
      }).then(function(text) {
        clearTimeout(timer);
        var reply = new TextEncoder().encode(status + text).subarray(0, size);
        HEAPU8.set(reply, buffer);
        wakeUp(reply.length);
      }, function() {
        clearTimeout(timer);
        wakeUp(-1);
      });
    });
  },
});
