#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""A screen reader user on the real accessibility bus (AT-SPI).

Runs the program's real window (qup-drive under X, so that a suggestion goes to a stand-in
server on 127.0.0.1) and uses it only as a screen reader user can: key presses (xdotool), the
accessible actions a screen reader offers, and what the bus tells and answers. Every wait has a
time-out. Run it through on_the_bus.sh, which starts the session bus, X and the accessibility
bus:

    tests/qt/accessibility_bus/on_the_bus.sh /usr/bin/python3 \\
        tests/qt/accessibility_bus/screen_reader_test.py build/app/drive/qup-drive
"""

import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from screen_reader_session import Program, StandInServer  # noqa: E402

TIMEOUT = float(os.environ.get("QUP_BUS_TIMEOUT", "30"))
WINDOW_TITLE = "Quorvane Utility Program (QUP)"
EVENT_KINDS = [
    "focus:",
    "object:state-changed",
    "object:property-change:accessible-name",
    "object:text-changed",
    "object:selection-changed",
]


class Failure(Exception):
    pass


def pump():
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def wait_for(what, predicate, timeout=TIMEOUT):
    deadline = time.monotonic() + timeout
    while True:
        pump()
        result = predicate()
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(0.02)


def settle(seconds=0.6):
    """Lets the events of what was just done arrive (for checks that something did NOT come)."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        pump()
        time.sleep(0.02)


def check(condition, message):
    if not condition:
        raise Failure(message)


def key(*keys):
    subprocess.run(["xdotool", "key", "--delay", "60"] + list(keys), check=True, timeout=30)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "40", text], check=True, timeout=60)


def path_of(accessible):
    return accessible.path


class Event:
    def __init__(self, event):
        self.type = event.type
        self.detail1 = event.detail1
        self.any_data = event.any_data if isinstance(event.any_data, (str, int)) else None
        self.source = event.source
        try:
            self.path = path_of(event.source)
            self.name = event.source.name
            self.role = event.source.getRoleName()
            self.checked = event.source.getState().contains(pyatspi.STATE_CHECKED)
        except Exception:  # the object may be gone already
            self.path, self.name, self.role, self.checked = None, None, None, None

    def __repr__(self):
        return "%s %r (%s) %s %r" % (self.type, self.name, self.role, self.detail1, self.any_data)


class Listener:
    """Everything the program tells the bus, as a screen reader hears it."""

    def __init__(self):
        self.events = []
        for kind in EVENT_KINDS:
            pyatspi.Registry.registerEventListener(self._heard, kind)

    def _heard(self, event):
        self.events.append(Event(event))

    def clear(self):
        pump()
        self.events = []

    def of(self, kind, accessible=None):
        return [e for e in self.events
                if e.type.startswith(kind) and (accessible is None or e.path == path_of(accessible))]

    def wait(self, what, kind, accessible=None, match=lambda e: True):
        return wait_for(what, lambda: [e for e in self.of(kind, accessible) if match(e)])


# The tree, walked as a screen reader walks it.

def descendants(root):
    found = []
    for index in range(root.childCount):
        child = root.getChildAtIndex(index)
        if child is None:
            continue
        found.append(child)
        found.extend(descendants(child))
    return found


def states(accessible):
    return accessible.getState()


def showing(accessible):
    return states(accessible).contains(pyatspi.STATE_SHOWING)


def find_all(root, role=None, name=None, visible=True):
    return [a for a in descendants(root)
            if (role is None or a.getRole() == role)
            and (name is None or a.name == name)
            and (not visible or showing(a))]


def find(root, role, name):
    matches = find_all(root, role, name)
    check(len(matches) == 1, "expected one showing %s named %r, found %d"
          % (pyatspi.Role(role).value_nick if hasattr(role, "value_nick") else role, name,
             len(matches)))
    return matches[0]


def text_of(accessible):
    return accessible.queryText().getText(0, -1)


def related(accessible, kind):
    return [relation.getTarget(i) for relation in accessible.getRelationSet()
            if relation.getRelationType() == kind for i in range(relation.getNTargets())]


def labelled_by(accessible):
    return related(accessible, pyatspi.RELATION_LABELLED_BY)


def label_for(accessible):
    return [path_of(a) for a in related(accessible, pyatspi.RELATION_LABEL_FOR)]


def check_labelled(accessible, label_text):
    labels = labelled_by(accessible)
    check(len(labels) == 1, "%r has %d labelled-by targets" % (accessible.name, len(labels)))
    check(labels[0].name == label_text,
          "%r is labelled by %r, not %r" % (accessible.name, labels[0].name, label_text))
    check(path_of(accessible) in label_for(labels[0]),
          "label %r does not say it labels %r" % (label_text, accessible.name))


def do_action(accessible, *names):
    action = accessible.queryAction()
    offered = [action.getName(i) for i in range(action.nActions)]
    for wanted in names:
        if wanted in offered:
            action.doAction(offered.index(wanted))
            return
    raise Failure("%r offers %r, none of %r" % (accessible.name, offered, names))


def focused(window):
    """The focused objects innermost: a tab rather than its tab list."""
    every = [a for a in descendants(window) if states(a).contains(pyatspi.STATE_FOCUSED)]
    return [a for a in every
            if not any(states(d).contains(pyatspi.STATE_FOCUSED) for d in descendants(a))]


def the_window(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None or app.get_process_id() != pid:
            continue
        for window in app:
            if window is not None and window.name == WINDOW_TITLE and window.childCount > 0:
                return window
    return None


# The user's walk, page by page.

def tabs(window):
    lists = find_all(window, pyatspi.ROLE_PAGE_TAB_LIST)
    check(len(lists) == 1, "expected one page tab list, found %d" % len(lists))
    return [lists[0].getChildAtIndex(i) for i in range(lists[0].childCount)]


def selected_tabs(window):
    return [t.name for t in tabs(window) if states(t).contains(pyatspi.STATE_SELECTED)]


def go_to_page(window, listener, caption, keys, focus_on_tab=False):
    """Moves to the page by keys; the page's tab must say it is selected, and be told. A page
    without a box of its own leaves the focus on its tab, and the focus event names it."""
    listener.clear()
    key(*keys)
    listener.wait("the %r tab announced as selected" % caption, "object:state-changed:selected",
                  match=lambda e: e.name == caption and e.detail1 == 1)
    wait_for("%r alone selected" % caption, lambda: selected_tabs(window) == [caption])
    if focus_on_tab:
        listener.wait("the focus on the %r tab told" % caption, "focus:",
                      match=lambda e: e.name == caption and e.role == "page tab")
        wait_for("the focus on the %r tab" % caption,
                 lambda: [a.name for a in focused(window)] == [caption])
        nameless = [e for e in listener.of("focus:") if not e.name]
        check(not nameless, "the focus went to nameless objects: %r" % nameless)


def check_start(window, listener):
    names = [t.name for t in tabs(window)]
    check(len(names) == 6 and names[1:] == ["Contract - W2", "Contract - 1099", "Help",
                                            "Suggestions", "About"],
          "the tabs are %r" % names)
    check(selected_tabs(window) == [names[0]], "at start %r are selected" % selected_tabs(window))
    # The start page has no box or button: the focus is on its tab, which names the page.
    wait_for("the focus on the start page's tab",
             lambda: [a.name for a in focused(window)] == [names[0]])
    logo = find(window, pyatspi.ROLE_IMAGE, "Logo")
    check(labelled_by(logo)[0].name.startswith("(Please click our logo"),
          "the logo is labelled by %r" % [a.name for a in labelled_by(logo)])
    return names


def check_w2(window, listener):
    go_to_page(window, listener, "Contract - W2", ["ctrl+Tab"])
    rate = find(window, pyatspi.ROLE_TEXT, "Hourly Rate $:")
    salary = find(window, pyatspi.ROLE_TEXT, "Contract Salary $:")
    hours = find(window, pyatspi.ROLE_COMBO_BOX, "Hours #:")
    wait_for("the focus in the W2 rate box", lambda: states(rate).contains(pyatspi.STATE_FOCUSED))
    for box, label in ((rate, "Hourly Rate $:"), (salary, "Contract Salary $:"),
                       (hours, "Hours #:")):
        check_labelled(box, label)
    table = find(window, pyatspi.ROLE_TABLE, "Rate table: hourly rates and their salaries")
    grid = table.queryTable()
    check(grid.nColumns == 2, "the rate table has %d columns" % grid.nColumns)
    heads = [grid.getColumnHeader(c).name for c in range(2)]
    check(heads == ["Hourly Rate $", "Salary $"], "the rate table's heads are %r" % heads)
    check([grid.getColumnDescription(c) for c in range(2)] == heads, "column descriptions")
    check(grid.nRows == 1 and [grid.getAccessibleAt(0, c).name for c in range(2)]
          == ["$0.00", "$0.00"], "the rate table at start")
    check_labelled(table, "Hourly Rate $\tSalary $")

    # Types a rate and hours and calculates, all by keys.
    type_text("50")
    key("Tab")
    wait_for("the focus in the hours box", lambda: states(hours).contains(pyatspi.STATE_FOCUSED)
             or any(a.name == "Hours #:" for a in focused(window)))
    type_text("2080")
    listener.clear()
    key("Return")
    wait_for("the new rate table", lambda: grid.nRows == 11)
    settle()
    rows = [[grid.getAccessibleAt(r, c).name for c in range(2)] for r in range(grid.nRows)]
    check(rows[0] == ["$45.00", "$93600.00"] and rows[5] == ["$50.00", "$104000.00"]
          and rows[10] == ["$55.00", "$114400.00"], "the rate table reads %r" % rows)
    check(text_of(salary) == "$104000.00", "the salary box reads %r" % text_of(salary))
    check(hours.name == "Hours #: 2080 hours ( 12 months )",
          "the hours box is named %r after a choice" % hours.name)
    hours_field = [a for a in descendants(hours) if a.getRole() == pyatspi.ROLE_TEXT]
    check(hours_field and text_of(hours_field[0]) == "2080 hours ( 12 months )",
          "the hours box shows %r" % [text_of(a) for a in hours_field])
    # Only what changed is told, once each: the rate (now with its "$"), the salary, the hours,
    # the table.
    told = listener.of("object:text-changed") + listener.of("object:property-change")
    sources = {}
    for event in told:
        sources.setdefault((event.path, event.type), []).append(event)
    changed = {path_of(rate), path_of(salary), path_of(hours), path_of(table)} | {
        path_of(a) for a in hours_field}
    strays = [e for e in told if e.path not in changed and e.role != "notification"]
    check(not strays, "a Calculate told of texts that did not change: %r" % strays)
    repeats = [v for v in sources.values() if len(v) > 1]
    check(not repeats, "a Calculate told of one change twice: %r" % repeats)
    # The answer is told beside the focus, once.
    notified(listener, "Contract Salary $: $104000.00")

    # Clear through the button's accessible action: the handler runs, as for a click.
    listener.clear()
    do_action(find(window, pyatspi.ROLE_PUSH_BUTTON, "Clear"), "Press", "press", "click")
    listener.wait("the salary box emptied", "object:text-changed:delete", salary)
    wait_for("the W2 boxes empty", lambda: text_of(salary) == "" and text_of(rate) == "")


def notified(listener, words):
    """Waits for a notification that shows with words in its name: what a screen reader speaks
    of a change away from the focus."""
    return listener.wait("%r told" % words, "object:state-changed:showing",
                         match=lambda e: e.role == "notification" and e.detail1 == 1
                         and words in (e.name or ""))


def check_1099(window, listener):
    go_to_page(window, listener, "Contract - 1099", ["ctrl+Tab"])
    rate = find(window, pyatspi.ROLE_TEXT, "Hourly Rate $:")
    wait_for("the focus in the 1099 rate box", lambda: states(rate).contains(pyatspi.STATE_FOCUSED))
    rows = ("Workers Comp.", "Insurance", "Health")
    for name in ("Hourly Rate $:", "Social Security %", "State Tax %", "Fed Tax %") + rows:
        check_labelled(find(window, pyatspi.ROLE_TEXT, name), name)
    check_labelled(find(window, pyatspi.ROLE_COMBO_BOX, "Hours #:"), "Hours #:")
    for row in rows:
        period = find(window, pyatspi.ROLE_COMBO_BOX, row + " period yearly")
        check(not states(period).contains(pyatspi.STATE_ENABLED),
              "%r is enabled with %% checked" % period.name)
        for sign, checked in (("%", True), ("$", False)):
            radio = find(window, pyatspi.ROLE_RADIO_BUTTON, "%s %s" % (row, sign))
            check_labelled(radio, row)
            check(states(radio).contains(pyatspi.STATE_CHECKED) == checked,
                  "%r checked is not %r" % (radio.name, checked))

    results = {label: find(window, pyatspi.ROLE_LABEL, label + " $0.00")
               for label in ("Salary:", "Taxes/Other:", "Net:")}
    for label, result in results.items():
        check_labelled(result, label)
        check(text_of(result) == "$0.00", "%r reads %r" % (label, text_of(result)))

    # The rate, the hours and the social security by keys, then Calculate by Enter.
    type_text("50")
    key("Tab")
    type_text("520")
    key("Tab")
    social = find(window, pyatspi.ROLE_TEXT, "Social Security %")
    wait_for("the focus in the social security box",
             lambda: states(social).contains(pyatspi.STATE_FOCUSED))
    type_text("7.65")
    listener.clear()
    key("Return")
    expected = {"Salary:": "$26000.00", "Taxes/Other:": "$1989.00", "Net:": "$24011.00"}
    for label, value in expected.items():
        result = results[label]
        notified(listener, "%s %s" % (label, value))
        wait_for("%s reading %s" % (label, value),
                 lambda: result.name == label + " " + value and text_of(result) == value)
    settle()
    notes = [e for e in listener.of("object:state-changed:showing") if e.role == "notification"]
    check(len(notes) == 1, "a Calculate was told %d times: %r" % (len(notes), notes))
    stray = [e for e in listener.of("object:") if e.role == "label" and e.path not in
             {path_of(r) for r in results.values()}]
    check(not stray, "unchanged texts were told: %r" % stray)

    # Tab round the page: every stop tells its name as it gets the focus; the "%"/"$" buttons,
    # where Tab reaches them, with their row, and checked (the checked one of a pair is the stop).
    listener.clear()
    for _ in range(18):
        key("Tab")
    settle()
    stops = listener.of("focus:")
    check(len(stops) >= 10, "Tab round the 1099 page told %d stops" % len(stops))
    nameless = [e for e in stops if not e.name]
    check(not nameless, "Tab reached nameless objects: %r" % nameless)
    radio_stops = [e for e in stops if e.role == "radio button"]
    for stop in radio_stops:
        check(stop.name in {"%s %s" % (row, sign) for row in rows for sign in "%$"},
              "a radio button got the focus as %r" % stop.name)
        check(stop.checked, "%r got the focus unchecked" % stop.name)
    # Each row's checked button is a Tab stop, right after the row's amount box.
    told = {e.name for e in radio_stops}
    check(all("%s %%" % row in told for row in rows),
          "Tab told the %%/$ buttons %r, not every row's checked one" % sorted(told))

    # A "$" button chosen by its accessible action enables the row's period box, as a click does.
    health_dollar = find(window, pyatspi.ROLE_RADIO_BUTTON, "Health $")
    health_period = find(window, pyatspi.ROLE_COMBO_BOX, "Health period yearly")
    listener.clear()
    do_action(health_dollar, "Press", "press", "click", "Toggle", "toggle")
    wait_for("the Health period box enabled",
             lambda: states(health_period).contains(pyatspi.STATE_ENABLED))
    check(states(health_dollar).contains(pyatspi.STATE_CHECKED), "Health $ is not checked")
    check(not states(find(window, pyatspi.ROLE_RADIO_BUTTON, "Health %")).contains(
        pyatspi.STATE_CHECKED), "Health % stays checked")
    check(health_period.name == "Health period yearly",
          "the period box is named %r" % health_period.name)
    do_action(find(window, pyatspi.ROLE_RADIO_BUTTON, "Health %"), "Press", "press", "Toggle")
    wait_for("the Health period box disabled again",
             lambda: not states(health_period).contains(pyatspi.STATE_ENABLED))


def check_help(window, listener):
    go_to_page(window, listener, "Help", ["ctrl+Tab"], focus_on_tab=True)
    help_text = find(window, pyatspi.ROLE_LABEL, "Help page")
    pages = [text_of(help_text)]
    check(pages[0].startswith("The Help section provides"), "help page 1 reads %r" % pages[0][:60])
    following = find(window, pyatspi.ROLE_PUSH_BUTTON, "Next >")
    for number in range(2, 9):
        listener.clear()
        do_action(following, "Press", "press", "click")
        wait_for("help page %d shown" % number, lambda: text_of(help_text) != pages[-1])
        pages.append(text_of(help_text))
        notified(listener, pages[-1].split("\n")[0])
        check(pages[-1] != pages[-2], "help page %d reads as page %d" % (number, number - 1))
    check(pages[1].startswith("CONTRACT - W2 (continued):"), "help page 2: %r" % pages[1][:40])
    check("SUGGESTIONS:" in pages[7] and "ABOUT:" in pages[7], "help page 8: %r" % pages[7][:40])
    wait_for("Next > disabled on the last page",
             lambda: not states(following).contains(pyatspi.STATE_ENABLED))


def check_suggestions(window, listener, server):
    go_to_page(window, listener, "Suggestions", ["ctrl+Tab"], focus_on_tab=True)
    box = find(window, pyatspi.ROLE_TEXT, "Suggestion")
    check(box.description.startswith("Please type in any suggestion") and not labelled_by(box),
          "the suggestion box is described by %r, labelled by %r"
          % (box.description, [a.name for a in labelled_by(box)]))
    key("Tab")
    wait_for("the focus in the suggestion box", lambda: states(box).contains(pyatspi.STATE_FOCUSED))
    wait_for("the placeholder gone", lambda: text_of(box) == "")
    type_text("Heard every result")
    wait_for("the suggestion typed", lambda: text_of(box) == "Heard every result")
    listener.clear()
    key("Tab")
    send = find(window, pyatspi.ROLE_PUSH_BUTTON, "Send")
    wait_for("the focus on Send", lambda: states(send).contains(pyatspi.STATE_FOCUSED))
    key("Return")
    desktop_app = window.getApplication()

    def message_box():
        for other in desktop_app:
            if other is not None and other.name != WINDOW_TITLE and showing(other):
                texts = [a for a in descendants(other) if a.getRole() == pyatspi.ROLE_LABEL]
                if texts:
                    return other, texts
        return None

    box_window, texts = wait_for("the confirmation", message_box)
    said = " ".join(t.name for t in texts)
    check("sent and received" in said, "the confirmation says %r" % said)
    check(b"Heard+every+result" in server.received or b"Heard%20every%20result" in server.received
          or b"Heard every result" in server.received, "the server got %r" % server.received[:200])
    key("Return")
    wait_for("the confirmation closed", lambda: message_box() is None)


def check_about(window, listener):
    go_to_page(window, listener, "About", ["ctrl+Tab"], focus_on_tab=True)
    labels = [a.name for a in find_all(window, pyatspi.ROLE_LABEL)]
    check("Quorvane Utility Version 1.1" in labels, "the About page reads %r" % labels)
    check(any(n.startswith("Disclaimer:") for n in labels), "no disclaimer in %r" % labels)
    find(window, pyatspi.ROLE_IMAGE, "Quorvane Utility icon")
    group = [a for a in find_all(window) if a.getRole() in (pyatspi.ROLE_PANEL, pyatspi.ROLE_GROUPING)
             and a.name.startswith("Aims of ")]
    check(len(group) == 1, "the aims' group box is not named")

    # The window menu, a pop-up known to a screen reader by the focus on its items: Close and
    # About named without their keys; About opens the box.
    listener.clear()
    key("shift+F10", "Down")
    told = listener.wait("the focus in the window menu", "object:state-changed:focused",
                         match=lambda e: e.role == "menu item" and e.detail1 == 1)
    menu = told[0].source.parent
    items = [menu.getChildAtIndex(i) for i in range(menu.childCount)]
    items = [i for i in items if i is not None and i.getRole() == pyatspi.ROLE_MENU_ITEM]
    names = [i.name for i in items]
    check("Close" in names and not any("\t" in n for n in names), "the menu items are %r" % names)
    close = items[names.index("Close")]
    bindings = close.queryAction().getKeyBinding(0)
    check("F4" in bindings, "Close's key binding is %r" % bindings)
    about = [i for i in items if i.name.startswith("About")]
    check(len(about) == 1, "no About entry in %r" % names)
    listener.clear()
    key("Down")
    listener.wait("the focus on About", "object:state-changed:focused",
                  match=lambda e: e.role == "menu item" and e.name == about[0].name)
    key("Return")

    app = window.getApplication()

    def about_box():
        for other in app:
            if other is not None and other.name == "About Quorvane Utility Program" and showing(other):
                return other
        return None

    box = wait_for("the About box", about_box)
    check(find(box, pyatspi.ROLE_IMAGE, "Quorvane Utility icon"), "the box's icon is not named")
    texts = [a.name for a in find_all(box, pyatspi.ROLE_LABEL)]
    check("Quorvane Utility Version 1.1" in texts and any(t.startswith("Authors:") for t in texts),
          "the About box reads %r" % texts)
    key("Escape")
    wait_for("the About box closed", lambda: about_box() is None)


def main():
    if len(sys.argv) != 2:
        print("usage: screen_reader_test.py QUP_DRIVE", file=sys.stderr)
        return 2
    listener = Listener()
    server = StandInServer(TIMEOUT * 3, TIMEOUT)
    program = Program(sys.argv[1], server.port, TIMEOUT)
    failed = 0
    passed = 0
    try:
        window = wait_for("the window on the bus", lambda: the_window(program.process.pid))
        for name, step in (("start", lambda: check_start(window, listener)),
                           ("w2", lambda: check_w2(window, listener)),
                           ("1099", lambda: check_1099(window, listener)),
                           ("help", lambda: check_help(window, listener)),
                           ("suggestions", lambda: check_suggestions(window, listener, server)),
                           ("about", lambda: check_about(window, listener))):
            step()
            passed += 1
            print("ok: %s" % name, flush=True)
    except Failure as failure:
        failed = 1
        print("FAILED: %s" % failure, flush=True)
    finally:
        program.stop()
    print("%d passed, %d failed" % (passed, failed))
    if failed:
        print("---- qup-drive printed:\n" + program.printed())
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
