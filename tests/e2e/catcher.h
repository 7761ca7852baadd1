// What the end-to-end tests' stand-ins for system programs share: a window of the class the
// program looks for, handing each WM_COPYDATA it receives to a recorder, until it is ended.
#pragma once
#include <windows.h>

namespace catcher {

typedef void (*recorder)(const COPYDATASTRUCT *copy);
inline recorder record_copy;

inline LRESULT CALLBACK catcher_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_COPYDATA) {
        record_copy((const COPYDATASTRUCT *)lparam);
        return TRUE;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

// Runs the stand-in window of class_name; 1 when it cannot be made.
inline int run(const char *class_name, const char *title, recorder record) {
    record_copy = record;
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = catcher_proc;
    window_class.hInstance = GetModuleHandleA(NULL);
    window_class.lpszClassName = class_name;
    if (!RegisterClassA(&window_class)) return 1;
    if (!CreateWindowA(class_name, title, WS_POPUP, 0, 0, 0, 0, NULL, NULL, NULL, NULL)) return 1;
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}

} // namespace catcher
