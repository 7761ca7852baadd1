// Detail view: list lines with duration, unit, weekend marker and text; prefix selection; copies.
#include "timerec/stdetail.h"
#include "tests/unit/report_fixture.h"

namespace {

TEST(DetailLines, ColumnsMarkersAndTexts) {
    std::string forty(40, 'x'), long_text = "  " + forty + "yz";
    struct {
        const char *date, *project;
        int minutes;
        std::string text;
        int hours_minutes;
        const char *line;
    } cases[] = {
        {"2003-12-08", "P1", 90, "", 0, "2003-12-08  P1                  1,5 h   "},
        {"2003-12-08", "P1", 90, "", 1, "2003-12-08  P1                 1:30     "},
        {"2003-12-13", "KD 4711", 15, "Text", 0, "2003-12-13  KD 4711             0,3 h Sa Text"},
        {"2003-12-14", "KD", 600, " Text ", 1, "2003-12-14  KD                10:00   So Text"},
        {"2003-12-09", "ABCDEFGHIJKLMNO", 60, "", 0, "2003-12-09  ABCDEFGHIJKLMN      1,0 h   "},
    };
    for (const auto &c : cases) {
        char line[STDETAIL_LINE + 1];
        stdetail_line(line, c.date, c.project, c.minutes, c.text.c_str(), c.hours_minutes);
        EXPECT_STREQ(line, c.line);
    }
    char line[STDETAIL_LINE + 1];
    stdetail_line(line, "2003-12-10", "P", 60, long_text.c_str(), 0);
    EXPECT_EQ(std::string(line), "2003-12-10  P                   1,0 h    " + forty.substr(2));
}

TEST(DetailLines, TableCopyTakesTheColumns) {
    report_text copy;
    report_text_begin(&copy, "stdetail");
    std::string with_text = "2003-12-13  KD 4711             0,3 h Sa " + std::string(40, 't');
    stdetail_copy_line(&copy, with_text.c_str(), 1);
    stdetail_copy_line(&copy, "2003-12-08  P1                 1:30     ", 1);
    stdetail_copy_line(&copy, "2003-12-08  P1                 1:30     ", 0);
    EXPECT_EQ(taken(report_text_take(&copy)), "2003-12-13\tKD 4711\t0,3\t" + std::string(40, 't') +
                                                  "\r\n2003-12-08\tP1\t1:30\t\r\n"
                                                  "2003-12-08  P1                 1:30     \r\n");
}

struct Detail : ReportTest {
    Lines collect(const char *prefix, const char *from = "2003-01-01",
                  const char *to = "2003-12-31") {
        Lines lines;
        int count = stdetail_collect(prefix, from, to, 0, collect_line, &lines);
        EXPECT_EQ(count, (int)lines.size());
        return lines;
    }
};

TEST_F(Detail, ThePrefixSelectsProjectsByTheirFirstCharacters) {
    journal("2003", booking_line("2003-12-08", "08:00", "KD 4711", "erst") +
                        booking_line("2003-12-08", "09:00", "K") +
                        booking_line("2003-12-08", "10:00", "KDX") +
                        booking_line("2003-12-08", "11:00", "KD") +
                        booking_line("2003-12-08", "12:00", "---"));
    Lines kd = collect("KD");
    ASSERT_EQ(kd.size(), 3u);
    EXPECT_EQ(kd[0], "2003-12-08  KD 4711             1,0 h    erst");
    EXPECT_EQ(kd[1].substr(12, 3), "KDX");
    EXPECT_EQ(kd[2].substr(12, 3), "KD ");
    EXPECT_EQ(collect("").size(), 4u);
    EXPECT_EQ(collect("KD 4711 ").size(), 0u);
    EXPECT_EQ(collect("KD", "2003-12-09").size(), 0u);
}

TEST_F(Detail, AMissingYearFileGivesNoLines) {
    Lines lines;
    EXPECT_EQ(stdetail_collect("", "2002-01-01", "2002-12-31", 0, collect_line, &lines), -1);
    EXPECT_TRUE(lines.empty());
    EXPECT_NE(messages.last_status().find("2002.txt nicht gefunden."), std::string::npos);
}

} // namespace
