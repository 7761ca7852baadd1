// The display control in its window: commands checked by the pixels of its picture, replies,
// notifications and posted mouse commands, handed bitmaps, and bitmap and metafile files
// including hostile ones.
#include "../unit/picture_bytes.h"
#include "controls/controls.h"
#include "win_support.h"

#include <gtest/gtest.h>

namespace {

enum { ID = 300 };
const COLORREF WHITE = RGB(255, 255, 255);

HWND display(int width, int height, int id = ID, DWORD style = 0) {
    return make_control("TORKDISP", "", style, width, height, id);
}

void run(HWND window, const char *command) {
    EXPECT_EQ(SendMessageA(window, WM_SETTEXT, 0, (LPARAM)command), 1) << command;
}

std::string reply(HWND window, const char *get) {
    run(window, get);
    return text_of(window);
}

Image painted(HWND window) {
    run(window, "PAINT");
    return capture(window);
}

std::vector<LPARAM> kinds_and_codes() {
    std::vector<LPARAM> result;
    for (const Notice &notice : notices()) result.push_back(notice.lparam);
    notices().clear();
    return result;
}

using DisplayControl = ControlTest;

TEST_F(DisplayControl, LinesRectanglesAndFills) {
    HWND window = display(120, 40);
    run(window, "line 0 0 -1 -1");
    Image expected = render(120, 40, [](HDC dc) {
        HGDIOBJ old = SelectObject(dc, CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
        MoveToEx(dc, 0, 0, nullptr);
        LineTo(dc, 119, 39);
        DeleteObject(SelectObject(dc, old));
    });
    EXPECT_EQ(difference(painted(window), expected), "");
    EXPECT_EQ(painted(window).at(119, 39), WHITE); // the end point is left out

    run(window, "CLEAR");
    run(window, "COLOR 255 0 256");
    run(window, "RECT 10 10 5 5");
    Image swapped = painted(window);
    run(window, "CLEAR");
    run(window, "RECT 5 5 10 10");
    EXPECT_EQ(difference(painted(window), swapped), "");
    EXPECT_EQ(swapped.at(5, 5), RGB(255, 0, 0));
    EXPECT_EQ(swapped.at(9, 9), RGB(255, 0, 0));
    EXPECT_EQ(swapped.at(7, 7), WHITE);
    run(window, "FILL -20 -10 -1 -1");
    Image filled = painted(window);
    EXPECT_EQ(filled.at(100, 30), RGB(255, 0, 0));
    EXPECT_EQ(filled.at(118, 38), RGB(255, 0, 0));
    EXPECT_EQ(filled.at(119, 39), WHITE);
}

TEST_F(DisplayControl, DrawingShowsOnlyAfterPaint) {
    HWND window = display(60, 30);
    Image blank = capture(window);
    run(window, "FILL 0 0 60 30");
    InvalidateRect(window, nullptr, FALSE); // a repaint the system asks for shows the picture
    EXPECT_EQ(capture(window).at(30, 15), RGB(0, 0, 0));
    run(window, "CLEAR");
    EXPECT_EQ(capture(window).at(30, 15), RGB(0, 0, 0)); // not yet painted
    EXPECT_EQ(difference(painted(window), blank), "");
    HWND face = display(60, 30, ID + 1, TS_FACE | 1);
    Image framed = capture(face);
    EXPECT_EQ(framed.at(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(framed.at(30, 15), RGB(192, 192, 192));
}

TEST_F(DisplayControl, TextsKeepTheirBlanksAndAlign) {
    HWND window = display(200, 60);
    run(window, "FONT 1");
    run(window, "FONT 7"); // keeps the fixed font
    run(window, "COLOR 0 0 255");
    run(window, "TEXT 5 20 Hello  World");
    run(window, "CTEXT 100 40 Mitte");
    run(window, "RTEXT -1 -2 rechts");
    Image expected = render(200, 60, [](HDC dc) {
        SelectObject(dc, GetStockObject(SYSTEM_FIXED_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 255));
        SetTextAlign(dc, TA_BASELINE | TA_LEFT);
        TextOutA(dc, 5, 20, "Hello  World", 12);
        SetTextAlign(dc, TA_BASELINE | TA_CENTER);
        TextOutA(dc, 100, 40, "Mitte", 5);
        SetTextAlign(dc, TA_BASELINE | TA_RIGHT);
        TextOutA(dc, 199, 58, "rechts", 6);
    });
    EXPECT_EQ(difference(painted(window), expected), "");
}

TEST_F(DisplayControl, RepliesOfGet) {
    HWND window = display(120, 40);
    EXPECT_EQ(text_of(window), ""); // before any GET
    EXPECT_EQ(GetWindowTextLengthA(window), 0);
    EXPECT_EQ(reply(window, "GET SIZE"), "120 40");
    run(window, "LINE 0 0 5 5");
    EXPECT_EQ(text_of(window), "120 40"); // kept until the next GET
    EXPECT_EQ(reply(window, "get nothing"), "120 40");
    SendMessageA(window, WM_RBUTTONDOWN, 0, MAKELPARAM(17, 23));
    EXPECT_EQ(reply(window, "GET click"), "17 23");
    SendMessageA(window, WM_LBUTTONDOWN, 0, MAKELPARAM(-3 & 0xFFFF, 9));
    EXPECT_EQ(reply(window, "GET CLICK"), "-3 9");
    EXPECT_EQ(reply(window, "GET BBX"), "0 0 0 0");
    char small[4] = "GGG";
    EXPECT_EQ(SendMessageA(window, WM_GETTEXT, 3, (LPARAM)small), 1);
    EXPECT_STREQ(small, "0"); // "0 " without its trailing blank
    EXPECT_EQ(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0), 7);
    SetWindowPos(window, nullptr, 0, 0, 150, 50, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(reply(window, "GET SIZE"), "150 50");
}

TEST_F(DisplayControl, BoxTextWrapsAndTheNextBoxFollows) {
    HWND window = display(220, 120);
    const char *long_text = "some long text that does not fit on one line of the box";
    for (const char *command : {"BBX LOX = 10", "BBX RUX = 200", "BBX LOY = 5", "BBX RUY = 100"})
        run(window, command);
    std::string message = std::string("BBXTEXT ") + long_text;
    run(window, message.c_str());
    int height = 0;
    Image expected = render(220, 120, [&](HDC dc) {
        SelectObject(dc, GetStockObject(SYSTEM_FONT));
        SetBkMode(dc, TRANSPARENT);
        RECT box = {10, 5, 200, 100};
        height = DrawTextA(dc, long_text, -1, &box, DT_WORDBREAK | DT_NOPREFIX);
    });
    EXPECT_EQ(difference(painted(window), expected), "");
    run(window, "BBX LOY . 2");
    EXPECT_EQ(reply(window, "GET BBX"), "10 " + std::to_string(5 + height + 2) + " 200 100");
    EXPECT_GT(height, 16); // more than one line
}

TEST_F(DisplayControl, BitmapFilesUnscaledAndFitted) {
    std::string file = temp_file("square.bmp", bitmap_file(50, 50, 24, RGB(0, 160, 0)));
    HWND window = display(200, 100);
    run(window, ("BMPS 0 0 200 100 " + file).c_str());
    Image fitted = painted(window);
    EXPECT_EQ(fitted.at(49, 50), WHITE);
    EXPECT_EQ(fitted.at(50, 50), RGB(0, 160, 0));
    EXPECT_EQ(fitted.at(149, 0), RGB(0, 160, 0));
    EXPECT_EQ(fitted.at(149, 99), RGB(0, 160, 0));
    EXPECT_EQ(fitted.at(150, 50), WHITE);

    std::string palette = temp_file("with blanks.bmp", bitmap_file(4, -3, 8, RGB(200, 0, 0)));
    run(window, "CLEAR");
    run(window, ("BMP -10 -5   " + palette + "  ").c_str()); // a name with an inner blank
    Image unscaled = painted(window);
    EXPECT_EQ(unscaled.at(190, 95), RGB(200, 0, 0));
    EXPECT_EQ(unscaled.at(193, 97), RGB(200, 0, 0));
    EXPECT_EQ(unscaled.at(194, 97), WHITE);
    EXPECT_EQ(unscaled.at(190, 98), WHITE);
}

TEST_F(DisplayControl, MetafilesArePlayedIntoTheRectangle) {
    std::string placeable = temp_file("box.wmf", filled_metafile(RGB(0, 0, 200), true));
    std::string plain = temp_file("plain.wmf", filled_metafile(RGB(0, 200, 0), false));
    HWND window = display(200, 100);
    run(window, ("WMF 0 0 200 100 " + placeable).c_str()); // square: x 50 to 150
    Image image = painted(window);
    EXPECT_EQ(image.at(45, 50), WHITE);
    EXPECT_EQ(image.at(55, 50), RGB(0, 0, 200));
    EXPECT_EQ(image.at(145, 50), RGB(0, 0, 200));
    EXPECT_EQ(image.at(155, 50), WHITE);
    run(window, "CLEAR");
    run(window, ("WMF 10 10 -10 -10 " + plain).c_str()); // no box: ratio 1
    image = painted(window);
    EXPECT_EQ(image.at(100, 50), RGB(0, 200, 0));
    EXPECT_EQ(image.at(55, 50), WHITE);
}

TEST_F(DisplayControl, HostileFilesDrawNothing) {
    std::string good = bitmap_file(8, 8, 24, RGB(1, 2, 3));
    std::vector<std::string> hostile;
    hostile.push_back(good.substr(0, 40));
    std::string bytes = good;
    set32(bytes, 10, 0x7FFFFFF0);
    hostile.push_back(bytes);
    bytes = good;
    set32(bytes, 18, 30000);
    set32(bytes, 22, 30000);
    hostile.push_back(bytes);
    bytes = good;
    set32(bytes, 14, 0xFFFFFFFF);
    hostile.push_back(bytes);
    std::string meta = filled_metafile(RGB(9, 9, 9), false);
    bytes = meta;
    set32(bytes, 6, 0x10000000);
    hostile.push_back(bytes);
    Metafile polygon;
    polygon.record(0x0324, {30000, 0, 0});
    hostile.push_back(polygon.file());
    hostile.push_back(std::string("\xd7\xcd\xc6\x9a", 4));
    hostile.push_back("");

    HWND window = display(100, 60);
    Image blank = capture(window);
    int n = 0;
    for (const std::string &content : hostile) {
        std::string file = temp_file(("hostile" + std::to_string(n++)).c_str(), content);
        for (const char *command : {"BMP 0 0 ", "BMPS 0 0 100 60 ", "WMF 0 0 100 60 "})
            run(window, (command + file).c_str());
    }
    run(window, "BMP 0 0 Z:\\no\\such\\file.bmp");
    run(window, "WMF 0 0 10 10");
    EXPECT_EQ(difference(painted(window), blank), "");
}

TEST_F(DisplayControl, HandedBitmapIsCentredAndMayBeDeleted) {
    HWND window = display(100, 60);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 20, 10);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, 20, 10};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &all, red);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    COPYDATASTRUCT data = {CD_BITMAP, sizeof bitmap, &bitmap};
    EXPECT_EQ(SendMessageA(window, WM_COPYDATA, 0, (LPARAM)&data), 1);
    DeleteObject(bitmap);
    DeleteObject(red);
    InvalidateRect(window, nullptr, FALSE);
    Image image = capture(window);
    EXPECT_EQ(image.at(40, 25), RGB(255, 0, 0));
    EXPECT_EQ(image.at(59, 34), RGB(255, 0, 0));
    EXPECT_EQ(image.at(39, 25), WHITE);
    EXPECT_EQ(image.at(60, 34), WHITE);
    COPYDATASTRUCT other = {2, sizeof bitmap, &bitmap};
    EXPECT_EQ(SendMessageA(window, WM_COPYDATA, 0, (LPARAM)&other), 1);
    HBITMAP gone = bitmap; // deleted: no longer a bitmap, nothing happens
    COPYDATASTRUCT stale = {CD_BITMAP, sizeof gone, &gone};
    EXPECT_EQ(SendMessageA(window, WM_COPYDATA, 0, (LPARAM)&stale), 1);
}

TEST_F(DisplayControl, NotificationsWithCtrlAndShift) {
    HWND window = display(100, 60);
    LPARAM at = MAKELPARAM(12, 34);
    SendMessageA(window, WM_LBUTTONDOWN, 0, at);
    EXPECT_EQ(kinds_and_codes(), std::vector<LPARAM>{MAKELPARAM(3, '1')}); // posted not yet there
    pump();
    ASSERT_EQ(notices().size(), 1u);
    EXPECT_EQ(notices()[0].wparam, 2062u);
    EXPECT_EQ(notices()[0].lparam, at);
    notices().clear();

    set_keys(true, false);
    SendMessageA(window, WM_LBUTTONDOWN, 0, at);
    set_keys(false, true);
    SendMessageA(window, WM_LBUTTONDOWN, 0, at);
    set_keys(true, true);
    SendMessageA(window, WM_LBUTTONDOWN, 0, at);
    set_keys(false, false);
    SendMessageA(window, WM_LBUTTONDBLCLK, 0, at);
    SendMessageA(window, WM_RBUTTONDOWN, 0, at);
    pump(); // no mouse-down command was posted for these
    for (const Notice &notice : notices()) EXPECT_EQ(notice.wparam, (WPARAM)ID);
    EXPECT_EQ(kinds_and_codes(),
              (std::vector<LPARAM>{MAKELPARAM(4, '1'), MAKELPARAM(5, '1'), MAKELPARAM(5, '1'),
                                   MAKELPARAM(6, '1'), MAKELPARAM(3, '2')}));

    read_text_on(0, "GET CLICK"); // the parent's handler already sees the new position
    SendMessageA(window, WM_RBUTTONDOWN, 0, MAKELPARAM(77, 8));
    ASSERT_EQ(notices().size(), 1u);
    EXPECT_EQ(notices()[0].text, "77 8");
    read_text_on(-1);
    notices().clear();

    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(1, 2));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(3, 4));
    EXPECT_TRUE(notices().empty());
    pump();
    ASSERT_EQ(notices().size(), 2u);
    EXPECT_EQ(notices()[0].wparam, 2063u);
    EXPECT_EQ(notices()[0].lparam, MAKELPARAM(1, 2));
    EXPECT_EQ(notices()[1].wparam, 2064u);
    EXPECT_EQ(notices()[1].lparam, MAKELPARAM(3, 4));
}

TEST_F(DisplayControl, WithoutIdentifierOnlyFocusAndMouseCommands) {
    HWND window = display(100, 60, 0);
    SendMessageA(window, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 6));
    press_key(window, VK_RETURN);
    EXPECT_TRUE(notices().empty());
    pump();
    ASSERT_EQ(notices().size(), 1u);
    EXPECT_EQ(notices()[0].wparam, 2062u);
    notices().clear();
    SetFocus(window);
    SetFocus(test_parent());
    EXPECT_EQ(kinds_and_codes(), (std::vector<LPARAM>{MAKELPARAM(0, 0x100), MAKELPARAM(0, 0x200)}));
}

TEST_F(DisplayControl, KeysReportTheirLetters) {
    HWND window = display(100, 60);
    struct key_case {
        int key;
        bool shift, ctrl;
        LPARAM sent;
    } cases[] = {
        {VK_RETURN, false, false, MAKELPARAM(1, 'C')},
        {VK_SPACE, true, false, MAKELPARAM(2, 'S')},
        {VK_PRIOR, false, false, MAKELPARAM(1, 'P')},
        {VK_NEXT, false, false, MAKELPARAM(1, 'N')},
        {VK_INSERT, false, true, MAKELPARAM(1, 'c')},
        {VK_INSERT, true, true, MAKELPARAM(2, 'v')},
        {VK_DELETE, true, false, MAKELPARAM(2, 'x')},
        {'V', false, true, MAKELPARAM(1, 'v')},
        {VK_F1, false, false, 0},
        {'C', false, false, 0},
    };
    for (const key_case &c : cases) {
        set_keys(c.shift, c.ctrl);
        EXPECT_EQ(press_key(window, c.key), 1);
        std::vector<LPARAM> expected;
        if (c.sent) expected.push_back(c.sent);
        EXPECT_EQ(kinds_and_codes(), expected) << c.key;
    }
    set_keys(false, false);
    EXPECT_EQ(SendMessageA(window, WM_GETDLGCODE, 0, 0), 0x81);
}

TEST_F(DisplayControl, FocusRectangleShowsWhileFocused) {
    HWND window = display(100, 60);
    run(window, "FOCUS 0 0 50 20");
    Image blank = capture(window);
    SetFocus(window);
    Image focused = capture(window);
    RECT edge = {0, 0, 50, 1};
    EXPECT_GT(pixels_other_than(focused, edge, WHITE), 0);
    RECT outside = {51, 21, 100, 60};
    EXPECT_EQ(pixels_other_than(focused, outside, WHITE), 0);
    SetFocus(test_parent());
    EXPECT_EQ(difference(capture(window), blank), "");
}

TEST_F(DisplayControl, GrownWindowShowsBackgroundUntilClear) {
    HWND window = display(60, 30);
    SetWindowPos(window, nullptr, 0, 0, 100, 50, SWP_NOMOVE | SWP_NOZORDER);
    run(window, "FILL 0 0 100 50");
    Image grown = painted(window);
    EXPECT_EQ(grown.at(59, 29), RGB(0, 0, 0));
    EXPECT_EQ(grown.at(60, 10), WHITE); // beyond the old picture
    EXPECT_EQ(grown.at(10, 30), WHITE);
    run(window, "CLEAR");
    run(window, "FILL 0 0 -1 -1");
    EXPECT_EQ(painted(window).at(98, 48), RGB(0, 0, 0));
}

// Wider than any bitmap the system makes: the control lives on without a picture.
TEST_F(DisplayControl, WithoutAPictureItStaysUsable) {
    HWND window = display(0x8000000, 30);
    ASSERT_NE(window, nullptr);
    run(window, "FILL 0 0 50 20");
    run(window, "BBXTEXT no box to draw into");
    run(window, "CLEAR");
    COPYDATASTRUCT data = {CD_BITMAP, 0, nullptr};
    EXPECT_EQ(SendMessageA(window, WM_COPYDATA, 0, (LPARAM)&data), 1);
    RECT corner = {0, 0, 50, 20};
    EXPECT_EQ(pixels_other_than(painted(window), corner, WHITE), 0);
    EXPECT_EQ(reply(window, "GET BBX"), "0 0 0 0");
    SendMessageA(window, WM_LBUTTONDOWN, 0, MAKELPARAM(1, 2));
    EXPECT_EQ(kinds_and_codes(), std::vector<LPARAM>{MAKELPARAM(3, '1')});
}

TEST_F(DisplayControl, InertWithoutItsRecord) {
    HWND window = display(60, 30);
    LONG_PTR record = GetWindowLongPtrA(window, 0);
    SetWindowLongPtrA(window, 0, 0);
    run(window, "GET SIZE");
    EXPECT_EQ(text_of(window), "");
    run(window, "FILL 0 0 60 30");
    SendMessageA(window, WM_LBUTTONDOWN, 0, 0);
    SendMessageA(window, WM_KEYDOWN, VK_RETURN, 0);
    COPYDATASTRUCT data = {CD_BITMAP, 0, nullptr};
    EXPECT_EQ(SendMessageA(window, WM_COPYDATA, 0, (LPARAM)&data), 1);
    RECT all = {0, 0, 60, 30};
    InvalidateRect(window, nullptr, FALSE);
    EXPECT_EQ(pixels_other_than(capture(window), all, WHITE), 0);
    SetWindowLongPtrA(window, 0, record);
    EXPECT_EQ(reply(window, "GET SIZE"), "60 30");
}

} // namespace
