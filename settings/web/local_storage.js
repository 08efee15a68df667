// SPDX-License-Identifier: MIT
// The browser's local storage as the settings store reads and writes it: one text an item.
mergeInto(LibraryManager.library, {
  // The item's text with its zero byte when it fits in size; returns the bytes it needs, -1
  // when there is no such item and -2 when the browser refuses the storage.
  qup_storage_read: function(namePtr, buffer, size) {
    var text;
    try {
      text = window.localStorage.getItem(UTF8ToString(namePtr));
    } catch (error) {
      return -2;
    }
    if (text === null) return -1;
    var needed = lengthBytesUTF8(text) + 1;
    if (buffer && size >= needed) stringToUTF8(text, buffer, size);
    return needed;
  },
  // Whether the whole text was stored.
  qup_storage_write: function(namePtr, textPtr) {
    try {
      window.localStorage.setItem(UTF8ToString(namePtr), UTF8ToString(textPtr));
      return 1;
    } catch (error) {
      return 0;
    }
  },
});
