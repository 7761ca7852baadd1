// The program's entry point, main window procedure, message loop and about box.
#include "frame/frame.h"
#include "controls/controls.h"
#include "frame/app.h"
#include "frame/app_font.h"
#include "frame/config.h"
#include "frame/dialog.h"
#include "frame/frame_parts.h"
#include "frame/layout.h"
#include "frame/placement.h"
#include "frame/settings.h"
#include "frame/texts.h"
#include "frame/window_dpi.h"
#include "kx_version.h"
#include "resources/kx_ids.h"
#include <windows.h>
#include <commctrl.h>

#include <stdio.h>

static frame_config config;

static const char MAIN_WINDOW_KEY[] = "MainWindow";

// The configuration resource read over the defaults.
static void read_config(HINSTANCE instance) {
    config_defaults(&config);
    HRSRC found = FindResourceA(instance, RES_CONFIG, MAKEINTRESOURCEA(10)); // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const void *data = loaded ? LockResource(loaded) : nullptr;
    if (data) config_parse(&config, (const unsigned char *)data, SizeofResource(instance, found));
}

static HBRUSH background_brush(HINSTANCE instance) {
    if (config.background == BACKGROUND_COLOR)
        return CreateSolidBrush(
            RGB(config.background_rgb[0], config.background_rgb[1], config.background_rgb[2]));
    if (config.background == BACKGROUND_BITMAP) {
        HBITMAP pattern = LoadBitmapA(instance, config.background_bitmap);
        if (pattern) {
            HBRUSH brush = CreatePatternBrush(pattern);
            DeleteObject(pattern);
            return brush;
        }
    }
    return CreateSolidBrush(GetSysColor(COLOR_APPWORKSPACE));
}

// The about box names the program with the build's version ("Korvex 1.1.0").
static INT_PTR CALLBACK about_proc(HWND box, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        char name[sizeof config.name + 32];
        snprintf(name, sizeof name, "%s %s", config.name, KX_VERSION_TEXT);
        SetDlgItemTextA(box, ID_ABOUT_NAME, name);
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL)) {
        EndDialog(box, 0);
        return TRUE;
    }
    return FALSE;
}

// The program ends only when every dialog lets itself close: one whose changes the user wants
// kept, or whose save failed, keeps the program running with them.
static bool on_close(HWND window) {
    if (!dialog_may_close_all()) return false;
    placement_save(window, MAIN_WINDOW_KEY, config.wp_section);
    frame_set_run_state(RUN_CLOSING);
    dialog_close_all();
    app_exit();
    frame_set_run_state(RUN_CLOSED);
    return true;
}

// A window of another process is shown without waiting for it, so that a program that hangs
// cannot hold this one up.
static void show_window(HWND window, int command) {
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId())
        ShowWindow(window, command);
    else
        ShowWindowAsync(window, command);
}

void frame_bring_forward(void *main_window) {
    HWND window = (HWND)main_window;
    if (IsIconic(window))
        show_window(window, SW_RESTORE);
    else if (!IsWindowVisible(window))
        show_window(window, SW_SHOW);
    // A message box or dialog the window shows comes forward in its place.
    HWND popup = GetLastActivePopup(window);
    SetForegroundWindow(popup && IsWindowVisible(popup) ? popup : window);
}

static LRESULT on_command(HWND window, WPARAM wparam, LPARAM lparam) {
    switch (LOWORD(wparam)) {
    case CMD_EXIT:
        PostMessageA(window, WM_CLOSE, 0, 0);
        break;
    case CMD_ABOUT:
        DialogBoxParamA((HINSTANCE)frame_instance(), RES_ABOUT, window, about_proc, 0);
        break;
    default:
        if (frame_run_state() == RUN_RUNNING) app_message(WM_COMMAND, wparam, lparam);
    }
    return 0;
}

// The window moved to a screen of another DPI: font and layout for it, then the rectangle the
// system suggests (its WM_SIZE lays the strips out at the new scale).
static void on_dpi_changed(HWND window, int dpi, const RECT *suggested) {
    frame_app()->font = app_font(dpi);
    layout_set_dpi(dpi);
    if (suggested)
        SetWindowPos(window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

static LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_DESTROY:
        frame_help_close();
        PostQuitMessage(0);
        return 0;
    case WM_CLOSE:
        if (!on_close(window)) return 0;
        break;
    case WM_COMMAND:
        return on_command(window, wparam, lparam);
    case WM_DPICHANGED:
        on_dpi_changed(window, LOWORD(wparam), (const RECT *)lparam);
        return 0;
    case WM_DRAWITEM:
        if (frame_run_state() != RUN_RUNNING) break;
        app_message(message, wparam, lparam);
        return TRUE;
    default:
        if (frame_run_state() == RUN_RUNNING) app_message(message, wparam, lparam);
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

static int register_class(HINSTANCE instance, HBRUSH brush) {
    WNDCLASSEXA window_class = {};
    window_class.cbSize = sizeof window_class;
    window_class.style = (UINT)config.class_style;
    window_class.lpfnWndProc = main_window_proc;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconA(instance, config.large_icon);
    window_class.hIconSm =
        (HICON)LoadImageA(instance, config.small_icon, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                          GetSystemMetrics(SM_CYSMICON), 0);
    window_class.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    window_class.hbrBackground = brush;
    window_class.lpszClassName = config.class_name;
    return RegisterClassExA(&window_class) ? 0 : -1;
}

static int restores_placement(int show) {
    switch (show) {
    case SW_SHOWNORMAL:
    case SW_SHOWNOACTIVATE:
    case SW_SHOW:
    case SW_SHOWNA:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
        return 1;
    default:
        return 0;
    }
}

// Ctrl+Z typed into a text field belongs to the field (an edit box takes back the typing); only
// elsewhere does it reach the program's accelerator, the undo of the last journal change, so
// that a user who wants to take back typing never takes back a booking instead.
static bool field_keeps_key(const MSG *message) {
    if (message->message != WM_CHAR || message->wParam != 0x1A) return false; // Ctrl+Z typed
    char name[16];
    if (!GetClassNameA(message->hwnd, name, sizeof name)) return false;
    return lstrcmpiA(name, "Edit") == 0 || lstrcmpiA(name, CONTROL_CLASS_EDIT) == 0;
}

static WPARAM message_loop(HWND window, HACCEL accelerators) {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (accelerators && !field_keeps_key(&message) &&
            TranslateAcceleratorA(window, accelerators, &message))
            continue;
        if (dialog_filter(&message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return message.wParam;
}

// Creates the main window with its menu, accelerators, cursors and font; 0, or -1.
static int create_main_window(HINSTANCE instance) {
    frame_app_record *app = frame_app();
    app->menu = LoadMenuA(instance, RES_MENU);
    app->accelerators = LoadAcceleratorsA(instance, RES_ACCEL);
    app->arrow_cursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    app->wait_cursor = LoadCursorA(nullptr, (LPCSTR)IDC_WAIT);
    app->drag_cursor = LoadCursorA(nullptr, (LPCSTR)IDC_SIZEALL);
    HWND window = CreateWindowExA(0, config.class_name, config.name, config.window_style,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  nullptr, (HMENU)app->menu, instance, nullptr);
    if (!window) return -1;
    app->main_window = window;
    app_font_start(config.font);
    app->font = app_font(window_dpi(window));
    return 0;
}

static void take_down(void) {
    frame_app_record *app = frame_app();
    app_font_release();
    app->font = nullptr;
    DeleteObject((HBRUSH)app->background);
    dde_stop();
    dialog_shutdown();
    text_release();
}

int frame_main(void *instance_handle, const char *command_line, int show) {
    HINSTANCE instance = (HINSTANCE)instance_handle;
    frame_app_record *app = frame_app();
    frame_set_run_state(RUN_STARTING);
    app->instance = instance;
    app->command_line = command_line;
    read_config(instance);
    lstrcpynA(app->title, config.name, sizeof app->title);
    lstrcpynA(app->class_name, config.class_name, sizeof app->class_name);
    HWND running = config.single ? FindWindowA(config.class_name, nullptr) : nullptr;
    if (running) {
        frame_bring_forward(running);
        return 0;
    }
    frame_settings_locate(config.wp_file);
    dialog_startup();
    if (app_init() == -1) return 0;
    app->background = background_brush(instance);
    if (register_class(instance, (HBRUSH)app->background) != 0) return 0;
    frame_set_run_state(RUN_CLASS_REGISTERED);
    if (create_main_window(instance) != 0) return 0;
    InitCommonControls();
    if (app_create() == -1) return 0;
    HWND window = (HWND)app->main_window;
    if (restores_placement(show)) placement_restore(window, MAIN_WINDOW_KEY, config.wp_section, 0);
    ShowWindow(window, show);
    UpdateWindow(window);
    if (config.dde_server) dde_start(config.class_name);
    frame_set_run_state(RUN_RUNNING);
    WPARAM code = message_loop(window, (HACCEL)app->accelerators);
    frame_set_run_state(RUN_LOOP_ENDED);
    take_down();
    frame_set_run_state(RUN_FINISHED);
    return (int)code;
}
