// The control strip's description language: items and their places, "+" and "-", delimiters,
// numbers, the width rule and the limits of hostile descriptions.
#include "frame/strip_parse.h"

#include <gtest/gtest.h>
#include <string.h>

#include <string>

namespace {

const char BOOKING_STRIP[] = "D 2000 10 /AUS/ + B 2100 10 /OK/ B 2101 10 /CANCEL/ + "
                             "E 3000 44 /F####-##-##/ E 3010 24 /F##:##/ + "
                             "S 3020 64 /Text/ E 3030 0 /Text/";

struct expected_item {
    char kind;
    int id, width, x;
    const char *text;
};

// Parses into a table with guard items behind capacity; the count.
int parse(const char *description, double scale, int x, strip_item *items, int capacity) {
    memset(items, 0x5A, sizeof(strip_item) * (STRIP_ITEMS_MAX + 2));
    return strip_parse(description, scale, x, items, capacity);
}

void expect_items(const char *description, double scale, int x,
                  std::initializer_list<expected_item> expected) {
    strip_item items[STRIP_ITEMS_MAX + 2];
    ASSERT_EQ(parse(description, scale, x, items, STRIP_ITEMS_MAX), (int)expected.size())
        << description;
    int i = 0;
    for (const expected_item &e : expected) {
        const strip_item &item = items[i++];
        EXPECT_EQ(item.kind, e.kind) << description << " item " << i;
        EXPECT_EQ(item.id, e.id) << description << " item " << i;
        EXPECT_EQ(item.width, e.width) << description << " item " << i;
        EXPECT_EQ(item.x, e.x) << description << " item " << i;
        EXPECT_STREQ(item.text, e.text) << description << " item " << i;
        EXPECT_EQ(item.window, nullptr);
        EXPECT_EQ(item.saved_procedure, 0);
    }
}

TEST(StripParse, BookingStripAtScaleTwo) {
    expect_items(BOOKING_STRIP, 2.0, 4,
                 {{'D', 2000, 10, 4, "AUS"},
                  {'B', 2100, 10, 28, "OK"},
                  {'B', 2101, 10, 50, "CANCEL"},
                  {'E', 3000, 44, 74, "F####-##-##"},
                  {'E', 3010, 24, 164, "F##:##"},
                  {'S', 3020, 64, 216, "Text"},
                  {'E', 3030, 0, 346, "Text"}});
    // A smaller system font: 1.625 pixels per unit, truncated per item.
    expect_items("D 2000 10 /AUS/ + B 2100 10 /OK/", 1.625, 4,
                 {{'D', 2000, 10, 4, "AUS"}, {'B', 2100, 10, 24, "OK"}});
}

TEST(StripParse, TokensDelimitersAndNumbers) {
    expect_items("S 3200 0 //", 2.0, 2, {{'S', 3200, 0, 2, ""}});
    expect_items("- T 1 5 /a/ + + T 2 5 /b/ - - T 3 -5 /c/", 2.0, 10,
                 {{'T', 1, 5, 7, "a"}, {'T', 2, 5, 23, "b"}, {'T', 3, -5, 29, "c"}});
    // Any character delimits; a slash inside bars; no gap needed after the closing one.
    expect_items("S 1 10 |a/b|T 2 10 xyzx E 3 10 /open", 2.0, 0,
                 {{'S', 1, 10, 0, "a/b"}, {'T', 2, 10, 22, "yz"}, {'E', 3, 10, 44, "open"}});
    // Text that is no number reads as 0; a longer first token still names its kind by the first
    // letter; an unknown letter takes its place in the row.
    expect_items("Sx abc 7q /t/ Q -12 1e3 /u/ E", 2.0, 0,
                 {{'S', 0, 7, 0, "t"}, {'Q', -12, 1, 16, "u"}, {'E', 0, 0, 20, ""}});
    expect_items("  \t ", 2.0, 0, {});
    expect_items("", 2.0, 0, {});
    expect_items("+ - +", 2.0, 0, {});
}

TEST(StripParse, HostileDescriptionsStayInsideTheirAreas) {
    strip_item items[STRIP_ITEMS_MAX + 2];
    unsigned char guard[sizeof(strip_item)];
    memset(guard, 0x5A, sizeof guard);

    // More than 40 items: the rest is dropped, the table's neighbours stay untouched.
    std::string many;
    for (int i = 0; i < 50; i++) many += "T " + std::to_string(i) + " 1 /x/ ";
    ASSERT_EQ(parse(many.c_str(), 2.0, 0, items, STRIP_ITEMS_MAX), STRIP_ITEMS_MAX);
    EXPECT_EQ(items[STRIP_ITEMS_MAX - 1].id, STRIP_ITEMS_MAX - 1);
    EXPECT_EQ(memcmp(&items[STRIP_ITEMS_MAX], guard, sizeof guard), 0);
    ASSERT_EQ(parse(many.c_str(), 2.0, 0, items, 3), 3);
    EXPECT_EQ(memcmp(&items[3], guard, sizeof guard), 0);

    // An item text is cut at 80 characters, a token at 83, a description at 503.
    std::string long_text = "S 1 1 /" + std::string(200, 'a') + "/ T 2 1 /b/";
    ASSERT_EQ(parse(long_text.c_str(), 2.0, 0, items, STRIP_ITEMS_MAX), 2);
    EXPECT_EQ(std::string(items[0].text), std::string(STRIP_TEXT_MAX, 'a'));
    EXPECT_STREQ(items[1].text, "b");
    std::string long_number = "S 1 " + std::string(100, '0') + "123 /t/";
    ASSERT_EQ(parse(long_number.c_str(), 2.0, 0, items, STRIP_ITEMS_MAX), 1);
    EXPECT_EQ(items[0].width, 0); // the digits that count lie beyond the token's 83 characters
    std::string cut = std::string(490, ' ') + "T 1 1 /abcdefghijklmnopqrstuvwxyz/";
    ASSERT_EQ(parse(cut.c_str(), 2.0, 0, items, STRIP_ITEMS_MAX), 1);
    EXPECT_STREQ(items[0].text, "abcdef"); // 503 characters read, the closing bar lost

    // Huge numbers saturate instead of overflowing the places.
    ASSERT_EQ(parse("T 99999999999 2147483647 /a/ T 2 2147483647 /b/ + T 3 1 /c/", 2.0, 2147483000,
                    items, STRIP_ITEMS_MAX),
              3);
    EXPECT_EQ(items[0].id, 2147483647);
    EXPECT_EQ(items[1].x, 2147483647);
    EXPECT_EQ(items[2].x, 2147483647);
    ASSERT_EQ(parse("T 1 -2147483647 /a/ T -99999999999 -2147483647 /b/ - T 3 1 /c/", 2.0, 0, items,
                    STRIP_ITEMS_MAX),
              3);
    EXPECT_EQ(items[1].id, -2147483647 - 1);
    EXPECT_EQ(items[1].x, -2147483647 + 1);
    EXPECT_EQ(items[2].x, -2147483647 - 1);
}

TEST(StripGeometry, UnitsAndTheWidthRule) {
    EXPECT_EQ(strip_pixels(2.0, 12), 24);
    EXPECT_EQ(strip_pixels(1.625, 10), 16);
    EXPECT_EQ(strip_pixels(1.625, -10), -16); // toward zero
    EXPECT_EQ(strip_pixels(2.0, 2147483647), 2147483647);
    struct {
        int width, x, strip_width, pixels;
    } cases[] = {
        {10, 4, 640, 20},   // given width, wherever the item lies
        {0, 2, 640, 636},   // the rest of the strip, 2 pixels short of its end
        {0, 346, 640, 292}, // the last item of the booking strip
        {0, 700, 640, 2},   // beyond the end: at least 2 pixels
        {-5, 0, 640, 2},    {1, 0, 640, 2}, {0, -2147483647 - 1, 2147483647, 2147483647},
    };
    for (const auto &c : cases)
        EXPECT_EQ(strip_item_width(2.0, c.width, c.x, c.strip_width), c.pixels)
            << c.width << " at " << c.x << " in " << c.strip_width;
}

} // namespace
