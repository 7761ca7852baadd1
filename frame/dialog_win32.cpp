// The dialog manager (module "dialog"): the table of dialog boxes with one procedure per record,
// the index stack of the current dialog, opening and closing with the focus rules, the drag
// protocol between dialogs and the item helpers.
#include "frame/dialog.h"
#include "frame/app.h"
#include "frame/memory.h"
#include "frame/messages.h"
#include "frame/texts.h"
#include "resources/kx_ids.h"
#include "resources/text_ids.h"
#include <array>
#include <stdlib.h>
#include <string.h>
#include <utility>

enum dialog_state { DS_NEW, DS_OPENING, DS_OPEN, DS_SHOWN, DS_CLOSING, DS_CLOSED };
enum drag_state { DRAG_IDLE, DRAG_ARMED, DRAG_DRAGGING };
enum { IDX_SUP = 2 * DLGSUP, DRAG_THRESHOLD = 5, DLG_TEXT_AREAS = 5 };

struct dlgbox {
    char name[DLG_NAME_MAX + 1];
    dialog_fn open_fn;
    dialog_fn close_fn;
    dialog_handler handler;
    int mode;
    int state;
    HWND window; // NULL: the record is free
    HWND owner;  // current window when the dialog was opened
};

static dlgbox *box;
static int idxstack[IDX_SUP]; // record indexes; -1 is the main window
static int idxtop;

static HWND last_active, previous_active;
static char active_name[DLG_NAME_MAX + 1];

static struct {
    int state;
    POINT press;
    bool captured;
    dialog_drag record;
} drag;

static void idx_push(int i) {
    if (++idxtop >= IDX_SUP) assert_fail("dialog", 196, "++idxtop < 2*DLGSUP");
    idxstack[idxtop] = i;
}

static void idx_pop(void) {
    if (--idxtop < 0) assert_fail("dialog", 208, "--idxtop >= 0");
}

void dialog_startup(void) {
    if ((box = (dlgbox *)fmalloc(DLGSUP, sizeof(struct dlgbox))) == NULL)
        assert_fail("dialog", 77, "(box=fmalloc( DLGSUP, sizeof(struct dlgbox))) != NULL");
    idxtop = 0;
    idxstack[0] = -1;
    last_active = previous_active = NULL;
    active_name[0] = 0;
    memset(&drag, 0, sizeof drag);
}

void dialog_shutdown(void) {
    ffree(box);
    box = NULL;
}

// The record index of a managed dialog window, else -1.
static int dialog_index(HWND window) {
    if (!box || !window) return -1;
    for (int i = 0; i < DLGSUP; i++)
        if (box[i].window == window) return i;
    return -1;
}

static bool is_modal(const dlgbox *b) {
    return b->mode == DLG_MODAL_CURRENT || b->mode == DLG_MODAL_ALL;
}

static bool usable(HWND window) {
    return window && IsWindow(window) && IsWindowEnabled(window);
}

static int call_handler(int i, UINT message, WPARAM wparam, LPARAM lparam) {
    if (!box[i].window || !box[i].handler) return 0;
    return box[i].handler(message, wparam, lparam);
}

static void bring_to_front(HWND window) {
    BringWindowToTop(window);
    SetFocus(window);
}

HWND dialog_window(void) {
    int i = box ? idxstack[idxtop] : -1;
    if (i >= 0 && box[i].window) return box[i].window;
    return (HWND)frame_main_window();
}

void dialog_close_current(void) {
    int i = box ? idxstack[idxtop] : -1;
    if (i >= 0 && box[i].window) PostMessageA(box[i].window, WM_CLOSE, 0, 0);
}

void dialog_active_name(char *buffer, int size) {
    if (size <= 0) return;
    strncpy(buffer, active_name, (size_t)size - 1);
    buffer[size - 1] = 0;
}

dialog_drag *dialog_drag_record(void) {
    return &drag.record;
}

void dialog_enable_all(int flag) {
    EnableWindow((HWND)frame_main_window(), flag != 0);
    if (!box) return;
    for (int i = 0; i < DLGSUP; i++)
        if (box[i].window) EnableWindow(box[i].window, flag != 0);
    if (flag != 2) return;
    for (int i = 0; i < DLGSUP; i++)
        if (box[i].window && is_modal(&box[i])) EnableWindow(box[i].owner, FALSE);
}

// Where the focus goes after a dialog has closed: the first usable of the candidates, then the
// activation memory, then the main window.
static HWND focus_after_close(HWND candidate, HWND owner) {
    HWND choice = NULL;
    if (usable(candidate))
        choice = candidate;
    else if (dialog_index(owner) >= 0 && usable(owner))
        choice = owner;
    else {
        for (int i = DLGSUP - 1; i >= 0 && !choice; i--)
            if (box[i].window && is_modal(&box[i]) && usable(box[i].window)) choice = box[i].window;
    }
    HWND main = (HWND)frame_main_window();
    if (!choice || choice == main) {
        if (dialog_index(last_active) >= 0 && usable(last_active))
            choice = last_active;
        else if (dialog_index(previous_active) >= 0 && usable(previous_active))
            choice = previous_active;
    }
    return choice ? choice : main;
}

// The close function runs once, however often the dialog is asked to close.
static void dialog_close_record(int i) {
    dlgbox *b = &box[i];
    if (!b->window || b->state == DS_CLOSING) return;
    b->handler = NULL;
    idx_push(i);
    if (b->state <= DS_SHOWN) {
        b->state = DS_CLOSING;
        if (b->close_fn) b->close_fn();
        b->state = DS_CLOSED;
    }
    idx_pop();
    HWND window = b->window, owner = b->owner, candidate = NULL;
    for (int k = 0; k < DLGSUP; k++) {
        if (k == i || !box[k].window || box[k].owner != window) continue;
        box[k].owner = owner;
        candidate = box[k].window;
    }
    DestroyWindow(window);
    b->window = NULL;
    if (b->mode == DLG_MODAL_CURRENT)
        EnableWindow(owner, TRUE);
    else if (b->mode == DLG_MODAL_ALL)
        dialog_enable_all(2);
    bring_to_front(focus_after_close(candidate, owner));
}

void dialog_close_all(void) {
    if (!box) return;
    for (int i = DLGSUP - 1; i >= 0; i--) dialog_close_record(i);
}

bool dialog_may_close_all(void) {
    if (!box) return true;
    for (int i = DLGSUP - 1; i >= 0; i--) {
        if (!box[i].window || !box[i].handler) continue;
        idx_push(i);
        int refused = call_handler(i, WM_COMMAND, CMD_QUERY_CLOSE, 0);
        idx_pop();
        if (refused == 1 && box[i].window) {
            bring_to_front(box[i].window);
            return false;
        }
    }
    return true;
}

int dialog_filter(const MSG *message) {
    if (!box) return 0;
    for (int i = 0; i < DLGSUP; i++)
        if (box[i].window && IsDialogMessageA(box[i].window, (MSG *)message)) return 1;
    return 0;
}

// The mouse position of a dialog's message in screen coordinates. The display control reports
// its own client coordinates, which the dialog cannot place: its commands take the position the
// system recorded for the message.
static POINT drag_point(HWND window, UINT message, LPARAM lparam) {
    POINT point;
    if (message == WM_COMMAND) {
        DWORD position = GetMessagePos();
        point.x = (short)LOWORD(position);
        point.y = (short)HIWORD(position);
    } else {
        point.x = (short)LOWORD(lparam);
        point.y = (short)HIWORD(lparam);
        ClientToScreen(window, &point);
    }
    return point;
}

static void drag_arm(POINT point) {
    if (drag.state != DRAG_IDLE) return;
    drag.state = DRAG_ARMED;
    drag.press = point;
}

// Past the threshold the handler of record i decides (drag query) whether anything is dragged.
static void drag_move(int i, POINT point) {
    if (drag.state != DRAG_ARMED) return;
    if (abs(point.x - drag.press.x) < DRAG_THRESHOLD &&
        abs(point.y - drag.press.y) < DRAG_THRESHOLD)
        return;
    drag.record.kind = -1;
    call_handler(i, WM_COMMAND, CMD_DRAG_QUERY, (LPARAM)&drag.record);
    if (drag.record.kind <= 0) {
        drag.state = DRAG_IDLE;
        return;
    }
    drag.state = DRAG_DRAGGING;
    frame_set_cursor(2);
    SetCapture(box[i].window);
    drag.captured = true;
}

// The target is the managed dialog under the mouse (or the parent of the control there).
static void drag_end(POINT point) {
    int was = drag.state;
    drag.state = DRAG_IDLE;
    if (was != DRAG_DRAGGING) return;
    HWND under = WindowFromPoint(point);
    int t = dialog_index(under);
    if (t < 0 && under) t = dialog_index(GetParent(under));
    if (t >= 0 && box[t].window != drag.record.source) {
        idx_push(t);
        call_handler(t, WM_COMMAND, CMD_DRAG_DROP, 0);
        idx_pop();
    }
    memset(&drag.record, 0, sizeof drag.record);
    if (drag.captured) {
        drag.captured = false;
        ReleaseCapture();
        frame_set_cursor(0);
    }
}

static void dialog_on_init(dlgbox *b) {
    if (b->state != DS_NEW) return;
    b->state = DS_OPENING;
    if (b->open_fn) b->open_fn();
    if (b->state == DS_OPENING) b->state = DS_OPEN;
}

static void dialog_on_activate(dlgbox *b, WPARAM wparam) {
    if (LOWORD(wparam) == WA_INACTIVE) {
        active_name[0] = 0;
        return;
    }
    if (b->window != last_active) {
        previous_active = last_active;
        last_active = b->window;
    }
    memcpy(active_name, b->name, sizeof active_name);
}

// Every message of record i's dialog, with the dialog current while the application sees it.
static INT_PTR dialog_common(int i, HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    dlgbox *b = &box[i];
    if (b->state == DS_NEW) b->window = window;
    if (!b->window) return 0;
    INT_PTR result = 0;
    idx_push(i);
    switch (message) {
    case WM_INITDIALOG:
        dialog_on_init(b);
        result = b->mode != DLG_UNOWNED; // TRUE: the system gives the first control the focus
        break;
    case WM_ACTIVATE:
        dialog_on_activate(b, wparam);
        result = call_handler(i, message, wparam, lparam);
        break;
    case WM_PAINT:
        call_handler(i, message, wparam, lparam);
        if (b->state == DS_OPEN) {
            PostMessageA(window, WM_COMMAND, CMD_FIRST_PAINT, 0);
            b->state = DS_SHOWN;
        }
        break;
    case WM_CLOSE:
        dialog_close_record(i);
        result = TRUE;
        break;
    case WM_COMMAND:
        result = call_handler(i, message, wparam, lparam);
        if (wparam == CMD_DRAG_DOWN)
            drag_arm(drag_point(window, message, lparam));
        else if (wparam == CMD_DRAG_MOVE)
            drag_move(i, drag_point(window, message, lparam));
        else if (wparam == CMD_DRAG_UP)
            drag_end(drag_point(window, message, lparam));
        break;
    case WM_MOUSEMOVE:
        if (wparam & MK_LBUTTON)
            drag_move(i, drag_point(window, message, lparam));
        else
            drag_end(drag_point(window, message, lparam));
        result = call_handler(i, message, wparam, lparam);
        break;
    case WM_LBUTTONDOWN:
        if (wparam & MK_LBUTTON) drag_arm(drag_point(window, message, lparam));
        result = call_handler(i, message, wparam, lparam);
        break;
    case WM_LBUTTONUP:
        drag_end(drag_point(window, message, lparam));
        result = call_handler(i, message, wparam, lparam);
        break;
    default:
        result = call_handler(i, message, wparam, lparam);
    }
    idx_pop();
    return result;
}

// One dialog procedure per record, so every message arrives with its record index.
template <int I>
static INT_PTR CALLBACK dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return dialog_common(I, window, message, wparam, lparam);
}

template <size_t... I>
static constexpr std::array<DLGPROC, sizeof...(I)> dialog_proc_table(std::index_sequence<I...>) {
    return {{&dialog_proc<(int)I>...}};
}

static const std::array<DLGPROC, DLGSUP> dialog_procs =
    dialog_proc_table(std::make_index_sequence<DLGSUP>());

HWND dialog_open(const char *name, dialog_fn open_fn, dialog_fn close_fn, dialog_handler handler) {
    return dialog_open_mode(name, open_fn, close_fn, handler, DLG_MODELESS);
}

HWND dialog_open_mode(const char *name, dialog_fn open_fn, dialog_fn close_fn,
                      dialog_handler handler, int mode) {
    if (!box) return NULL;
    for (int i = 0; i < DLGSUP && handler; i++) {
        if (!box[i].window || box[i].handler != handler) continue;
        if (IsWindowEnabled(box[i].window))
            bring_to_front(box[i].window);
        else
            MessageBeep(1);
        return box[i].window;
    }
    if (frame_run_state() != RUN_RUNNING) return NULL;
    int i = 0;
    while (i < DLGSUP && box[i].window) i++;
    if (i == DLGSUP) {
        MessageBeep(1);
        msg_warn(text(TXT_TOO_MANY_DIALOGS), DLGSUP);
        return NULL;
    }
    if (mode == DLG_MODAL_ALL)
        dialog_enable_all(0);
    else if (mode == DLG_MODAL_CURRENT)
        EnableWindow(dialog_window(), FALSE);
    dlgbox *b = &box[i];
    memset(b, 0, sizeof *b);
    strncpy(b->name, name, DLG_NAME_MAX);
    b->open_fn = open_fn;
    b->close_fn = close_fn;
    b->handler = handler;
    b->mode = mode;
    b->owner = dialog_window();
    HWND parent = mode == DLG_UNOWNED ? nullptr : (HWND)frame_main_window();
    HWND window = CreateDialogParamA((HINSTANCE)frame_instance(), name, parent, dialog_procs[i], 0);
    if (!window) {
        b->window = NULL;
        dialog_enable_all(2);
        msg_warn(text(TXT_CANNOT_CREATE_DIALOG), name);
    }
    return b->window;
}

static LRESULT item_send(int item, UINT message, WPARAM wparam, LPARAM lparam) {
    return SendDlgItemMessageA(dialog_window(), item, message, wparam, lparam);
}

static void item_set_font(int item) {
    HFONT font = (HFONT)frame_app()->font;
    if (font) item_send(item, WM_SETFONT, (WPARAM)font, FALSE);
}

int dlg_set_text(int item, const char *text) {
    item_set_font(item);
    return SetDlgItemTextA(dialog_window(), item, text) ? 0 : -1;
}

int dlg_get_text(int item, char *buffer, int length) {
    if (length <= 0) return 0;
    buffer[0] = 0;
    return (int)GetDlgItemTextA(dialog_window(), item, buffer, length);
}

const char *dlg_text(int item) {
    static char areas[DLG_TEXT_AREAS][DLG_FIELD_MAX + 1];
    static int next;
    char *area = areas[next];
    next = (next + 1) % DLG_TEXT_AREAS;
    dlg_get_text(item, area, DLG_FIELD_MAX);
    return area;
}

int dlg_set_check(int item, int check) {
    return (int)item_send(item, BM_SETCHECK, (WPARAM)check, 0);
}

int dlg_get_check(int item) {
    return (int)item_send(item, BM_GETCHECK, 0, 0);
}

int dlg_enable(int item, int flag) {
    HWND control = GetDlgItem(dialog_window(), item);
    if (!control) return -1;
    EnableWindow(control, flag != 0);
    return 0;
}

int combo_reset(int item) {
    item_set_font(item);
    return (int)item_send(item, CB_RESETCONTENT, 0, 0);
}

int combo_add(int item, const char *text) {
    return (int)item_send(item, CB_ADDSTRING, 0, (LPARAM)text);
}

int combo_select(int item, int index) {
    return (int)item_send(item, CB_SETCURSEL, (WPARAM)index, 0);
}

int combo_current(int item) {
    return (int)item_send(item, CB_GETCURSEL, 0, 0);
}

int dlg_list_reset(int item) {
    item_set_font(item);
    return (int)item_send(item, LB_RESETCONTENT, 0, 0);
}

int dlg_list_add(int item, const char *text) {
    return (int)item_send(item, LB_ADDSTRING, 0, (LPARAM)text);
}

int dlg_list_insert(int item, int index, const char *text) {
    return (int)item_send(item, LB_INSERTSTRING, (WPARAM)index, (LPARAM)text);
}

int dlg_list_delete(int item, int index) {
    return (int)item_send(item, LB_DELETESTRING, (WPARAM)index, 0);
}

// LB_GETTEXT knows no buffer size: a longer entry is read into a block of its own and cut.
int listbox_text(void *list, int index, char *buffer, int size) {
    if (!buffer || size <= 0) return -1;
    buffer[0] = 0;
    HWND window = (HWND)list;
    int length = (int)SendMessageA(window, LB_GETTEXTLEN, (WPARAM)index, 0);
    if (length < 0) return -1;
    if (length < size) return (int)SendMessageA(window, LB_GETTEXT, (WPARAM)index, (LPARAM)buffer);
    char *whole = (char *)fmalloc((size_t)length + 1, 1);
    if (!whole) return -1;
    SendMessageA(window, LB_GETTEXT, (WPARAM)index, (LPARAM)whole);
    memcpy(buffer, whole, (size_t)size - 1);
    buffer[size - 1] = 0;
    ffree(whole);
    return size - 1;
}

int dlg_list_text(int item, int index, char *buffer, int size) {
    return listbox_text(GetDlgItem(dialog_window(), item), index, buffer, size);
}

int dlg_list_current(int item) {
    return (int)item_send(item, LB_GETCURSEL, 0, 0);
}

int dlg_list_select(int item, int index) {
    return (int)item_send(item, LB_SETCURSEL, (WPARAM)index, 0);
}

int dlg_list_count(int item) {
    return (int)item_send(item, LB_GETCOUNT, 0, 0);
}

void dlg_list_redraw(int item, int flag) {
    item_send(item, WM_SETREDRAW, (WPARAM)(flag != 0), 0);
    if (flag) InvalidateRect(GetDlgItem(dialog_window(), item), NULL, TRUE);
}

int is_list_event(int item, WPARAM wparam) {
    if (LOWORD(wparam) != item) return 0;
    switch (HIWORD(wparam)) {
    case LBN_SELCHANGE:
        return 2;
    case LBN_DBLCLK:
        return 3;
    case LBN_SETFOCUS:
        return 1;
    default:
        return 0;
    }
}

int is_change(int item, WPARAM wparam, int focused_only) {
    if (LOWORD(wparam) != item || HIWORD(wparam) != EN_CHANGE) return 0;
    return !focused_only || GetFocus() == GetDlgItem(dialog_window(), item);
}

int is_close_box(UINT message, WPARAM wparam) {
    return message == WM_SYSCOMMAND && (wparam & 0xFFF0) == SC_CLOSE;
}

int is_combo_event(int item, WPARAM wparam) {
    if (LOWORD(wparam) != item) return 0;
    int code = HIWORD(wparam);
    return code == CBN_SELCHANGE || code == CBN_DBLCLK || code == CBN_EDITCHANGE;
}

int dlg_run_button(const dialog_button *buttons, int count, WPARAM wparam) {
    if (HIWORD(wparam) != BN_CLICKED) return 0;
    for (int i = 0; i < count; i++) {
        if (buttons[i].id != LOWORD(wparam)) continue;
        buttons[i].run();
        return 1;
    }
    return 0;
}
