// fitcheck TITLE|--main: does every text of the program's main window or of its dialog of this
// title fit its control? Hooks fithook.dll into the program's thread, asks it to measure there
// (fonts cannot be measured from another process) and prints its findings; exit 1 on any.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <string>

static std::string answer;

static LRESULT CALLBACK receiver_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_COPYDATA) {
        const COPYDATASTRUCT *data = (const COPYDATASTRUCT *)lparam;
        answer.assign((const char *)data->lpData, data->cbData ? data->cbData - 1 : 0);
        return TRUE;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

static HWND find_target(const char *which) {
    if (strcmp(which, "--main") == 0) return FindWindowA("TORKKX", nullptr);
    return FindWindowA("#32770", which);
}

int main(int argc, char **argv) {
    if (argc != 2) {
        fputs("usage: fitcheck TITLE|--main\n", stderr);
        return 2;
    }
    HWND target = find_target(argv[1]);
    if (!target) return fprintf(stderr, "fitcheck: no window '%s'\n", argv[1]), 2;
    HMODULE hook_library = LoadLibraryA("fithook.dll");
    HOOKPROC hook =
        hook_library ? (HOOKPROC)(void *)GetProcAddress(hook_library, "fit_hook") : nullptr;
    if (!hook) return fputs("fitcheck: no fithook.dll\n", stderr), 2;
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = receiver_proc;
    window_class.lpszClassName = "KxFitReceiver";
    RegisterClassA(&window_class);
    HWND receiver =
        CreateWindowA("KxFitReceiver", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    HHOOK installed = SetWindowsHookExA(WH_GETMESSAGE, hook, hook_library,
                                        GetWindowThreadProcessId(target, nullptr));
    if (!installed) return fputs("fitcheck: cannot hook the program\n", stderr), 2;
    PostMessageA(target, RegisterWindowMessageA("KxFitCheck"), (WPARAM)receiver, 0);
    DWORD start = GetTickCount();
    MSG message;
    while (answer.empty() && GetTickCount() - start < 10000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
    UnhookWindowsHookEx(installed);
    if (answer.empty()) return fputs("fitcheck: the program did not answer\n", stderr), 2;
    fputs(answer.c_str(), stdout);
    return answer.find(" needs ") != std::string::npos ? 1 : 0;
}
