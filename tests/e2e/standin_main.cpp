// A stand-in for the program's main window, to check the end-to-end tools by themselves: the
// same window class and children (strip items, panels, main list, status line), a DDE service
// that accepts every topic and a text on the clipboard, without any booking logic.
#include <windows.h>

#include <ddeml.h>
#include <string.h>

namespace {

DWORD dde_instance = 0;

HDDEDATA CALLBACK dde_callback(UINT type, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    if (type == XTYP_CONNECT) return (HDDEDATA)TRUE;
    if (type == XTYP_EXECUTE) return (HDDEDATA)DDE_FACK;
    return NULL;
}

HWND child(HWND parent, const char *class_name, const char *text, DWORD style, int x, int y,
           int width, int height) {
    return CreateWindowExA(0, class_name, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                           parent, NULL, GetModuleHandleA(NULL), NULL);
}

void create_children(HWND main) {
    const char *libraries[] = {"torkedit.dll", "torkshow.dll", "torkdisp.dll", "torkgrbu.dll"};
    for (const char *library : libraries) LoadLibraryA(library);
    child(main, "STATIC", "", SS_BLACKFRAME, 0, 0, 600, 1);
    child(main, "TORKDISP", "", 0, 4, 3, 20, 20);
    child(main, "TORKGRBU", "", 0, 26, 3, 20, 20);
    child(main, "TORKGRBU", "", 0, 48, 3, 20, 20);
    child(main, "TORKEDIT", "F####-##-##", 0x300, 70, 3, 88, 20);
    child(main, "TORKEDIT", "F##:##", 0x300, 160, 3, 48, 20);
    child(main, "TORKSHOW", "Tproject", 0x300, 210, 3, 128, 20);
    child(main, "TORKEDIT", "Tnote", 0x300, 340, 3, 200, 20);
    child(main, "TORKSHOW", "", 0, 0, 1, 600, 24);
    HWND list =
        child(main, "LISTBOX", "", WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0, 28, 600, 300);
    const char *rows[] = {"P4711          Erstes Projekt", "---", "P0815          Zweites"};
    for (const char *row : rows) SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)row);
    child(main, "TORKSHOW", "Tstatus", 0x300, 2, 335, 596, 20);
    child(main, "TORKSHOW", "", 0, 0, 333, 600, 24);
    SetFocus(list);
}

// A text on the clipboard, for the probe to read back.
void put_on_clipboard(HWND owner, const char *text) {
    size_t size = strlen(text) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block || !OpenClipboard(owner)) return;
    memcpy(GlobalLock(block), text, size);
    GlobalUnlock(block);
    EmptyClipboard();
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

LRESULT CALLBACK main_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wparam, lparam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = main_proc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursor(NULL, IDC_ARROW);
    window_class.hbrBackground = (HBRUSH)(COLOR_APPWORKSPACE + 1);
    window_class.lpszClassName = "TORKKX";
    RegisterClassA(&window_class);
    HWND main = CreateWindowExA(0, "TORKKX", "Korvex", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                CW_USEDEFAULT, CW_USEDEFAULT, 620, 420, NULL, NULL, instance, NULL);
    ShowWindow(main, show);
    put_on_clipboard(main, "Korvex\r\nZwischenablage \xe4"); // before the list the tests wait for
    create_children(main);
    DdeInitializeA(&dde_instance, dde_callback, CBF_FAIL_ADVISES | CBF_SKIP_ALLNOTIFICATIONS, 0);
    HSZ service = DdeCreateStringHandleA(dde_instance, "TORKKX", CP_WINANSI);
    DdeNameService(dde_instance, service, NULL, DNS_REGISTER);
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    DdeNameService(dde_instance, service, NULL, DNS_UNREGISTER);
    DdeFreeStringHandle(dde_instance, service);
    DdeUninitialize(dde_instance);
    return 0;
}
