// Merging taken-over lines into year files: sorted, one line per date and time, nothing lost,
// and a year file that cannot be read or written is left exactly as it was.
#include "timerec/journal.h"
#include "frame/path.h"
#include "tests/unit/test_support.h"
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace {

void note_year(const journal_merge_year *year, void *context) {
    (*(std::map<int, journal_merge_year> *)context)[year->year] = *year;
}

struct Merge : ::testing::Test {
    TempDir dir;
    MessageRecorder messages;
    std::map<int, journal_merge_year> years;
    void SetUp() override {
        use_work_dir(dir.path);
        set_now(2003, 12, 9, 10, 30);
    }
    int merge(const std::string &lines) {
        write_file(dir.file("Zeiten.txt"), lines);
        years.clear();
        return journal_merge(dir.file("Zeiten.txt").c_str(), note_year, &years);
    }
};

TEST_F(Merge, SortsAndKeepsOneLinePerDateAndTime) {
    write_file(dir.file("2003.txt"), "2003-06-18  07:50   ---\n"
                                     "2003-06-18  08:30   ALT                 alt\n"
                                     "2003-06-17  17:00   ---\n");
    EXPECT_EQ(merge("2003-06-18  08:30   KD4711              Besprechung\n"
                    "2003-06-17  08:00   K2\n"),
              1);
    EXPECT_EQ(read_file(dir.file("2003.txt")),
              "2003-06-17  08:00   K2\n"
              "2003-06-17  17:00   ---\n"
              "2003-06-18  07:50   ---\n"
              "2003-06-18  08:30   KD4711              Besprechung\n");
    EXPECT_EQ(years[2003].lines_before, 3);
    EXPECT_EQ(years[2003].lines_after, 4);
    EXPECT_EQ(years[2003].result, 0);
}

TEST_F(Merge, TakingOverTwiceChangesNothing) {
    std::string lines = "2003-06-18  08:30   KD4711              Besprechung\n"
                        "2003-06-18  12:00   ---\n";
    merge(lines);
    std::string once = read_file(dir.file("2003.txt"));
    merge(lines);
    EXPECT_EQ(read_file(dir.file("2003.txt")), once);
    EXPECT_EQ(years[2003].lines_before, years[2003].lines_after);
}

TEST_F(Merge, LinesOfTwoYearsGoToBothFiles) {
    write_file(dir.file("2004.txt"), "2004-01-02  08:00   ---\n");
    EXPECT_EQ(merge("2003-12-30  08:00   P1\n2003-12-30  09:00   ---\n2004-01-02  07:00   P2\n"
                    "\n   \nkein Jahr\n"),
              2);
    EXPECT_EQ(read_file(dir.file("2003.txt")), "2003-12-30  08:00   P1\n2003-12-30  09:00   ---\n");
    EXPECT_EQ(read_file(dir.file("2004.txt")), "2004-01-02  07:00   P2\n2004-01-02  08:00   ---\n");
    EXPECT_EQ(years.size(), 2u);
}

// No table limit: every line, however long and however many, comes through whole.
TEST_F(Merge, KeepsManyAndLongLinesWhole) {
    std::string existing, expected;
    for (int i = 0; i < 3000; i++) {
        char line[64];
        snprintf(line, sizeof line, "2003-%02d-%02d  %02d:%02d   P%d", 1 + i / 280, 1 + i % 28,
                 i / 60 % 24, i % 60, i);
        existing += std::string(line) + "\n";
    }
    std::string long_line = "2003-12-31  23:59   LANG                " + std::string(5000, 'L');
    write_file(dir.file("2003.txt"), existing);
    merge(long_line + "\n");
    std::string merged = read_file(dir.file("2003.txt"));
    EXPECT_EQ(years[2003].lines_after, 3001);
    EXPECT_NE(merged.find(long_line + "\n"), std::string::npos);
    EXPECT_EQ(merged.size(), existing.size() + long_line.size() + 1);
}

TEST_F(Merge, CarriageReturnsAndEndMarksOfTheYearFileAreDropped) {
    write_file(dir.file("2003.txt"),
               "2003-06-18  08:00   P1\r\n\r\n2003-06-18  09:00   ---\r\n\x1a\x1a");
    merge("2003-06-18  07:00   ---\n");
    EXPECT_EQ(read_file(dir.file("2003.txt")),
              "2003-06-18  07:00   ---\n2003-06-18  08:00   P1\n2003-06-18  09:00   ---\n");
}

// A year file with text after an end-of-file mark would lose that text if rewritten from what
// the readers see, so it is left alone and reported.
TEST_F(Merge, YearFileWithTextAfterAnEndMarkIsNotRewritten) {
    std::string content = "2003-06-18  08:00   P1\n\x1a"
                          "2003-06-18  09:00   ---\n";
    write_file(dir.file("2003.txt"), content);
    EXPECT_EQ(merge("2003-06-18  07:00   ---\n"), 0);
    EXPECT_EQ(read_file(dir.file("2003.txt")), content);
    EXPECT_EQ(years[2003].result, -1);
    EXPECT_EQ(
        messages.warnings,
        std::vector<std::string>{"Kann Zeitendatei " + dir.file("2003.txt") + " nicht schreiben."});
}

TEST_F(Merge, UnreadableYearIsNeverRewritten) {
    make_dir(dir.file("2003.txt").c_str()); // exists, but cannot be read as a file
    EXPECT_EQ(merge("2003-06-18  07:00   ---\n2004-01-01  08:00   ---\n"), 1);
    EXPECT_EQ(years[2003].result, -1);
    EXPECT_EQ(years[2004].result, 0);
    EXPECT_EQ(messages.warnings.size(), 1u);
}

// When the new year file cannot be written, the old one stays untouched.
TEST_F(Merge, FailedWriteLeavesTheOldFile) {
    std::string content = "2003-06-18  08:00   P1\n";
    write_file(dir.file("2003.txt"), content);
    make_dir(dir.file("2003.txt.new").c_str());
    EXPECT_EQ(merge("2003-06-18  07:00   ---\n"), 0);
    EXPECT_EQ(read_file(dir.file("2003.txt")), content);
    EXPECT_EQ(messages.warnings.size(), 1u);
}

TEST_F(Merge, MissingSourceDoesNothing) {
    EXPECT_EQ(journal_merge(dir.file("none.txt").c_str(), note_year, &years), -1);
    EXPECT_TRUE(years.empty());
}

} // namespace
