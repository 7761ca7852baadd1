// The masked edit control TORKEDIT: its library entry point, window procedure, painting, caret
// and clipboard. The field itself lives in edit_field.
#include "controls/edit/control_frame.h"
#include "controls/edit/control_styles.h"
#include "controls/edit/edit_field.h"

#include <string.h>

static const char CLASS_NAME[] = CONTROL_CLASS_EDIT;
enum { EDIT_DIALOG_CODE = DLGC_WANTCHARS | DLGC_WANTARROWS, CLIPBOARD_BLOCK = 201 };

static edit_record *field_of(HWND window) {
    return (edit_record *)control_record(window);
}

// The system caret follows the caret cell, but only while this control owns it.
static void show_caret_cell(edit_record *field) {
    if (field->focused)
        SetCaretPos(field_margin(&field->head) + field->caret * field->head.char_width,
                    field->head.text_top - 1);
}

static void after_edit(HWND window, edit_record *field, int flags) {
    show_caret_cell(field);
    if (flags & EDIT_REPAINT) control_invalidate(window);
    if (flags & EDIT_ACCEPTED) control_notify(window, EN_UPDATE, 0);
}

static LRESULT on_create(HWND window, const CREATESTRUCTA *create) {
    const number_seps *seps = control_separators();
    edit_record *field = (edit_record *)control_record_create(window, sizeof(edit_record));
    if (!field) return 1;
    control_field_create(window, &field->head, create, EDIT_CELLS_MAX);
    edit_create(field, control_creation_text(create), seps);
    return 1;
}

static void on_size(HWND window, edit_record *field, LPARAM lparam) {
    control_field_size(window, &field->head, lparam, EDIT_CELLS_MAX);
    edit_cut_to_cells(field);
}

static void on_set_focus(HWND window, edit_record *field) {
    edit_focus_enter(field, control_separators());
    CreateCaret(window, nullptr, field->free_entry ? 2 : field->head.char_width,
                field->head.char_height + 3);
    show_caret_cell(field);
    ShowCaret(window);
    control_invalidate(window);
    control_notify(window, EN_SETFOCUS, 0);
}

static void on_kill_focus(HWND window, edit_record *field) {
    int had_caret = field->focused;
    edit_focus_exit(field, control_separators());
    if (had_caret) DestroyCaret();
    control_invalidate(window);
    control_notify(window, EN_KILLFOCUS, 0);
    // The parent may have destroyed the control while handling the notification.
    if (field_of(window) == field && edit_apply_pending(field, control_separators()))
        control_invalidate(window);
}

static void on_set_text(HWND window, edit_record *field, const char *text) {
    if (!text) text = "";
    if (text[0] == ESC_CHAR) {
        if (edit_escape(field, text)) control_invalidate(window);
        return;
    }
    if (edit_set_value(field, text, control_key_down(VK_SHIFT), control_separators())) {
        show_caret_cell(field);
        control_invalidate(window);
    }
}

static void on_set_font(HWND window, edit_record *field, HGDIOBJ font, int redraw) {
    control_field_font(window, &field->head, font, EDIT_CELLS_MAX);
    if (redraw) control_invalidate(window);
}

// Puts the selected characters on the clipboard in a block of its own; 0, or -1 when there is
// no selection or the clipboard cannot take it (then it keeps what it had).
static int copy_selection(HWND window, const edit_record *field) {
    char text[CLIPBOARD_BLOCK];
    if (edit_selection_text(field, text, sizeof text) == 0) return -1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, CLIPBOARD_BLOCK);
    char *area = block ? (char *)GlobalLock(block) : nullptr;
    if (!area) {
        if (block) GlobalFree(block);
        return -1;
    }
    memcpy(area, text, sizeof text);
    GlobalUnlock(block);
    if (OpenClipboard(window)) {
        EmptyClipboard();
        HANDLE taken = SetClipboardData(CF_TEXT, block);
        CloseClipboard();
        if (taken) return 0;
    }
    GlobalFree(block);
    return -1;
}

// Reads at most size - 1 characters of clipboard text, which need not end inside its block;
// 0, or -1 when there is none.
static int clipboard_text(HWND window, char *out, size_t size) {
    int result = -1;
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(window)) return -1;
    HANDLE data = GetClipboardData(CF_TEXT);
    const char *area = data ? (const char *)GlobalLock(data) : nullptr;
    if (area) {
        size_t length = strnlen(area, GlobalSize(data) < size - 1 ? GlobalSize(data) : size - 1);
        memcpy(out, area, length);
        out[length] = 0;
        GlobalUnlock(data);
        result = 0;
    }
    CloseClipboard();
    return result;
}

// Paste takes the selection away only when there is text to put in its place.
static void paste(HWND window, edit_record *field) {
    char text[EDIT_CELLS_MAX + 1];
    if (clipboard_text(window, text, sizeof text) != 0) return;
    edit_remove_selection(field);
    edit_paste(field, text);
}

static void do_clipboard(HWND window, edit_record *field, int clipboard) {
    if (clipboard == EDIT_CLIP_COPY)
        copy_selection(window, field);
    else if (clipboard == EDIT_CLIP_CUT && copy_selection(window, field) == 0)
        edit_remove_selection(field);
    else if (clipboard == EDIT_CLIP_PASTE)
        paste(window, field);
}

static LRESULT on_key_down(HWND window, edit_record *field, int key) {
    int clipboard;
    int flags =
        edit_key(field, key, control_key_down(VK_SHIFT), control_key_down(VK_CONTROL), &clipboard);
    if (flags < 0) return 0;
    do_clipboard(window, field, clipboard);
    after_edit(window, field, flags | (clipboard != EDIT_CLIP_NONE ? EDIT_REPAINT : 0));
    return 1;
}

// Characters count while Ctrl is up, or with Ctrl and Alt together (AltGr).
static void on_char(HWND window, edit_record *field, int character) {
    int ctrl = control_key_down(VK_CONTROL);
    if (ctrl && !control_key_down(VK_MENU)) return;
    after_edit(window, field, edit_char(field, character));
}

static void on_button_down(HWND window, edit_record *field, LPARAM lparam) {
    SetFocus(window);
    if (field_of(window) != field) return; // destroyed while the parent heard of the focus
    SetCapture(window);
    field->dragging = 1;
    int cell = edit_cell_at(field, (short)LOWORD(lparam));
    after_edit(window, field, edit_place_caret(field, cell, control_key_down(VK_SHIFT)));
}

static void on_mouse_move(HWND window, edit_record *field, LPARAM lparam) {
    if (!field->dragging) return;
    after_edit(window, field,
               edit_place_caret(field, edit_cell_at(field, (short)LOWORD(lparam)), 1));
}

static void end_dragging(HWND window, edit_record *field) {
    field->dragging = 0;
    if (GetCapture() == window) ReleaseCapture();
}

static void on_double_click(HWND window, edit_record *field) {
    end_dragging(window, field);
    after_edit(window, field, edit_select_all(field));
}

// Inverts the selected cells.
static void paint_selection(HDC dc, const edit_record *field) {
    int lo, hi;
    if (!edit_selection(field, &lo, &hi)) return;
    int old_rop = SetROP2(dc, R2_NOT);
    HGDIOBJ old_brush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
    HGDIOBJ old_pen = SelectObject(dc, GetStockObject(BLACK_PEN));
    Rectangle(dc, field_margin(&field->head) + lo * field->head.char_width, field->head.text_top,
              field_margin(&field->head) + hi * field->head.char_width,
              field->head.height - field->head.text_top);
    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
    SetROP2(dc, old_rop);
}

static void paint(HDC dc, const edit_record *field) {
    HBRUSH disabled = field->head.style & WS_DISABLED ? GetSysColorBrush(COLOR_BTNFACE) : nullptr;
    field_paint saved;
    control_field_paint_begin(dc, &field->head, disabled, &saved);
    if (!edit_value_hidden(field))
        TextOutA(dc, field_margin(&field->head), field->head.text_top, field->text,
                 (int)strlen(field->text));
    control_field_paint_end(dc, &saved);
    paint_selection(dc, field);
}

static void on_paint(HWND window, edit_record *field) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    paint(dc, field);
    EndPaint(window, &ps);
    if (!field->changed_since_paint) return;
    field->changed_since_paint = 0;
    if (field->focused) control_notify(window, EN_CHANGE, 0);
}

static void read_value(const void *record, char *out, int size) {
    edit_get_value((const edit_record *)record, out, size, control_separators());
}

static LRESULT CALLBACK edit_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CREATE) return on_create(window, (const CREATESTRUCTA *)lparam);
    if (message == WM_GETDLGCODE) return EDIT_DIALOG_CODE;
    edit_record *field = field_of(window);
    if (!field) return control_inert(window, message, wparam, lparam);
    switch (message) {
    case WM_DESTROY:
        control_record_free(window);
        return 1;
    case WM_SIZE:
        on_size(window, field, lparam);
        return 1;
    case WM_SETFOCUS:
        on_set_focus(window, field);
        return 1;
    case WM_KILLFOCUS:
        on_kill_focus(window, field);
        return 1;
    case WM_ENABLE:
        field->head.style = (uint32_t)GetWindowLongA(window, GWL_STYLE);
        control_invalidate(window);
        return 1;
    case WM_SETTEXT:
        on_set_text(window, field, (const char *)lparam);
        return 1;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
        return control_answer_text(field, read_value, message, wparam, lparam);
    case WM_PAINT:
        on_paint(window, field);
        return 1;
    case WM_SETFONT:
        on_set_font(window, field, (HGDIOBJ)wparam, lparam != 0);
        return 1;
    case WM_GETFONT: // the font the text is drawn in, as every control answers
        return (LRESULT)field->head.font;
    case WM_KEYDOWN:
        return on_key_down(window, field, (int)wparam);
    case WM_CHAR:
        on_char(window, field, (int)wparam);
        return 1;
    case WM_LBUTTONDOWN:
        on_button_down(window, field, lparam);
        return 1;
    case WM_MOUSEMOVE:
        on_mouse_move(window, field, lparam);
        return 1;
    case WM_LBUTTONUP:
        end_dragging(window, field);
        return 1;
    case WM_LBUTTONDBLCLK:
        on_double_click(window, field);
        return 1;
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    return control_library_main(instance, reason, CLASS_NAME, edit_procedure);
}
