// What the two probes of the end-to-end tests share: reading another process's windows across
// the Wine session (class names, window texts, list and combo rows) and printing answers.
#pragma once
#include <windows.h>

#include <stdio.h>

#include <string>

namespace probe {

const int TEXT_MAX = 1024;

// One answer line, in Windows-1252 or, with utf8, converted for a UTF-8 terminal.
inline void print_line(const std::string &text, bool utf8) {
    std::string out = text;
    if (utf8) {
        static wchar_t wide[TEXT_MAX * 64];
        static char narrow[TEXT_MAX * 128];
        int n = MultiByteToWideChar(1252, 0, text.c_str(), -1, wide, TEXT_MAX * 64);
        n = n ? WideCharToMultiByte(CP_UTF8, 0, wide, -1, narrow, sizeof narrow, NULL, NULL) : 0;
        out = n ? narrow : "";
    }
    out += '\n';
    fwrite(out.data(), 1, out.size(), stdout);
    fflush(stdout);
}

inline std::string class_of(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The text a control hands another process: WM_GETTEXT, bounded in time.
inline std::string text_of(HWND window) {
    char buffer[TEXT_MAX] = "";
    DWORD_PTR result = 0;
    if (window)
        SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, (LPARAM)buffer, SMTO_ABORTIFHUNG,
                            2000, &result);
    buffer[sizeof buffer - 1] = 0;
    return buffer;
}

// The focus, the active window and the like of the thread that owns window.
inline GUITHREADINFO gui_info(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, NULL), &info);
    return info;
}

// A row of a list or combo box in Windows-1252. The wide messages: Wine hands another process
// only the first character of a row asked for with the ANSI ones.
inline std::string row_of(HWND control, int index) {
    bool combo = class_of(control) == "ComboBox";
    wchar_t wide[TEXT_MAX] = L"";
    char row[TEXT_MAX * 2] = "";
    LRESULT length = SendMessageW(control, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, index, 0);
    if (length < 0 || length >= TEXT_MAX) return "";
    SendMessageW(control, combo ? CB_GETLBTEXT : LB_GETTEXT, index, (LPARAM)wide);
    WideCharToMultiByte(1252, 0, wide, -1, row, sizeof row, NULL, NULL);
    return row;
}

// Every row, one per line.
inline std::string rows_of(HWND control) {
    bool combo = class_of(control) == "ComboBox";
    int count = control ? (int)SendMessageA(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0) : 0;
    std::string all;
    for (int i = 0; i < count; i++) all += (i ? "\n" : "") + row_of(control, i);
    return all;
}

} // namespace probe
