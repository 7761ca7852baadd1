// The end-to-end tests' eye on the running program: started in the same Wine session, it finds
// the main window by class and reports or pokes what a user would see (strip, list, focus,
// title, placement, clipboard, message boxes). Commands run in order; see usage() below.
#include "probe_support.h"
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using probe::TEXT_MAX;
const int POLL_MS = 50;

struct Options {
    const char *main_class = "TORKKX";
    DWORD timeout_ms = 10000;
    bool utf8 = false;
};
Options options;

void usage() {
    fputs("usage: kxprobe [--utf8] [--class NAME] [--timeout MS] COMMAND... where COMMAND is\n"
          "  wait-window | wait-gone | count | get QUERY | wait QUERY VALUE\n"
          "  close | command ID | activate | row-pos INDEX | wait-msgbox TEXT | press BUTTON\n"
          "  move X Y WIDTH HEIGHT | terminate\n"
          "  post MESSAGE WPARAM LPARAM | minimize | input \"YYYY-MM-DD HH:MM\" | end-session\n"
          "  post-named MESSAGE_NAME | deactivate\n"
          "QUERY: title indicator date time project text status focus active list selected\n"
          "  items clipboard clipboard-picture placement normal iconic visible foreground rect "
          "msgbox popup pid\n"
          "  xid\n",
          stderr);
}

void print_line(const std::string &text) {
    probe::print_line(text, options.utf8);
}
using probe::class_of;
using probe::text_of;

HWND main_window() {
    return FindWindowA(options.main_class, NULL);
}

// Visible top-level windows of a class, in z-order.
std::vector<HWND> top_windows(const char *class_name) {
    struct Search {
        const char *name;
        std::vector<HWND> found;
    } search = {class_name, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            Search *s = (Search *)data;
            if (class_of(window) == s->name) s->found.push_back(window);
            return TRUE;
        },
        (LPARAM)&search);
    return search.found;
}

// The main window's controls, told apart by class and place: the strip items lie above the
// main list (the header) or below it (the footer); the panels behind the items start at the
// left edge of the client area, the items do not.
struct Controls {
    HWND date = NULL, time = NULL, project = NULL, text = NULL;
    HWND indicator = NULL, list = NULL, status = NULL;
};

struct Child {
    HWND window;
    std::string class_name;
    RECT rect; // in the main window's client coordinates
};

std::vector<Child> children_of(HWND parent) {
    struct Walk {
        HWND parent;
        std::vector<Child> found;
    } walk = {parent, {}};
    EnumChildWindows(
        parent,
        [](HWND window, LPARAM data) -> BOOL {
            Walk *w = (Walk *)data;
            if (GetParent(window) != w->parent) return TRUE;
            Child child = {window, class_of(window), {}};
            GetWindowRect(window, &child.rect);
            MapWindowPoints(NULL, w->parent, (POINT *)&child.rect, 2);
            w->found.push_back(child);
            return TRUE;
        },
        (LPARAM)&walk);
    std::sort(walk.found.begin(), walk.found.end(),
              [](const Child &a, const Child &b) { return a.rect.left < b.rect.left; });
    return walk.found;
}

Controls controls_of(HWND main) {
    Controls c;
    std::vector<Child> children = children_of(main);
    RECT client;
    GetClientRect(main, &client);
    int header_end = client.bottom / 2, footer_start = client.bottom / 2;
    for (const Child &child : children)
        if (child.class_name == "ListBox" || child.class_name == "LISTBOX") {
            c.list = child.window;
            header_end = child.rect.top;
            footer_start = child.rect.bottom;
        }
    std::vector<HWND> edits;
    for (const Child &child : children) {
        bool item = child.rect.left > 0;
        if (child.class_name == "TORKEDIT" && child.rect.top < header_end)
            edits.push_back(child.window);
        else if (child.class_name == "TORKDISP" && child.rect.top < header_end)
            c.indicator = child.window;
        else if (child.class_name == "TORKSHOW" && item && child.rect.top < header_end)
            c.project = child.window;
        else if (child.class_name == "TORKSHOW" && item && child.rect.top >= footer_start)
            c.status = child.window;
    }
    if (edits.size() >= 1) c.date = edits[0];
    if (edits.size() >= 2) c.time = edits[1];
    if (edits.size() >= 3) c.text = edits.back();
    return c;
}

// The name a test uses for one of the main window's controls, else its class.
std::string name_of(HWND window, const Controls &c) {
    if (!window) return "none";
    const struct {
        HWND window;
        const char *name;
    } names[] = {{c.date, "date"},           {c.time, "time"},       {c.project, "project"},
                 {c.text, "text"},           {c.list, "list"},       {c.status, "status"},
                 {c.indicator, "indicator"}, {main_window(), "main"}};
    for (const auto &n : names)
        if (n.window && n.window == window) return n.name;
    return class_of(window);
}

using probe::gui_info;

// Opens the clipboard, waiting up to two seconds while another program holds it.
bool open_clipboard() {
    for (DWORD waited = 0; !OpenClipboard(NULL); waited += POLL_MS) {
        if (waited > 2000) return false;
        Sleep(POLL_MS);
    }
    return true;
}

std::string clipboard_text() {
    std::string text;
    if (!open_clipboard()) return "(clipboard busy)";
    HANDLE data = GetClipboardData(CF_TEXT);
    const char *bytes = data ? (const char *)GlobalLock(data) : NULL;
    if (bytes) text.assign(bytes, strnlen(bytes, GlobalSize(data)));
    if (bytes) GlobalUnlock(data);
    CloseClipboard();
    return text;
}

WINDOWPLACEMENT placement(HWND main) {
    WINDOWPLACEMENT p = {};
    p.length = sizeof p;
    GetWindowPlacement(main, &p);
    return p;
}

std::string placement_of(HWND main) {
    WINDOWPLACEMENT p = placement(main);
    char line[160];
    snprintf(line, sizeof line, "%u %u %ld %ld %ld %ld %ld %ld %ld %ld", p.flags, p.showCmd,
             p.ptMinPosition.x, p.ptMinPosition.y, p.ptMaxPosition.x, p.ptMaxPosition.y,
             p.rcNormalPosition.left, p.rcNormalPosition.top, p.rcNormalPosition.right,
             p.rcNormalPosition.bottom);
    return line;
}

// The rectangle the window has when it is neither minimised nor maximised.
std::string normal_rect_of(HWND main) {
    WINDOWPLACEMENT p = placement(main);
    char line[80];
    snprintf(line, sizeof line, "%ld %ld %ld %ld", p.rcNormalPosition.left, p.rcNormalPosition.top,
             p.rcNormalPosition.right, p.rcNormalPosition.bottom);
    return line;
}

std::string rect_of(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    char line[80];
    snprintf(line, sizeof line, "%ld %ld %ld %ld", r.left, r.top, r.right, r.bottom);
    return line;
}

// A message box: its caption, then each of its static texts on a line of its own.
std::string msgbox_text(HWND box) {
    char caption[TEXT_MAX] = "";
    GetWindowTextA(box, caption, sizeof caption);
    std::string all = caption;
    for (const Child &child : children_of(box)) {
        std::string text = child.class_name == "Static" ? text_of(child.window) : "";
        if (!text.empty()) all += "\n" + text;
    }
    return all;
}

std::string msgboxes() {
    std::string all;
    for (HWND box : top_windows("#32770"))
        if (IsWindowVisible(box)) all += (all.empty() ? "" : "\n") + msgbox_text(box);
    return all;
}

std::string number(long long value) {
    return std::to_string(value);
}

// Pixels (0x00RRGGBB) of a width x height area drawn by draw into a 32-bit bitmap.
template <class Draw> std::vector<DWORD> pixels(int width, int height, Draw draw) {
    std::vector<DWORD> out((size_t)width * height);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void *bits = NULL;
    HDC screen = GetDC(NULL), memory = CreateCompatibleDC(screen);
    HBITMAP target = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (target && bits) {
        HGDIOBJ old = SelectObject(memory, target);
        draw(memory, screen);
        GdiFlush();
        memcpy(out.data(), bits, out.size() * sizeof(DWORD));
        SelectObject(memory, old);
    }
    if (target) DeleteObject(target);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return out;
}

// The pixels of a bitmap that are bluish (blue well above red), as the chart's bars are and its
// black, grey and white are not.
long bluish_pixels(HBITMAP bitmap, int width, int height) {
    std::vector<DWORD> shown = pixels(width, height, [&](HDC memory, HDC screen) {
        HDC source = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(source, bitmap);
        BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
    });
    long bluish = 0;
    for (DWORD pixel : shown) bluish += (pixel & 0xFF) > ((pixel >> 16) & 0xFF) + 40 ? 1 : 0;
    return bluish;
}

// The pictures on the clipboard: "emf 1|0 bitmap WIDTHxHEIGHT bluish N" (bitmap none without).
std::string clipboard_picture() {
    if (!open_clipboard()) return "(clipboard busy)";
    std::string emf = IsClipboardFormatAvailable(CF_ENHMETAFILE) ? "1" : "0";
    HBITMAP bitmap = (HBITMAP)GetClipboardData(CF_BITMAP);
    BITMAP size;
    std::string shown = "none";
    if (bitmap && GetObjectA(bitmap, sizeof size, &size) == sizeof size)
        shown = number(size.bmWidth) + "x" + number(size.bmHeight) + " bluish " +
                number(bluish_pixels(bitmap, size.bmWidth, size.bmHeight));
    CloseClipboard();
    return "emf " + emf + " bitmap " + shown;
}

// Whether the pixels shown in a width x height control are those of the named bitmap of the
// program, copied centred.
bool shows_bitmap(HMODULE program, const std::string &name, const std::vector<DWORD> &shown,
                  int width, int height) {
    HBITMAP bitmap = LoadBitmapA(program, name.c_str());
    if (!bitmap) return false;
    BITMAP info = {};
    GetObject(bitmap, sizeof info, &info);
    int x = (width - info.bmWidth) / 2, y = (height - info.bmHeight) / 2;
    std::vector<DWORD> expected = pixels(width, height, [&](HDC memory, HDC screen) {
        HDC source = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(source, bitmap);
        BitBlt(memory, x, y, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
    });
    DeleteObject(bitmap);
    for (int row = std::max(y, 0); row < std::min(y + (int)info.bmHeight, height); row++)
        for (int column = std::max(x, 0); column < std::min(x + (int)info.bmWidth, width); column++)
            if ((shown[(size_t)row * width + column] & 0xFFFFFF) !=
                (expected[(size_t)row * width + column] & 0xFFFFFF))
                return false;
    return true;
}

// Which of the program's indicator bitmaps the indicator shows: the control draws the bitmap
// centred, so its pixels there must be those of the bitmap.
std::string indicator_picture(HWND indicator) {
    RECT client;
    GetClientRect(indicator, &client);
    POINT origin = {0, 0};
    ClientToScreen(indicator, &origin);
    int width = client.right, height = client.bottom;
    std::vector<DWORD> shown = pixels(width, height, [&](HDC memory, HDC screen) {
        BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    });
    DWORD pid = 0;
    GetWindowThreadProcessId(indicator, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    char path[MAX_PATH] = "";
    DWORD size = sizeof path;
    if (process) QueryFullProcessImageNameA(process, 0, path, &size);
    if (process) CloseHandle(process);
    HMODULE program = LoadLibraryExA(path, NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (!program) return "(program not readable)";
    std::string found = "(unknown picture)";
    for (const char *name : {"AUS", "EIN", "ANDERS"})
        for (const char *size_letter : {"G", "K"})
            if (shows_bitmap(program, std::string("BMP") + size_letter + "_" + name, shown, width,
                             height))
                found = name;
    FreeLibrary(program);
    return found;
}

// The foreground window: "main", or the class and title of another window.
std::string foreground_name(HWND main) {
    HWND window = GetForegroundWindow();
    if (window == main) return "main";
    char title[TEXT_MAX] = "";
    if (window) GetWindowTextA(window, title, sizeof title);
    return window ? class_of(window) + " " + title : "none";
}

// The number of pop-up menus on screen (another process's menu items cannot be read).
std::string popup_menus() {
    int shown = 0;
    for (HWND window : top_windows("#32768")) shown += IsWindowVisible(window) ? 1 : 0;
    return number(shown);
}

// The value of one query; "(no window)" when the main window is missing and the query needs it.
std::string query(const std::string &q) {
    if (q == "count") return number(top_windows(options.main_class).size());
    if (q == "clipboard") return clipboard_text();
    if (q == "clipboard-picture") return clipboard_picture();
    if (q == "msgbox") return msgboxes();
    HWND main = main_window();
    if (!main) return "(no window)";
    Controls c = controls_of(main);
    const struct {
        const char *name;
        HWND window;
    } fields[] = {{"date", c.date},
                  {"time", c.time},
                  {"project", c.project},
                  {"text", c.text},
                  {"status", c.status}};
    if (q == "indicator") return c.indicator ? indicator_picture(c.indicator) : "(no indicator)";
    for (const auto &f : fields)
        if (q == f.name) return f.window ? text_of(f.window) : "(no " + q + " field)";
    if (q == "title") {
        char title[TEXT_MAX] = "";
        GetWindowTextA(main, title, sizeof title);
        return title;
    }
    if (q == "focus") return name_of(gui_info(main).hwndFocus, c);
    if (q == "active") return name_of(gui_info(main).hwndActive, c);
    if (q == "list") return probe::rows_of(c.list);
    if (q == "items") return number(c.list ? SendMessageA(c.list, LB_GETCOUNT, 0, 0) : -1);
    if (q == "selected") return number(c.list ? (int)SendMessageA(c.list, LB_GETCURSEL, 0, 0) : -2);
    if (q == "placement") return placement_of(main);
    if (q == "normal") return normal_rect_of(main);
    if (q == "iconic") return number(IsIconic(main) ? 1 : 0);
    if (q == "visible") return number(IsWindowVisible(main) ? 1 : 0);
    if (q == "foreground") return foreground_name(main);
    if (q == "popup") return popup_menus();
    if (q == "rect") return rect_of(main);
    if (q == "pid") {
        DWORD pid = 0;
        GetWindowThreadProcessId(main, &pid);
        return number(pid);
    }
    if (q == "xid") return number((long long)(ULONG_PTR)GetPropA(main, "__wine_x11_whole_window"));
    return "(unknown query " + q + ")";
}

// Polls until done() holds or the timeout has passed.
template <class Condition> bool wait_for(Condition done) {
    for (DWORD waited = 0;; waited += POLL_MS) {
        if (done()) return true;
        if (waited >= options.timeout_ms) return false;
        Sleep(POLL_MS);
    }
}

int fail(const std::string &message) {
    fprintf(stderr, "kxprobe: %s\n", message.c_str());
    return 1;
}

int wait_gone() {
    HWND main = main_window();
    DWORD pid = 0;
    if (main) GetWindowThreadProcessId(main, &pid);
    HANDLE process = pid ? OpenProcess(SYNCHRONIZE, FALSE, pid) : NULL;
    bool gone = wait_for([] { return !main_window(); });
    if (gone && process) gone = WaitForSingleObject(process, options.timeout_ms) == WAIT_OBJECT_0;
    if (process) CloseHandle(process);
    return gone ? 0 : fail("the program is still running");
}

// The user turns to another program: the desktop becomes the foreground window.
int deactivate() {
    HWND main = main_window();
    SetForegroundWindow(GetDesktopWindow());
    return wait_for([main] { return GetForegroundWindow() != main; })
               ? 0
               : fail("the main window stayed the foreground window");
}

// Activation as a user causes it: the desktop becomes the foreground first and then the main
// window again, so the program sees itself deactivated and activated anew. (A window of the
// probe's own would do as well, but a process with a window takes seconds to end under Wine.)
int activate() {
    HWND main = main_window();
    if (!main) return fail("no main window");
    // The program's own thread must have seen the deactivation before the activation comes,
    // else a late deactivation could follow it.
    HWND desktop = GetDesktopWindow();
    SetForegroundWindow(desktop);
    wait_for([main] { return gui_info(main).hwndActive != main; });
    SetForegroundWindow(main);
    bool active = wait_for(
        [main] { return GetForegroundWindow() == main && gui_info(main).hwndActive == main; });
    return active ? 0 : fail("the main window did not become active");
}

// The screen position of the middle of a list row that is in view.
int row_position(int index) {
    HWND main = main_window();
    HWND list = main ? controls_of(main).list : NULL;
    if (!list) return fail("no main list");
    int top = (int)SendMessageA(list, LB_GETTOPINDEX, 0, 0);
    int height = (int)SendMessageA(list, LB_GETITEMHEIGHT, index, 0);
    RECT client;
    GetClientRect(list, &client);
    if (index < top || (index - top + 1) * height > client.bottom)
        return fail("row " + std::to_string(index) + " is out of view");
    POINT middle = {client.right / 3, (index - top) * height + height / 2};
    ClientToScreen(list, &middle);
    char line[64];
    snprintf(line, sizeof line, "%ld %ld", middle.x, middle.y);
    print_line(line);
    return 0;
}

HWND box_containing(const std::string &text) {
    for (HWND box : top_windows("#32770"))
        if (IsWindowVisible(box) && msgbox_text(box).find(text) != std::string::npos) return box;
    return NULL;
}

std::string without_ampersand(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
    return text;
}

// Presses a button of the visible message box by its text (without '&'): the box gets the
// command the button sends.
int press(const std::string &label) {
    for (HWND box : top_windows("#32770")) {
        if (!IsWindowVisible(box)) continue;
        for (const Child &child : children_of(box)) {
            if (child.class_name != "Button" || without_ampersand(text_of(child.window)) != label)
                continue;
            int id = GetDlgCtrlID(child.window);
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)child.window);
            return 0;
        }
    }
    return fail("no message box with a button '" + label + "'; boxes: " + msgboxes());
}

int post_to_main(UINT message, WPARAM wparam) {
    HWND main = main_window();
    if (!main) return fail("no main window");
    PostMessageA(main, message, wparam, 0);
    return 0;
}

// Moves the main window as a window manager would (there is none on the test display).
int move_main(int x, int y, int width, int height) {
    HWND main = main_window();
    if (!main) return fail("no main window");
    SetWindowPos(main, NULL, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

// An input at the moment, for the test hook of a program whose clock the test fixed.
int test_input(const std::string &moment) {
    HWND main = main_window();
    if (!main) return fail("no main window");
    const ULONG_PTR TEST_INPUT = 1251; // CD_TEST_INPUT of the program
    COPYDATASTRUCT copy = {TEST_INPUT, (DWORD)moment.size(), (void *)moment.data()};
    DWORD_PTR result = 0;
    SendMessageTimeoutA(main, WM_COPYDATA, 0, (LPARAM)&copy, SMTO_ABORTIFHUNG, 5000, &result);
    return 0;
}

// The end of the session as Windows announces it: the question, then the end itself.
int end_session() {
    HWND main = main_window();
    if (!main) return fail("no main window");
    DWORD_PTR result = 0;
    SendMessageTimeoutA(main, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    if (!result) return fail("the program refused the end of the session");
    SendMessageTimeoutA(main, WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &result);
    return 0;
}

// Ends the program that owns the main window: the last resort of a test's clean-up.
int terminate() {
    HWND main = main_window();
    DWORD pid = 0;
    if (main) GetWindowThreadProcessId(main, &pid);
    HANDLE process = pid ? OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid) : NULL;
    if (!process) return 0;
    TerminateProcess(process, 99);
    WaitForSingleObject(process, options.timeout_ms);
    CloseHandle(process);
    return 0;
}

// One command with its arguments from argv[i]; advances i past them. -2 for a usage error.
int run_command(int argc, char **argv, int &i) {
    std::string command = argv[i++];
    auto argument = [&](std::string &value) {
        if (i >= argc) return false;
        value = argv[i++];
        return true;
    };
    std::string a, b;
    if (command == "wait-window")
        return wait_for([] { return main_window() != NULL; }) ? 0 : fail("no main window");
    if (command == "wait-gone") return wait_gone();
    if (command == "count") return print_line(query("count")), 0;
    if (command == "close") return post_to_main(WM_CLOSE, 0);
    if (command == "activate") return activate();
    if (command == "terminate") return terminate();
    if (command == "move" && i + 4 <= argc) {
        i += 4;
        return move_main(atoi(argv[i - 4]), atoi(argv[i - 3]), atoi(argv[i - 2]),
                         atoi(argv[i - 1]));
    }
    if (command == "post" && i + 3 <= argc) {
        i += 3;
        HWND main = main_window();
        if (!main) return fail("no main window");
        PostMessageA(main, (UINT)strtoul(argv[i - 3], NULL, 0), strtoull(argv[i - 2], NULL, 0),
                     strtoll(argv[i - 1], NULL, 0));
        return 0;
    }
    if (command == "minimize") return post_to_main(WM_SYSCOMMAND, SC_MINIMIZE);
    if (command == "deactivate") return deactivate();
    if (command == "input" && argument(a)) return test_input(a);
    if (command == "end-session") return end_session();
    if (command == "post-named" && argument(a))
        return post_to_main(RegisterWindowMessageA(a.c_str()), 0);
    if (command == "get" && argument(a)) return print_line(query(a)), 0;
    if (command == "command" && argument(a)) return post_to_main(WM_COMMAND, atoi(a.c_str()));
    if (command == "row-pos" && argument(a)) return row_position(atoi(a.c_str()));
    if (command == "press" && argument(a)) return press(a);
    if (command == "wait-msgbox" && argument(a))
        return wait_for([&] { return box_containing(a) != NULL; })
                   ? 0
                   : fail("no message box with '" + a + "'; boxes: " + msgboxes());
    if (command == "wait" && argument(a) && argument(b))
        return wait_for([&] { return query(a) == b; })
                   ? 0
                   : fail(a + " is '" + query(a) + "', expected '" + b + "'");
    usage();
    return -2;
}

} // namespace

int main(int argc, char **argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    int i = 1;
    for (; i < argc && strncmp(argv[i], "--", 2) == 0; i++) {
        std::string option = argv[i];
        if (option == "--utf8")
            options.utf8 = true;
        else if (option == "--class" && i + 1 < argc)
            options.main_class = argv[++i];
        else if (option == "--timeout" && i + 1 < argc)
            options.timeout_ms = (DWORD)atol(argv[++i]);
        else
            return usage(), 2;
    }
    if (i >= argc) return usage(), 2;
    while (i < argc) {
        int result = run_command(argc, argv, i);
        if (result == -2) return 2;
        if (result != 0) return result;
    }
    return 0;
}
