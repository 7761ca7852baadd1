// The masked edit field without its window: the per-window record of the edit control and every
// change that keys, characters, the mouse, the focus and the caller's messages make to it.
#pragma once
#include "controls/edit/field_head.h"
#include "controls/edit/number_form.h"
#include <stdint.h>

enum { EDIT_CELLS_MAX = 200 };

// What an operation asks the window to do afterwards.
enum edit_flags {
    EDIT_REPAINT = 1,  // repaint the whole control
    EDIT_ACCEPTED = 2, // an accepted edit: the parent is told at once (EN_UPDATE)
};

// Clipboard work a key asks for; the window does it, since only it can reach the clipboard.
enum edit_clipboard { EDIT_CLIP_NONE, EDIT_CLIP_COPY, EDIT_CLIP_CUT, EDIT_CLIP_PASTE };

// The virtual keys the field handles (the system's codes).
enum edit_key_code {
    EDIT_KEY_BACK = 0x08,
    EDIT_KEY_END = 0x23,
    EDIT_KEY_HOME = 0x24,
    EDIT_KEY_LEFT = 0x25,
    EDIT_KEY_UP = 0x26,
    EDIT_KEY_RIGHT = 0x27,
    EDIT_KEY_DOWN = 0x28,
    EDIT_KEY_INSERT = 0x2D,
    EDIT_KEY_DELETE = 0x2E,
};

// The record behind the window's extra bytes, zero-filled at creation.
struct edit_record {
    field_head head;
    char type;                     // type letter
    char auto_decimals;            // 1 when the type was given as "N"
    char text[EDIT_CELLS_MAX + 1]; // the shown value; cells characters while in use
    char mask[EDIT_CELLS_MAX + 1]; // mask of the mask types
    int32_t caret;                 // caret cell, 0 to cells
    int32_t anchor;                // start of the selection, -1 none
    int32_t free_entry;            // 1 insert mode, 0 mask mode
    int32_t dragging;              // 1 while the mouse is captured
    int32_t focused;
    int32_t changed_since_paint;
    int32_t edit_state; // 0 clean, 1 changed by the user, 2 a deferred value waits
    char pending[EDIT_CELLS_MAX + 1];
};

// Type, mask and initial text from the creation text (after the size and metrics are set).
void edit_create(edit_record *field, const char *creation_text, const number_seps *seps);
// After a change of size: the text is cut at cells, caret and anchor kept inside.
void edit_cut_to_cells(edit_record *field);

// A new value from the caller; 1 when it is shown (repaint, place the caret), 0 when it waits
// for the focus to go (TS_DEFER). shift: the Shift key is down.
int edit_set_value(edit_record *field, const char *value, int shift, const number_seps *seps);
// The canonical value, at most size - 1 characters and never more than cells, trailing blanks
// removed. Nothing is written when size is 0.
void edit_get_value(const edit_record *field, char *out, int size, const number_seps *seps);
// An escape command; 1 when the control must repaint.
int edit_escape(edit_record *field, const char *text);

void edit_focus_enter(edit_record *field, const number_seps *seps);
void edit_focus_exit(edit_record *field, const number_seps *seps);
// After the focus has gone: a waiting value replaces the text (1) or not (0); the field is clean.
int edit_apply_pending(edit_record *field, const number_seps *seps);

// A key press: -1 when it is not a key of the field, else edit flags; *clipboard receives the
// clipboard work to do (for a cut: copy, then edit_remove_selection).
int edit_key(edit_record *field, int key, int shift, int ctrl, int *clipboard);
// A typed character (0-255); edit flags.
int edit_char(edit_record *field, int character);
// The cell under the x coordinate of a mouse position.
int edit_cell_at(const edit_record *field, int x);
// Moves the caret to cell; extend: grow the selection (insert mode), else drop it. Edit flags.
int edit_place_caret(edit_record *field, int cell, int extend);
// Double click: the whole value selected in insert mode. Edit flags.
int edit_select_all(edit_record *field);

// 1 when a selection exists; lo and hi its cells (hi not included).
int edit_selection(const edit_record *field, int *lo, int *hi);
// The selected characters into out (size bytes); their number.
int edit_selection_text(const edit_record *field, char *out, int size);
void edit_remove_selection(edit_record *field);
// Puts clipboard text in at the caret, pushing the cells behind it right.
void edit_paste(edit_record *field, const char *clipboard_text);

// The cell after the last non-blank character.
int edit_value_end(const edit_record *field);
// 1 when TS_BLANKZERO hides the unfocused value.
int edit_value_hidden(const edit_record *field);
