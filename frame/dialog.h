// The dialog manager: the program's modeless dialogs, the current dialog (top of the index stack)
// and the item helpers that act on it.
#pragma once
#include <windows.h>

enum { DLGSUP = 100, DLG_NAME_MAX = 20, DLG_FIELD_MAX = 80, DLG_DRAG_TEXT_MAX = 80 };

// How a dialog relates to the other windows while it is open.
// A dialog of mode DLG_UNOWNED is modeless, owned by no window (a taskbar button of its own, on
// screen while the main window is minimised) and takes no focus when it is created: a notice
// that comes up while the user works in another program.
enum dialog_mode { DLG_MODELESS = 0, DLG_MODAL_CURRENT = 1, DLG_MODAL_ALL = 2, DLG_UNOWNED = 3 };

typedef int (*dialog_handler)(UINT message, WPARAM wparam, LPARAM lparam);
typedef void (*dialog_fn)(void);

// What is dragged between dialogs; the source dialog's handler fills it at the drag query.
struct dialog_drag {
    HWND source;
    int kind;
    int value;
    char text[DLG_DRAG_TEXT_MAX + 1];
};

// The frame: the table at start and end, the message loop's filter, closing the main window.
void dialog_startup(void);
void dialog_shutdown(void);
int dialog_filter(const MSG *message);
void dialog_close_all(void);
// Asks every open dialog, the newest first, whether it may close (CMD_QUERY_CLOSE to its
// handler); the first that refuses comes to the front and the answer is false.
bool dialog_may_close_all(void);

// Opens the template name, or brings the open dialog of this handler to the front (a disabled
// one only beeps). Only while the message loop runs; the dialog window or NULL.
HWND dialog_open(const char *name, dialog_fn open_fn, dialog_fn close_fn, dialog_handler handler);
HWND dialog_open_mode(const char *name, dialog_fn open_fn, dialog_fn close_fn,
                      dialog_handler handler, int mode);
void dialog_close_current(void);
// The current dialog's window, or the main window when none is current.
HWND dialog_window(void);
// The name of the active dialog ("" when none is active), cut to size - 1 characters.
void dialog_active_name(char *buffer, int size);
// 0 disables, any other flag enables the main window and every dialog; 2 keeps modal owners
// disabled.
void dialog_enable_all(int flag);
// The record of the drag in progress (read by the target's handler at the drop).
dialog_drag *dialog_drag_record(void);

// Item helpers: each acts on the item of the current dialog.
int dlg_set_text(int item, const char *text);
// Reads into a buffer of length bytes (at most length - 1 characters); the number read.
int dlg_get_text(int item, char *buffer, int length);
// At most DLG_FIELD_MAX - 1 characters in the next of five rotating areas.
const char *dlg_text(int item);
int dlg_set_check(int item, int check);
int dlg_get_check(int item);
int dlg_enable(int item, int flag);
int combo_reset(int item);
int combo_add(int item, const char *text);
int combo_select(int item, int index);
int combo_current(int item);
int dlg_list_reset(int item);
int dlg_list_add(int item, const char *text);
int dlg_list_insert(int item, int index, const char *text);
int dlg_list_delete(int item, int index);
// The entry's text cut to size - 1 characters; its length, or -1 without such an entry.
int dlg_list_text(int item, int index, char *buffer, int size);
// The same for the list box window list (the main window's list uses it too).
int listbox_text(void *list, int index, char *buffer, int size);
int dlg_list_current(int item);
int dlg_list_select(int item, int index);
int dlg_list_count(int item);
void dlg_list_redraw(int item, int flag);

// Decoding a WM_COMMAND of item: 2 selection changed, 3 double click, 1 got the focus, else 0.
int is_list_event(int item, WPARAM wparam);
// 1 when the command is EN_CHANGE of item (with focused_only, only while item has the focus).
int is_change(int item, WPARAM wparam, int focused_only = 0);
// Whether the message is a click on the caption's close box. A handler that offers unsaved
// changes for saving takes it as Escape and answers 1, so that a save that fails keeps the
// dialog open (the close function cannot).
int is_close_box(UINT message, WPARAM wparam);
// A button of a dialog and what a click on it runs.
struct dialog_button {
    int id;
    void (*run)(void);
};
// Runs the button of buttons that the command is a click of; 1 when there was one.
int dlg_run_button(const dialog_button *buttons, int count, WPARAM wparam);
// 1 when the command of item is a selection change, double click or edit change.
int is_combo_event(int item, WPARAM wparam);
