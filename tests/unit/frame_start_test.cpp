// The frame's start-up texts: the configuration resource, the placement value, the help file and
// keyword, the file dialog's filter and the document paths.
#include "frame/config.h"
#include "frame/desktop.h"
#include "frame/help.h"
#include "frame/placement.h"
#include <gtest/gtest.h>
#include <string>

static frame_config parsed(const std::string &bytes) {
    frame_config config;
    config_defaults(&config);
    config_parse(&config, (const unsigned char *)bytes.data(), bytes.size());
    return config;
}

// Entries as the resource compiler lays them out: text and two NUL bytes each.
static std::string entries(std::initializer_list<const char *> list) {
    std::string bytes;
    for (const char *entry : list) bytes += std::string(entry) + std::string(2, '\0');
    return bytes + std::string(2, '\0');
}

TEST(Config, DefaultsHoldWithoutEntries) {
    frame_config config = parsed("");
    EXPECT_STREQ(config.class_name, "TORKtest");
    EXPECT_STREQ(config.name, "TORK Testprogramm");
    EXPECT_STREQ(config.font, "Fixedsys");
    EXPECT_EQ(config.single, 0);
    EXPECT_EQ(config.dde_server, 1);
    EXPECT_EQ(config.class_style, 0x8u);
    EXPECT_EQ(config.window_style, 0x3CF0000u);
    EXPECT_EQ(config.background, BACKGROUND_SYSTEM);
}

TEST(Config, ProgramEntriesAreTaken) {
    frame_config config = parsed(entries({"Class TORKKX", "Name  Korvex", "SmallIcon SMALL_ICON",
                                          "Single 1", "WPFile TORKKX.ini", "WPSection Global"}));
    EXPECT_STREQ(config.class_name, "TORKKX");
    EXPECT_STREQ(config.name, "Korvex"); // white space after the first space is skipped
    EXPECT_STREQ(config.small_icon, "SMALL_ICON");
    EXPECT_STREQ(config.large_icon, "ANW_ICON");
    EXPECT_EQ(config.single, 1);
    EXPECT_STREQ(config.wp_file, "TORKKX.ini");
    EXPECT_STREQ(config.wp_section, "Global");
}

TEST(Config, StylesAreHexadecimalAndAPrefixReadsZero) {
    EXPECT_EQ(parsed(entries({"CStyle 2B"})).class_style, 0x2Bu);
    EXPECT_EQ(parsed(entries({"WStyle ff0000"})).window_style, 0xFF0000u);
    EXPECT_EQ(parsed(entries({"WStyle 0x10"})).window_style, 0u);
}

TEST(Config, UnknownKeysEntriesWithoutSpaceAndCaseAreIgnored) {
    frame_config config = parsed(entries({"Colour 1 2 3", "Single", "name Other", "Class KX2"}));
    EXPECT_EQ(config.single, 0);
    EXPECT_STREQ(config.name, "TORK Testprogramm");
    EXPECT_STREQ(config.class_name, "KX2");
}

TEST(Config, TheSequenceEndsAtAnEntryBeginningWithNul) {
    std::string bytes = entries({"Class A"}) + "Class B" + std::string(2, '\0');
    EXPECT_STREQ(parsed(bytes).class_name, "A");
}

TEST(Config, LongEntriesAndValuesAreCutNeverOverrun) {
    std::string long_value(300, 'x');
    frame_config config = parsed(
        entries({("Name " + long_value).c_str(), ("Class " + long_value).c_str(), "Font Courier"}));
    EXPECT_EQ(std::string(config.name), std::string(CONFIG_NAME, 'x'));
    EXPECT_EQ(std::string(config.class_name), std::string(CONFIG_CLASS, 'x'));
    EXPECT_STREQ(config.font, "Courier");
    // A resource that ends without terminators is read to its end only.
    std::string cut = "Class ABCDEFGH";
    EXPECT_STREQ(parsed(cut.substr(0, 9)).class_name, "ABC");
}

TEST(Config, LaterBackgroundEntriesOverrideEarlierOnes) {
    frame_config color = parsed(entries({"BGBitmap STONE", "BGColor 10 20 30"}));
    EXPECT_EQ(color.background, BACKGROUND_COLOR);
    EXPECT_EQ(color.background_rgb[2], 30);
    EXPECT_EQ(parsed(entries({"BGColor 1 2 3", "BGBitmap STONE"})).background, BACKGROUND_BITMAP);
}

TEST(Placement, TenNumbersAndTheDpiRoundTripAndFewerAreRefused) {
    const long numbers[PLACEMENT_NUMBERS] = {0, 1, -1, -1, -8, -30, 10, 20, 810, 620};
    char text[PLACEMENT_TEXT];
    placement_format(text, sizeof text, numbers, 144);
    EXPECT_STREQ(text, "0 1 -1 -1 -8 -30 10 20 810 620 144");
    long read[PLACEMENT_NUMBERS];
    int dpi = 0;
    ASSERT_EQ(placement_parse(text, read, &dpi), 0);
    for (int i = 0; i < PLACEMENT_NUMBERS; i++) EXPECT_EQ(read[i], numbers[i]);
    EXPECT_EQ(dpi, 144);
    EXPECT_EQ(placement_parse("0 1 -1 -1 -8 -30 10 20 810", read, &dpi), -1);
    EXPECT_EQ(placement_parse("0 1 x 2 3 4 5 6 7 8", read, &dpi), -1);
    EXPECT_EQ(placement_parse("", read, &dpi), -1);
    EXPECT_EQ(placement_parse("0 1 2 3 4 5 6 7 8 99999999999999", read, &dpi), -1);
}

// A value of an earlier version has no DPI; a DPI no screen has is not believed.
TEST(Placement, MissingOrImpossibleDpiReadsAs96) {
    const struct {
        const char *value;
        int dpi;
    } cases[] = {
        {"0 1 -1 -1 -8 -30 10 20 810 620", 96},
        {"0 1 -1 -1 -8 -30 10 20 810 620 192", 192},
        {"0 1 -1 -1 -8 -30 10 20 810 620 0", 96},
        {"0 1 -1 -1 -8 -30 10 20 810 620 -144", 96},
        {"0 1 -1 -1 -8 -30 10 20 810 620 99999999999", 96},
        {"0 1 -1 -1 -8 -30 10 20 810 620 x", 96},
    };
    for (const auto &c : cases) {
        long read[PLACEMENT_NUMBERS];
        int dpi = 0;
        ASSERT_EQ(placement_parse(c.value, read, &dpi), 0) << c.value;
        EXPECT_EQ(dpi, c.dpi) << c.value;
    }
}

// Saved at 96 DPI, restored at 144: the content's size grows by half, the corner stays.
TEST(Placement, RescaleKeepsTheCornerAndScalesTheSize) {
    long n[PLACEMENT_NUMBERS] = {0, 1, -1, -1, -8, -30, 10, 20, 810, 620};
    placement_rescale(n, 96, 144);
    EXPECT_EQ(n[6], 10);
    EXPECT_EQ(n[7], 20);
    EXPECT_EQ(n[8], 10 + 1200);
    EXPECT_EQ(n[9], 20 + 900);
    EXPECT_EQ(n[4], -8); // the maximised corner is a position, not a size
    placement_rescale(n, 144, 96);
    EXPECT_EQ(n[8], 810);
    EXPECT_EQ(n[9], 620);
}

TEST(Help, FileBesideTheProgramAndKeywordOfTheActiveDialog) {
    char file[260], keyword[HELP_KEYWORD_MAX + 1];
    help_file_path(file, sizeof file, "C:\\Programme\\Korvex\\kx.exe");
    EXPECT_STREQ(file, "C:\\Programme\\Korvex\\kx.HLP");
    help_file_path(file, sizeof file, "/opt/korvex/kx");
    EXPECT_STREQ(file, "/opt/korvex/kx.HLP");
    help_keyword(keyword, sizeof keyword, "DB1100");
    EXPECT_STREQ(keyword, "ZZ_DB1100");
    help_keyword(keyword, sizeof keyword, "");
    EXPECT_STREQ(keyword, "MenuIndex");
    help_html_file_path(file, sizeof file, "C:\\Programme\\Korvex\\kx.exe");
    EXPECT_STREQ(file, "C:\\Programme\\Korvex\\kx.chm");
}

TEST(Help, KeywordsFindTheirPagesAndOthersTheContents) {
    const struct {
        const char *keyword, *page;
    } cases[] = {
        {"MenuIndex", "hauptfenster.htm"},
        {"ZZ_DB1100", "statistik.htm"},
        {"ZZ_DB1201", "palmtop.htm"},
        // A dialog newer than the help file, and no keyword at all: the contents.
        {"ZZ_DB9999", "hauptfenster.htm"},
        {"", "hauptfenster.htm"},
    };
    for (const auto &c : cases) EXPECT_STREQ(help_page(c.keyword), c.page) << c.keyword;
}

TEST(Desktop, FilterPartsBecomeTerminatedPairs) {
    char pairs[FILE_DIALOG_FILTER + 2];
    EXPECT_EQ(file_filter_pairs(pairs, "Alle Dateien|*.*|Textdateien|*.txt||"), 2);
    EXPECT_STREQ(pairs, "Alle Dateien");
    EXPECT_STREQ(pairs + 13, "*.*");
    EXPECT_STREQ(pairs + 17, "Textdateien");
    EXPECT_STREQ(pairs + 29, "*.txt");
    EXPECT_EQ(pairs[35], 0);
    EXPECT_EQ(file_filter_pairs(pairs, ""), 0);
    std::string huge(500, 'a');
    EXPECT_EQ(file_filter_pairs(pairs, huge.c_str()), 0); // cut to the area, never overrun
}

TEST(Desktop, DocumentPathsUseBackslashesAndTheFolder) {
    char path[260], folder[260];
    document_paths("C:/Zeit/2026.txt", path, folder, sizeof path);
    EXPECT_STREQ(path, "C:\\Zeit\\2026.txt");
    EXPECT_STREQ(folder, "C:\\Zeit");
}
