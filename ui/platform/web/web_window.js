// SPDX-License-Identifier: MIT
// The page side of the web window: each dialog is a tree of real HTML controls, one element a
// control, placed from the template (or, on a narrow screen, one after another in Tab order).
// What the user does is queued as events that the program's modal loop takes one at a time, so
// the dialog logic runs as it does on the desktop: to completion, one notification after the
// other.

var QupWebWindowLibrary = {
  $QupDom: {
    windows: [],
    // Kinds as ui::ControlKind numbers them.
    kinds: ['static', 'picture', 'icon', 'group', 'edit', 'multiline', 'combo', 'droplist',
            'button', 'radio', 'tabs'],
    events: {command: 0, tab: 1, system: 2, press: 3, arrow: 4, tabKey: 5},
    listening: false,
    notifications: {clicked: 0, focus: 1, maxText: 2},
    images: {128: 'icon-large.png', 135: 'icon-small.png', 131: 'logo.png'},

    front: function() {
      for (var i = QupDom.windows.length - 1; i >= 0; --i) {
        if (QupDom.windows[i]) return QupDom.windows[i];
      }
      return null;
    },
    push: function(win, event) {
      if (win.ended) return;
      if (win.waiter) {
        var wake = win.waiter;
        win.waiter = null;
        wake(event);
      } else {
        win.queue.push(event);
      }
    },
    command: function(win, id, code) {
      QupDom.push(win, [QupDom.events.command, id, code, 0, 0]);
    },
    // How long a text is for an edit's limit: UTF-16 units with a line break counting as two.
    counted: function(text) {
      return text.replace(/\r\n|\n/g, '\r\n').length;
    },
    // The longest beginning of text that fits in room, splitting neither a character nor a
    // line break.
    fitting: function(text, room) {
      var used = 0;
      var i = 0;
      while (i < text.length) {
        var step = 1;
        var cost = 1;
        var code = text.charCodeAt(i);
        if (text[i] === '\r' && text[i + 1] === '\n') { step = 2; cost = 2; }
        else if (text[i] === '\n') { cost = 2; }
        else if (code >= 0xD800 && code < 0xDC00) { step = 2; cost = 2; }
        if (used + cost > room) break;
        used += cost;
        i += step;
      }
      return text.slice(0, i);
    },
    element: function(win, id) {
      var control = win.controls.get(id);
      return control ? control.element : null;
    },
    // The element that takes the focus and the keys for a control.
    focusTarget: function(control) {
      return control.input || control.element;
    },
    // Tab visits one radio button of a group: its first checked one, or its first.
    updateRadioStops: function(win, control) {
      var group = control.group.map(function(id) { return win.controls.get(id); });
      var stop = group.find(function(c) { return c.input.checked; }) || group[0];
      group.forEach(function(c) { c.input.tabIndex = c === stop ? 0 : -1; });
    },
    setChecked: function(win, control, checked) {
      control.input.checked = checked;
      control.input.setAttribute('aria-checked', checked ? 'true' : 'false');
      QupDom.updateRadioStops(win, control);
    },
    // A user's choice of a radio button: it is checked and its partners are not.
    choose: function(win, control) {
      control.group.forEach(function(id) {
        var partner = win.controls.get(id);
        if (partner !== control) QupDom.setChecked(win, partner, false);
      });
      QupDom.setChecked(win, control, true);
    },
    selectTab: function(win, control, index, byUser) {
      control.tabs.forEach(function(tab, i) {
        tab.setAttribute('aria-selected', i === index ? 'true' : 'false');
        tab.tabIndex = i === index ? 0 : -1;
      });
      control.current = index;
      win.panels.forEach(function(panel, page) {
        if (page === index) panel.removeAttribute('hidden');
        else panel.setAttribute('hidden', '');
      });
      if (byUser) QupDom.push(win, [QupDom.events.tab, control.id, 0, 0, 0]);
    },
    comboShow: function(control, index) {
      control.index = index;
      control.input.value = index >= 0 ? control.entries[index] : control.input.value;
      control.options.forEach(function(option, i) {
        option.setAttribute('aria-selected', i === index ? 'true' : 'false');
      });
    },
    comboOpen: function(control, open) {
      control.open = open;
      control.input.setAttribute('aria-expanded', open ? 'true' : 'false');
      if (open) {
        control.list.removeAttribute('hidden');
        control.active = control.index >= 0 ? control.index : -1;
      } else {
        control.list.setAttribute('hidden', '');
        control.input.removeAttribute('aria-activedescendant');
      }
      QupDom.comboActive(control, control.active);
    },
    comboActive: function(control, index) {
      control.active = index;
      control.options.forEach(function(option, i) {
        option.classList.toggle('active', i === index);
      });
      if (control.open && index >= 0) {
        control.input.setAttribute('aria-activedescendant', control.options[index].id);
      }
    },
    comboPick: function(control, index) {
      QupDom.comboShow(control, index);
      QupDom.comboOpen(control, false);
      control.input.focus();
    },
    makeCombo: function(win, control, name) {
      var box = document.createElement('div');
      var input = document.createElement('input');
      var button = document.createElement('button');
      var list = document.createElement('ul');
      input.type = 'text';
      input.autocomplete = 'off';
      input.setAttribute('role', 'combobox');
      input.setAttribute('aria-autocomplete', 'none');
      input.setAttribute('aria-expanded', 'false');
      list.id = control.element_id + '-list';
      list.setAttribute('role', 'listbox');
      list.setAttribute('aria-label', name);
      list.setAttribute('hidden', '');
      input.setAttribute('aria-controls', list.id);
      button.type = 'button';
      button.tabIndex = -1;
      button.className = 'qup-combo-button';
      button.setAttribute('aria-hidden', 'true');
      button.textContent = '\u25BE';
      box.append(input, button, list);
      control.input = input;
      control.list = list;
      control.entries = [];
      control.options = [];
      control.index = -1;
      control.active = -1;
      control.open = false;
      button.addEventListener('mousedown', function(event) { event.preventDefault(); });
      button.addEventListener('click', function() {
        if (input.disabled) return;
        input.focus();
        QupDom.comboOpen(control, !control.open);
      });
      input.addEventListener('input', function() { control.index = -1; });
      input.addEventListener('blur', function() { QupDom.comboOpen(control, false); });
      input.addEventListener('keydown', function(event) {
        var count = control.entries.length;
        if (event.key === 'F4' || (event.altKey && (event.key === 'ArrowDown' ||
                                                    event.key === 'ArrowUp'))) {
          event.preventDefault();
          event.stopPropagation();
          QupDom.comboOpen(control, !control.open);
        } else if (event.key === 'ArrowDown' || event.key === 'ArrowUp') {
          event.preventDefault();
          event.stopPropagation();
          if (count === 0) return;
          var from = control.open ? control.active : control.index;
          var next = event.key === 'ArrowDown' ? Math.min(from + 1, count - 1)
                                               : Math.max(from - 1, 0);
          if (control.open) QupDom.comboActive(control, next);
          else QupDom.comboShow(control, next);
        } else if (control.open && (event.key === 'Enter' || event.key === 'Escape')) {
          event.preventDefault();
          event.stopPropagation();
          if (event.key === 'Enter' && control.active >= 0) QupDom.comboPick(control, control.active);
          else QupDom.comboOpen(control, false);
        }
      });
      return box;
    },
    addComboEntry: function(control, text) {
      var option = document.createElement('li');
      var index = control.entries.length;
      option.id = control.list.id + '-' + index;
      option.setAttribute('role', 'option');
      option.setAttribute('aria-selected', 'false');
      option.textContent = text;
      option.addEventListener('mousedown', function(event) {
        event.preventDefault();
        QupDom.comboPick(control, index);
      });
      control.entries.push(text);
      control.options.push(option);
      control.list.append(option);
    },
    // The rate table and other tab-separated texts labelled as tables: a real table whose
    // columns are headed by the label's parts.
    // The rows are kept from one text to the next and only changed cells written: a Calculate
    // rewrites the eleven rows of the rate table each time.
    fillTable: function(control, text) {
      var body = control.table.tBodies[0];
      var lines = text.split('\n').filter(function(line) { return line !== ''; });
      while (body.rows.length > lines.length) body.deleteRow(-1);
      lines.forEach(function(line, index) {
        var row = body.rows[index] || body.insertRow();
        var cells = line.split(/\t+/);
        while (row.cells.length > cells.length) row.deleteCell(-1);
        cells.forEach(function(cell, column) {
          var target = row.cells[column] || row.insertCell();
          if (target.textContent !== cell) target.textContent = cell;
        });
      });
    },
    // What a person sees of a control: text, shown, enabled, focus, check, chosen entry.
    state: function(win, id) {
      var control = win.controls.get(id);
      if (!control) return null;
      var target = QupDom.focusTarget(control);
      var shown = !control.element.hidden && !win.root.hidden &&
                  (control.page < 0 || !win.panels.get(control.page).hidden);
      return {
        text: QupDom.getText(win, id),
        visible: !control.element.hidden,
        shown: shown,
        enabled: !control.disabled,
        focus: document.activeElement === target && target !== document.body,
        checked: control.kind === 'radio' && control.input.checked ? 1 : 0,
        index: control.kind === 'combo' ? control.index
             : control.kind === 'droplist' ? control.input.selectedIndex : -1,
      };
    },
    getText: function(win, id) {
      var control = win.controls.get(id);
      if (!control) return '';
      switch (control.kind) {
        case 'edit': case 'combo': return control.input.value;
        // A text area gives its line breaks as line feeds; a multi-line edit's are CR LF.
        case 'multiline': return control.input.value.replace(/\r?\n/g, '\r\n');
        case 'droplist':
          return control.input.selectedIndex >= 0 ? control.entries[control.input.selectedIndex] : '';
        case 'radio': case 'button': case 'group': case 'static': return control.text;
        default: return '';
      }
    },
  },

  // Opens a window for a template: its frame, its title and its client area of width x height
  // pixels. A modal window (one with an owner) stands over the page, which takes no input.
  qup_dom_open: function(titlePtr, width, height, modal) {
    var title = UTF8ToString(titlePtr);
    var index = QupDom.windows.length;
    var root = document.createElement('section');
    var prefix = 'w' + index;
    root.className = 'qup-window' + (modal ? ' qup-modal' : '');
    root.id = prefix;
    root.setAttribute('aria-labelledby', prefix + '-title');
    if (modal) {
      root.setAttribute('role', 'dialog');
      root.setAttribute('aria-modal', 'true');
    }
    var bar = document.createElement('div');
    bar.className = 'qup-titlebar';
    var heading = document.createElement(modal ? 'h2' : 'h1');
    heading.id = prefix + '-title';
    heading.textContent = title;
    var close = document.createElement('button');
    close.type = 'button';
    close.className = 'qup-close';
    close.setAttribute('aria-label', 'Close');
    close.tabIndex = -1;
    close.textContent = '\u00D7';
    bar.append(heading, close);
    var client = document.createElement('div');
    client.className = 'qup-client';
    client.style.setProperty('--w', width);
    client.style.setProperty('--h', height);
    root.append(bar, client);
    var win = {index: index, root: root, client: client, prefix: prefix, controls: new Map(),
               panels: new Map(), queue: [], waiter: null, ended: false, modal: !!modal,
               defaultCommand: 1, lastFocus: null};
    close.addEventListener('click', function() {
      QupDom.push(win, [QupDom.events.system, 0xF060, 0, 0, 0]);
    });
    if (!QupDom.listening) {
      // The window's keys reach it wherever the focus is, on the page's body too.
      document.addEventListener('keydown', function(event) {
        var front = QupDom.front();
        if (front) QupDom.onKey(front, event);
      });
      QupDom.listening = true;
    }
    root.addEventListener('focusin', function(event) { win.lastFocus = event.target; });
    var host = document.getElementById('qup-desk') || document.body;
    if (modal) {
      QupDom.windows.forEach(function(other) { if (other) other.root.inert = true; });
      var shade = document.createElement('div');
      shade.className = 'qup-shade';
      shade.append(root);
      win.shade = shade;
      host.append(shade);
    } else {
      host.append(root);
    }
    QupDom.windows.push(win);
    return index;
  },
  qup_dom_open__deps: ['$QupDom'],

  // The dialog font's base units, as the dialog manager takes them: a quarter of the average
  // width of the letters, rounded, and the height of a line.
  qup_dom_base_units: function(units) {
    var probe = document.createElement('div');
    probe.className = 'qup-window qup-probe';
    (document.getElementById('qup-desk') || document.body).append(probe);
    var style = getComputedStyle(probe);
    var context = document.createElement('canvas').getContext('2d');
    context.font = style.fontSize + ' ' + style.fontFamily;
    var letters = context.measureText('ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz');
    var height = Math.ceil(letters.fontBoundingBoxAscent + letters.fontBoundingBoxDescent);
    probe.remove();
    HEAP32[units >> 2] = Math.round((letters.width / 26 + 1) / 2);
    HEAP32[(units >> 2) + 1] = height > 0 ? height : Math.ceil(parseFloat(style.fontSize) * 1.2);
  },

  qup_dom_set_default_command: function(window, command) {
    QupDom.windows[window].defaultCommand = command;
  },

  // Adds one control. Pixels are the control's rectangle in the template, at the window's base
  // units; on a wide screen the page places it there, scaled.
  qup_dom_add_control: function(window, id, kind, captionPtr, x, y, width, height, page, flags,
                                resource, namePtr, descriptionPtr) {
    var win = QupDom.windows[window];
    var caption = UTF8ToString(captionPtr);
    var name = UTF8ToString(namePtr);
    var description = UTF8ToString(descriptionPtr);
    var kindName = QupDom.kinds[kind];
    var control = {id: id, kind: kindName, page: page, text: caption, disabled: (flags & 1) !== 0,
                   element_id: win.prefix + '-c' + id, group: [], limit: 32767};
    var element;
    switch (kindName) {
      case 'static':
        element = document.createElement('div');
        element.textContent = caption;
        break;
      case 'picture': case 'icon':
        element = document.createElement('img');
        element.src = QupDom.images[resource] || '';
        element.alt = name;
        element.draggable = false;
        break;
      case 'group':
        element = document.createElement('div');
        var legend = document.createElement('span');
        legend.className = 'qup-legend';
        legend.textContent = caption;
        element.append(legend);
        break;
      case 'edit': case 'multiline':
        element = document.createElement(kindName === 'edit' ? 'input' : 'textarea');
        if (kindName === 'edit') element.type = 'text';
        element.autocomplete = 'off';
        element.spellcheck = false;
        control.input = element;
        break;
      case 'combo':
        element = QupDom.makeCombo(win, control, name);
        break;
      case 'droplist':
        element = document.createElement('select');
        control.input = element;
        control.entries = [];
        break;
      case 'button':
        element = document.createElement('button');
        element.type = 'button';
        element.textContent = caption;
        if (flags & 16) element.classList.add('qup-default');
        control.input = element;
        break;
      case 'radio':
        element = document.createElement('label');
        var radio = document.createElement('input');
        radio.type = 'radio';
        var text = document.createElement('span');
        text.textContent = caption;
        if (flags & 4) element.append(text, radio);
        else element.append(radio, text);
        control.input = radio;
        break;
      case 'tabs':
        element = document.createElement('div');
        var list = document.createElement('div');
        list.className = 'qup-tablist';
        list.setAttribute('role', 'tablist');
        list.setAttribute('aria-label', name || 'Pages');
        element.append(list);
        control.tablist = list;
        control.tabs = [];
        control.current = -1;
        break;
    }
    element.id = control.element_id;
    element.classList.add('qup-control', 'qup-' + kindName);
    element.style.setProperty('--x', x);
    element.style.setProperty('--y', y);
    element.style.setProperty('--cw', width);
    element.style.setProperty('--ch', height);
    control.element = element;
    var target = QupDom.focusTarget(control);
    if (control.input) {
      target.id = control.input === element ? element.id : element.id + '-input';
      if (name) target.setAttribute('aria-label', name);
      if (description) target.setAttribute('aria-description', description);
      if ((flags & 32) !== 0) target.tabIndex = -1;
      target.disabled = control.disabled;
    }
    win.controls.set(id, control);
    QupDom.wire(win, control);

    // A page's controls live in that page's panel, so that a screen reader finds them under
    // the tab that shows them.
    var parent = win.client;
    if (page >= 0) {
      if (!win.panels.has(page)) {
        var panel = document.createElement('div');
        panel.className = 'qup-panel';
        panel.id = win.prefix + '-page' + page;
        panel.setAttribute('role', 'tabpanel');
        win.panels.set(page, panel);
        win.client.append(panel);
      }
      parent = win.panels.get(page);
    }
    parent.append(element);
  },
  qup_dom_add_control__deps: ['$QupDom'],

  // The radio buttons of one group, in template order.
  qup_dom_set_group: function(window, id, membersPtr, count) {
    var win = QupDom.windows[window];
    var control = win.controls.get(id);
    control.group = Array.from(HEAP32.subarray(membersPtr >> 2, (membersPtr >> 2) + count));
    QupDom.updateRadioStops(win, control);
  },

  // A static text read as a table: its columns are headed by the label's tab-separated parts.
  qup_dom_make_table: function(window, id, headsPtr) {
    var win = QupDom.windows[window];
    var control = win.controls.get(id);
    var table = document.createElement('table');
    var caption = table.createCaption();
    caption.textContent = control.element.getAttribute('aria-label') || '';
    caption.className = 'qup-hidden';
    var head = table.createTHead().insertRow();
    UTF8ToString(headsPtr).split(/\t+/).forEach(function(text) {
      var th = document.createElement('th');
      th.scope = 'col';
      th.textContent = text;
      head.append(th);
    });
    table.createTBody();
    control.table = table;
    control.element.replaceChildren(table);
  },

  // A static text that shows a result: a polite live region, so that a screen reader says the
  // new text without moving the focus.
  qup_dom_make_result: function(window, id, namePtr) {
    var control = QupDom.windows[window].controls.get(id);
    control.element.setAttribute('role', 'status');
    control.element.setAttribute('aria-label', UTF8ToString(namePtr));
  },

  qup_dom_set_text: function(window, id, textPtr) {
    var win = QupDom.windows[window];
    var control = win.controls.get(id);
    var text = UTF8ToString(textPtr);
    // Writing the same text again changes nothing on the page and costs the browser a layout.
    if (control.kind !== 'combo' && QupDom.getText(win, id) === text) return;
    switch (control.kind) {
      case 'edit': case 'multiline': case 'combo':
        control.input.value = text;
        if (control.kind === 'combo') QupDom.comboShow(control, -1);
        break;
      case 'static':
        control.text = text;
        if (control.table) QupDom.fillTable(control, text);
        else control.element.textContent = text;
        if (control.element.getAttribute('role') === 'status') {
          var label = control.element.getAttribute('aria-label').split(':')[0];
          control.element.setAttribute('aria-label', text ? label + ': ' + text : label);
        }
        break;
      case 'button':
        control.text = text;
        control.element.textContent = text;
        break;
      case 'radio':
        control.text = text;
        control.element.querySelector('span').textContent = text;
        break;
      case 'group':
        control.text = text;
        control.element.querySelector('.qup-legend').textContent = text;
        break;
    }
  },

  qup_dom_get_text: function(window, id, buffer, size) {
    var text = QupDom.getText(QupDom.windows[window], id);
    var needed = lengthBytesUTF8(text) + 1;
    if (buffer && size >= needed) stringToUTF8(text, buffer, size);
    return needed;
  },

  qup_dom_show: function(window, id, visible) {
    var control = QupDom.windows[window].controls.get(id);
    control.element.hidden = !visible;
  },
  qup_dom_is_visible: function(window, id) {
    var state = QupDom.state(QupDom.windows[window], id);
    return state && state.visible ? 1 : 0;
  },
  qup_dom_enable: function(window, id, enabled) {
    var control = QupDom.windows[window].controls.get(id);
    control.disabled = !enabled;
    if (control.input) control.input.disabled = !enabled;
    control.element.classList.toggle('qup-disabled', !enabled);
  },
  qup_dom_is_enabled: function(window, id) {
    var control = QupDom.windows[window].controls.get(id);
    return control && !control.disabled ? 1 : 0;
  },
  qup_dom_focus: function(window, id) {
    // Focusing makes the browser bring its layout up to date: only a move of the focus pays.
    var target = QupDom.focusTarget(QupDom.windows[window].controls.get(id));
    if (document.activeElement !== target) target.focus();
  },
  qup_dom_focused: function(window) {
    var focused = 0;
    QupDom.windows[window].controls.forEach(function(control, id) {
      if (control.input && document.activeElement === control.input) focused = id;
    });
    return focused;
  },
  qup_dom_set_check: function(window, id, checked) {
    var win = QupDom.windows[window];
    QupDom.setChecked(win, win.controls.get(id), checked !== 0);
  },
  qup_dom_get_check: function(window, id) {
    var control = QupDom.windows[window].controls.get(id);
    return control.input.checked ? 1 : 0;
  },
  qup_dom_combo_add: function(window, id, textPtr) {
    var control = QupDom.windows[window].controls.get(id);
    var text = UTF8ToString(textPtr);
    if (control.kind === 'droplist') {
      var option = document.createElement('option');
      option.textContent = text;
      control.input.append(option);
      control.entries.push(text);
      control.input.selectedIndex = -1;
    } else {
      QupDom.addComboEntry(control, text);
    }
  },
  qup_dom_combo_get: function(window, id) {
    var control = QupDom.windows[window].controls.get(id);
    return control.kind === 'droplist' ? control.input.selectedIndex : control.index;
  },
  qup_dom_combo_set: function(window, id, index) {
    var control = QupDom.windows[window].controls.get(id);
    if (control.kind === 'droplist') control.input.selectedIndex = index;
    else QupDom.comboShow(control, index);
  },
  qup_dom_limit_text: function(window, id, limit) {
    QupDom.windows[window].controls.get(id).limit = limit;
  },
  qup_dom_tab_insert: function(window, id, index, captionPtr) {
    var win = QupDom.windows[window];
    var control = win.controls.get(id);
    var tab = document.createElement('button');
    tab.type = 'button';
    tab.id = control.element_id + '-tab' + index;
    tab.setAttribute('role', 'tab');
    tab.setAttribute('aria-selected', 'false');
    tab.tabIndex = -1;
    tab.textContent = UTF8ToString(captionPtr);
    var panel = win.panels.get(index);
    if (panel) {
      tab.setAttribute('aria-controls', panel.id);
      panel.setAttribute('aria-labelledby', tab.id);
    }
    tab.addEventListener('click', function() {
      var position = control.tabs.indexOf(tab);
      if (position !== control.current) QupDom.selectTab(win, control, position, true);
    });
    tab.addEventListener('keydown', function(event) {
      var step = event.key === 'ArrowRight' ? 1 : event.key === 'ArrowLeft' ? -1 : 0;
      if (step === 0) return;
      event.preventDefault();
      var count = control.tabs.length;
      var next = (control.tabs.indexOf(tab) + step + count) % count;
      QupDom.selectTab(win, control, next, true);
      control.tabs[next].focus();
    });
    control.tabs.splice(index, 0, tab);
    control.tablist.insertBefore(tab, control.tablist.children[index] || null);
    if (control.current < 0) QupDom.selectTab(win, control, 0, false);
  },
  qup_dom_tab_get: function(window, id) {
    return QupDom.windows[window].controls.get(id).current;
  },
  qup_dom_tab_set: function(window, id, index) {
    var win = QupDom.windows[window];
    QupDom.selectTab(win, win.controls.get(id), index, false);
  },

  // Closes the window; the owner takes input again and gets back the focus it had.
  qup_dom_close: function(window) {
    var win = QupDom.windows[window];
    win.ended = true;
    (win.shade || win.root).remove();
    QupDom.windows[window] = null;
    var owner = QupDom.front();
    if (owner && win.modal) {
      owner.root.inert = false;
      if (owner.lastFocus) owner.lastFocus.focus();
    }
  },

  // Waits for the user's next action in the window: [kind, id, code, x, y] into event.
  qup_dom_wait_event: function(window, eventPtr) {
    return Asyncify.handleSleep(function(wakeUp) {
      var win = QupDom.windows[window];
      if (!win.arranged) QupDom.arrange(win);
      var deliver = function(event) {
        HEAP32.set(event, eventPtr >> 2);
        wakeUp(0);
      };
      if (win.queue.length > 0) deliver(win.queue.shift());
      else win.waiter = deliver;
    });
  },

  // A modal message box over the page: its caption, its text and an OK button, which Enter,
  // Space and Esc also press. The focus goes back where it was when it closes.
  qup_dom_message_box: function(textPtr, captionPtr, type) {
    var text = UTF8ToString(textPtr);
    var caption = UTF8ToString(captionPtr);
    return Asyncify.handleSleep(function(wakeUp) {
      var before = document.activeElement;
      var host = document.getElementById('qup-desk') || document.body;
      var shade = document.createElement('div');
      shade.className = 'qup-shade';
      var box = document.createElement('div');
      var id = 'qup-box' + Date.now();
      box.className = 'qup-box';
      box.setAttribute('role', 'alertdialog');
      box.setAttribute('aria-modal', 'true');
      box.setAttribute('aria-labelledby', id + '-caption');
      box.setAttribute('aria-describedby', id + '-text');
      box.dataset.type = type;
      var heading = document.createElement('h2');
      heading.id = id + '-caption';
      heading.textContent = caption;
      var icon = document.createElement('span');
      icon.className = 'qup-box-icon';
      icon.setAttribute('aria-hidden', 'true');
      icon.textContent = {16: '\u00D7', 48: '!', 64: 'i'}[type & 0xF0] || '';
      var body = document.createElement('p');
      body.id = id + '-text';
      body.textContent = text;
      var ok = document.createElement('button');
      ok.type = 'button';
      ok.textContent = 'OK';
      box.append(heading, icon, body, ok);
      shade.append(box);
      var others = QupDom.windows.filter(function(w) { return w && !w.root.inert; });
      others.forEach(function(w) { w.root.inert = true; });
      var done = function() {
        shade.remove();
        others.forEach(function(w) { w.root.inert = false; });
        if (before && before.focus) before.focus();
        wakeUp(0);
      };
      ok.addEventListener('click', done);
      box.addEventListener('keydown', function(event) {
        if (event.key === 'Escape' || event.key === 'Enter') {
          event.preventDefault();
          done();
        } else if (event.key === 'Tab') {
          event.preventDefault();
        }
      });
      host.append(shade);
      ok.focus();
    });
  },

  qup_dom_wait_cursor: function(on) {
    document.body.classList.toggle('qup-busy', on !== 0);
  },

  qup_dom_open_url: function(urlPtr) {
    window.open(UTF8ToString(urlPtr), '_blank', 'noopener');
  },
};

// The events of one control, queued for the logic.
QupWebWindowLibrary.$QupDom.wire = function(win, control) {
  var target = QupDom.focusTarget(control);
  var clicked = QupDom.notifications.clicked;
  switch (control.kind) {
    case 'button':
      target.addEventListener('click', function() { QupDom.command(win, control.id, clicked); });
      break;
    case 'radio':
      target.addEventListener('click', function(event) {
        QupDom.choose(win, control);
        QupDom.command(win, control.id, clicked);
      });
      target.addEventListener('keydown', function(event) {
        var arrows = {ArrowLeft: 0, ArrowUp: 1, ArrowRight: 2, ArrowDown: 3};
        if (!(event.key in arrows) || event.altKey || event.ctrlKey) return;
        event.preventDefault();
        QupDom.push(win, [QupDom.events.arrow, control.id, arrows[event.key], 0, 0]);
      });
      break;
    case 'edit': case 'multiline':
      target.addEventListener('focus', function() {
        QupDom.command(win, control.id, QupDom.notifications.focus);
      });
      target.addEventListener('beforeinput', function(event) {
        var added = event.data;
        if (added === null && event.inputType === 'insertLineBreak') added = '\n';
        if (added === null && event.dataTransfer) added = event.dataTransfer.getData('text/plain');
        if (added === null || added === undefined) return;
        var value = target.value;
        var kept = value.slice(0, target.selectionStart) + value.slice(target.selectionEnd);
        var room = control.limit - QupDom.counted(kept);
        if (QupDom.counted(added) <= room) return;
        event.preventDefault();
        var fits = QupDom.fitting(added, Math.max(room, 0));
        if (fits.length > 0) target.setRangeText(fits, target.selectionStart, target.selectionEnd, 'end');
        QupDom.command(win, control.id, QupDom.notifications.maxText);
      });
      break;
    case 'static': case 'picture': case 'icon': case 'group':
      // A press where no control takes the mouse: the point in the template's pixels, so
      // that the logic finds what lies under it whatever the page's layout.
      control.element.addEventListener('mousedown', function(event) {
        if (event.button !== 0) return;
        var box = control.element.getBoundingClientRect();
        var style = control.element.style;
        var x = Number(style.getPropertyValue('--x')) +
                Math.round((event.clientX - box.left) * Number(style.getPropertyValue('--cw')) /
                           Math.max(box.width, 1));
        var y = Number(style.getPropertyValue('--y')) +
                Math.round((event.clientY - box.top) * Number(style.getPropertyValue('--ch')) /
                           Math.max(box.height, 1));
        QupDom.push(win, [QupDom.events.press, 0, 0, x, y]);
      });
      break;
  }
};

// The order a narrow screen shows each page's controls in: the template's, except that a frame
// comes before the first control inside it and the controls inside it follow row by row (a row
// being those whose tops lie within half a line of its first one), each row from the left, so
// that a label, its box and its buttons stay together. The Tab order stays the template's.
QupWebWindowLibrary.$QupDom.arrange = function(win) {
  var place = function(control) {
    var style = control.element.style;
    var value = function(name) { return Number(style.getPropertyValue(name)); };
    return {control: control, x: value('--x'), y: value('--y'), w: value('--cw'), h: value('--ch')};
  };
  var all = [];
  win.controls.forEach(function(control) { all.push(place(control)); });
  var frames = all.filter(function(item) { return item.control.kind === 'group'; });
  var frameOf = function(item) {
    return frames.find(function(frame) {
      return frame !== item && frame.control.page === item.control.page &&
             item.x >= frame.x && item.y >= frame.y && item.x < frame.x + frame.w &&
             item.y < frame.y + frame.h;
    });
  };
  var rows = function(items) {
    var sorted = items.slice().sort(function(a, b) { return a.y - b.y || a.x - b.x; });
    var lines = [];
    sorted.forEach(function(item) {
      var line = lines[lines.length - 1];
      if (line && item.y - line[0].y <= 8) line.push(item);
      else lines.push([item]);
    });
    return [].concat.apply([], lines.map(function(line) {
      return line.sort(function(a, b) { return a.x - b.x; });
    }));
  };
  var order = 0;
  var placed = new Set();
  var put = function(item) {
    if (placed.has(item)) return;
    placed.add(item);
    item.control.element.style.setProperty('--order', order++);
  };
  all.forEach(function(item) {
    var frame = item.control.kind === 'group' ? item : frameOf(item);
    if (!frame) {
      put(item);
    } else if (!placed.has(frame)) {
      put(frame);
      rows(all.filter(function(other) { return frameOf(other) === frame; })).forEach(put);
    }
  });
  win.arranged = true;
};

// The window's keys: Enter gives its default command, Esc cancels, Ctrl+Tab and
// Ctrl+Page Down (with Shift, and Ctrl+Page Up) change the page.
QupWebWindowLibrary.$QupDom.onKey = function(win, event) {
  if (event.defaultPrevented || win.root.inert) return;
  var target = event.target;
  var tabs = null;
  win.controls.forEach(function(control) { if (control.kind === 'tabs') tabs = control; });
  if (event.ctrlKey && (event.key === 'Tab' || event.key === 'PageDown' || event.key === 'PageUp')) {
    if (!tabs || tabs.tabs.length === 0) return;
    event.preventDefault();
    var back = event.key === 'PageUp' || (event.key === 'Tab' && event.shiftKey);
    var count = tabs.tabs.length;
    QupDom.selectTab(win, tabs, (tabs.current + (back ? count - 1 : 1)) % count, true);
    return;
  }
  if (event.key === 'F4' && event.altKey) {
    event.preventDefault();
    QupDom.push(win, [QupDom.events.system, 0xF060, 0, 0, 0]);
    return;
  }
  // Tab and Shift+Tab go round the window's own Tab stops, as the dialog's rules order them.
  if (event.key === 'Tab' && !event.ctrlKey && !event.altKey) {
    event.preventDefault();
    QupDom.push(win, [QupDom.events.tabKey, 0, event.shiftKey ? 0 : 1, 0, 0]);
    return;
  }
  if (event.key === 'Escape') {
    event.preventDefault();
    QupDom.command(win, 2, QupDom.notifications.clicked);
  } else if (event.key === 'Enter' && !event.altKey && !event.ctrlKey) {
    if (target.tagName === 'TEXTAREA' || target.tagName === 'BUTTON') return;
    event.preventDefault();
    var command = win.defaultCommand;
    var button = win.controls.get(command);
    if (button && button.kind === 'button' && button.disabled) return;
    QupDom.command(win, command, QupDom.notifications.clicked);
  }
};

autoAddDeps(QupWebWindowLibrary, '$QupDom');
mergeInto(LibraryManager.library, QupWebWindowLibrary);
