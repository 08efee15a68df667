// SPDX-License-Identifier: MIT
// The driver's hands in the browser: Chromium, headless, through its DevTools protocol
// (playwright-core), with real mouse and key events. The page is served on 127.0.0.1 from the
// site folder by a small web server of the driver's own (site_server.js); the settings item of
// the page's local storage is read from and written back to the settings file that the Linux program keeps, so
// that a script sees the same file either way.

var QupWebDriverLibrary = {
  $QupWeb: {
    browser: null,
    context: null,
    page: null,
    server: null,
    origin: '',
    settingsFile: '',
    item: 'Kestrane/QU.reg',
    timeout: 10000,
    keys: {
      'Enter': 'Enter', 'Escape': 'Escape', 'Tab': 'Tab', 'Backtab': 'Shift+Tab',
      'Up': 'ArrowUp', 'Down': 'ArrowDown', 'Left': 'ArrowLeft', 'Right': 'ArrowRight',
      'Space': ' ', 'Alt+F4': 'Alt+F4', 'Shift+F10': 'Shift+F10', 'Menu': 'ContextMenu',
      'Alt+Space': 'Alt+ ', 'Ctrl+Tab': 'Control+Tab', 'Ctrl+Shift+Tab': 'Control+Shift+Tab',
      'Ctrl+PageDown': 'Control+PageDown', 'Ctrl+PageUp': 'Control+PageUp',
    },
    // Runs an asynchronous step and hands its result back to the waiting C++ code; a step that
    // fails gives failed (and its message on standard error).
    step: function(body, failed) {
      return Asyncify.handleSleep(function(wakeUp) {
        body().then(function(result) { wakeUp(result); }, function(error) {
          process.stderr.write('qup-drive: ' + (error && error.message || error) + '\n');
          wakeUp(failed);
        });
      });
    },
    // The front window of the page: a message box, the About box or the main window.
    front: function() {
      return QupWeb.page.evaluate(function() {
        return typeof QupDom !== 'undefined' && QupDom.front() ? QupDom.front().index : -1;
      });
    },
    settle: async function() {
      var page = QupWeb.page;
      await page.waitForFunction(function() {
        return !document.body.classList.contains('qup-busy');
      }, null, {timeout: 40000});
      await page.evaluate(function() {
        return new Promise(function(resolve) {
          requestAnimationFrame(function() { requestAnimationFrame(resolve); });
        });
      });
    },
    saveSettings: async function() {
      if (!QupWeb.page || !QupWeb.settingsFile) return;
      var text = await QupWeb.page.evaluate(function(item) {
        return window.localStorage.getItem(item);
      }, QupWeb.item);
      if (text === null) return;
      var fs = require('fs');
      var path = require('path');
      fs.mkdirSync(path.dirname(QupWeb.settingsFile), {recursive: true});
      fs.writeFileSync(QupWeb.settingsFile, text, 'latin1');
    },
    // A click in the middle of the element, scrolled into view first as a person would.
    center: async function(selector) {
      var element = QupWeb.page.locator(selector).first();
      await element.scrollIntoViewIfNeeded();
      var box = await element.boundingBox();
      if (!box) return false;
      await QupWeb.page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
      return true;
    },
    control: function(id) {
      return QupWeb.page.evaluate(function(id) {
        var win = QupDom.front();
        return win && win.controls.has(id) ? '#' + win.controls.get(id).element.id : '';
      }, id);
    },
  },

  // Starts the browser and the web server. Returns 1, or 0 when either cannot start.
  // The settings file is the Linux program's: Kestrane/QU.reg under $XDG_CONFIG_HOME, else
  // ~/.config.
  qup_web_launch: function(sitePtr) {
    var site = UTF8ToString(sitePtr);
    var path = require('path');
    var config = process.env.XDG_CONFIG_HOME ||
                 path.join(process.env.HOME || require('os').homedir(), '.config');
    QupWeb.settingsFile = path.join(config, 'Kestrane', 'QU.reg');
    return QupWeb.step(async function() {
      var playwright = require('playwright-core');
      var size = (process.env.QUP_WEB_VIEWPORT || '1100x800').split('x').map(Number);
      // A site served elsewhere (the operator's server) is visited there; else the driver
      // serves the site folder itself.
      if (process.env.QUP_WEB_ORIGIN) {
        QupWeb.origin = process.env.QUP_WEB_ORIGIN.replace(/\/$/, '');
      } else {
        var siteServer = require('site_server');
        QupWeb.server = await siteServer.serveSite(site);
        QupWeb.origin = siteServer.origin(QupWeb.server);
      }
      QupWeb.browser = await playwright.chromium.launch({
        executablePath: process.env.QUP_CHROMIUM || '/usr/bin/chromium',
        args: ['--no-sandbox', '--disable-gpu', '--no-first-run'],
      });
      QupWeb.context = await QupWeb.browser.newContext({
        viewport: {width: size[0], height: size[1]}, serviceWorkers: 'block',
      });
      // The page's requests to open an address are printed, not followed.
      await QupWeb.context.addInitScript(function() {
        window.__qupOpened = [];
        window.open = function(url) { window.__qupOpened.push(String(url)); return null; };
      });
      QupWeb.page = await QupWeb.context.newPage();
      QupWeb.page.setDefaultTimeout(QupWeb.timeout);
      await QupWeb.page.goto(QupWeb.origin + '/blank');
      var fs = require('fs');
      if (QupWeb.settingsFile && fs.existsSync(QupWeb.settingsFile)) {
        var text = fs.readFileSync(QupWeb.settingsFile, 'latin1');
        await QupWeb.page.evaluate(function(args) {
          window.localStorage.setItem(args[0], args[1]);
        }, [QupWeb.item, text]);
      }
      return 1;
    }, 0);
  },

  // Opens the page and waits for its window. Returns 1, or 0 when none showed.
  qup_web_start: function() {
    return QupWeb.step(async function() {
      await QupWeb.page.goto(QupWeb.origin + '/');
      await QupWeb.page.waitForSelector('#qup-desk[data-state="open"] .qup-window');
      await QupWeb.settle();
      return 1;
    }, 0);
  },

  // Waits until the page has done what the last action asked. Returns 1 while the program's
  // window is open, 0 once it has closed.
  qup_web_settle: function() {
    return QupWeb.step(async function() {
      await QupWeb.settle();
      var closed = await QupWeb.page.evaluate(function() {
        return document.getElementById('qup-desk').dataset.state === 'closed';
      });
      if (closed) await QupWeb.saveSettings();
      return closed ? 0 : 1;
    }, 0);
  },

  // The open message box as "TYPE\x1fCAPTION\x1fTEXT", or nothing; with press, answers it
  // with Enter once it is read.
  qup_web_message_box: function(press, buffer, size) {
    return QupWeb.step(async function() {
      var text = await QupWeb.page.evaluate(function() {
        var box = document.querySelector('.qup-box');
        if (!box) return '';
        return box.dataset.type + '\x1f' + box.querySelector('h2').textContent + '\x1f' +
               box.querySelector('p').textContent;
      });
      if (text && press) await QupWeb.page.keyboard.press('Enter');
      stringToUTF8(text, buffer, size);
      return text ? 1 : 0;
    }, 0);
  },

  // The next address the page asked to open, or nothing.
  qup_web_opened_url: function(buffer, size) {
    return QupWeb.step(async function() {
      var url = await QupWeb.page.evaluate(function() {
        return window.__qupOpened.length > 0 ? window.__qupOpened.shift() : null;
      });
      if (url === null) return 0;
      stringToUTF8(url, buffer, size);
      return 1;
    }, 0);
  },

  // What the front window shows of control id, as "TEXT\x1fV\x1fE\x1fF\x1fC\x1fI": -1 when
  // no window is open, 0 when it has no such control.
  qup_web_state: function(id, buffer, size) {
    return QupWeb.step(async function() {
      var state = await QupWeb.page.evaluate(function(id) {
        var win = QupDom.front();
        if (!win) return -1;
        var s = QupDom.state(win, id);
        if (!s) return 0;
        return [s.text, s.visible ? 1 : 0, s.enabled ? 1 : 0, s.focus ? 1 : 0, s.checked,
                s.index].join('\x1f');
      }, id);
      if (typeof state === 'number') return state;
      stringToUTF8(state, buffer, size);
      return 1;
    }, -1);
  },

  // Clicks the middle of control id of the front window.
  qup_web_click: function(id) {
    return QupWeb.step(async function() {
      var selector = await QupWeb.control(id);
      return selector && await QupWeb.center(selector) ? 1 : 0;
    }, 0);
  },

  // Clicks the box of control id, selects all it holds and types text over it, key by key.
  qup_web_type: function(id, textPtr) {
    var text = UTF8ToString(textPtr);
    return QupWeb.step(async function() {
      var selector = await QupWeb.control(id);
      if (!selector) return 0;
      var target = await QupWeb.page.evaluate(function(id) {
        var control = QupDom.front().controls.get(id);
        return '#' + (control.input || control.element).id;
      }, id);
      if (!await QupWeb.center(target)) return 0;
      await QupWeb.page.keyboard.press('Control+A');
      await QupWeb.typeKeys(text);
      return 1;
    }, 0);
  },

  qup_web_keys: function(textPtr) {
    var text = UTF8ToString(textPtr);
    return QupWeb.step(async function() {
      await QupWeb.typeKeys(text);
      return 1;
    }, 0);
  },

  qup_web_key: function(namePtr) {
    var name = UTF8ToString(namePtr);
    return QupWeb.step(async function() {
      await QupWeb.page.keyboard.press(QupWeb.keys[name]);
      return 1;
    }, 0);
  },

  // The number of entries of combo box id, or -1 when it is no combo box.
  qup_web_entries: function(id) {
    return QupWeb.step(function() {
      return QupWeb.page.evaluate(function(id) {
        var control = QupDom.front().controls.get(id);
        return control && (control.kind === 'combo' || control.kind === 'droplist')
                   ? control.entries.length : -1;
      }, id);
    }, -1);
  },

  // Opens the list of combo box id and takes entry n with Enter. Returns whether the list
  // opened.
  qup_web_pick: function(id, n) {
    return QupWeb.step(async function() {
      var page = QupWeb.page;
      var kind = await page.evaluate(function(id) {
        return QupDom.front().controls.get(id).kind;
      }, id);
      var selector = await QupWeb.control(id);
      if (kind === 'droplist') {
        // A drop list takes the keys of its list: the first entry, then down to entry n.
        await QupWeb.center(selector);
        await page.keyboard.press('Escape');
        await page.keyboard.press('Home');
        for (var i = 0; i < n; ++i) await page.keyboard.press('ArrowDown');
        return 1;
      }
      await QupWeb.center(selector + ' .qup-combo-button');
      var opened = await page.locator(selector + ' [role=listbox]').isVisible();
      if (!opened) return 0;
      await QupWeb.center(selector + ' [role=option] >> nth=' + n);
      return 1;
    }, 0);
  },

  // Clicks tab n of the front window's tab bar. Returns the number of tabs, or -1 for none.
  qup_web_tab: function(n) {
    return QupWeb.step(async function() {
      var count = await QupWeb.page.evaluate(function() {
        var tabs = QupDom.front().root.querySelectorAll('[role=tab]');
        return tabs.length > 0 ? tabs.length : -1;
      });
      if (n >= 0 && n < count) {
        var id = await QupWeb.page.evaluate(function(n) {
          return QupDom.front().root.querySelectorAll('[role=tab]')[n].id;
        }, n);
        await QupWeb.center('#' + id);
      }
      return count;
    }, -1);
  },

  // The close button of the front window's title bar.
  qup_web_close: function() {
    return QupWeb.step(async function() {
      var id = await QupWeb.front();
      return id >= 0 && await QupWeb.center('#w' + id + ' .qup-close') ? 1 : 0;
    }, 0);
  },

  // A picture of the window in front: a message box, the About box or the main window.
  qup_web_screenshot: function(pathPtr) {
    var file = UTF8ToString(pathPtr);
    return QupWeb.step(async function() {
      var box = QupWeb.page.locator('.qup-box');
      var target = await box.count() > 0 ? box.last() : QupWeb.page.locator('.qup-window').last();
      await target.screenshot({path: file});
      return 1;
    }, 0);
  },

  qup_web_stop: function() {
    return QupWeb.step(async function() {
      if (QupWeb.browser) await QupWeb.browser.close();
      if (QupWeb.server) QupWeb.server.close();
      return 1;
    }, 0);
  },
};

QupWebDriverLibrary.$QupWeb.typeKeys = async function(text) {
  var keyboard = QupWeb.page.keyboard;
  for (var c of Array.from(text)) {
    if (c === '\n') await keyboard.press('Enter');
    else if (c === '\t') await keyboard.press('Tab');
    else await keyboard.type(c);
  }
};

autoAddDeps(QupWebDriverLibrary, '$QupWeb');
mergeInto(LibraryManager.library, QupWebDriverLibrary);
