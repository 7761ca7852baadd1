// The layout of the main window: header strip, main list and footer strip, the controls in the
// strips addressed by id, and the commands they post to the main window.
#pragma once
#include <stdint.h>

enum strip_which { STRIP_HEADER = 0, STRIP_FOOTER = 1 };

// Creates the enabled strips (empty) and, when a command is not 0, the main list.
void layout_open(int header, int footer, int select_command, int open_command);
// Fits strips, items and list to the main window's client area.
void layout_resize(void);
// The main window now shows at dpi (its font already the application font there): the strips'
// items are placed, sized and given fonts and bitmaps for it, and everything laid out again.
void layout_set_dpi(int dpi);
// Destroys every window of the layout; before the control libraries are unloaded.
void layout_close(void);
// The main window hands every message here first: strip buttons, user changes of edit items
// and list notifications become posted commands, WM_SIZE lays out again.
void layout_message(unsigned message, uintptr_t wparam, intptr_t lparam);

// Replaces all items of a strip by those of the description.
void strip_define(int strip, const char *description);
// Button and display items of this id get the bitmap named after text, the others text itself.
void strip_set_text(int strip, int id, const char *text);
// The text of the last item of this id into buffer (size bytes); untouched when there is none.
void strip_get_text(int strip, int id, char *buffer, int size);
// n strip units in pixels.
int strip_unit(int n);

void list_focus(void);
// Empties the main list and gives it the application font.
void list_reset(void);
// These give what the list box answers (LB_ERR without a main list).
int list_add(const char *text);
int list_insert(const char *text, int index);
int list_current(void);
// The entry's text cut to size bytes; its length as kept, or LB_ERR.
int list_text(int index, char *buffer, int size);
