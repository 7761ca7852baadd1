// The masked edit control in its window, with German separators: creation, typing, focus and
// number forms, notifications, deferred values, the clipboard, painting and the mouse.
#include "controls/controls.h"
#include "win_support.h"

#include <gtest/gtest.h>

namespace {

enum { ID = 100, HEIGHT = 24 };

struct Metrics {
    int width, height;
};

Metrics fixed_font() {
    SIZE size = font_size(SYSTEM_FIXED_FONT);
    return {size.cx, size.cy};
}

// A field of the given number of cells.
HWND field(const char *creation, int cells = 10, DWORD style = 0) {
    return make_control("TORKEDIT", creation, style, 8 + cells * fixed_font().width, HEIGHT, ID);
}

int text_top() {
    return (HEIGHT - fixed_font().height) / 2;
}

// What a field of that many cells shows: text at the margin, optionally cells lo to hi inverted.
Image expected_field(int cells, const char *text, int lo = 0, int hi = 0) {
    Metrics font = fixed_font();
    return render(8 + cells * font.width, HEIGHT, [&](HDC dc) {
        HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FIXED_FONT));
        SetBkMode(dc, TRANSPARENT);
        TextOutA(dc, 4, text_top(), text, (int)strlen(text));
        SelectObject(dc, old);
        if (hi <= lo) return;
        SetROP2(dc, R2_NOT);
        SelectObject(dc, GetStockObject(BLACK_BRUSH));
        SelectObject(dc, GetStockObject(BLACK_PEN));
        Rectangle(dc, 4 + lo * font.width, text_top(), 4 + hi * font.width, HEIGHT - text_top());
    });
}

#define EXPECT_SHOWS(window, image) EXPECT_EQ(difference(capture(window), image), "")

int caret_cell() {
    POINT caret;
    GetCaretPos(&caret);
    return (caret.x - 4) / fixed_font().width;
}

std::vector<int> codes() {
    std::vector<int> result;
    for (const Notice &notice : notices()) {
        EXPECT_EQ(LOWORD(notice.wparam), ID);
        EXPECT_EQ(notice.lparam, 0);
        result.push_back(HIWORD(notice.wparam));
    }
    notices().clear();
    return result;
}

using EditControl = ControlTest;

TEST(GermanLocale, SeparatorsAreGerman) {
    char decimal[10], thousands[10];
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, sizeof decimal);
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, thousands, sizeof thousands);
    ASSERT_STREQ(decimal, ",") << "run with LC_ALL=de_DE.UTF-8";
    ASSERT_STREQ(thousands, ".");
}

TEST_F(EditControl, CreationTextsShowTheirEmptyValues) {
    const char *cases[][2] = {
        {"F##-##", "00-00"},
        {"F####-##-##", "0000-00-00"},
        {"D", "00.00.0000"},
        {"H", "00:00"},
        {"F=##:##", "00:00"},
        {"2", "0,00"},
        {"", ""},
        {"T=Text", "Text"},
    };
    for (auto &c : cases) {
        HWND window = field(c[0], 12);
        EXPECT_SHOWS(window, expected_field(12, c[1])) << c[0];
        DestroyWindow(window);
    }
    EXPECT_EQ(text_of(field("D")), "00.00.0000");
    EXPECT_EQ(text_of(field("")), "");
}

TEST_F(EditControl, TypingIntoMasks) {
    HWND window = field("F##-##", 5);
    SetFocus(window);
    type_chars(window, "1234");
    EXPECT_EQ(text_of(window), "12-34");
    EXPECT_EQ(caret_cell(), 5);
    press_key(window, VK_HOME);
    type_chars(window, "a"); // refused by the digit cell, the caret still moves
    EXPECT_EQ(text_of(window), "12-34");
    EXPECT_EQ(caret_cell(), 1);
    type_chars(window, "9");
    EXPECT_EQ(caret_cell(), 3); // over the literal
    notices().clear();
    EXPECT_EQ(press_key(window, VK_BACK), 1);
    EXPECT_EQ(caret_cell(), 2);
    EXPECT_EQ(press_key(window, VK_DELETE), 1);
    EXPECT_EQ(text_of(window), "19-34");
    EXPECT_EQ(codes(), std::vector<int>{EN_UPDATE}); // Backspace only: Delete is no edit here
    EXPECT_EQ(press_key(window, VK_F5), 0);
}

TEST_F(EditControl, TypingInInsertMode) {
    HWND window = field("T", 6);
    SetFocus(window);
    type_chars(window, "abcdefgh");
    EXPECT_EQ(text_of(window), "abcdef");
    press_key(window, VK_LEFT);
    press_key(window, VK_LEFT);
    press_key(window, VK_BACK);
    EXPECT_EQ(text_of(window), "abcef");
    press_key(window, VK_DELETE);
    EXPECT_EQ(text_of(window), "abcf");
    set_keys(true, false);
    press_key(window, VK_HOME); // selects back to the start
    set_keys(false, false);
    type_chars(window, "Z");
    EXPECT_EQ(text_of(window), "Zf");
}

TEST_F(EditControl, NumbersThroughFocusEntryAndExit) {
    HWND window = field("2", 10);
    set_text(window, "1234.5");
    EXPECT_SHOWS(window, expected_field(10, "  1.234,50"));
    EXPECT_EQ(text_of(window), "   1234.50");
    SetFocus(window);
    EXPECT_SHOWS(window, expected_field(10, "1234,50", 0, 7)); // whole value selected
    EXPECT_EQ(text_of(window), "   1234.50");
    EXPECT_EQ(caret_cell(), 7);
    SetFocus(test_parent());
    EXPECT_SHOWS(window, expected_field(10, "  1.234,50"));
    EXPECT_EQ(text_of(window), "   1234.50");
}

TEST_F(EditControl, TypesNineAutomaticAndDigits) {
    HWND nine = field("9", 10);
    set_text(nine, "12.500");
    EXPECT_SHOWS(nine, expected_field(10, "      12,5"));
    set_text(nine, "3.000");
    EXPECT_EQ(text_of(nine), "         3");
    HWND automatic = field("N", 10);
    set_text(automatic, "12.345");
    EXPECT_SHOWS(automatic, expected_field(10, "    12,345"));
    set_text(automatic, "7");
    EXPECT_EQ(text_of(automatic), "         7");
    HWND digits = field("Z", 10);
    SetFocus(digits);
    type_chars(digits, "-1.a2");
    EXPECT_EQ(text_of(digits), "12");
    HWND whole = field("0", 10);
    SetFocus(whole);
    type_chars(whole, "-5.3");
    SetFocus(test_parent());
    EXPECT_EQ(text_of(whole), "       -53");
}

TEST_F(EditControl, NotificationsComeInOrder) {
    HWND window = field("T", 10);
    SetFocus(window);
    EXPECT_EQ(codes(), std::vector<int>{EN_SETFOCUS});
    type_chars(window, "x");
    EXPECT_EQ(codes(), std::vector<int>{EN_UPDATE});
    UpdateWindow(window);
    EXPECT_EQ(codes(), std::vector<int>{EN_CHANGE});
    UpdateWindow(window);
    type_chars(window, "\x01"); // not printable: nothing
    set_text(window, "value");  // values never notify
    EXPECT_EQ(codes(), std::vector<int>{});
    type_chars(window, "y");
    SetFocus(test_parent()); // the edit is not painted before the focus goes
    UpdateWindow(window);
    EXPECT_EQ(codes(), (std::vector<int>{EN_UPDATE, EN_KILLFOCUS}));

    DestroyWindow(window);
    HWND full = field("T", 2);
    SetFocus(full);
    codes();
    type_chars(full, "abc"); // the third does not fit, yet counts
    EXPECT_EQ(codes(), (std::vector<int>{EN_UPDATE, EN_UPDATE, EN_UPDATE}));
}

TEST_F(EditControl, DeferredValueWaitsUntilTheFocusGoes) {
    HWND window = field("T", 10, TS_DEFER);
    SetFocus(window);
    type_chars(window, "mine");
    set_text(window, "theirs");
    EXPECT_EQ(text_of(window), "mine");
    read_text_on(EN_KILLFOCUS);
    SetFocus(test_parent());
    ASSERT_FALSE(notices().empty());
    EXPECT_EQ(notices().back().text, "mine"); // the parent's handler still sees the user's value
    EXPECT_EQ(text_of(window), "theirs");
    EXPECT_SHOWS(window, expected_field(10, "theirs"));
}

TEST_F(EditControl, ClipboardRoundTrips) {
    HWND window = field("T", 10);
    set_text(window, "Hallo");
    SetFocus(window); // selects the whole value
    set_keys(false, true);
    press_key(window, 'C');
    EXPECT_EQ(clipboard_text(), "Hallo");
    ASSERT_TRUE(put_clipboard("Welt"));
    press_key(window, 'V'); // replaces the selection
    EXPECT_EQ(text_of(window), "Welt");
    ASSERT_TRUE(put_clipboard("other"));
    set_keys(true, false);
    press_key(window, VK_END);
    press_key(window, VK_DELETE); // Shift+Delete cuts
    EXPECT_EQ(clipboard_text(), "Welt");
    EXPECT_EQ(text_of(window), "");
    press_key(window, VK_INSERT); // Shift+Insert pastes
    EXPECT_EQ(text_of(window), "Welt");

    HWND mask = field("F##-##", 5);
    ASSERT_TRUE(put_clipboard("9\r\n"));
    SetFocus(mask);
    set_keys(false, true);
    press_key(mask, 'v');
    EXPECT_EQ(text_of(mask), "900-0"); // pushes the literal right
    set_keys(false, false);
}

TEST_F(EditControl, PaintsFramesBackgroundsAndSelection) {
    const int W = 8 + 10 * fixed_font().width, H = HEIGHT;
    HWND window = field("T", 10);
    struct frame_case {
        const char *escape;
        int x, y;
        COLORREF colour;
    } cases[] = {
        {"\x1bS1", 0, 0, RGB(0, 0, 0)},
        {"\x1bS1", W - 1, H - 1, RGB(0, 0, 0)},
        {"\x1bS2", 0, 0, RGB(255, 255, 255)},
        {"\x1bS2", W - 1, H - 1, RGB(0, 0, 0)},
        {"\x1bS2", 1, 1, RGB(255, 255, 255)},
        {"\x1bS3", 0, 0, RGB(128, 128, 128)},
        {"\x1bS3", 1, 1, RGB(0, 0, 0)},
        {"\x1bS3", W - 2, H - 2, RGB(192, 192, 192)},
        {"\x1bS3", W - 1, H - 1, RGB(255, 255, 255)},
        {"\x1bS0", 0, 0, RGB(255, 255, 255)},
        {"\x1bS8", 0, 0, GetSysColor(COLOR_BTNFACE)},
        {"\x1bS9", 0, 0, RGB(0, 0, 0)},
    };
    for (const frame_case &c : cases) {
        set_text(window, c.escape);
        EXPECT_EQ(capture(window).at(c.x, c.y), c.colour) << c.escape + 1 << " " << c.x;
    }
    set_text(window, "\x1bS0");
    set_text(window, "\x1bH255 0 0");
    EXPECT_EQ(capture(window).at(1, 1), RGB(255, 0, 0));
    set_text(window, "\x1bH0 0 0"); // black cannot be set: the default comes back
    EXPECT_EQ(capture(window).at(1, 1), RGB(255, 255, 255));
    set_text(window, "\x1bS3");
    EnableWindow(window, FALSE); // the window style again, with WS_DISABLED
    Image disabled = capture(window);
    EXPECT_EQ(disabled.at(0, 0), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(disabled.at(1, 1), GetSysColor(COLOR_BTNFACE));
    EnableWindow(window, TRUE);
    EXPECT_EQ(capture(window).at(0, 0), RGB(255, 255, 255));

    set_text(window, "abc");
    SetFocus(window);
    EXPECT_SHOWS(window, expected_field(10, "abc", 0, 3));
    set_text(window, "\x1bV0 0 255");
    Image blue = capture(window);
    SetFocus(test_parent());
    Image unfocused = capture(window);
    int blue_pixels = 0;
    for (COLORREF pixel : unfocused.pixels) blue_pixels += pixel == RGB(0, 0, 255);
    EXPECT_GT(blue_pixels, 0);
    EXPECT_FALSE(blue == unfocused);
}

TEST_F(EditControl, BlankZeroHidesZerosWhileUnfocused) {
    HWND window = field("2", 10, TS_BLANKZERO);
    set_text(window, "0");
    RECT all = {0, 0, 8 + 10 * fixed_font().width, HEIGHT};
    EXPECT_EQ(pixels_other_than(capture(window), all, RGB(255, 255, 255)), 0);
    SetFocus(window);
    EXPECT_GT(pixels_other_than(capture(window), all, RGB(255, 255, 255)), 0);
    SetFocus(test_parent());
    set_text(window, "0.5");
    EXPECT_SHOWS(window, expected_field(10, "      0,50"));
}

TEST_F(EditControl, MousePlacesCaretAndSelects) {
    HWND window = field("T", 10);
    set_text(window, "abcdef");
    int cw = fixed_font().width;
    SendMessageA(window, WM_LBUTTONDOWN, 0, MAKELPARAM(4 + 2 * cw + 1, 5));
    EXPECT_EQ(GetFocus(), window);
    EXPECT_EQ(GetCapture(), window);
    EXPECT_EQ(caret_cell(), 2);
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(4 + 4 * cw, 5));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(4 + 4 * cw, 5));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_SHOWS(window, expected_field(10, "abcdef", 2, 4));
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(4, 5)); // not dragging: nothing
    EXPECT_EQ(caret_cell(), 4);
    SendMessageA(window, WM_LBUTTONDBLCLK, 0, MAKELPARAM(4, 5));
    EXPECT_SHOWS(window, expected_field(10, "abcdef", 0, 6));
    set_keys(true, false);
    SendMessageA(window, WM_LBUTTONDOWN, 0, MAKELPARAM(4 + 3 * cw, 5)); // Shift: extends
    SendMessageA(window, WM_LBUTTONUP, 0, 0);
    set_keys(false, false);
    EXPECT_SHOWS(window, expected_field(10, "abcdef", 0, 3)); // from the anchor of the double click
}

TEST_F(EditControl, MessagesAnswerAsTheSystemEditDoes) {
    HWND window = field("T", 10);
    set_text(window, "abcdefghij");
    // The answer is the number of characters copied: another process gets exactly those back.
    char buffer[16] = "GGGGGGG";
    EXPECT_EQ(SendMessageA(window, WM_GETTEXT, 5, (LPARAM)buffer), 4);
    EXPECT_STREQ(buffer, "abcd");
    EXPECT_EQ(SendMessageA(window, WM_GETTEXT, 0, (LPARAM)buffer), 0);
    EXPECT_STREQ(buffer, "abcd");
    EXPECT_EQ(SendMessageA(window, WM_GETTEXT, sizeof buffer, (LPARAM)buffer), 10);
    EXPECT_EQ(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0), 10);
    EXPECT_EQ(GetWindowTextLengthA(window), 10);
    EXPECT_EQ(GetWindowTextA(window, buffer, sizeof buffer), 10);
    EXPECT_STREQ(buffer, "abcdefghij");
    EXPECT_EQ(SendMessageA(window, WM_GETDLGCODE, 0, 0), 0x81);
    EXPECT_EQ(SendMessageA(window, WM_SETTEXT, 0, (LPARAM) "x"), 1);
    EXPECT_EQ(SendMessageA(window, WM_SETTEXT, 0, 0), 1);
    EXPECT_EQ(text_of(window), "");
}

// A record that could not be allocated leaves the control inert: it answers without memory.
TEST_F(EditControl, InertWithoutItsRecord) {
    HWND window = field("2", 10);
    LONG_PTR record = GetWindowLongPtrA(window, 0);
    ASSERT_NE(record, 0);
    SetWindowLongPtrA(window, 0, 0);
    set_text(window, "12");
    EXPECT_EQ(text_of(window), "");
    char buffer[4] = "GG";
    EXPECT_EQ(SendMessageA(window, WM_GETTEXT, sizeof buffer, (LPARAM)buffer), 0);
    EXPECT_EQ(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0), 0);
    SetFocus(window);
    type_chars(window, "1");
    press_key(window, VK_BACK);
    SendMessageA(window, WM_LBUTTONDOWN, 0, 0);
    SendMessageA(window, WM_SIZE, 0, MAKELPARAM(10, 10));
    InvalidateRect(window, nullptr, TRUE);
    RECT all = {0, 0, 8 + 10 * fixed_font().width, HEIGHT};
    EXPECT_EQ(pixels_other_than(capture(window), all, RGB(255, 255, 255)), 0);
    SetFocus(test_parent());
    SetWindowLongPtrA(window, 0, record);
    EXPECT_EQ(text_of(window), "      0.00");
}

TEST_F(EditControl, LibraryRegistersAndRemovesItsClass) {
    HMODULE library = GetModuleHandleA("torkedit.dll");
    WNDCLASSEXA window_class = {};
    window_class.cbSize = sizeof window_class;
    ASSERT_TRUE(GetClassInfoExA(library, "TORKEDIT", &window_class));
    EXPECT_EQ(window_class.style, 0x400Bu);
    EXPECT_EQ(window_class.cbClsExtra, 0);
    EXPECT_EQ(window_class.cbWndExtra, (int)sizeof(LONG_PTR));
    EXPECT_EQ(window_class.hbrBackground, (HBRUSH)(COLOR_WINDOW + 1));
    EXPECT_EQ(window_class.hCursor, LoadCursorA(nullptr, (LPCSTR)IDC_ARROW));
    EXPECT_EQ(window_class.hIcon, nullptr);
    ASSERT_TRUE(FreeLibrary(library));
    EXPECT_FALSE(GetClassInfoExA(library, "TORKEDIT", &window_class));
    EXPECT_EQ(make_control("TORKEDIT", "", 0, 50, 20), nullptr);
    ASSERT_NE(LoadLibraryA("torkedit.dll"), nullptr);
    EXPECT_NE(make_control("TORKEDIT", "", 0, 50, 20), nullptr);
}

} // namespace
