// Sizes laid out for 96 DPI at other DPIs.
#include "frame/dpi.h"
#include <gtest/gtest.h>
#include <limits.h>

TEST(Dpi, ScaleRoundsHalvesAwayFromZeroAsTheSystemDoes) {
    const struct {
        int pixels, dpi, scaled;
    } cases[] = {
        {16, 96, 16},
        {16, 144, 24},
        {16, 192, 32},
        {16, 120, 20},
        {1, 144, 2},
        {3, 144, 5},
        {-3, 144, -5},
        {0, 144, 0},
        {2, 72, 2},
        {1, 72, 1},
        {17, 0, 17},
        {17, -96, 17},
        {17, 5000, 17}, // no screen has that DPI: 96
        {INT_MAX, 192, INT_MAX},
        {INT_MIN, 192, INT_MIN},
    };
    for (const auto &c : cases)
        EXPECT_EQ(dpi_scale(c.pixels, c.dpi), c.scaled) << c.pixels << " at " << c.dpi;
}

TEST(Dpi, UnscaleAndConvertGoBack) {
    EXPECT_EQ(dpi_unscale(24, 144), 16);
    EXPECT_EQ(dpi_unscale(31, 192), 16); // 15.5
    EXPECT_EQ(dpi_convert(1200, 144, 192), 1600);
    EXPECT_EQ(dpi_convert(1200, 144, 0), 800);
    for (int pixels = -50; pixels <= 50; pixels++)
        EXPECT_EQ(dpi_unscale(dpi_scale(pixels, 192), 192), pixels);
}

TEST(Dpi, LinesStayWholePixels) {
    const int cases[][2] = {{96, 1}, {120, 1}, {144, 1}, {191, 1}, {192, 2}, {288, 3}, {0, 1}};
    for (const auto &c : cases) EXPECT_EQ(dpi_line(c[0]), c[1]) << c[0];
}
