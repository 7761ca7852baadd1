// The graphic button control TORKGRBU: a push button showing a picture of its own, its library
// entry point, window procedure and painting.
#include "controls/controls.h"
#include "controls/edit/control_frame.h"

static const char CLASS_NAME[] = CONTROL_CLASS_GRBU;

// The record behind the window's extra bytes, zero-filled at creation.
struct button_record {
    int32_t width, height;
    HBITMAP face; // (width - 2) x (height - 2) at creation; NULL when it could not be made
    int32_t pressed;
};

static button_record *button_of(HWND window) {
    return (button_record *)control_record(window);
}

static void fill_grey(HDC dc, int left, int top, int right, int bottom) {
    RECT rect = {left, top, right, bottom};
    FillRect(dc, &rect, (HBRUSH)GetStockObject(LTGRAY_BRUSH));
}

// A memory device context with the face selected, NULL when there is none.
static HDC open_face(HWND window, const button_record *button, HGDIOBJ *old) {
    if (!button->face) return nullptr;
    HDC screen = GetDC(window);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(window, screen);
    if (dc) *old = SelectObject(dc, button->face);
    return dc;
}

static void close_face(HDC dc, HGDIOBJ old) {
    SelectObject(dc, old);
    DeleteDC(dc);
}

static int face_size(const button_record *button, int *width, int *height) {
    BITMAP info;
    if (!button->face || GetObjectA(button->face, sizeof info, &info) != sizeof info) return -1;
    *width = info.bmWidth;
    *height = info.bmHeight;
    return 0;
}

static LRESULT on_create(HWND window, const CREATESTRUCTA *create) {
    button_record *button = (button_record *)control_record_create(window, sizeof(button_record));
    if (!button) return 1;
    button->width = create->cx;
    button->height = create->cy;
    if (button->width <= 2 || button->height <= 2) return 1;
    HDC screen = GetDC(window);
    button->face = CreateCompatibleBitmap(screen, button->width - 2, button->height - 2);
    ReleaseDC(window, screen);
    HGDIOBJ old;
    HDC dc = open_face(window, button, &old);
    if (!dc) return 1;
    fill_grey(dc, 0, 0, button->width - 2, button->height - 2);
    close_face(dc, old);
    return 1;
}

static void on_destroy(HWND window, button_record *button) {
    if (button->face) DeleteObject(button->face);
    control_record_free(window);
}

// The whole face is cleared before the new picture goes in, so nothing of an older, larger
// picture stays at its edges.
static void on_copy_data(HWND window, button_record *button, const COPYDATASTRUCT *data) {
    int width, height, face_width, face_height;
    HBITMAP bitmap = control_copied_bitmap(data, &width, &height);
    if (!bitmap || face_size(button, &face_width, &face_height) != 0) return;
    HGDIOBJ old;
    HDC dc = open_face(window, button, &old);
    if (!dc) return;
    fill_grey(dc, 0, 0, face_width, face_height);
    control_draw_bitmap(dc, bitmap, (face_width - width) / 2, (face_height - height) / 2, width,
                        height);
    close_face(dc, old);
    control_invalidate(window);
}

static void line(HDC dc, int stock_pen, int x1, int y1, int x2, int y2) {
    SelectObject(dc, GetStockObject(stock_pen));
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

// The face keeps its creation size; in a button of another size it is centred in the inner
// area, which is light grey around it.
static void paint_face(HDC dc, const button_record *button, int edge) {
    int face_width, face_height;
    if (face_size(button, &face_width, &face_height) != 0) return;
    int saved = SaveDC(dc);
    IntersectClipRect(dc, edge, edge, button->width - edge, button->height - edge);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, button->face);
    BitBlt(dc, 1 + (button->width - 2 - face_width) / 2, 1 + (button->height - 2 - face_height) / 2,
           face_width, face_height, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
    RestoreDC(dc, saved);
}

static void on_paint(HWND window, const button_record *button) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    int w = button->width, h = button->height;
    fill_grey(dc, 1, 1, w - 1, h - 1);
    int light = button->pressed ? BLACK_PEN : WHITE_PEN;
    int dark = button->pressed ? WHITE_PEN : BLACK_PEN;
    HGDIOBJ old_pen = SelectObject(dc, GetStockObject(light));
    int edge = control_line(window); // the bevel's width at the window's DPI
    for (int o = 0; o < edge; o++) {
        line(dc, light, o, o, w - o, o);
        line(dc, light, o, o, o, (button->pressed ? h - 1 : h) - o);
        line(dc, dark, 1 + o, h - 1 - o, w - o, h - 1 - o);
        line(dc, dark, w - 1 - o, 1 + o, w - 1 - o, h - o);
    }
    SelectObject(dc, old_pen);
    paint_face(dc, button, edge);
    EndPaint(window, &ps);
}

static void on_button_up(HWND window, button_record *button) {
    if (button->pressed) {
        button->pressed = 0;
        control_notify(window, BN_CLICKED, (LPARAM)window);
        // The parent may have destroyed the button on its click.
        if (!IsWindow(window) || button_of(window) != button) return;
    }
    control_invalidate(window);
}

static LRESULT CALLBACK button_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CREATE) return on_create(window, (const CREATESTRUCTA *)lparam);
    if (message == WM_GETDLGCODE) return DLGC_BUTTON;
    button_record *button = button_of(window);
    if (!button) return control_inert(window, message, wparam, lparam);
    switch (message) {
    case WM_DESTROY:
        on_destroy(window, button);
        return 1;
    case WM_SIZE:
        control_size_of(lparam, &button->width, &button->height);
        return 1;
    case WM_PAINT:
        on_paint(window, button);
        return 1;
    case WM_COPYDATA:
        on_copy_data(window, button, (const COPYDATASTRUCT *)lparam);
        return 1;
    case WM_LBUTTONDOWN:
        button->pressed = 1;
        control_invalidate(window);
        return 1;
    case WM_MOUSEMOVE:
        if (!(wparam & MK_LBUTTON) && button->pressed) {
            button->pressed = 0;
            control_invalidate(window);
        }
        return 1;
    case WM_LBUTTONUP:
        on_button_up(window, button);
        return 1;
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    return control_library_main(instance, reason, CLASS_NAME, button_procedure);
}
