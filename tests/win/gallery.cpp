// The gallery: one window with every kind of control in its typical states, so anyone can see
// the controls as a user sees them. "--screenshot FILE.bmp" saves the window and exits.
#include "controls/controls.h"

#include <windows.h>

#include <stdio.h>
#include <string.h>

static const char CLASS_NAME[] = "KXGALLERY";
enum { WIDTH = 780, HEIGHT = 470, ROW = 26 };

static HWND gallery;
static int next_id = 100;

static HWND add(const char *class_name, const char *text, DWORD style, int x, int y, int width,
                int height) {
    HWND control =
        CreateWindowExA(0, class_name, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                        gallery, (HMENU)(INT_PTR)next_id++, GetModuleHandleA(nullptr), nullptr);
    if (!control) {
        fprintf(stderr, "gallery: cannot create a %s control\n", class_name);
        ExitProcess(1);
    }
    return control;
}

static void set(HWND control, const char *text) {
    SendMessageA(control, WM_SETTEXT, 0, (LPARAM)text);
}

// A caption above or beside a control: a show control on the window's face colour.
static void label(const char *text, int x, int y, int width) {
    HWND caption = add("TORKSHOW", "T", TS_FACE, x, y, width, 20);
    SendMessageA(caption, WM_SETFONT, (WPARAM)GetStockObject(ANSI_VAR_FONT), 0);
    set(caption, "\x1bT");
    set(caption, text);
}

static HWND field(const char *caption, const char *creation, const char *value, DWORD style, int x,
                  int y, int width = 120) {
    label(caption, x, y + 2, 110);
    HWND control = add("TORKEDIT", creation, style, x + 112, y, width, 24);
    if (value) set(control, value);
    return control;
}

static void edit_column() {
    int x = 10, y = 10;
    label("Masked edit fields", x, y, 230);
    field("Empty mask", "F##-##", nullptr, 3, x, y += ROW);
    field("Date", "D", "24.12.2024", 3, x, y += ROW);
    field("Time", "H", "08:15", 3, x, y += ROW);
    field("Code", "F####-##-##", "2024-12-24", 3, x, y += ROW);
    field("Text", "T", "Projekt P4711", 3, x, y += ROW);
    field("Number", "2", "1234.5", 3, x, y += ROW);
    HWND focused = field("Number, focused", "2", "-98765.4", 3, x, y += ROW);
    field("Up to 5 decimals", "9", "12.500", 3, x, y += ROW);
    field("Zero, blanked", "2", "0", 3 | TS_BLANKZERO, x, y += ROW);
    field("Face background", "T", "Nur lesen", 3 | TS_FACE, x, y += ROW);
    field("Disabled", "T", "gesperrt", 3 | WS_DISABLED, x, y += ROW);
    HWND coloured = field("Colours", "T", "Rot auf Gelb", 1, x, y += ROW);
    set(coloured, "\x1bH255 255 160");
    set(coloured, "\x1bV200 0 0");
    y += ROW + 8;
    label("Frames 0 to 3", x, y, 230);
    for (int kind = 0; kind < 4; kind++) {
        char text[16];
        snprintf(text, sizeof text, "T=%d", kind);
        add("TORKEDIT", text, (DWORD)kind, x + kind * 58, y + ROW, 50, 24);
    }
    SetFocus(focused);
}

static void show_column() {
    int x = 270, y = 10;
    label("Show fields", x, y, 230);
    set(add("TORKSHOW", "T", 1, x, y += ROW, 230, 22), "Left");
    set(add("TORKSHOW", "T", 1 | TS_CENTER, x, y += ROW, 230, 22), "Centred");
    set(add("TORKSHOW", "T", 1 | TS_RIGHT, x, y += ROW, 230, 22), "Right");
    HWND proportional = add("TORKSHOW", "T", 2 | TS_RIGHT, x, y += ROW, 230, 22);
    SendMessageA(proportional, WM_SETFONT, (WPARAM)GetStockObject(ANSI_VAR_FONT), 0);
    set(proportional, "Proportional, right");
    set(add("TORKSHOW", "2", 3, x, y += ROW, 230, 22), "1234567.891");
    set(add("TORKSHOW", "d", 3 | TS_FACE, x, y += ROW, 230, 22), "24.12.2024");
    HWND wrapped = add("TORKSHOW", "T", TS_FACE | TS_WRAP, x, y += ROW, 230, 58);
    set(wrapped, "\x1bT");
    set(wrapped, "A longer text wraps over the whole field, word by word, as a note would.");
    y += 62;
    HWND coloured = add("TORKSHOW", "T", 3, x, y += 4, 230, 22);
    set(coloured, "\x1bH0 64 128");
    set(coloured, "\x1bV255 255 255");
    set(coloured, "White on blue");
}

// A bitmap of the screen's kind on light grey, with draw painting the rest.
static HBITMAP drawn_bitmap(int width, int height, void (*draw)(HDC, int, int)) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, width, height};
    FillRect(dc, &all, (HBRUSH)GetStockObject(LTGRAY_BRUSH));
    draw(dc, width, height);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

// Blue checkers, for the display control's bitmap file.
static void draw_checkers(HDC dc, int width, int height) {
    HBRUSH brush = CreateSolidBrush(RGB(0, 120, 200));
    for (int y = 0; y < height; y += 8) {
        for (int x = (y / 8) % 2 * 8; x < width; x += 16) {
            RECT cell = {x + 1, y + 1, x + 7, y + 7};
            FillRect(dc, &cell, brush);
        }
    }
    DeleteObject(brush);
}

// A green arrow pointing right, for the buttons.
static void draw_arrow(HDC dc, int width, int height) {
    const POINT points[] = {{4, height / 2 - 3},     {width / 2, height / 2 - 3},
                            {width / 2, 2},          {width - 3, height / 2},
                            {width / 2, height - 3}, {width / 2, height / 2 + 3},
                            {4, height / 2 + 3}};
    HBRUSH brush = CreateSolidBrush(RGB(0, 140, 0));
    HGDIOBJ old_brush = SelectObject(dc, brush);
    HGDIOBJ old_pen = SelectObject(dc, GetStockObject(BLACK_PEN));
    Polygon(dc, points, 7);
    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
    DeleteObject(brush);
}

// Writes a bitmap as a 24-bit bitmap file; 0, or -1.
static int save_bitmap(HBITMAP bitmap, const char *path) {
    BITMAP size;
    GetObjectA(bitmap, sizeof size, &size);
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = size.bmWidth;
    header.biHeight = size.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = 24;
    DWORD stride = (size.bmWidth * 3 + 3) & ~3u, bytes = stride * size.bmHeight;
    char *bits = (char *)HeapAlloc(GetProcessHeap(), 0, bytes);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, size.bmHeight, bits, (BITMAPINFO *)&header, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER file_header = {};
    file_header.bfType = 0x4D42;
    file_header.bfOffBits = sizeof file_header + sizeof header;
    file_header.bfSize = file_header.bfOffBits + bytes;
    FILE *file = fopen(path, "wb");
    int result = file && fwrite(&file_header, sizeof file_header, 1, file) == 1 &&
                         fwrite(&header, sizeof header, 1, file) == 1 &&
                         fwrite(bits, 1, bytes, file) == bytes
                     ? 0
                     : -1;
    if (file && fclose(file) != 0) result = -1;
    HeapFree(GetProcessHeap(), 0, bits);
    return result;
}

static void hand_picture(HWND control, HBITMAP bitmap) {
    COPYDATASTRUCT data = {1, sizeof bitmap, &bitmap};
    SendMessageA(control, WM_COPYDATA, 0, (LPARAM)&data);
}

static void display_column() {
    int x = 530, y = 10;
    label("Display surface", x, y, 240);
    HWND surface = add("TORKDISP", "", 3, x, y += ROW, 240, 230);
    char path[MAX_PATH], command[MAX_PATH + 40];
    GetTempPathA(sizeof path, path);
    strncat(path, "kx-gallery.bmp", sizeof path - strlen(path) - 1);
    HBITMAP board = drawn_bitmap(48, 48, draw_checkers);
    save_bitmap(board, path);
    DeleteObject(board);
    const char *commands[] = {
        "COLOR 230 240 255",
        "FILL 2 2 -2 60",
        "COLOR 0 0 160",
        "FONT 2",
        "TEXT 10 20 Display commands",
        "COLOR 200 0 0",
        "LINE 10 30 -10 30",
        "LINE 10 60 60 110",
        "LINE 60 60 10 110",
        "COLOR 0 128 0",
        "RECT 70 60 120 110",
        "FILL 80 70 110 100",
        "COLOR 0 0 0",
        "CTEXT 95 125 centre",
        "RTEXT -10 125 right",
        "BBX LOX = 10",
        "BBX RUX = 230",
        "BBX LOY = 135",
        "BBX RUY = 226",
        "BBXTEXT A box text wraps inside its box, and the next box can follow below it.",
    };
    for (const char *text : commands) set(surface, text);
    snprintf(command, sizeof command, "BMPS 130 40 -10 120 %s", path);
    set(surface, command);
    set(surface, "PAINT");
    DeleteFileA(path);

    y += 240;
    label("Picture buttons: raised, pressed", x, y, 240);
    HWND raised = add("TORKGRBU", "", 0, x, y + ROW, 48, 32);
    HWND pressed = add("TORKGRBU", "", 0, x + 56, y + ROW, 48, 32);
    HBITMAP face = drawn_bitmap(32, 24, draw_arrow);
    hand_picture(raised, face);
    hand_picture(pressed, face);
    DeleteObject(face); // the buttons keep their own copies
    SendMessageA(pressed, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
}

static void pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

static int screenshot(const char *path) {
    UpdateWindow(gallery);
    pump();
    HideCaret(nullptr);
    HDC window_dc = GetDC(gallery);
    HBITMAP shot = CreateCompatibleBitmap(window_dc, WIDTH, HEIGHT);
    HDC dc = CreateCompatibleDC(window_dc);
    HGDIOBJ old = SelectObject(dc, shot);
    BitBlt(dc, 0, 0, WIDTH, HEIGHT, window_dc, 0, 0, SRCCOPY);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(gallery, window_dc);
    int result = save_bitmap(shot, path);
    DeleteObject(shot);
    if (result != 0) fprintf(stderr, "gallery: cannot write %s\n", path);
    return result;
}

int main(int argc, char **argv) {
    const char *libraries[] = {"torkedit.dll", "torkshow.dll", "torkdisp.dll", "torkgrbu.dll"};
    for (const char *library : libraries) {
        if (!LoadLibraryA(library)) {
            fprintf(stderr, "gallery: cannot load %s\n", library);
            return 1;
        }
    }
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = DefWindowProcA;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    window_class.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    window_class.lpszClassName = CLASS_NAME;
    RegisterClassA(&window_class);
    gallery = CreateWindowExA(0, CLASS_NAME, "Korvex controls", WS_POPUP | WS_VISIBLE, 0, 0, WIDTH,
                              HEIGHT, nullptr, nullptr, window_class.hInstance, nullptr);
    SetForegroundWindow(gallery);
    edit_column();
    show_column();
    display_column();
    if (argc == 3 && strcmp(argv[1], "--screenshot") == 0) return screenshot(argv[2]) ? 1 : 0;
    MSG message;
    while (IsWindow(gallery) && GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
