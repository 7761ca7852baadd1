// Text helpers: trimming, tokens, delimited texts, editing within an area, tabs, case, search,
// hexadecimal numbers and the wildcard match.
#include "frame/text.h"

#include <gtest/gtest.h>
#include <string.h>

#include <random>
#include <string>

namespace {

// An area followed by more bytes, to see writes beyond the stated size (the text itself may
// be longer than the area).
struct guarded_area {
    char bytes[600], initial[600];
    size_t size;
    explicit guarded_area(const char *text, size_t area_size) : size(area_size) {
        memset(bytes, 'G', sizeof bytes);
        memcpy(bytes, text, strlen(text) + 1);
        memcpy(initial, bytes, sizeof bytes);
    }
    bool guard_intact() const { return memcmp(bytes + size, initial + size, 600 - size) == 0; }
};

TEST(TextTrim, RemovesWhiteSpaceAtBothEnds) {
    struct {
        const char *in, *both, *right;
        int both_result, right_result;
    } cases[] = {
        {"", "", "", 0, 0},
        {" \t\r\n\v\f", "", "", 0, 0},
        {"x", "x", "x", 1, 1},
        {"  a b  ", "a b", "  a b", 1, 1},
        {"\ta\n", "a", "\ta", 1, 1},
        {"\xa0x\xa0", "\xa0x\xa0", "\xa0x\xa0", 1, 1}, // no-break space is not white space
    };
    for (const auto &c : cases) {
        char both[32], right[32];
        strcpy(both, c.in);
        strcpy(right, c.in);
        EXPECT_EQ(text_trim(both), c.both_result) << c.in;
        EXPECT_STREQ(both, c.both);
        EXPECT_EQ(text_trim_right(right), c.right_result) << c.in;
        EXPECT_STREQ(right, c.right);
        EXPECT_EQ(text_is_blank(c.in), c.both_result == 0) << c.in;
    }
}

TEST(TextToken, TakesLeadingWordAndLeavesTheRestTrimmed) {
    struct {
        const char *in;
        size_t size;
        const char *token, *rest;
        int length;
    } cases[] = {
        {"  D 3000 Anfang", 16, "D", "3000 Anfang", 1},
        {"word", 16, "word", "", 4},
        {"", 16, "", "", 0},
        {"   ", 16, "", "", 0},
        {"abcdefgh rest ", 4, "abc", "rest", 8}, // token cut to its area, length as found
        {"\tx\t\ty", 16, "x", "y", 1},
    };
    for (const auto &c : cases) {
        char text[32], token[32];
        strcpy(text, c.in);
        memset(token, 'G', sizeof token);
        EXPECT_EQ(text_token(token, c.size, text), c.length) << c.in;
        EXPECT_STREQ(token, c.token) << c.in;
        EXPECT_STREQ(text, c.rest) << c.in;
        EXPECT_EQ(token[c.size], 'G') << c.in;
    }
}

TEST(TextDelimited, TakesTextUpToClosingDelimiter) {
    struct {
        const char *in;
        size_t size;
        const char *out, *rest;
    } cases[] = {
        {"/OK/Abbruch/", 16, "OK", "/Abbruch/"},
        {"//x", 16, "", "/x"},
        {"'a b' c", 16, "a b", "' c"},
        {"/open", 16, "open", ""},
        {"", 16, "", ""},
        {"/abcdefgh/", 4, "abc", "/"},
    };
    for (const auto &c : cases) {
        char text[32], out[32];
        strcpy(text, c.in);
        memset(out, 'G', sizeof out);
        text_delimited(out, c.size, text);
        EXPECT_STREQ(out, c.out) << c.in;
        EXPECT_STREQ(text, c.rest) << c.in;
        EXPECT_EQ(out[c.size], 'G') << c.in;
    }
}

TEST(TextDelete, DeletesWithinTheText) {
    struct {
        const char *in;
        int position, count;
        const char *out;
    } cases[] = {
        {"abcdef", 1, 2, "adef"},    {"abcdef", 4, 10, "abcd"},
        {"abcdef", 6, 1, "abcdef"},  {"abcdef", 9, 1, "abcdef"},
        {"abcdef", -1, 2, "abcdef"}, {"abcdef", 2, 0, "abcdef"},
        {"abcdef", 2, -3, "abcdef"}, {"", 0, 1, ""},
    };
    for (const auto &c : cases) {
        char text[16];
        strcpy(text, c.in);
        text_delete(text, c.position, c.count);
        EXPECT_STREQ(text, c.out) << c.position << " " << c.count;
    }
}

TEST(TextInsert, InsertsAndCutsToTheArea) {
    struct {
        const char *insertion, *in;
        int position;
        size_t size;
        const char *out;
    } cases[] = {
        {"XY", "abc", 1, 16, "aXYbc"},  {"XY", "abc", 0, 16, "XYabc"},
        {"XY", "abc", -5, 16, "XYabc"}, {"XY", "abc", 3, 16, "abcXY"},
        {"XY", "abc", 99, 16, "abcXY"}, {"XY", "abc", 1, 5, "aXYb"}, // tail cut
        {"XYZW", "abc", 1, 4, "aXY"},                                // insertion cut, tail gone
        {"", "abc", 1, 4, "abc"},       {"XY", "", 0, 1, ""},
        {"XY", "abcdef", 0, 4, "XYa"}, // a text longer than its area is cut as well
    };
    for (const auto &c : cases) {
        guarded_area area(c.in, c.size);
        text_insert(c.insertion, area.bytes, c.position, c.size);
        EXPECT_STREQ(area.bytes, c.out) << c.insertion << " into " << c.in;
        EXPECT_TRUE(area.guard_intact()) << c.insertion << " into " << c.in;
    }
}

TEST(TextCopy, PadCopyAndFillKeepExactLengths) {
    char out[16];
    text_pad(out, "abc", 6);
    EXPECT_STREQ(out, "abc   ");
    text_pad(out, "abcdefgh", 4);
    EXPECT_STREQ(out, "abcd");
    text_pad(out, "abc", -3);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(text_copy_max(out, "abcdef", 3), 3);
    EXPECT_STREQ(out, "abc");
    EXPECT_EQ(text_copy_max(out, "ab", 5), 2);
    EXPECT_STREQ(out, "ab");
    text_fill(out, 5, '-');
    EXPECT_STREQ(out, "-----");
    text_fill(out, -2, '-');
    EXPECT_STREQ(out, "");
}

TEST(TextUpper, UpperCasesLettersOfWindows1252Only) {
    // a-z and 224-254 except the division sign 247; sharp s (223) and y with diaeresis (255)
    // have no upper case in the same range.
    char text[] = "az09AZ_\xe0\xe4\xf6\xfc\xfe\xf7\xdf\xff\xc4";
    text_upper(text);
    EXPECT_STREQ(text, "AZ09AZ_\xc0\xc4\xd6\xdc\xde\xf7\xdf\xff\xc4");
    EXPECT_EQ(text_upper_char((char)0xe4), 0xc4); // a negative char counts as its byte
    EXPECT_EQ(text_upper_char('q'), 'Q');
}

TEST(TextSearch, FindsFirstOccurrence) {
    EXPECT_EQ(text_find("abcabc", "ca"), 2);
    EXPECT_EQ(text_find("abcabc", "CA"), -1);
    EXPECT_EQ(text_find("abc", ""), 0);
    EXPECT_EQ(text_find("", "a"), -1);
    EXPECT_EQ(text_index("abcabc", 'c'), 2);
    EXPECT_EQ(text_index("abc", 'x'), -1);
    EXPECT_EQ(text_index("abc", 0), -1);
    EXPECT_EQ(text_index("x\xe4y", 0xe4), 1);
    EXPECT_EQ(text_index("x\xe4y", (char)0xe4), 1);
}

TEST(TextExpandTabs, ExpandsToEightColumnStops) {
    struct {
        const char *in;
        size_t size;
        const char *out;
    } cases[] = {
        {"a\tb", 64, "a       b"},
        {"\t", 64, "        "},
        {"12345678\tx", 64, "12345678        x"},
        {"1234567\tx", 64, "1234567 x"},
        {"ab\t\tc", 64, "ab              c"},
        {"no tabs", 64, "no tabs"},
        {"", 64, ""},
        {"a\tb", 5, "a   "},    // cut inside the blanks of a tab
        {"abcdef\t", 4, "abc"}, // cut before the first tab
        {"abcdef", 4, "abc"},   // cut without any tab
        {"a\tb", 1, ""},
    };
    for (const auto &c : cases) {
        guarded_area area(c.in, c.size);
        text_expand_tabs(area.bytes, c.size);
        EXPECT_STREQ(area.bytes, c.out) << c.in << " in " << c.size;
        EXPECT_TRUE(area.guard_intact()) << c.in << " in " << c.size;
    }
}

TEST(TextExpandTabs, ResultHoldsAtMostTheLimit) {
    std::string tabs(100, '\t');
    guarded_area area(tabs.c_str(), sizeof area.bytes);
    text_expand_tabs(area.bytes, sizeof area.bytes);
    EXPECT_EQ(strlen(area.bytes), (size_t)TEXT_TABS_MAX);
    EXPECT_EQ(std::string(area.bytes), std::string(TEXT_TABS_MAX, ' '));

    std::string plain(550, 'x');
    guarded_area long_area(plain.c_str(), sizeof long_area.bytes);
    text_expand_tabs(long_area.bytes, sizeof long_area.bytes);
    EXPECT_EQ(strlen(long_area.bytes), (size_t)TEXT_TABS_MAX);
}

TEST(HexValue, ReadsHexDigitsAfterWhiteSpace) {
    struct {
        const char *in;
        long value;
    } cases[] = {
        {"ff", 255},
        {"  1A2b", 0x1a2b},
        {"\t0", 0},
        {"", 0},
        {"xyz", 0},
        {"12g4", 0x12},
        {"0x1f", 0},
        {"-5", 0},
        {"7FFFFFFF", 0x7fffffffL},
        {"FFFFFFFF", 0x7fffffffL},
        {"123456789abcdef", 0x7fffffffL},
    };
    for (const auto &c : cases) EXPECT_EQ(hex_value(c.in), c.value) << c.in;
}

TEST(TextMatch, WildcardsDigitsAndCase) {
    struct {
        const char *pattern, *text;
        int result;
    } cases[] = {
        {"##:##", "08:15", 1},
        {"##:##", "8:15", 0},
        {"##:##", "08:1x", 0},
        {"*.txt", "PROJEKTE.TXT", 1},
        {"*.txt", "2004.txt.bak", 0},
        {"####.txt", "2004.txt", 1},
        {"####.txt", "204.txt", 0},
        {"?", "", 0},
        {"?", "a", 1},
        {"?", "ab", 0},
        {"*", "", 1},
        {"", "", 1},
        {"", "a", 0},
        {"a*", "a", 1},
        {"*a", "bba", 1},
        {"*a", "ab", 0},
        {"a*b*c", "aXbYbZc", 1},
        {"a*b*c", "aXbYbZ", 0},
        {"**x**", "x", 1},
        {"\xe4*", "\xc4rger", 1}, // the same letter in another case
        {"#", "\xb2", 0},         // superscript two is no digit
        {"?#", "a9", 1},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(text_match(c.pattern, c.text), c.result) << c.pattern << " / " << c.text;
    }
}

// The straightforward recursive search, shortest star first.
int reference_match(const char *p, const char *t) {
    if (*p == 0) return *t == 0;
    if (*p == '*') {
        for (const char *s = t;; s++) {
            if (reference_match(p + 1, s)) return 1;
            if (*s == 0) return 0;
        }
    }
    if (*t == 0) return 0;
    int ok = *p == '?' ||
             (*p == '#' ? (*t >= '0' && *t <= '9') : text_upper_char(*p) == text_upper_char(*t));
    return ok && reference_match(p + 1, t + 1);
}

TEST(TextMatch, AgreesWithRecursiveSearchOnRandomPatterns) {
    std::mt19937 random(7);
    const char pattern_chars[] = "ab1*?#A";
    const char text_chars[] = "abAB12";
    for (int round = 0; round < 20000; round++) {
        char pattern[9], text[11];
        int pattern_length = (int)(random() % 9), text_length = (int)(random() % 11);
        for (int i = 0; i < pattern_length; i++) pattern[i] = pattern_chars[random() % 7];
        for (int i = 0; i < text_length; i++) text[i] = text_chars[random() % 6];
        pattern[pattern_length] = 0;
        text[text_length] = 0;
        ASSERT_EQ(text_match(pattern, text), reference_match(pattern, text))
            << pattern << " / " << text;
    }
}

TEST(TextMatch, ManyStarsDoNotExplode) {
    std::string text(5000, 'a');
    EXPECT_EQ(text_match("*a*a*a*a*a*a*a*a*a*a*b", text.c_str()), 0);
    EXPECT_EQ(text_match("*a*a*a*a*a*a*a*a*a*a*a", text.c_str()), 1);
}

} // namespace
