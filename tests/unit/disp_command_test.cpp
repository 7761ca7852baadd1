// The display control's command language without its window: parsing with edge-relative
// coordinates, the text box, GET replies, key letters, click kinds and fitting pictures.
#include "controls/disp/disp_command.h"

#include <gtest/gtest.h>
#include <string.h>

#include <string>

namespace {

disp_command parse(const char *message, int width = 120, int height = 40) {
    disp_command command;
    memset(&command, 0x55, sizeof command);
    disp_parse(&command, message, width, height);
    return command;
}

struct parse_case {
    const char *message;
    int id;
    int numbers[4];
    const char *text;
};

TEST(DispCommand, ParsesCommandsNumbersAndTexts) {
    const parse_case cases[] = {
        {"line 0 0 -1 -1", DISP_LINE, {0, 0, 119, 39}, ""},
        {"  LiNe\t1  2 3 4  ", DISP_LINE, {1, 2, 3, 4}, ""},
        {"RECT 10 10 5 5", DISP_RECT, {5, 5, 10, 10}, ""},
        {"FILL -10 30 2 -30", DISP_FILL, {2, 10, 110, 30}, ""},
        {"TEXT 5 20 Hello  World ", DISP_TEXT, {5, 20, 0, 0}, "Hello  World"},
        {"LTEXT -5 -2 x", DISP_TEXT, {115, 38, 0, 0}, "x"},
        {"CTEXT 60 10", DISP_CTEXT, {60, 10, 0, 0}, ""},
        {"RTEXT a b c", DISP_RTEXT, {0, 0, 0, 0}, "c"}, // words that are no numbers count 0
        {"BMP 1 2  my file.bmp ", DISP_BMP, {1, 2, 0, 0}, "my file.bmp"},
        {"BMPS 0 0 200 100 f.bmp", DISP_BMPS, {0, 0, 200, 100}, "f.bmp"},
        {"WMF 0 0 -1 -1 C:\\a b\\c.wmf", DISP_WMF, {0, 0, 119, 39}, "C:\\a b\\c.wmf"},
        {"FOCUS -1 -2 50 20", DISP_FOCUS, {-1, -2, 50, 20}, ""}, // taken as they are
        {"COLOR 255 -1 300", DISP_COLOR, {255, -1, 300, 0}, ""},
        {"font 7", DISP_FONT, {7, 0, 0, 0}, ""},
        {"GET size", DISP_GET, {0, 0, 0, 0}, "SIZE"},
        {"CLEAR", DISP_CLEAR, {0, 0, 0, 0}, ""},
        {"PAINT now", DISP_PAINT, {0, 0, 0, 0}, ""},
        {"FRAME", DISP_FRAME, {0, 0, 0, 0}, ""},
        {"DRAW 1 2", DISP_UNKNOWN, {0, 0, 0, 0}, ""},
        {"", DISP_UNKNOWN, {0, 0, 0, 0}, ""},
    };
    for (const parse_case &c : cases) {
        disp_command command = parse(c.message);
        EXPECT_EQ(command.id, c.id) << c.message;
        for (int i = 0; i < 4; i++) EXPECT_EQ(command.numbers[i], c.numbers[i]) << c.message;
        EXPECT_STREQ(command.text, c.text) << c.message;
    }
}

TEST(DispCommand, OnlyTheFirstHundredCharactersCount) {
    std::string message = "TEXT 1 2 " + std::string(150, 'a');
    EXPECT_EQ(strlen(parse(message.c_str()).text), 100u - 9u);
    std::string box = "BBXTEXT " + std::string(150, 'b') + " end";
    EXPECT_EQ(std::string(disp_box_text(box.c_str())), std::string(150, 'b') + " end");
    EXPECT_STREQ(disp_box_text("  BBXTEXT \t two  words "), "two  words ");
    EXPECT_STREQ(disp_box_text("BBXTEXT"), "");
}

TEST(DispCommand, TextBoxSides) {
    int32_t box[4] = {0, 0, 0, 0};
    const char *commands[] = {"BBX LOX = 10",  "BBX rux = 200", "BBX LOY = 5", "BBX RUY = 100",
                              "BBX RUX + -20", "BBX LOY . 2",   "BBX RUY ? 7", "BBX LOXX = 3"};
    for (const char *message : commands) {
        disp_command command = parse(message);
        ASSERT_EQ(command.id, DISP_BBX);
        disp_box_set(box, 48, &command);
    }
    EXPECT_EQ(box[BOX_LOX], 10);
    EXPECT_EQ(box[BOX_LOY], 50); // 2 below a text that ended at 48
    EXPECT_EQ(box[BOX_RUX], 180);
    EXPECT_EQ(box[BOX_RUY], 100); // "?" keeps the value
    disp_command cut = parse("BBX LOY = 123456789012345");
    disp_box_set(box, 0, &cut);
    EXPECT_EQ(box[BOX_LOY], 2147483647); // "12345678901" saturates
}

TEST(DispCommand, GetReplies) {
    char reply[DISP_REPLY] = "";
    const int32_t click[2] = {-3, 17}, box[4] = {1, 2, 3, 4};
    disp_reply(reply, "SIZE", 120, 40, click, box);
    EXPECT_STREQ(reply, "120 40");
    disp_reply(reply, "CLICK", 120, 40, click, box);
    EXPECT_STREQ(reply, "-3 17");
    disp_reply(reply, "BBX", 120, 40, click, box);
    EXPECT_STREQ(reply, "1 2 3 4");
    disp_reply(reply, "WHAT", 120, 40, click, box);
    EXPECT_STREQ(reply, "1 2 3 4");
}

TEST(DispCommand, KeyLettersAndClickKinds) {
    struct key_case {
        int key, shift, ctrl;
        int letter, kind;
    } cases[] = {
        {0x0D, 0, 0, 'C', DN_KEY},      {0x20, 1, 0, 'S', DN_SHIFTKEY},
        {0x21, 0, 1, 'P', DN_KEY},      {0x22, 0, 0, 'N', DN_KEY},
        {0x23, 0, 0, 'E', DN_KEY},      {0x24, 0, 0, 'H', DN_KEY},
        {0x25, 0, 0, 'L', DN_KEY},      {0x26, 0, 0, 'U', DN_KEY},
        {0x27, 0, 0, 'R', DN_KEY},      {0x28, 0, 0, 'D', DN_KEY},
        {0x2D, 0, 0, 'i', DN_KEY},      {0x2D, 0, 1, 'c', DN_KEY},
        {0x2D, 1, 1, 'v', DN_SHIFTKEY}, {0x2E, 0, 0, 'd', DN_KEY},
        {0x2E, 1, 0, 'x', DN_SHIFTKEY}, {'C', 0, 1, 'c', DN_KEY},
        {0x76, 0, 1, 'v', DN_KEY},      {'X', 1, 1, 'x', DN_SHIFTKEY},
        {'C', 0, 0, 0, DN_KEY},         {'A', 0, 1, 0, DN_KEY},
        {0x70, 0, 0, 0, DN_KEY},
    };
    for (const key_case &c : cases) {
        int kind;
        EXPECT_EQ(disp_key_letter(c.key, c.shift, c.ctrl, &kind), c.letter) << c.key;
        EXPECT_EQ(kind, c.kind) << c.key;
    }
    EXPECT_EQ(disp_click_kind(0, 0), DN_CLICK);
    EXPECT_EQ(disp_click_kind(1, 0), DN_SHIFTCLICK);
    EXPECT_EQ(disp_click_kind(1, 1), DN_CTRLCLICK);
}

TEST(DispCommand, FittingKeepsTheSourceProportions) {
    struct fit_case {
        int rect[4], w, h, fitted[4];
    } cases[] = {
        {{0, 0, 200, 100}, 50, 50, {50, 0, 150, 100}},
        {{0, 0, 100, 200}, 50, 50, {0, 50, 100, 150}},
        {{10, 10, 110, 60}, 200, 100, {10, 10, 110, 60}},
        {{0, 0, 100, 100}, 0, 0, {0, 0, 100, 100}},     // no box: ratio 1
        {{0, 0, 300, 100}, 1, 100, {100, 0, 200, 100}}, // ratio below 0.1 counts as 1
        {{0, 5, 100, 5}, 50, 25, {0, -20, 100, 30}},    // flat target: ratio 1
        {{0, 0, 99, 10}, 3, 1, {34, 0, 65, 10}},        // the gap is truncated
        {{-2147483647, 0, 2147483647, 1}, 1, 1, {-1, 0, 1, 1}},
    };
    for (const fit_case &c : cases) {
        int rect[4];
        memcpy(rect, c.rect, sizeof rect);
        disp_fit(rect, c.w, c.h);
        for (int i = 0; i < 4; i++) EXPECT_EQ(rect[i], c.fitted[i]) << c.rect[2] << " " << i;
    }
}

} // namespace
