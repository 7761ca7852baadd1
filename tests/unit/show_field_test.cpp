// The show field without its window: creation, values in and out, raw text and alignment.
#include "controls/edit/control_styles.h"
#include "controls/show/show_field.h"

#include <gtest/gtest.h>
#include <string.h>

#include <string>

namespace {

const number_seps GERMAN = {',', '.'};

struct Show {
    show_record r = {};
    explicit Show(const char *creation, int cells = 12, uint32_t style = 0) {
        r.head.width = 2 * FIELD_MARGIN + cells * 8;
        r.head.height = 20;
        r.head.style = style;
        field_metrics(&r.head, 8, 16, SHOW_CELLS_MAX);
        show_create(&r, creation, &GERMAN);
    }
    std::string value(int size = 2048) const {
        static char out[2048];
        show_get_value(&r, out, size, &GERMAN);
        return out;
    }
};

TEST(ShowField, CreationTexts) {
    EXPECT_EQ(std::string(Show("").r.text), "");
    EXPECT_EQ(Show("").r.type, 'T');
    EXPECT_EQ(std::string(Show(" ").r.text), "");
    EXPECT_EQ(std::string(Show("T=Summe").r.text), "Summe");
    EXPECT_EQ(std::string(Show("2=1234.5").r.text), "    1.234,50");
    EXPECT_EQ(std::string(Show("D=01.02.2003").r.text), "01.02.2003"); // no masks here
    Show automatic("N");
    EXPECT_EQ(automatic.r.type, '9');
    EXPECT_EQ(automatic.r.auto_decimals, 1);
}

TEST(ShowField, NumbersShowSeparatorsAndComeBackCanonical) {
    Show field("2");
    show_set_value(&field.r, "1234.5", &GERMAN);
    EXPECT_EQ(std::string(field.r.text), "    1.234,50");
    EXPECT_EQ(field.value(), "     1234.50");
    EXPECT_EQ(field.value(4), "   ");
    Show date("d");
    show_set_value(&date.r, "24.12.2024", &GERMAN);
    EXPECT_EQ(date.value(), "2024-12-24");
    Show automatic("N");
    show_set_value(&automatic.r, " 3.25 ", &GERMAN);
    EXPECT_EQ(automatic.r.type, '2');
    EXPECT_EQ(std::string(automatic.r.text), "        3,25");
}

TEST(ShowField, RawTextIsKeptWholeAndDrawnWithoutMargin) {
    Show field("T", 4);
    show_set_value(&field.r, "abcdefgh", &GERMAN);
    EXPECT_EQ(std::string(field.r.text), "abcd");
    EXPECT_EQ(show_escape(&field.r, "\x1bT"), 0);
    EXPECT_EQ(field.r.type, 0);
    std::string long_text(1500, 'x');
    show_set_value(&field.r, long_text.c_str(), &GERMAN);
    EXPECT_EQ(strlen(field.r.text), (size_t)SHOW_TEXT_MAX);
    EXPECT_EQ(field.value(), std::string(SHOW_TEXT_MAX, 'x'));
    EXPECT_EQ(show_margin(&field.r), 0);
    show_cut_to_cells(&field.r); // a size change keeps raw text whole
    EXPECT_EQ(strlen(field.r.text), (size_t)SHOW_TEXT_MAX);
    show_escape(&field.r, "\x1bT T ");
    show_cut_to_cells(&field.r);
    EXPECT_EQ(std::string(field.r.text), "xxxx");
}

TEST(ShowField, AlignmentOffsets) {
    Show field("T", 10); // 88 pixels wide
    EXPECT_EQ(show_text_x(&field.r, 40), 4);
    field.r.head.style = TS_RIGHT;
    EXPECT_EQ(show_text_x(&field.r, 40), 44);
    field.r.head.style = TS_CENTER;
    EXPECT_EQ(show_text_x(&field.r, 41), 4 + 19);
    EXPECT_EQ(show_text_x(&field.r, 100), 4 - 10); // wider than the field: starts left of it
    field.r.head.style = TS_CENTER | TS_RIGHT;
    EXPECT_EQ(show_text_x(&field.r, 40), 44);
}

TEST(ShowField, EscapeCommands) {
    Show field("T");
    EXPECT_EQ(show_escape(&field.r, "\x1bH1 2 3"), 1);
    EXPECT_EQ(field.r.head.background, 0x030201u);
    EXPECT_EQ(show_escape(&field.r, "\x1bS 96"), 1);
    EXPECT_EQ(field.r.head.style, (uint32_t)(TS_WRAP | TS_RIGHT));
    show_escape(&field.r, "\x1bTN");
    EXPECT_EQ(field.r.type, '9');
    EXPECT_EQ(field.r.auto_decimals, 1);
    show_escape(&field.r, "\x1bT2");
    EXPECT_EQ(field.r.auto_decimals, 0);
    EXPECT_EQ(show_escape(&field.r, "\x1bZ"), 0);
}

} // namespace
