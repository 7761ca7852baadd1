// Number forms of the edit and show controls: display form with the user's separators,
// canonical form with ".", edit form and back, for German and English separators.
#include "controls/edit/number_form.h"

#include <gtest/gtest.h>
#include <string.h>

#include <algorithm>
#include <string>

namespace {

const number_seps GERMAN = {',', '.'};
const number_seps ENGLISH = {'.', ','};

std::string display(const char *value, int type, int cells, const number_seps &seps = GERMAN) {
    char out[NUMBER_FORM_CELLS_MAX + 2];
    memset(out, 'G', sizeof out);
    number_display(out, value, cells, number_decimals(type), &seps);
    EXPECT_LE(strlen(out), (size_t)cells) << value;
    return out;
}

std::string canonical(const char *shown, int type, int cells, const number_seps &seps = GERMAN) {
    char out[NUMBER_FORM_CELLS_MAX + 2];
    number_canonical(out, shown, cells, number_decimals(type), &seps);
    return out;
}

struct form_case {
    const char *value;
    int type, cells;
    const char *shown;
};

TEST(NumberForm, DisplayFormRoundsGroupsAndAligns) {
    const form_case cases[] = {
        {"1234.5", '2', 10, "  1.234,50"},
        {"-0.005", '2', 10, "     -0,01"},
        {"1234567", '0', 8, "1234.567"}, // the first group's digit leads the text
        {"1234567", '0', 10, " 1.234.567"},
        {"12345678", '0', 8, "12345678"}, // grouped it would not fit
        {"-1234.5", '2', 10, " -1.234,50"},
        {"12.500", '9', 10, "      12,5"},
        {"3.000", '9', 10, "         3"},
        {"1.23456789", '9', 10, "   1,23457"},
        {"9.995", '2', 10, "     10,00"}, // the carry crosses the point
        {"99.999", '2', 6, "100,00"},
        {"0.5", '0', 3, "  1"},
        {"2.4999", '3', 8, "   2,500"},
        {"", '2', 6, "  0,00"},
        {"abc", '0', 5, "    0"},
        {"0012", '0', 5, "   12"},
        {"  7 ", '1', 5, "  7,0"},
        {"1.2.3", '2', 8, "    1,20"}, // a second point is no digit
        {"123456", '0', 3, "123"},     // too long: its first cells characters
        {"5", '2', 0, ""},
    };
    for (const form_case &c : cases)
        EXPECT_EQ(display(c.value, c.type, c.cells), c.shown)
            << c.value << " type " << (char)c.type;
}

TEST(NumberForm, EnglishSeparatorsFollowTheLocale) {
    EXPECT_EQ(display("1234.5", '2', 10, ENGLISH), "  1,234.50");
    EXPECT_EQ(canonical("  1,234.50", '2', 10, ENGLISH), "   1234.50");
    char out[16];
    number_from_edit(out, "1,234.5   ", 10, 2, &ENGLISH); // a typed thousands comma is dropped
    EXPECT_STREQ(out, "  1,234.50");
}

TEST(NumberForm, CanonicalFormUsesPointWithoutThousands) {
    const form_case cases[] = {
        {"  1.234,50", '2', 10, "   1234.50"}, {"     -0,01", '2', 10, "     -0.01"},
        {"12,5", '9', 10, "      12.5"},       {"", '0', 4, "   0"},
        {" 1.234.567", '0', 10, "   1234567"},
    };
    for (const form_case &c : cases)
        EXPECT_EQ(canonical(c.value, c.type, c.cells), c.shown) << c.value;
}

TEST(NumberForm, EditFormAndBack) {
    char edited[16], shown[16];
    number_edit(edited, "  1.234,50", 10, &GERMAN);
    EXPECT_STREQ(edited, "1234,50   ");
    number_from_edit(shown, edited, 10, 2, &GERMAN);
    EXPECT_STREQ(shown, "  1.234,50");
    number_from_edit(shown, "-12x,5    ", 10, 1, &GERMAN);
    EXPECT_STREQ(shown, "     -12,5");
}

// Whatever the display form, the canonical form gives back the number it shows.
TEST(NumberForm, CanonicalOfDisplayIsThePlainNumber) {
    const char *values[] = {"0", "1", "-1", "999", "1000", "123456.78", "-98765.4321", "0.001"};
    for (int type : {'0', '2', '5', '9'}) {
        for (const char *value : values) {
            std::string shown = display(value, type, 14);
            std::string plain = display(value, type, 14, {'.', 'T'});
            plain.erase(std::remove(plain.begin(), plain.end(), 'T'), plain.end());
            plain.insert(0, 14 - plain.size(), ' ');
            EXPECT_EQ(canonical(shown.c_str(), type, 14), plain) << value << " " << (char)type;
        }
    }
}

} // namespace
