// The frame common to the four control libraries on Windows.
#include "controls/edit/control_frame.h"
#include "controls/edit/control_styles.h"
#include "frame/dpi.h"
#include "frame/window_dpi.h"

#include <string.h>

static const UINT CLASS_STYLE = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_GLOBALCLASS;
enum { LOCALE_TEXT = 10 };

static void register_class(HINSTANCE instance, const char *class_name, WNDPROC procedure) {
    WNDCLASSA window_class = {};
    window_class.style = CLASS_STYLE;
    window_class.lpfnWndProc = procedure;
    window_class.cbWndExtra = sizeof(LONG_PTR);
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    window_class.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    window_class.lpszClassName = class_name;
    RegisterClassA(&window_class);
}

// The fixed system font made for the DPIs other than the system's, one per DPI, kept until the
// library is unloaded (windows of several DPIs may use them at once).
enum { FIXED_FONTS_MAX = 8 };
static struct {
    int dpi;
    HFONT font;
} fixed_fonts[FIXED_FONTS_MAX];
static int fixed_font_count;

static HGDIOBJ fixed_font(int dpi) {
    HGDIOBJ stock = GetStockObject(SYSTEM_FIXED_FONT);
    int system = system_dpi();
    if (dpi == system) return stock;
    for (int i = 0; i < fixed_font_count; i++)
        if (fixed_fonts[i].dpi == dpi) return fixed_fonts[i].font;
    LOGFONTA look;
    if (fixed_font_count == FIXED_FONTS_MAX || GetObjectA(stock, sizeof look, &look) == 0)
        return stock;
    look.lfHeight = dpi_convert(look.lfHeight, system, dpi);
    look.lfWidth = dpi_convert(look.lfWidth, system, dpi);
    HFONT font = CreateFontIndirectA(&look);
    if (!font) return stock;
    fixed_fonts[fixed_font_count++] = {dpi, font};
    return font;
}

static void release_fixed_fonts(void) {
    for (int i = 0; i < fixed_font_count; i++) DeleteObject(fixed_fonts[i].font);
    fixed_font_count = 0;
}

BOOL control_library_main(HINSTANCE instance, DWORD reason, const char *class_name,
                          WNDPROC procedure) {
    if (reason == DLL_PROCESS_ATTACH) {
        register_class(instance, class_name, procedure);
    } else if (reason == DLL_PROCESS_DETACH) {
        UnregisterClassA(class_name, instance);
        release_fixed_fonts();
    }
    return TRUE;
}

int control_buffer_size(WPARAM wparam) {
    return wparam > 0x7FFFFFFF ? 0x7FFFFFFF : (int)wparam;
}

// Room for the longest value of any control (a show control's raw text).
enum { VALUE_MAX = 1002 };

LRESULT control_answer_text(const void *record, control_value_reader read, UINT message,
                            WPARAM wparam, LPARAM lparam) {
    if (message == WM_GETTEXTLENGTH) {
        char value[VALUE_MAX];
        read(record, value, sizeof value);
        return (LRESULT)strlen(value);
    }
    int size = control_buffer_size(wparam);
    char *out = (char *)lparam;
    if (size <= 0 || !out) return 0;
    read(record, out, size);
    return (LRESULT)strnlen(out, (size_t)size - 1);
}

HBITMAP control_copied_bitmap(const COPYDATASTRUCT *data, int *width, int *height) {
    if (!data || data->dwData != CD_BITMAP || !data->lpData) return nullptr;
    HBITMAP bitmap = nullptr;
    if (data->cbData >= sizeof(HBITMAP)) {
        memcpy(&bitmap, data->lpData, sizeof bitmap);
    } else if (data->cbData == sizeof(int32_t)) {
        int32_t handle;
        memcpy(&handle, data->lpData, sizeof handle);
        bitmap = (HBITMAP)(LONG_PTR)handle;
    }
    BITMAP info;
    if (!bitmap || GetObjectA(bitmap, sizeof info, &info) != sizeof info) return nullptr;
    *width = info.bmWidth;
    *height = info.bmHeight;
    return bitmap;
}

int control_draw_bitmap(HDC dc, HBITMAP bitmap, int x, int y, int width, int height) {
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = source ? SelectObject(source, bitmap) : nullptr;
    int result = old ? 0 : -1;
    if (old) {
        BitBlt(dc, x, y, width, height, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
    }
    if (source) DeleteDC(source);
    return result;
}

void *control_record_create(HWND window, size_t size) {
    void *record = (void *)LocalAlloc(LMEM_FIXED | LMEM_ZEROINIT, size);
    SetWindowLongPtrA(window, 0, (LONG_PTR)record);
    return record;
}

void *control_record(HWND window) {
    return (void *)GetWindowLongPtrA(window, 0);
}

void control_record_free(HWND window) {
    void *record = control_record(window);
    SetWindowLongPtrA(window, 0, 0);
    if (record) LocalFree((HLOCAL)record);
}

LRESULT control_inert(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        FillRect(dc, &paint.rcPaint, (HBRUSH)GetStockObject(WHITE_BRUSH));
        EndPaint(window, &paint);
        return 1;
    }
    case WM_GETTEXT:
        if (wparam > 0 && lparam) *(char *)lparam = 0;
        return 0;
    case WM_GETTEXTLENGTH:
        return 0;
    case WM_SETTEXT:
    case WM_DESTROY:
    case WM_COPYDATA:
        return 1;
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}

int control_id(HWND window) {
    return (int)GetWindowLongPtrA(window, GWLP_ID);
}

void control_notify(HWND window, WORD code, LPARAM lparam) {
    HWND parent = (HWND)GetWindowLongPtrA(window, GWLP_HWNDPARENT);
    WPARAM wparam = MAKEWPARAM((WORD)(control_id(window) & 0xFFFF), code);
    SendMessageA(parent, WM_COMMAND, wparam, lparam);
}

static char locale_char(LCTYPE type, char fallback) {
    char text[LOCALE_TEXT] = "";
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type, text, sizeof text) == 0) text[0] = 0;
    return text[0] ? text[0] : fallback;
}

const number_seps *control_separators(void) {
    static number_seps separators;
    static int read;
    if (!read) {
        separators.decimal = locale_char(LOCALE_SDECIMAL, ',');
        separators.thousands = locale_char(LOCALE_STHOUSAND, '.');
        read = 1;
    }
    return &separators;
}

int control_key_down(int key) {
    return GetKeyState(key) < 0;
}

void control_invalidate(HWND window) {
    InvalidateRect(window, nullptr, FALSE);
}

void control_size_of(LPARAM lparam, int32_t *width, int32_t *height) {
    *width = LOWORD(lparam);
    *height = HIWORD(lparam);
}

// Without a font of its own a field takes the fixed system font at its window's DPI; its text
// margin follows that DPI either way.
void control_field_font(HWND window, field_head *head, HGDIOBJ font, int cells_max) {
    int dpi = window_dpi(window);
    head->font = font ? font : fixed_font(dpi);
    head->margin = dpi_scale(FIELD_MARGIN, dpi);
    int width, height;
    font_cell(window, head->font, &width, &height);
    field_metrics(head, width, height, cells_max);
}

void control_field_create(HWND window, field_head *head, const CREATESTRUCTA *create,
                          int cells_max) {
    head->width = create->cx;
    head->height = create->cy;
    head->style = (uint32_t)create->style;
    control_field_font(window, head, nullptr, cells_max);
}

void control_field_size(HWND window, field_head *head, LPARAM lparam, int cells_max) {
    control_size_of(lparam, &head->width, &head->height);
    control_field_font(window, head, (HGDIOBJ)head->font, cells_max);
}

void control_field_paint_begin(HDC dc, const field_head *head, HBRUSH brush, field_paint *saved) {
    RECT fill = control_fill_rect(head->style, head->width, head->height);
    if (brush)
        FillRect(dc, &fill, brush);
    else
        control_fill(dc, &fill, head->background, head->style & TS_FACE);
    control_draw_frame(dc, control_frame_kind(head->style), head->width, head->height,
                       control_line(WindowFromDC(dc)));
    saved->font = SelectObject(dc, (HGDIOBJ)head->font);
    saved->mode = SetBkMode(dc, TRANSPARENT);
    saved->colour = GetTextColor(dc);
    if (head->text_colour) SetTextColor(dc, head->text_colour);
}

void control_field_paint_end(HDC dc, const field_paint *saved) {
    SetTextColor(dc, saved->colour);
    SetBkMode(dc, saved->mode);
    SelectObject(dc, saved->font);
}

const char *control_creation_text(const CREATESTRUCTA *create) {
    if (!create->lpszName || IS_INTRESOURCE(create->lpszName)) return "";
    return create->lpszName;
}

RECT control_fill_rect(uint32_t style, int width, int height) {
    RECT rect = {0, 0, width, height};
    if (style & TS_FRAME) InflateRect(&rect, -1, -1);
    return rect;
}

void control_fill(HDC dc, const RECT *rect, COLORREF colour, int face) {
    if (colour != 0) {
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc, rect, brush);
        DeleteObject(brush);
    } else {
        FillRect(dc, rect,
                 face ? GetSysColorBrush(COLOR_BTNFACE) : (HBRUSH)GetStockObject(WHITE_BRUSH));
    }
}

static void frame_rect(HDC dc, int brush, int left, int top, int right, int bottom) {
    RECT rect = {left, top, right, bottom};
    FrameRect(dc, &rect, (HBRUSH)GetStockObject(brush));
}

int control_line(HWND window) {
    return dpi_line(window_dpi(window));
}

// One pixel ring of a frame, o pixels in from the edge: top and left in one brush, bottom and
// right in the other.
static void ring(HDC dc, int o, int top_left, int bottom_right, int w, int h) {
    frame_rect(dc, top_left, o, o, w - 1 - o, o + 1);
    frame_rect(dc, top_left, o, o + 1, o + 1, h - 1 - o);
    frame_rect(dc, bottom_right, o, h - 1 - o, w - o, h - o);
    frame_rect(dc, bottom_right, w - 1 - o, o, w - o, h - 1 - o);
}

// The raised frame's ring: its left edge reaches the bottom corner, its right edge the top one.
static void raised_ring(HDC dc, int o, int w, int h) {
    frame_rect(dc, WHITE_BRUSH, o, o, w - 1 - o, o + 1);
    frame_rect(dc, WHITE_BRUSH, o, o, o + 1, h - o);
    frame_rect(dc, BLACK_BRUSH, o + 1, h - 1 - o, w - o, h - o);
    frame_rect(dc, BLACK_BRUSH, w - 1 - o, o, w - o, h - o);
}

void control_draw_frame(HDC dc, int kind, int w, int h, int line) {
    for (int o = 0; o < line; o++) {
        switch (kind) {
        case 1:
            ring(dc, o, BLACK_BRUSH, BLACK_BRUSH, w, h);
            break;
        case 2:
            raised_ring(dc, o, w, h);
            break;
        case 3: // grey over white outside, black over light grey inside
            ring(dc, o, GRAY_BRUSH, WHITE_BRUSH, w, h);
            ring(dc, line + o, BLACK_BRUSH, LTGRAY_BRUSH, w, h);
            break;
        default:
            return;
        }
    }
}
