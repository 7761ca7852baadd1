// The end-to-end tests' eye on the program's dialogs: started in the same Wine session, it finds
// a dialog by its title and reads or pokes its controls by id (texts, list and combo lines,
// selection, check boxes, enabled state, focus, screen positions for real clicks).
#include "probe_support.h"
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

const int POLL_MS = 50;
DWORD timeout_ms = 10000;
bool utf8 = false;

void usage() {
    fputs("usage: dlgprobe [--utf8] [--timeout MS] COMMAND ARGS... where COMMAND is\n"
          "  dialogs                        titles of the visible dialogs\n"
          "  wait-dialog TITLE | wait-gone TITLE | close TITLE | close-box TITLE\n"
          "  text|items|selected|checked|enabled|pos TITLE ID   a control of the dialog\n"
          "  row-pos TITLE ID INDEX         screen centre of a list row\n"
          "  focused TITLE                  id of the control that has the focus\n"
          "  click TITLE ID                 BM_CLICK to a button\n"
          "  wait QUERY TITLE ID VALUE      polls until the query gives VALUE\n"
          "(clipboard and message boxes: kxprobe get clipboard, wait-msgbox, press)\n",
          stderr);
}

void print_text(const std::string &text) {
    probe::print_line(text, utf8);
}

int fail(const std::string &why) {
    fprintf(stderr, "dlgprobe: %s\n", why.c_str());
    return 1;
}

using probe::class_of;
using probe::gui_info;
using probe::text_of;

std::vector<HWND> visible_dialogs() {
    std::vector<HWND> found;
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            if (IsWindowVisible(window) && class_of(window) == "#32770")
                ((std::vector<HWND> *)data)->push_back(window);
            return TRUE;
        },
        (LPARAM)&found);
    return found;
}

HWND find_dialog(const std::string &title) {
    for (HWND dialog : visible_dialogs())
        if (text_of(dialog) == title) return dialog;
    return NULL;
}

std::string centre_of(const RECT &rect, HWND relative) {
    POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    if (relative) ClientToScreen(relative, &centre);
    return std::to_string(centre.x) + " " + std::to_string(centre.y);
}

// A query on control id of the dialog; false with why filled when it cannot be answered.
bool query(const std::string &what, const std::string &title, int id, std::string *out) {
    HWND dialog = find_dialog(title);
    if (!dialog) return *out = "no dialog '" + title + "'", false;
    if (what == "focused") {
        GUITHREADINFO info = gui_info(dialog);
        *out = std::to_string(info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0);
        return true;
    }
    HWND control = GetDlgItem(dialog, id);
    if (!control) return *out = "no control " + std::to_string(id) + " in '" + title + "'", false;
    bool combo = class_of(control) == "ComboBox";
    if (what == "text")
        *out = text_of(control);
    else if (what == "items")
        *out = probe::rows_of(control);
    else if (what == "selected")
        *out = std::to_string(SendMessageA(control, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
    else if (what == "checked")
        *out = std::to_string(SendMessageA(control, BM_GETCHECK, 0, 0));
    else if (what == "enabled")
        *out = IsWindowEnabled(control) ? "1" : "0";
    else if (what == "pos") {
        RECT rect;
        GetWindowRect(control, &rect);
        *out = centre_of(rect, NULL);
    } else
        return *out = "unknown query " + what, false;
    return true;
}

bool is_query(const std::string &what) {
    return what == "text" || what == "items" || what == "selected" || what == "checked" ||
           what == "enabled" || what == "pos" || what == "focused";
}

// Polls until check() holds or the time is up.
template <class Check> bool poll(Check check) {
    for (DWORD waited = 0;; waited += POLL_MS) {
        if (check()) return true;
        if (waited >= timeout_ms) return false;
        Sleep(POLL_MS);
    }
}

int row_pos(const std::string &title, int id, int index) {
    HWND dialog = find_dialog(title);
    HWND list = dialog ? GetDlgItem(dialog, id) : NULL;
    RECT rect;
    if (!list || SendMessageA(list, LB_GETITEMRECT, index, (LPARAM)&rect) == LB_ERR)
        return fail("no row " + std::to_string(index) + " of list " + std::to_string(id));
    print_text(centre_of(rect, list));
    return 0;
}

int run(int count, char **words) {
    std::string command = words[0];
    if (command == "dialogs") {
        for (HWND dialog : visible_dialogs()) print_text(text_of(dialog));
        return 0;
    }
    if (count < 2) return usage(), 2;
    std::string title = words[1];
    if (command == "wait-dialog")
        return poll([&] { return find_dialog(title) != NULL; }) ? 0
                                                                : fail("no dialog '" + title + "'");
    if (command == "wait-gone")
        return poll([&] { return find_dialog(title) == NULL; }) ? 0 : fail("'" + title + "' stays");
    if (command == "close" || command == "close-box") {
        HWND dialog = find_dialog(title);
        if (!dialog) return fail("no dialog " + title);
        // "close-box" sends what a click on the caption's close box sends.
        if (command == "close-box")
            PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        else
            PostMessageA(dialog, WM_CLOSE, 0, 0);
        return 0;
    }
    std::string out;
    if (command == "focused")
        return query(command, title, 0, &out) ? (print_text(out), 0) : fail(out);
    if (count < 3) return usage(), 2;
    int id = atoi(words[2]);
    if (command == "row-pos" && count >= 4) return row_pos(title, id, atoi(words[3]));
    if (command == "click") {
        HWND dialog = find_dialog(title);
        HWND button = dialog ? GetDlgItem(dialog, id) : NULL;
        return button ? (PostMessageA(button, BM_CLICK, 0, 0), 0) : fail("no button");
    }
    if (is_query(command))
        return query(command, title, id, &out) ? (print_text(out), 0) : fail(out);
    if (command == "wait" && count >= 5) {
        std::string what = words[1], value = words[4];
        title = words[2];
        id = atoi(words[3]);
        if (poll([&] { return query(what, title, id, &out) && out == value; })) return 0;
        return fail(what + " of " + std::to_string(id) + " in '" + title + "' is '" + out +
                    "', expected '" + value + "'");
    }
    return usage(), 2;
}

} // namespace

int main(int argc, char **argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    int first = 1;
    for (; first < argc && argv[first][0] == '-' && argv[first][1] == '-'; first++) {
        if (strcmp(argv[first], "--utf8") == 0)
            utf8 = true;
        else if (strcmp(argv[first], "--timeout") == 0 && first + 1 < argc)
            timeout_ms = (DWORD)atoi(argv[++first]);
    }
    if (first >= argc) return usage(), 2;
    return run(argc - first, argv + first);
}
