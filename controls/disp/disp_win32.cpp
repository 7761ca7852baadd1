// The display control TORKDISP: its library entry point, window procedure, commands,
// notifications and painting. The drawing into the picture lives in disp_draw_win32.
#include "controls/disp/disp_window.h"
#include "controls/edit/control_frame.h"
#include "controls/edit/control_styles.h"

#include <string.h>

static const char CLASS_NAME[] = CONTROL_CLASS_DISP;
enum { LEFT_BUTTON = '1', RIGHT_BUTTON = '2' };

static disp_record *display_of(HWND window) {
    return (disp_record *)control_record(window);
}

static LRESULT on_create(HWND window, const CREATESTRUCTA *create) {
    disp_record *display = (disp_record *)control_record_create(window, sizeof(disp_record));
    if (!display) return 1;
    display->width = create->cx;
    display->height = create->cy;
    display->style = (uint32_t)create->style;
    display->font = GetStockObject(SYSTEM_FONT);
    disp_new_picture(window, display);
    const int32_t focus[4] = {2, 0, display->width - 4, 16};
    memcpy(display->focus, focus, sizeof focus);
    return 1;
}

static void on_destroy(HWND window, disp_record *display) {
    if (display->picture) DeleteObject(display->picture);
    control_record_free(window);
}

static void set_font(disp_record *display, int number) {
    static const int FONTS[] = {SYSTEM_FONT, SYSTEM_FIXED_FONT, ANSI_VAR_FONT, ANSI_FIXED_FONT};
    if (number >= 0 && number < 4) display->font = GetStockObject(FONTS[number]);
}

static void show_picture(HWND window) {
    control_invalidate(window);
    UpdateWindow(window);
}

static void on_command(HWND window, disp_record *display, const char *message) {
    if (!message) return;
    disp_command command;
    disp_parse(&command, message, display->width, display->height);
    const int *n = command.numbers;
    switch (command.id) {
    case DISP_CLEAR:
        disp_new_picture(window, display);
        break;
    case DISP_COLOR:
        display->colour = RGB(n[0] & 0xFF, n[1] & 0xFF, n[2] & 0xFF);
        break;
    case DISP_FONT:
        set_font(display, n[0]);
        break;
    case DISP_BBX:
        disp_box_set(display->box, display->text_bottom, &command);
        break;
    case DISP_FOCUS:
        memcpy(display->focus, n, sizeof display->focus);
        break;
    case DISP_PAINT:
        show_picture(window);
        break;
    case DISP_GET:
        disp_reply(display->reply, command.text, display->width, display->height, display->click,
                   display->box);
        break;
    default:
        disp_draw(window, display, &command, message);
        break;
    }
}

// The reply of the last "GET" without trailing blanks: the control's text.
static void read_reply(const void *record, char *out, int size) {
    const disp_record *display = (const disp_record *)record;
    if (size <= 0 || !out) return;
    int length = (int)strnlen(display->reply, DISP_REPLY - 1);
    if (length > size - 1) length = size - 1;
    memcpy(out, display->reply, (size_t)length);
    while (length > 0 && out[length - 1] == ' ') length--;
    out[length] = 0;
}

// The picture at its own size; what the window shows beyond it, after the window has grown,
// is the background the picture would get there.
static void on_paint(HWND window, const disp_record *display) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client = {0, 0, display->width, display->height};
    BITMAP info;
    if (!display->picture || GetObjectA(display->picture, sizeof info, &info) != sizeof info) {
        FillRect(dc, &client, (HBRUSH)GetStockObject(WHITE_BRUSH));
    } else {
        HBRUSH background =
            (HBRUSH)GetStockObject(display->style & TS_FACE ? LTGRAY_BRUSH : WHITE_BRUSH);
        RECT right = {info.bmWidth, 0, display->width, display->height};
        RECT below = {0, info.bmHeight, info.bmWidth, display->height};
        FillRect(dc, &right, background);
        FillRect(dc, &below, background);
        int width = info.bmWidth < display->width ? info.bmWidth : display->width;
        int height = info.bmHeight < display->height ? info.bmHeight : display->height;
        control_draw_bitmap(dc, display->picture, 0, 0, width, height);
    }
    if (display->focused) {
        RECT focus = {display->focus[0], display->focus[1], display->focus[2], display->focus[3]};
        DrawFocusRect(dc, &focus);
    }
    EndPaint(window, &ps);
}

static void on_copy_data(HWND window, disp_record *display, const COPYDATASTRUCT *data) {
    int width, height;
    HBITMAP bitmap = control_copied_bitmap(data, &width, &height);
    if (!bitmap) return;
    disp_draw_copied(window, display, bitmap, width, height);
    show_picture(window);
}

static void on_focus(HWND window, disp_record *display, int focused) {
    display->focused = focused;
    control_invalidate(window);
    control_notify(window, 0, MAKELPARAM(0, focused ? DISP_FOCUS_GAINED : DISP_FOCUS_LOST));
}

static void on_key_down(HWND window, int key) {
    int kind;
    int letter =
        disp_key_letter(key, control_key_down(VK_SHIFT), control_key_down(VK_CONTROL), &kind);
    if (letter && control_id(window) > 0) control_notify(window, 0, MAKELPARAM(kind, letter));
}

// A control destroyed by the parent's click handler has no parent left to post to.
static void post_mouse(HWND window, int command, LPARAM lparam) {
    HWND parent = (HWND)GetWindowLongPtrA(window, GWLP_HWNDPARENT);
    if (parent) PostMessageA(parent, WM_COMMAND, (WPARAM)command, lparam);
}

// A button press: the position is stored before the parent hears of it, so that a "GET CLICK"
// in its handler sees the new one.
static void on_press(HWND window, disp_record *display, LPARAM lparam, int kind, int button) {
    display->click[0] = (short)LOWORD(lparam);
    display->click[1] = (short)HIWORD(lparam);
    if (control_id(window) > 0) control_notify(window, 0, MAKELPARAM(kind, button));
}

static void on_left_press(HWND window, disp_record *display, LPARAM lparam) {
    int shift = control_key_down(VK_SHIFT), ctrl = control_key_down(VK_CONTROL);
    on_press(window, display, lparam, disp_click_kind(shift, ctrl), LEFT_BUTTON);
    if (!shift && !ctrl) post_mouse(window, CMD_DISP_MOUSEDOWN, lparam);
}

static LRESULT CALLBACK disp_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CREATE) return on_create(window, (const CREATESTRUCTA *)lparam);
    if (message == WM_GETDLGCODE) return DLGC_WANTCHARS | DLGC_WANTARROWS;
    disp_record *display = display_of(window);
    if (!display) return control_inert(window, message, wparam, lparam);
    switch (message) {
    case WM_DESTROY:
        on_destroy(window, display);
        return 1;
    case WM_SIZE:
        control_size_of(lparam, &display->width, &display->height);
        return 1;
    case WM_SETFOCUS:
        on_focus(window, display, 1);
        return 1;
    case WM_KILLFOCUS:
        on_focus(window, display, 0);
        return 1;
    case WM_SETTEXT:
        on_command(window, display, (const char *)lparam);
        return 1;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
        return control_answer_text(display, read_reply, message, wparam, lparam);
    case WM_PAINT:
        on_paint(window, display);
        return 1;
    case WM_SETFONT:
        display->font = wparam ? (HGDIOBJ)wparam : GetStockObject(SYSTEM_FONT);
        return 1;
    case WM_COPYDATA:
        on_copy_data(window, display, (const COPYDATASTRUCT *)lparam);
        return 1;
    case WM_KEYDOWN:
        on_key_down(window, (int)wparam);
        return 1;
    case WM_LBUTTONDOWN:
        on_left_press(window, display, lparam);
        return 1;
    case WM_LBUTTONDBLCLK:
        on_press(window, display, lparam, DN_DBLCLK, LEFT_BUTTON);
        return 1;
    case WM_RBUTTONDOWN:
        on_press(window, display, lparam, DN_CLICK, RIGHT_BUTTON);
        return 1;
    case WM_MOUSEMOVE:
        post_mouse(window, CMD_DISP_MOUSEMOVE, lparam);
        return 1;
    case WM_LBUTTONUP:
        post_mouse(window, CMD_DISP_MOUSEUP, lparam);
        return 1;
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    return control_library_main(instance, reason, CLASS_NAME, disp_procedure);
}
