// Number forms follow the user's locale: run with an English locale, the edit and show
// controls show "," between thousands and "." before the decimals, and hand back the same
// canonical values as under a German one.
#include "win_support.h"

#include <gtest/gtest.h>

namespace {

class EnglishLocale : public ControlTest {};

Image fixed_line(int width, int height, const char *text) {
    return render(width, height, [&](HDC dc) {
        SelectObject(dc, GetStockObject(SYSTEM_FIXED_FONT));
        SetBkMode(dc, TRANSPARENT);
        TEXTMETRICA metrics;
        GetTextMetricsA(dc, &metrics);
        TextOutA(dc, 4, (height - metrics.tmHeight) / 2, text, (int)strlen(text));
    });
}

TEST_F(EnglishLocale, NumberFormsFollowTheLocale) {
    char decimal[10];
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, sizeof decimal);
    ASSERT_STREQ(decimal, ".") << "run with LC_ALL=en_US.UTF-8";
    const int W = 8 + 10 * 8, H = 24;
    HWND edit = make_control("TORKEDIT", "2", 0, W, H, 1);
    set_text(edit, "1234.5");
    EXPECT_EQ(difference(capture(edit), fixed_line(W, H, "  1,234.50")), "");
    EXPECT_EQ(text_of(edit), "   1234.50");
    SetFocus(edit);
    SendMessageA(edit, WM_KEYDOWN, VK_END, 0);
    SendMessageA(edit, WM_CHAR, '9', 0);
    SetFocus(test_parent());
    EXPECT_EQ(text_of(edit), "   1234.51"); // a third decimal rounds the second

    HWND show = make_control("TORKSHOW", "0", 0, W, H, 2);
    set_text(show, "1234567");
    EXPECT_EQ(difference(capture(show), fixed_line(W, H, " 1,234,567")), "");
    EXPECT_EQ(text_of(show), "   1234567");
}

} // namespace
