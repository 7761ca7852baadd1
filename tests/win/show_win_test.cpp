// The show control in its window, with German separators: values, alignment with a
// proportional font, raw and wrapped text, clicks and its unchanging look when disabled.
#include "controls/controls.h"
#include "win_support.h"

#include <gtest/gtest.h>

namespace {

enum { ID = 200 };

// A reference: the text drawn at x on the line the control uses.
Image line_at(int width, int height, int stock_font, int x, const char *text) {
    return render(width, height, [&](HDC dc) {
        SelectObject(dc, GetStockObject(stock_font));
        SetBkMode(dc, TRANSPARENT);
        TextOutA(dc, x, (height - font_size(stock_font).cy) / 2, text, (int)strlen(text));
    });
}

int text_width(int stock_font, const char *text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(stock_font));
    SIZE size;
    GetTextExtentPoint32A(dc, text, (int)strlen(text), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

using ShowControl = ControlTest;

TEST_F(ShowControl, ValuesInAndOut) {
    EXPECT_EQ(text_of(make_control("TORKSHOW", "", 0, 100, 20, ID)), "");
    EXPECT_EQ(text_of(make_control("TORKSHOW", " ", 0, 100, 20, ID)), "");
    int width = 8 + 12 * font_size(SYSTEM_FIXED_FONT).cx;
    HWND number = make_control("TORKSHOW", "2", 0, width, 20, ID);
    set_text(number, "1234.5");
    EXPECT_EQ(difference(capture(number), line_at(width, 20, SYSTEM_FIXED_FONT, 4, "    1.234,50")),
              "");
    EXPECT_EQ(text_of(number), "     1234.50");
    char buffer[4];
    EXPECT_EQ(SendMessageA(number, WM_GETTEXT, sizeof buffer, (LPARAM)buffer), 3);
    EXPECT_STREQ(buffer, "   ");
    EXPECT_EQ(SendMessageA(number, WM_GETTEXTLENGTH, 0, 0), 12);
    EXPECT_EQ(GetWindowTextLengthA(number), 12);
    EXPECT_EQ(SendMessageA(number, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
}

TEST_F(ShowControl, AlignsWithAProportionalFont) {
    const int W = 200, H = 24;
    const char *text = "Wochensumme";
    int t = text_width(ANSI_VAR_FONT, text);
    HWND right = make_control("TORKSHOW", "T", TS_RIGHT, W, H, ID);
    SendMessageA(right, WM_SETFONT, (WPARAM)GetStockObject(ANSI_VAR_FONT), 1);
    set_text(right, text);
    EXPECT_EQ(difference(capture(right), line_at(W, H, ANSI_VAR_FONT, W - 4 - t, text)), "");
    DestroyWindow(right);

    HWND centre = make_control("TORKSHOW", "T", TS_CENTER, 40, H, ID);
    SendMessageA(centre, WM_SETFONT, (WPARAM)GetStockObject(ANSI_VAR_FONT), 1);
    SendMessageA(centre, WM_SETTEXT, 0, (LPARAM) "\x1bT"); // raw: not cut at the cells
    set_text(centre, text);
    EXPECT_EQ(difference(capture(centre), line_at(40, H, ANSI_VAR_FONT, (40 - t) / 2, text)), "");
}

// A raw text is kept up to 1001 characters, and a reader asking for its length gets all of them.
TEST_F(ShowControl, LongestRawTextReadsWhole) {
    HWND raw = make_control("TORKSHOW", "T", 0, 100, 20, ID);
    set_text(raw, "\x1bT");
    set_text(raw, std::string(1200, 'x').c_str());
    EXPECT_EQ(SendMessageA(raw, WM_GETTEXTLENGTH, 0, 0), 1001);
    EXPECT_EQ(text_of(raw, 2000), std::string(1001, 'x'));
    EXPECT_EQ(SendMessageA(raw, WM_GETTEXT, 0, 0), 0);
}

TEST_F(ShowControl, RawAndWrappedText) {
    const int W = 120, H = 60;
    const char *text = "Ein langer Text, der umbrochen wird";
    HWND raw = make_control("TORKSHOW", "T", 0, W, H, ID);
    set_text(raw, "\x1bT");
    set_text(raw, text);
    EXPECT_EQ(text_of(raw), text);
    EXPECT_EQ(difference(capture(raw), line_at(W, H, SYSTEM_FIXED_FONT, 0, text)), "");
    set_text(raw, "\x1bS64"); // wrapped over the whole client area
    Image wrapped = render(W, H, [&](HDC dc) {
        SelectObject(dc, GetStockObject(SYSTEM_FIXED_FONT));
        SetBkMode(dc, TRANSPARENT);
        RECT box = {0, 0, W, H};
        DrawTextA(dc, text, -1, &box, DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    });
    EXPECT_EQ(difference(capture(raw), wrapped), "");
}

TEST_F(ShowControl, ClicksReachTheParentOnlyWithAnIdentifier) {
    HWND shown = make_control("TORKSHOW", "T=x", 0, 60, 20, 7);
    HWND zero = make_control("TORKSHOW", "T=x", 0, 60, 20, 0);
    HWND negative = make_control("TORKSHOW", "T=x", 0, 60, 20, -5);
    for (HWND window : {shown, zero, negative})
        EXPECT_EQ(SendMessageA(window, WM_LBUTTONDOWN, 0, 0), 1);
    ASSERT_EQ(notices().size(), 1u);
    EXPECT_EQ(notices()[0].wparam, MAKEWPARAM(7, 0x0400));
    EXPECT_EQ(notices()[0].lparam, 0);
    EXPECT_NE(GetFocus(), shown);
}

TEST_F(ShowControl, LooksTheSameWhenDisabled) {
    HWND window = make_control("TORKSHOW", "T=Summe", 0x0B, 100, 20, ID);
    Image enabled = capture(window);
    EXPECT_EQ(enabled.at(0, 0), RGB(128, 128, 128)); // sunken frame
    EXPECT_EQ(enabled.at(10, 3), GetSysColor(COLOR_BTNFACE));
    EnableWindow(window, FALSE);
    InvalidateRect(window, nullptr, FALSE);
    EXPECT_EQ(difference(capture(window), enabled), "");
}

TEST_F(ShowControl, EscapeColours) {
    HWND window = make_control("TORKSHOW", "T=Summe", 0, 100, 20, ID);
    set_text(window, "\x1bH0 128 0");
    set_text(window, "\x1bV255 255 0");
    Image image = capture(window);
    EXPECT_EQ(image.at(1, 1), RGB(0, 128, 0));
    int yellow = 0;
    for (COLORREF pixel : image.pixels) yellow += pixel == RGB(255, 255, 0);
    EXPECT_GT(yellow, 0);
}

TEST_F(ShowControl, InertWithoutItsRecord) {
    HWND window = make_control("TORKSHOW", "T=x", 0, 60, 20, ID);
    LONG_PTR record = GetWindowLongPtrA(window, 0);
    SetWindowLongPtrA(window, 0, 0);
    set_text(window, "y");
    EXPECT_EQ(text_of(window), "");
    SendMessageA(window, WM_SETFONT, 0, 1);
    capture(window);
    SetWindowLongPtrA(window, 0, record);
    EXPECT_EQ(text_of(window), "x");
}

} // namespace
