#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Starts the Orca screen reader with a settings folder of its own and its debug log written
line by line, so that a test can read what Orca spoke right after each key press (Orca's own
launcher opens the log block-buffered, and refuses to start beside another user's Orca).

    start_orca.py SETTINGS_FOLDER DEBUG_LOG
"""

import sys


def main():
    if len(sys.argv) != 3:
        print("usage: start_orca.py SETTINGS_FOLDER DEBUG_LOG", file=sys.stderr)
        return 2
    prefs, log = sys.argv[1], sys.argv[2]

    from orca import debug

    debug.debugLevel = debug.LEVEL_INFO
    debug.eventDebugLevel = debug.LEVEL_OFF
    debug.debugFile = open(log, "w", buffering=1, encoding="utf-8")

    from orca import orca

    manager = orca.getSettingsManager()
    manager.activate(prefs, {})
    sys.path.insert(0, manager.getPrefsDir())
    return orca.main()


if __name__ == "__main__":
    sys.exit(main())
