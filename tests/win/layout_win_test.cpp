// The main window's layout under Wine with the four control libraries: where strips, items and
// the main list lie, texts by id, the keyboard order and the commands posted to the main window.
#include "controls/controls.h"
#include "frame/app.h"
#include "frame/layout.h"
#include "frame/memory.h"
#include "frame/strip_parse.h"
#include "win_support.h"

#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const char BOOKING_STRIP[] = "D 2000 10 /AUS/ + B 2100 10 /OK/ B 2101 10 /CANCEL/ + "
                             "E 3000 44 /F####-##-##/ E 3010 24 /F##:##/ + "
                             "S 3020 64 /Text/ E 3030 0 /Text/";
const char MAIN_CLASS[] = "KXLAYOUTTEST";
enum { WIDTH = 640, HEIGHT = 400, MESSAGES_MAX = 1000 };

LRESULT CALLBACK main_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    layout_message(message, wparam, lparam);
    return DefWindowProcA(window, message, wparam, lparam);
}

struct child {
    HWND window;
    std::string class_name;
    RECT place; // x, y, width, height in the main window's client area
};

class Layout : public ::testing::Test {
  protected:
    HWND main = nullptr;
    int blocks_before = 0;

    // The libraries and one main window for all tests, as in the program.
    static HWND open_main_window() {
        static HWND window;
        if (window) return window;
        for (const char *library : {CONTROL_LIBRARY_EDIT, CONTROL_LIBRARY_SHOW,
                                    CONTROL_LIBRARY_DISP, CONTROL_LIBRARY_GRBU})
            EXPECT_NE(LoadLibraryA(library), nullptr) << library;
        WNDCLASSA window_class = {};
        window_class.lpfnWndProc = main_procedure;
        window_class.hInstance = GetModuleHandleA(nullptr);
        window_class.lpszClassName = MAIN_CLASS;
        RegisterClassA(&window_class);
        window =
            CreateWindowExA(0, MAIN_CLASS, "Korvex", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                            WIDTH, HEIGHT, nullptr, nullptr, window_class.hInstance, nullptr);
        return window;
    }

    void SetUp() override {
        main = open_main_window();
        ASSERT_NE(main, nullptr);
        SetWindowPos(main, nullptr, 0, 0, WIDTH, HEIGHT, SWP_NOZORDER | SWP_NOMOVE);
        set_keys(false, false);
        blocks_before = fmalloc_count();
        frame_app()->main_window = main;
        frame_app()->instance = GetModuleHandleA(nullptr);
        frame_app()->font = GetStockObject(ANSI_FIXED_FONT);
        layout_open(1, 1, 3100, 3101);
        strip_define(STRIP_HEADER, BOOKING_STRIP);
        strip_define(STRIP_FOOTER, "S 3200 0 //");
        SetForegroundWindow(main);
        posted();
    }

    void TearDown() override {
        layout_close();
        EXPECT_EQ(GetWindow(main, GW_CHILD), nullptr) << "a window of the layout outlived it";
        EXPECT_EQ(fmalloc_count(), blocks_before);
        set_keys(false, false);
        posted();
    }

    // Handles what waits in the queue and gives the commands posted to the main window.
    std::vector<int> posted() {
        std::vector<int> commands;
        MSG message;
        for (int i = 0; i < MESSAGES_MAX && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); i++) {
            if (message.hwnd == main && message.message == WM_COMMAND) {
                EXPECT_EQ(message.lParam, 0);
                commands.push_back((int)message.wParam);
            } else {
                DispatchMessageA(&message);
            }
        }
        return commands;
    }

    // The layout's windows, top row first, left to right.
    std::vector<child> children() {
        std::vector<child> all;
        for (HWND w = GetWindow(main, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
            char name[32] = "";
            GetClassNameA(w, name, sizeof name);
            RECT r;
            GetWindowRect(w, &r);
            MapWindowPoints(nullptr, main, (POINT *)&r, 2);
            all.push_back({w, name, {r.left, r.top, r.right - r.left, r.bottom - r.top}});
        }
        std::sort(all.begin(), all.end(), [](const child &a, const child &b) {
            return a.place.top != b.place.top ? a.place.top < b.place.top
                                              : a.place.left < b.place.left;
        });
        return all;
    }

    std::vector<child> row(int y) {
        std::vector<child> found;
        for (const child &c : children())
            if (c.place.top == y) found.push_back(c);
        return found;
    }

    // The controls of the header in table order.
    std::vector<child> header_items() { return row(1 + 2); }

    HWND header_item(int index) { return header_items().at(index).window; }
    HWND date() { return header_item(3); }
    HWND time() { return header_item(4); }
    HWND note() { return header_item(6); }

    HWND list() {
        for (const child &c : children())
            if (c.class_name == "ListBox" || c.class_name == "LISTBOX") return c.window;
        return nullptr;
    }

    std::string header_text(int id) {
        char text[100] = "untouched";
        strip_get_text(STRIP_HEADER, id, text, sizeof text);
        return text;
    }
};

void expect_place(const child &c, const char *class_name, int x, int y, int width, int height) {
    EXPECT_STREQ(c.class_name.c_str(), class_name) << "at " << x << "," << y;
    EXPECT_EQ(c.place.left, x) << class_name;
    EXPECT_EQ(c.place.top, y) << class_name << " at " << x;
    EXPECT_EQ(c.place.right, width) << class_name << " at " << x;
    EXPECT_EQ(c.place.bottom, height) << class_name << " at " << x;
}

// Header and footer rows, the stretching last items and the main list between the strips.
void expect_layout(const std::vector<child> &all, int width, int height) {
    int h = strip_unit(12), item = strip_unit(10);
    int u44 = strip_unit(44), u24 = strip_unit(24), u64 = strip_unit(64);
    int x[7];
    x[0] = 4;
    x[1] = x[0] + item + 2 + 2;
    x[2] = x[1] + item + 2;
    x[3] = x[2] + item + 2 + 2;
    x[4] = x[3] + u44 + 2;
    x[5] = x[4] + u24 + 2 + 2;
    x[6] = x[5] + u64 + 2;
    // Top line, panel, the seven items, lower line, list, footer line, footer panel and item.
    ASSERT_EQ(all.size(), 14u);
    expect_place(all[0], "Static", 0, 0, width, 1);
    expect_place(all[1], CONTROL_CLASS_SHOW, 0, 1, width, h);
    const char *classes[] = {CONTROL_CLASS_DISP, CONTROL_CLASS_GRBU, CONTROL_CLASS_GRBU,
                             CONTROL_CLASS_EDIT, CONTROL_CLASS_EDIT, CONTROL_CLASS_SHOW,
                             CONTROL_CLASS_EDIT};
    int widths[] = {item, item, item, u44, u24, u64, width - x[6] - 2};
    for (int i = 0; i < 7; i++) expect_place(all[2 + i], classes[i], x[i], 3, widths[i], item);
    expect_place(all[9], "Static", 0, h + 1, width, 1);
    expect_place(all[10], "ListBox", 0, h + 3, width, height - (h + 2) - (h + 1) - 2);
    expect_place(all[11], "Static", 0, height - h - 1, width, 1);
    expect_place(all[12], CONTROL_CLASS_SHOW, 0, height - h, width, h);
    expect_place(all[13], CONTROL_CLASS_SHOW, 2, height - h + 2, width - 4, item);
}

TEST_F(Layout, PlacesStripsItemsAndListAndFollowsTheWindowsSize) {
    EXPECT_EQ(strip_unit(8), HIWORD(GetDialogBaseUnits()));
    expect_layout(children(), WIDTH, HEIGHT);

    SetWindowPos(main, nullptr, 0, 0, 500, 300, SWP_NOZORDER | SWP_NOMOVE);
    posted();
    expect_layout(children(), 500, 300);
}

TEST_F(Layout, ItemsAreRecreatedByEveryDefinitionAndUnknownLettersOnlyTakeTheirPlace) {
    // The first character of a show item's text is its type letter.
    strip_define(STRIP_HEADER, "Q 1 10 /x/ T 2 40 /TSumme/");
    std::vector<child> items = header_items();
    ASSERT_EQ(items.size(), 1u);
    expect_place(items[0], CONTROL_CLASS_SHOW, 4 + strip_unit(10) + 2, 3, strip_unit(40),
                 strip_unit(10));
    EXPECT_EQ(text_of(items[0].window), "Summe");
    char text[10] = "untouched";
    strip_get_text(STRIP_HEADER, 1, text, sizeof text);
    EXPECT_STREQ(text, "untouched");
    EXPECT_EQ(children().size(), 8u); // the header's lines and panel, list, footer
}

TEST_F(Layout, TextsBySharedId) {
    strip_define(STRIP_FOOTER, "T 7 40 /Teins/ S 7 0 /Tzwei/ S 8 40 /Tdrei/");
    char text[16] = "untouched";
    strip_get_text(STRIP_FOOTER, 7, text, sizeof text);
    EXPECT_STREQ(text, "zwei"); // the later of two items wins
    strip_set_text(STRIP_FOOTER, 7, "beide");
    int changed = 0;
    for (const child &c : children()) changed += text_of(c.window) == "beide";
    EXPECT_EQ(changed, 2);
    strcpy(text, "untouched");
    strip_get_text(STRIP_FOOTER, 9, text, sizeof text);
    EXPECT_STREQ(text, "untouched");
    strip_get_text(STRIP_FOOTER, 8, text, 3);
    EXPECT_STREQ(text, "dr");

    strip_set_text(STRIP_HEADER, 3000, "2026-03-02");
    strip_set_text(STRIP_HEADER, 3020, "P4711");
    EXPECT_EQ(header_text(3000), "2026-03-02");
    EXPECT_EQ(header_text(3020), "P4711");
    EXPECT_EQ(header_text(4242), "untouched");
    EXPECT_TRUE(posted().empty()); // filling the strip is no user change
}

TEST_F(Layout, TabAndShiftTabGoRoundTheEditFieldsAndTheList) {
    HWND order[] = {date(), time(), note(), list()};
    SetFocus(list());
    for (int round = 0; round < 2; round++) {
        for (HWND next : order) {
            EXPECT_EQ(SendMessageA(GetFocus(), WM_CHAR, '\t', 0), 1);
            EXPECT_EQ(GetFocus(), next);
        }
    }
    set_keys(true, false);
    for (int i = 2; i >= -1; i--) {
        SendMessageA(GetFocus(), WM_CHAR, '\t', 0);
        EXPECT_EQ(GetFocus(), i >= 0 ? order[i] : list()) << i;
    }
    set_keys(false, false);
    EXPECT_TRUE(posted().empty());

    // A header without edit fields keeps the focus in the list.
    strip_define(STRIP_HEADER, "D 2000 10 /AUS/ B 2100 10 /OK/");
    SetFocus(list());
    SendMessageA(list(), WM_CHAR, '\t', 0);
    EXPECT_EQ(GetFocus(), list());
}

TEST_F(Layout, EnterEscapeAndSpacePostTheirCommands) {
    list_add("P4711");
    SetFocus(time());
    EXPECT_EQ(SendMessageA(time(), WM_CHAR, '\r', 0), 1);
    EXPECT_EQ(GetFocus(), list());
    EXPECT_EQ(posted(), std::vector<int>({1}));
    SetFocus(note());
    SendMessageA(note(), WM_CHAR, 27, 0);
    EXPECT_EQ(GetFocus(), list());
    EXPECT_EQ(posted(), std::vector<int>({2}));
    SendMessageA(list(), WM_CHAR, '\r', 0);
    // The space bar's key-down selects nothing of its own, so nothing unpicked is chosen.
    SendMessageA(list(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(SendMessageA(list(), LB_GETCURSEL, 0, 0), LB_ERR);
    SendMessageA(list(), WM_CHAR, ' ', 0);
    EXPECT_EQ(posted(), std::vector<int>({1, 3101}));
    // Space in an edit field is the field's own.
    SetFocus(note());
    SendMessageA(note(), WM_CHAR, ' ', 0);
    EXPECT_EQ(posted(), std::vector<int>({3030}));
}

TEST_F(Layout, ListEventsAndButtonClicksBecomeCommands) {
    list_reset();
    EXPECT_EQ(list_add("P4711          Entwicklung"), 0);
    EXPECT_EQ(list_add("---"), 1);
    EXPECT_EQ(list_insert("P0815          Pflege", 0), 0);
    EXPECT_EQ(list_current(), LB_ERR);
    int row = (int)SendMessageA(list(), LB_GETITEMHEIGHT, 0, 0);
    SendMessageA(list(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, row + row / 2));
    SendMessageA(list(), WM_LBUTTONUP, 0, MAKELPARAM(5, row + row / 2));
    EXPECT_EQ(list_current(), 1);
    EXPECT_EQ(posted(), std::vector<int>({3100}));
    SendMessageA(list(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, row + row / 2));
    SendMessageA(list(), WM_LBUTTONUP, 0, MAKELPARAM(5, row + row / 2));
    std::vector<int> commands = posted();
    EXPECT_NE(std::find(commands.begin(), commands.end(), 3101), commands.end());

    char text[8];
    EXPECT_EQ(list_text(1, text, sizeof text), 7);
    EXPECT_STREQ(text, "P4711  ");
    char whole[40];
    EXPECT_EQ(list_text(2, whole, sizeof whole), 3);
    EXPECT_STREQ(whole, "---");
    EXPECT_EQ(list_text(7, whole, sizeof whole), LB_ERR);

    HWND ok = header_item(1);
    SendMessageA(ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageA(ok, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(posted(), std::vector<int>({2100}));
    list_reset();
    EXPECT_EQ(SendMessageA(list(), LB_GETCOUNT, 0, 0), 0);
}

TEST_F(Layout, ATypedChangePostsTheFieldOnceAndSetTextNever) {
    strip_set_text(STRIP_HEADER, 3000, "2026-03-02");
    SetFocus(date());
    posted();
    SendMessageA(date(), WM_CHAR, '1', 0);
    EXPECT_EQ(posted(), std::vector<int>({3000}));
    EXPECT_NE(header_text(3000), "2026-03-02");
    SendMessageA(date(), WM_CHAR, '9', 0);
    SendMessageA(date(), WM_CHAR, '9', 0);
    EXPECT_EQ(posted(), std::vector<int>({3000, 3000}));
    SendMessageA(date(), WM_KEYDOWN, VK_RIGHT, 0); // moves the caret only
    EXPECT_TRUE(posted().empty());

    strip_set_text(STRIP_HEADER, 3000, "2026-04-01"); // while the field has the focus
    strip_set_text(STRIP_HEADER, 3010, "08:15");
    EXPECT_TRUE(posted().empty());
    EXPECT_EQ(header_text(3000), "2026-04-01");

    SetFocus(time());
    SendMessageA(time(), WM_CHAR, '0', 0);
    SetFocus(note());
    SendMessageA(note(), WM_CHAR, 'a', 0);
    EXPECT_EQ(posted(), std::vector<int>({3010, 3030}));
}

TEST_F(Layout, FooterEditFieldsKeepTheirKeys) {
    strip_define(STRIP_FOOTER, "E 3300 20 /Text/");
    HWND field = nullptr;
    for (const child &c : children())
        if (c.class_name == CONTROL_CLASS_EDIT && c.place.top > 3) field = c.window;
    ASSERT_NE(field, nullptr);
    SetFocus(field);
    SendMessageA(field, WM_CHAR, '\t', 0);
    SendMessageA(field, WM_CHAR, '\r', 0);
    SendMessageA(field, WM_CHAR, 27, 0);
    EXPECT_EQ(GetFocus(), field);
    EXPECT_TRUE(posted().empty());
    SendMessageA(field, WM_CHAR, 'k', 0);
    EXPECT_EQ(posted(), std::vector<int>({3300}));
    char text[8] = "";
    strip_get_text(STRIP_FOOTER, 3300, text, sizeof text);
    EXPECT_STREQ(text, "k");
}

// What a display of this size shows after it was handed the program's bitmap of this name.
Image indicator_with(const char *name, int width, int height) {
    return render(width, height, [&](HDC dc) {
        HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), name);
        BITMAP info = {};
        GetObjectA(bitmap, sizeof info, &info);
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, bitmap);
        BitBlt(dc, (width - info.bmWidth) / 2, (height - info.bmHeight) / 2, info.bmWidth,
               info.bmHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
        DeleteObject(bitmap);
    });
}

TEST_F(Layout, IndicatorShowsTheBitmapOfItsRowHeight) {
    bool large = strip_unit(10) > 22;
    const char *size = large ? "BMPG_" : "BMPK_", *other = large ? "BMPK_" : "BMPG_";
    HWND indicator = header_item(0);
    int w = strip_unit(10), h = strip_unit(10);
    for (const char *state : {"AUS", "EIN", "ANDERS"}) {
        if (strcmp(state, "AUS") != 0) strip_set_text(STRIP_HEADER, 2000, state);
        Image shown = capture(indicator);
        EXPECT_EQ(difference(shown, indicator_with((std::string(size) + state).c_str(), w, h)), "")
            << state;
        EXPECT_FALSE(shown == indicator_with((std::string(other) + state).c_str(), w, h)) << state;
    }
}

// Moved to a screen of twice the DPI, the strips are laid out at twice the scale with the
// large bitmaps, what the fields hold stays, and back at 96 DPI everything is where it was.
TEST_F(Layout, AnotherDpiScalesTheStripsAndKeepsTheirContents) {
    int base = strip_unit(8), wide = 2 * WIDTH;
    SetWindowPos(main, nullptr, 0, 0, wide, HEIGHT, SWP_NOZORDER | SWP_NOMOVE);
    strip_set_text(STRIP_HEADER, 3020, "Notiz");
    layout_set_dpi(192);
    posted();
    EXPECT_EQ(strip_unit(8), 2 * base);
    expect_layout(children(), wide, HEIGHT);
    EXPECT_EQ(header_text(3020), "Notiz");
    EXPECT_EQ(difference(capture(header_item(0)),
                         indicator_with("BMPG_AUS", strip_unit(10), strip_unit(10))),
              "");
    layout_set_dpi(96);
    posted();
    EXPECT_EQ(strip_unit(8), base);
    expect_layout(children(), wide, HEIGHT);
}

TEST_F(Layout, MissingBitmapsHandNothingAndNothingBreaks) {
    Image before = capture(header_item(0));
    strip_set_text(STRIP_HEADER, 2000, "NICHTDA");
    strip_set_text(STRIP_HEADER, 2100, "NICHTDA");
    EXPECT_TRUE(capture(header_item(0)) == before);
    strip_define(STRIP_HEADER, "D 2000 0 /NICHTDA/ B 2100 0 /OK/");
    std::vector<child> items = header_items();
    ASSERT_EQ(items.size(), 2u);
    // Created exactly as wide as given, stretched by the width rule at the next layout.
    EXPECT_EQ(items[0].place.right, 0);
    layout_resize();
    items = header_items();
    EXPECT_EQ(items[0].place.right, WIDTH - 4 - 2);
    EXPECT_EQ(items[1].place.right, WIDTH - 6 - 2);
    EXPECT_TRUE(posted().empty());
}

TEST_F(Layout, ClosedOrMissingPartsIgnoreEveryOperation) {
    layout_close();
    layout_close();
    layout_resize();
    strip_define(STRIP_HEADER, BOOKING_STRIP);
    strip_set_text(STRIP_HEADER, 3000, "x");
    EXPECT_EQ(GetWindow(main, GW_CHILD), nullptr);
    EXPECT_EQ(list_add("x"), LB_ERR);
    EXPECT_EQ(list_current(), LB_ERR);

    layout_open(0, 1, 0, 0); // footer only, no list
    EXPECT_EQ(list(), nullptr);
    strip_define(STRIP_HEADER, BOOKING_STRIP);
    strip_define(STRIP_FOOTER, "E 3300 20 /Text/");
    std::vector<child> all = children();
    ASSERT_EQ(all.size(), 3u); // line, item, panel
    list_focus();
}

} // namespace
