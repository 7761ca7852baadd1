// Number texts: decimal comma, thousands points, widths, and decimal rounding that is the same
// in every build (these expected texts are checked natively and under Wine alike).
#include "frame/number_text.h"

#include <gtest/gtest.h>
#include <math.h>
#include <stdio.h>
#include <string.h>

#include <string>

namespace {

std::string format(double value, int width, int decimals) {
    char text[NUMBER_TEXT_MAX + 2];
    memset(text, 'G', sizeof text);
    number_text(text, value, width, decimals);
    EXPECT_EQ(text[NUMBER_TEXT_MAX + 1], 'G') << value;
    return text;
}

struct number_case {
    double value;
    int width, decimals;
    const char *text;
};

void expect_texts(const number_case *cases, size_t count) {
    for (size_t i = 0; i < count; i++) {
        const number_case &c = cases[i];
        EXPECT_EQ(format(c.value, c.width, c.decimals), c.text)
            << c.value << " width " << c.width << " decimals " << c.decimals;
    }
}

TEST(NumberText, DecimalsTrailingZerosAndSeparators) {
    const number_case cases[] = {
        {1.5, 0, 2, "1,50"},
        {2.5, 0, 9, "2,5"},
        {3.0, 0, 9, "3"},
        {1.2, 0, -2, "1,20"},
        {1.23456, 0, -2, "1,23456"},
        {1.0, 0, -1, "1,0"},
        {1.25, 0, 7, "1,25000"}, // 6-8 places print as 5
        {1234567.5, 0, 1, "1.234.567,5"},
        {-123, 0, 0, "-123"},
        {-1234, 0, 0, "-1.234"},
        {-123456.5, 0, 1, "-123.456,5"},
        {999, 0, 0, "999"},
        {1000, 0, 0, "1.000"},
        {0, 0, 0, "0"},
        {0, 0, 2, "0,00"},
        {0.5, 0, 9, "0,5"},
        {12345678.91, 0, 2, "12.345.678,91"},
        {999999999999999.0, 0, 0, "999.999.999.999.999"},
        {5000.00001, 0, 5, "5.000,00001"},
        {1234.5678449, 0, 5, "1.234,56784"},
    };
    expect_texts(cases, sizeof cases / sizeof cases[0]);
}

TEST(NumberText, RoundsHalfAwayFromZeroOnTheDecimalValue) {
    const number_case cases[] = {
        {3 / 60.0, 0, 1, "0,1"},
        {9 / 60.0, 0, 1, "0,2"},
        {15 / 60.0, 0, 1, "0,3"},
        {45 / 60.0, 0, 1, "0,8"},
        {6.25, 0, 1, "6,3"},
        {0.15, 0, 1, "0,2"},
        {2.675, 0, 2, "2,68"},
        {1.005, 0, 2, "1,01"},
        {0.5, 0, 0, "1"},
        {1.5, 0, 0, "2"},
        {2.5, 0, 0, "3"},
        {-2.5, 0, 0, "-3"},
        {-9 / 60.0, 0, 1, "-0,2"},
        {0.04999, 0, 1, "0,0"},
        {-0.04, 0, 1, "0,0"}, // no minus sign on a zero
        {-0.0, 0, 2, "0,00"},
        {-0.000001, 0, 9, "0"},
        {9.96, 0, 1, "10,0"},
        {999.95, 0, 1, "1.000,0"},
        {0.999996, 0, 5, "1,00000"},
    };
    expect_texts(cases, sizeof cases / sizeof cases[0]);
}

// Hours from whole minutes: a tenth is half exactly when minutes % 6 == 3, and rounds up then.
TEST(NumberText, HoursFromMinutesMatchIntegerRounding) {
    for (long minutes = 0; minutes <= 120000; minutes++) {
        long tenths = (minutes + 3) / 6;
        long hundredths = (10 * minutes + 3) / 6;
        char tenths_text[32], hundredths_text[32];
        long whole = tenths / 10;
        if (whole >= 1000)
            snprintf(tenths_text, sizeof tenths_text, "%ld.%03ld,%ld", whole / 1000, whole % 1000,
                     tenths % 10);
        else
            snprintf(tenths_text, sizeof tenths_text, "%ld,%ld", whole, tenths % 10);
        whole = hundredths / 100;
        if (whole >= 1000)
            snprintf(hundredths_text, sizeof hundredths_text, "%ld.%03ld,%02ld", whole / 1000,
                     whole % 1000, hundredths % 100);
        else
            snprintf(hundredths_text, sizeof hundredths_text, "%ld,%02ld", whole, hundredths % 100);
        ASSERT_EQ(format(minutes / 60.0, 0, 1), tenths_text) << minutes;
        ASSERT_EQ(format(minutes / 60.0, 0, 2), hundredths_text) << minutes;
        ASSERT_EQ(format(-minutes / 60.0, 0, 1),
                  minutes >= 3 ? "-" + std::string(tenths_text) : std::string(tenths_text))
            << minutes;
    }
}

TEST(NumberText, WidthAlignsDropsSeparatorsOrShowsStars) {
    const number_case cases[] = {
        {1234.5, 8, 1, " 1.234,5"},
        {1234.5, 7, 1, "1.234,5"},
        {1234.5, 6, 1, "1234,5"},
        {1234.5, 5, 1, "*****"},
        {-12, 5, 0, "  -12"},
        {7, 1, 0, "7"},
        {12, 1, 0, "*"},
        {1.5, -3, 1, "1,5"}, // a negative width counts as none
    };
    expect_texts(cases, sizeof cases / sizeof cases[0]);
    EXPECT_EQ(format(1.5, 99, 1), std::string(NUMBER_TEXT_MAX - 3, ' ') + "1,5");
}

TEST(NumberText, UnshowableValuesGiveStars) {
    const number_case cases[] = {
        {1e15, 0, 0, "*"},     {-1e15, 4, 0, "****"},   {1e300, 3, 2, "***"},
        {INFINITY, 0, 1, "*"}, {-INFINITY, 2, 1, "**"}, {NAN, 5, 1, "*****"},
    };
    expect_texts(cases, sizeof cases / sizeof cases[0]);
    EXPECT_EQ(format(NAN, 99, 1), std::string(NUMBER_TEXT_MAX, '*'));
}

TEST(NumberText, LongestTextFitsTheArea) {
    EXPECT_EQ(format(-999999999999999.0, 0, 5), "-999.999.999.999.999,00000");
    EXPECT_EQ(format(-999999999999999.5, 0, 0), "-1.000.000.000.000.000");
}

} // namespace
