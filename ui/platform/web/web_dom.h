// SPDX-License-Identifier: MIT
// The page side of the web window (web_window.js), as the C++ side calls it. Windows are
// numbered by the page; texts are UTF-8.
#ifndef QUP_UI_PLATFORM_WEB_WEB_DOM_H
#define QUP_UI_PLATFORM_WEB_WEB_DOM_H

extern "C" {
// The page's base units for the dialog font: x and y.
void qup_dom_base_units(int* units);
int qup_dom_open(const char* title, int width, int height, int modal);
void qup_dom_set_default_command(int window, int command);
void qup_dom_add_control(int window, int id, int kind, const char* caption, int x, int y, int width,
                         int height, int page, unsigned flags, int resource, const char* name,
                         const char* description);
void qup_dom_set_group(int window, int id, const int* members, int count);
void qup_dom_make_table(int window, int id, const char* heads);
void qup_dom_make_result(int window, int id, const char* name);
void qup_dom_set_text(int window, int id, const char* text);
// Writes the text with its zero byte when it fits in size; returns the bytes it needs.
int qup_dom_get_text(int window, int id, char* buffer, int size);
void qup_dom_show(int window, int id, int visible);
int qup_dom_is_visible(int window, int id);
void qup_dom_enable(int window, int id, int enabled);
int qup_dom_is_enabled(int window, int id);
void qup_dom_focus(int window, int id);
int qup_dom_focused(int window);
void qup_dom_set_check(int window, int id, int checked);
int qup_dom_get_check(int window, int id);
void qup_dom_combo_add(int window, int id, const char* text);
int qup_dom_combo_get(int window, int id);
void qup_dom_combo_set(int window, int id, int index);
void qup_dom_limit_text(int window, int id, int limit);
void qup_dom_tab_insert(int window, int id, int index, const char* caption);
int qup_dom_tab_get(int window, int id);
void qup_dom_tab_set(int window, int id, int index);
void qup_dom_close(int window);
// Waits for the user's next action: kind, id, code, x, y (WebEvent).
void qup_dom_wait_event(int window, int* event);
void qup_dom_message_box(const char* text, const char* caption, int type);
void qup_dom_wait_cursor(int on);
void qup_dom_open_url(const char* url);
}

#endif  // QUP_UI_PLATFORM_WEB_WEB_DOM_H
