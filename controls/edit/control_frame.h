// The frame common to the four control libraries on Windows: class registration, the record
// behind the window's extra bytes, notifications to the parent, the user's number separators,
// and the background and frame every control paints.
#pragma once
#include "controls/edit/field_head.h"
#include "controls/edit/number_form.h"
#include <windows.h>
#include <stdint.h>

// A zero-filled record of size bytes from the local heap, its address kept in the window's
// extra bytes; NULL when none could be had, and the control then stays inert.
void *control_record_create(HWND window, size_t size);
void *control_record(HWND window);
void control_record_free(HWND window);
// What a control without its record answers: an empty text, a white client area, 1 for the
// messages of the class and the system's default for the rest; it touches no record.
LRESULT control_inert(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// The entry point of a control library: registers the class at attach, removes it at detach;
// always TRUE.
BOOL control_library_main(HINSTANCE instance, DWORD reason, const char *class_name,
                          WNDPROC procedure);
// The buffer size of WM_GETTEXT as an int.
int control_buffer_size(WPARAM wparam);
// Reads a control's value into out, at most size-1 characters and a terminator.
typedef void (*control_value_reader)(const void *record, char *out, int size);
// WM_GETTEXT and WM_GETTEXTLENGTH as every Windows control answers them: the value into the
// caller's buffer and the number of characters copied, or the value's length. The system copies
// back to another process only as many characters as this answer says.
LRESULT control_answer_text(const void *record, control_value_reader read, UINT message,
                            WPARAM wparam, LPARAM lparam);
// The bitmap handed with WM_COPYDATA and dwData CD_BITMAP (lpData points at the handle; a
// 4-byte handle from a 32-bit sender is widened as the system widens handles); NULL for other
// data or a handle that is no bitmap. *width and *height receive its size.
HBITMAP control_copied_bitmap(const COPYDATASTRUCT *data, int *width, int *height);
// Copies a whole bitmap into dc at (x, y); 0, or -1 when it cannot be selected.
int control_draw_bitmap(HDC dc, HBITMAP bitmap, int x, int y, int width, int height);

// The control's identifier as GWL_ID gives it.
int control_id(HWND window);
// WM_COMMAND to the parent: wParam the low 16 bits of the identifier and code.
void control_notify(HWND window, WORD code, LPARAM lparam);
// The user's decimal and thousands characters, read from the locale once per process.
const number_seps *control_separators(void);
// 1 while the key is down, as GetKeyState reports it.
int control_key_down(int key);
// Repaints the whole control without erasing it.
void control_invalidate(HWND window);
// The client size from the creation record or the lParam of WM_SIZE.
void control_size_of(LPARAM lparam, int32_t *width, int32_t *height);
// The creation text, "" when there is none or it is a resource number.
const char *control_creation_text(const CREATESTRUCTA *create);

// A new edit or show field: size and style from the creation record, the fixed system font (both
// font and text margin for the window's DPI).
void control_field_create(HWND window, field_head *head, const CREATESTRUCTA *create,
                          int cells_max);
// A font (NULL: the fixed system font at the window's DPI) and the metrics it gives.
void control_field_font(HWND window, field_head *head, HGDIOBJ font, int cells_max);
// The size from WM_SIZE, metrics recomputed with the current font.
void control_field_size(HWND window, field_head *head, LPARAM lparam, int cells_max);

// Painting a field: background (with brush, or when it is NULL by the background colour and
// TS_FACE), frame, then the field's font, text colour and a transparent background selected;
// control_field_paint_end restores what was selected before.
struct field_paint {
    HGDIOBJ font;
    int mode;
    COLORREF colour;
};
void control_field_paint_begin(HDC dc, const field_head *head, HBRUSH brush, field_paint *saved);
void control_field_paint_end(HDC dc, const field_paint *saved);

// The area inside the frame: (0, 0, width, height), or one pixel less on every side when the
// style has a frame.
RECT control_fill_rect(uint32_t style, int width, int height);
// Fills with colour when it is not 0, else with the button face or white.
void control_fill(HDC dc, const RECT *rect, COLORREF colour, int face);
// The frame of kind 1 (black line), 2 (raised) or 3 (sunken) around width x height, each of its
// lines line pixels wide.
void control_draw_frame(HDC dc, int kind, int width, int height, int line);
// The width of a frame line at the window's DPI: 1 pixel up to 191 DPI, 2 from 192 on.
int control_line(HWND window);
