// Helpers of the Windows tests of the control libraries.
#include "win_support.h"

#include <stdio.h>
#include <string.h>

static const char PARENT_CLASS[] = "KXTESTPARENT";
static const char *const LIBRARIES[] = {"torkedit.dll", "torkshow.dll", "torkdisp.dll",
                                        "torkgrbu.dll"};
static std::vector<Notice> received;
static int text_code = -1;
static const char *text_command;
static std::vector<std::string> files;
static int next_y;
enum { PARENT_WIDTH = 640, PARENT_HEIGHT = 480, GAP = 4 };

static LRESULT CALLBACK parent_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message != WM_COMMAND) return DefWindowProcA(window, message, wparam, lparam);
    Notice notice = {wparam, lparam, ""};
    if (HIWORD(wparam) == text_code) {
        HWND control = GetDlgItem(window, LOWORD(wparam));
        if (text_command) set_text(control, text_command);
        notice.text = text_of(control);
    }
    received.push_back(notice);
    return 0;
}

HWND test_parent() {
    static HWND parent;
    if (parent) return parent;
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = parent_procedure;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    window_class.lpszClassName = PARENT_CLASS;
    RegisterClassA(&window_class);
    parent = CreateWindowExA(0, PARENT_CLASS, "controls", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                             0, 0, PARENT_WIDTH, PARENT_HEIGHT, nullptr, nullptr,
                             window_class.hInstance, nullptr);
    SetForegroundWindow(parent);
    pump();
    return parent;
}

std::vector<Notice> &notices() {
    return received;
}

void read_text_on(int code, const char *command) {
    text_code = code;
    text_command = command;
}

HWND make_control(const char *class_name, const char *text, DWORD style, int width, int height,
                  int id) {
    int y = next_y;
    next_y += height + GAP;
    return CreateWindowExA(0, class_name, text, WS_CHILD | WS_VISIBLE | style, GAP, y, width,
                           height, test_parent(), (HMENU)(INT_PTR)id, GetModuleHandleA(nullptr),
                           nullptr);
}

void pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void set_keys(bool shift, bool ctrl, bool alt) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = keys[VK_LSHIFT] = shift ? 0x80 : 0;
    keys[VK_CONTROL] = keys[VK_LCONTROL] = ctrl ? 0x80 : 0;
    keys[VK_MENU] = keys[VK_LMENU] = alt ? 0x80 : 0;
    SetKeyboardState(keys);
}

std::string text_of(HWND control, int size) {
    std::vector<char> buffer((size_t)(size > 0 ? size : 1) + 1, 'G');
    buffer.back() = 0;
    SendMessageA(control, WM_GETTEXT, (WPARAM)size, (LPARAM)buffer.data());
    return buffer.data();
}

void set_text(HWND control, const char *text) {
    SendMessageA(control, WM_SETTEXT, 0, (LPARAM)text);
}

void type_chars(HWND control, const char *characters) {
    for (const char *c = characters; *c; c++) SendMessageA(control, WM_CHAR, (unsigned char)*c, 0);
}

LRESULT press_key(HWND control, int key) {
    return SendMessageA(control, WM_KEYDOWN, (WPARAM)key, 0);
}

// A top-down 32-bit section of the given size and a memory device context holding it.
struct section {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    DWORD *bits;
};

static section open_section(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    section s;
    s.dc = CreateCompatibleDC(nullptr);
    s.bitmap = CreateDIBSection(s.dc, &info, DIB_RGB_COLORS, (void **)&s.bits, nullptr, 0);
    s.old = SelectObject(s.dc, s.bitmap);
    return s;
}

static Image close_section(section &s, int width, int height) {
    GdiFlush();
    Image image;
    image.width = width;
    image.height = height;
    for (int i = 0; i < width * height; i++) {
        DWORD pixel = s.bits[i];
        image.pixels.push_back(RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF));
    }
    SelectObject(s.dc, s.old);
    DeleteObject(s.bitmap);
    DeleteDC(s.dc);
    return image;
}

Image capture(HWND window) {
    UpdateWindow(window);
    pump();
    BOOL hidden = HideCaret(window);
    RECT client;
    GetClientRect(window, &client);
    // What lies beyond the test parent cannot be seen anyway.
    if (client.right > PARENT_WIDTH) client.right = PARENT_WIDTH;
    if (client.bottom > PARENT_HEIGHT) client.bottom = PARENT_HEIGHT;
    section s = open_section(client.right, client.bottom);
    HDC dc = GetDC(window);
    BitBlt(s.dc, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    if (hidden) ShowCaret(window);
    return close_section(s, client.right, client.bottom);
}

Image render(int width, int height, const std::function<void(HDC)> &paint) {
    section s = open_section(width, height);
    RECT all = {0, 0, width, height};
    FillRect(s.dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    paint(s.dc);
    return close_section(s, width, height);
}

std::string difference(const Image &shown, const Image &expected) {
    if (shown.width != expected.width || shown.height != expected.height) return "sizes differ";
    for (int y = 0; y < shown.height; y++) {
        for (int x = 0; x < shown.width; x++) {
            if (shown.at(x, y) == expected.at(x, y)) continue;
            char text[96];
            snprintf(text, sizeof text, "at (%d, %d) shown %06lx, expected %06lx", x, y,
                     (unsigned long)shown.at(x, y), (unsigned long)expected.at(x, y));
            return text;
        }
    }
    return "";
}

int pixels_other_than(const Image &image, const RECT &rect, COLORREF colour) {
    int count = 0;
    for (int y = rect.top; y < rect.bottom; y++)
        for (int x = rect.left; x < rect.right; x++) count += image.at(x, y) != colour;
    return count;
}

SIZE font_size(int stock_font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(stock_font));
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return {metrics.tmAveCharWidth, metrics.tmHeight};
}

bool put_clipboard(const char *text) {
    size_t length = strlen(text) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, length);
    memcpy(GlobalLock(block), text, length);
    GlobalUnlock(block);
    if (!OpenClipboard(test_parent())) return false;
    EmptyClipboard();
    bool done = SetClipboardData(CF_TEXT, block) != nullptr;
    CloseClipboard();
    return done;
}

std::string clipboard_text() {
    std::string text;
    if (!OpenClipboard(test_parent())) return "(clipboard not open)";
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data) {
        text = (const char *)GlobalLock(data);
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

std::string temp_file(const char *name, const std::string &bytes) {
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    std::string path =
        std::string(folder) + "kx-controls-" + std::to_string(GetCurrentProcessId()) + "-" + name;
    FILE *file = fopen(path.c_str(), "wb");
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
    files.push_back(path);
    return path;
}

void ControlTest::SetUp() {
    static bool loaded;
    if (!loaded) {
        for (const char *library : LIBRARIES) ASSERT_NE(LoadLibraryA(library), nullptr) << library;
        loaded = true;
    }
    test_parent();
    received.clear();
    read_text_on(-1);
    next_y = GAP;
    set_keys(false, false);
}

void ControlTest::TearDown() {
    SetFocus(test_parent());
    HWND child;
    while ((child = GetWindow(test_parent(), GW_CHILD)) != nullptr) DestroyWindow(child);
    pump();
    set_keys(false, false);
    for (const std::string &file : files) DeleteFileA(file.c_str());
    files.clear();
}
