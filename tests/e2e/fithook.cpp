// Loaded into the program by fitcheck's message hook: measures, inside the program, every child
// window's text in the window's own font against the room the window gives it, and sends the
// findings back to fitcheck's window.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <string>

namespace {

const char CHECK_MESSAGE[] = "KxFitCheck";

struct room {
    int width, height; // for the text, in pixels
    bool wraps;        // the text may take several lines of the width
};

std::string class_of(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

int dpi_of(HWND window) {
    HDC dc = GetDC(window);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(window, dc);
    return dpi;
}

// The room a control gives its text, by class; false for a control whose text is not shown
// (frames, lists: their rows are measured by height only).
bool room_of(HWND window, const std::string &cls, room *r) {
    RECT client;
    GetClientRect(window, &client);
    int w = client.right, h = client.bottom, dpi = dpi_of(window);
    LONG style = GetWindowLongA(window, GWL_STYLE);
    *r = {w, h, false};
    if (cls == "Static") {
        int kind = style & SS_TYPEMASK;
        if (kind > SS_RIGHT && kind != SS_SIMPLE && kind != SS_LEFTNOWORDWRAP) return false;
        r->wraps = kind <= SS_RIGHT;
    } else if (cls == "Button") {
        int kind = style & BS_TYPEMASK;
        if (kind == BS_GROUPBOX) {
            r->width = w - MulDiv(16, dpi, 96);
            r->height = h;
        } else if (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON) {
            r->width = w - 2 * GetSystemMetrics(SM_CXEDGE) - 2;
            r->height = h - 2 * GetSystemMetrics(SM_CYEDGE);
        } else { // check and radio boxes: the box and its gap come first
            r->width = w - GetSystemMetrics(SM_CXMENUCHECK) - MulDiv(4, dpi, 96);
        }
    } else if (cls == "Edit") {
        DWORD margins = (DWORD)SendMessageA(window, EM_GETMARGINS, 0, 0);
        r->width = w - LOWORD(margins) - HIWORD(margins);
    } else if (cls == "ComboBox") {
        r->width = w - GetSystemMetrics(SM_CXVSCROLL) - 2 * GetSystemMetrics(SM_CXEDGE);
        r->height = (int)SendMessageA(window, CB_GETITEMHEIGHT, (WPARAM)-1, 0);
    } else if (cls == "TORKEDIT" || cls == "TORKSHOW") {
        // The field's frame and text margins (4 pixels at 96 DPI on either side).
        int margin = MulDiv(4, dpi, 96), frame = (style & 3) ? 2 : 0;
        r->width = w - 2 * margin;
        r->height = h - 2 * frame;
    } else if (cls == "ListBox") {
        r->height = (int)SendMessageA(window, LB_GETITEMHEIGHT, 0, 0);
        r->width = 1 << 30;
    } else {
        return false;
    }
    return true;
}

std::string text_shown(HWND window, const std::string &cls) {
    char text[512] = "";
    if (cls == "ListBox") return "Xg"; // any row: its height is what counts
    if (cls == "ComboBox") {
        int index = (int)SendMessageA(window, CB_GETCURSEL, 0, 0);
        if (index >= 0 && SendMessageA(window, CB_GETLBTEXTLEN, index, 0) < (LRESULT)sizeof text)
            SendMessageA(window, CB_GETLBTEXT, index, (LPARAM)text);
        return text;
    }
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// One finding for a text that does not fit, "" when it does.
std::string check(HWND window) {
    std::string cls = class_of(window), text = text_shown(window, cls);
    room r;
    if (!IsWindowVisible(window) || text.empty() || !room_of(window, cls, &r)) return "";
    HFONT font = (HFONT)SendMessageA(window, WM_GETFONT, 0, 0);
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    RECT need = {0, 0, r.wraps ? r.width : 0, 0};
    UINT format = DT_CALCRECT | (r.wraps ? DT_WORDBREAK : DT_SINGLELINE);
    if (cls == "TORKEDIT" || cls == "TORKSHOW" || cls == "Edit") format |= DT_NOPREFIX;
    DrawTextA(dc, text.c_str(), -1, &need, format);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    int height = need.bottom > metrics.tmHeight ? need.bottom : (int)metrics.tmHeight;
    if (need.right <= r.width && height <= r.height) return "";
    char line[700];
    snprintf(line, sizeof line, "%s %d '%s' needs %dx%d, has %dx%d\n", cls.c_str(),
             GetDlgCtrlID(window), text.c_str(), (int)need.right, height, r.width, r.height);
    return line;
}

void report(HWND top, HWND receiver) {
    std::string findings;
    int checked = 0;
    for (HWND child = GetWindow(top, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        findings += check(child);
        checked++;
    }
    char last[64];
    snprintf(last, sizeof last, "checked %d at %d DPI\n", checked, dpi_of(top));
    findings += last;
    COPYDATASTRUCT data = {1, (DWORD)findings.size() + 1, (void *)findings.c_str()};
    SendMessageA(receiver, WM_COPYDATA, (WPARAM)top, (LPARAM)&data);
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK fit_hook(int code, WPARAM wparam, LPARAM lparam) {
    static UINT check_message = RegisterWindowMessageA(CHECK_MESSAGE);
    MSG *message = (MSG *)lparam;
    if (code == HC_ACTION && wparam == PM_REMOVE && message->message == check_message) {
        report(message->hwnd, (HWND)message->wParam);
        message->message = WM_NULL;
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}
