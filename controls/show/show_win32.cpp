// The show control TORKSHOW: its library entry point, window procedure and painting. The field
// itself lives in show_field.
#include "controls/edit/control_frame.h"
#include "controls/edit/control_styles.h"
#include "controls/show/show_field.h"

#include <string.h>

static const char CLASS_NAME[] = CONTROL_CLASS_SHOW;

static show_record *field_of(HWND window) {
    return (show_record *)control_record(window);
}

static LRESULT on_create(HWND window, const CREATESTRUCTA *create) {
    const number_seps *seps = control_separators();
    show_record *field = (show_record *)control_record_create(window, sizeof(show_record));
    if (!field) return 1;
    control_field_create(window, &field->head, create, SHOW_CELLS_MAX);
    show_create(field, control_creation_text(create), seps);
    return 1;
}

static void on_size(HWND window, show_record *field, LPARAM lparam) {
    control_field_size(window, &field->head, lparam, SHOW_CELLS_MAX);
    show_cut_to_cells(field);
}

static void on_set_text(HWND window, show_record *field, const char *text) {
    if (!text) text = "";
    if (text[0] == ESC_CHAR) {
        if (show_escape(field, text)) control_invalidate(window);
        return;
    }
    show_set_value(field, text, control_separators());
    control_invalidate(window);
}

static void on_set_font(HWND window, show_record *field, HGDIOBJ font, int redraw) {
    control_field_font(window, &field->head, font, SHOW_CELLS_MAX);
    if (redraw) control_invalidate(window);
}

static void paint_text(HDC dc, const show_record *field) {
    int length = (int)strlen(field->text);
    if (field->head.style & TS_WRAP) {
        int margin = show_margin(field);
        RECT box = {margin, margin, field->head.width - margin, field->head.height - margin};
        DrawTextA(dc, field->text, length, &box, DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
        return;
    }
    SIZE extent = {};
    GetTextExtentPoint32A(dc, field->text, length, &extent);
    TextOutA(dc, show_text_x(field, extent.cx), field->head.text_top, field->text, length);
}

static void paint(HDC dc, const show_record *field) {
    field_paint saved;
    control_field_paint_begin(dc, &field->head, nullptr, &saved);
    paint_text(dc, field);
    control_field_paint_end(dc, &saved);
}

static void on_paint(HWND window, const show_record *field) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    paint(dc, field);
    EndPaint(window, &ps);
}

static void read_value(const void *record, char *out, int size) {
    show_get_value((const show_record *)record, out, size, control_separators());
}

static LRESULT CALLBACK show_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CREATE) return on_create(window, (const CREATESTRUCTA *)lparam);
    if (message == WM_GETDLGCODE) return DLGC_STATIC;
    if (message == WM_LBUTTONDOWN) {
        if (control_id(window) > 0) control_notify(window, SHN_CLICK, 0);
        return 1;
    }
    show_record *field = field_of(window);
    if (!field) return control_inert(window, message, wparam, lparam);
    switch (message) {
    case WM_DESTROY:
        control_record_free(window);
        return 1;
    case WM_SIZE:
        on_size(window, field, lparam);
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
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    return control_library_main(instance, reason, CLASS_NAME, show_procedure);
}
