// Weekly report: rows per project and weekday, the middle-dot marker, sums, copies, week stepping.
#include "timerec/wchtalk.h"
#include "frame/dates.h"
#include "tests/unit/report_fixture.h"
#include <stdio.h>

namespace {

struct WeeklyReport : ReportTest {
    void SetUp() override {
        ReportTest::SetUp();
        wchtalk_alloc();
    }
    void TearDown() override { wchtalk_free(); }
    Lines evaluate(int hours_minutes, const char *from = "12-08", const char *to = "12-14") {
        wchtalk_evaluate("2003", from, to, hours_minutes);
        Lines lines;
        wchtalk_list(collect_line, &lines);
        return lines;
    }
};

// Monday 2003-12-08: K2 150 minutes; Tuesday: KD 30; Saturday: K2 60 and KD 4711 15.
const std::string week_journal =
    booking_line("2003-12-08", "08:00", "K2") + booking_line("2003-12-08", "10:30", "---") +
    booking_line("2003-12-09", "08:00", "KD") + booking_line("2003-12-09", "08:30", "---") +
    booking_line("2003-12-13", "08:00", "K2") + booking_line("2003-12-13", "09:00", "KD 4711") +
    booking_line("2003-12-13", "09:15", "---");

// A name column of 16 characters, and the empty cells with the marker.
std::string name(const std::string &text) {
    return text + std::string(16 - text.size(), ' ');
}
const std::string dot = "    \xB7 ", dot_hm = "   \xB7  ";

TEST_F(WeeklyReport, RowsCellsAndSumsInDecimalHours) {
    journal("2003", week_journal);
    EXPECT_EQ(evaluate(0),
              (Lines{
                  name("") + "    Mo    Di    Mi    Do    Fr    Sa    So",
                  name("K2") + "   2,5" + dot + dot + dot + dot + "   1,0" + dot + "     3,5",
                  name("KD") + dot + "   0,5" + dot + dot + dot + dot + dot + "     0,5",
                  name("KD 4711") + dot + dot + dot + dot + dot + "   0,3" + dot + "     0,3",
                  name("") + "   2,5   0,5" + dot + dot + dot + "   1,3" + dot + "     4,3",
              }));
}

TEST_F(WeeklyReport, RowsCellsAndSumsInHoursAndMinutes) {
    journal("2003", week_journal);
    EXPECT_EQ(evaluate(1), (Lines{
                               name("").substr(1) + "    Mo    Di    Mi    Do    Fr    Sa    So",
                               name("K2") + "  2:30" + dot_hm + dot_hm + dot_hm + dot_hm +
                                   "  1:00" + dot_hm + "    3:30",
                               name("KD") + dot_hm + "  0:30" + dot_hm + dot_hm + dot_hm + dot_hm +
                                   dot_hm + "    0:30",
                               name("KD 4711") + dot_hm + dot_hm + dot_hm + dot_hm + dot_hm +
                                   "  0:15" + dot_hm + "    0:15",
                               name("") + "  2:30  0:30" + dot_hm + dot_hm + dot_hm + "  1:15" +
                                   dot_hm + "    4:15",
                           }));
}

// The marker stands where the colon or the decimal comma of a value stands in the same column.
TEST_F(WeeklyReport, TheMarkerLinesUpWithColonAndComma) {
    journal("2003", week_journal);
    for (int hours_minutes = 0; hours_minutes <= 1; hours_minutes++) {
        Lines lines = evaluate(hours_minutes);
        size_t value = lines[1].find(hours_minutes ? ':' : ','); // K2 on Monday
        EXPECT_EQ(lines[2].find('\xB7'), value);                 // KD on Monday
    }
}

TEST_F(WeeklyReport, TableCopyWritesZerosAsNumbers) {
    journal("2003", week_journal);
    evaluate(1);
    EXPECT_EQ(taken(wchtalk_copy(1)), "K2\t2:30\t0:00\t0:00\t0:00\t0:00\t1:00\t0:00\t3:30\r\n"
                                      "KD\t0:00\t0:30\t0:00\t0:00\t0:00\t0:00\t0:00\t0:30\r\n"
                                      "KD 4711\t0:00\t0:00\t0:00\t0:00\t0:00\t0:15\t0:00\t0:15\r\n"
                                      "\t\t\t\t\t\t\t\t4:15\r\n");
    std::string plain = taken(wchtalk_copy(0));
    EXPECT_EQ(plain.substr(0, 59),
              name("").substr(1) + "    Mo    Di    Mi    Do    Fr    Sa    So\r\n");
    EXPECT_EQ(plain.size(), 59u + 4 * (16 + 7 * 6 + 8 + 2));
}

TEST_F(WeeklyReport, ALongerRangeSumsEveryMondayIntoMonday) {
    journal("2003", week_journal + booking_line("2003-12-15", "08:00", "K2") +
                        booking_line("2003-12-15", "09:00", "---"));
    Lines lines = evaluate(0, "12-01", "12-31");
    EXPECT_EQ(lines[1].substr(16, 6), "   3,5");
}

TEST_F(WeeklyReport, NothingCountedListsAndCopiesNothing) {
    journal("2003", week_journal);
    EXPECT_TRUE(evaluate(0, "12-29", "01-04").empty());
    EXPECT_EQ(wchtalk_copy(0), nullptr);
}

TEST_F(WeeklyReport, AFullRowListKeepsTheMinutesInTheGrandTotal) {
    std::string content = many_projects("2003-12-08", STASUP + 1);
    journal("2003", content + booking_line("2003-12-08", "16:41", "---"));
    Lines lines = evaluate(1);
    ASSERT_EQ(lines.size(), (size_t)STASUP + 2);
    std::string empty_days = dot_hm + dot_hm + dot_hm + dot_hm + dot_hm + dot_hm;
    EXPECT_EQ(lines[STASUP], name("P0999") + "  0:01" + empty_days + "    0:01");
    EXPECT_EQ(lines.back(), name("") + " 16:40" + empty_days + "   16:41");
}

TEST_F(WeeklyReport, DetailPrefixFromARow) {
    journal("2003", week_journal);
    Lines lines = evaluate(0);
    char prefix[REPORT_PREFIX_COLUMNS + 1];
    EXPECT_EQ(wchtalk_detail_prefix(0, lines[0].c_str(), prefix), -1);
    EXPECT_EQ(wchtalk_detail_prefix(-1, "", prefix), -1);
    EXPECT_EQ(wchtalk_detail_prefix(3, lines[3].c_str(), prefix), 0);
    EXPECT_STREQ(prefix, "KD 4711");
    EXPECT_EQ(wchtalk_detail_prefix(4, lines[4].c_str(), prefix), 0);
    EXPECT_STREQ(prefix, "");
    char from[DATE_TEXT + 1], to[DATE_TEXT + 1];
    wchtalk_range(from, to);
    EXPECT_STREQ(from, "2003-12-08");
    EXPECT_STREQ(to, "2003-12-14");
}

std::string fields(const week_fields &f) {
    return std::string(f.year) + " " + f.from + " " + f.to;
}

TEST(WeekFields, PreviousWeekAndSteps) {
    struct {
        int year, month, day;
        const char *week;
    } today[] = {
        {2003, 6, 18, "2003 06-09 06-15"}, {2003, 6, 22, "2003 06-09 06-15"},
        {2003, 6, 23, "2003 06-16 06-22"}, {2004, 1, 5, "2003 12-29 01-04"},
        {2004, 1, 1, "2003 12-22 12-28"},
    };
    for (const auto &t : today) {
        set_now(t.year, t.month, t.day, 9, 0);
        week_fields f;
        wchtalk_previous_week(&f);
        EXPECT_EQ(fields(f), t.week) << t.year << "-" << t.month << "-" << t.day;
    }
    struct {
        const char *year, *from;
        int days;
        const char *week;
    } steps[] = {
        {"2003", "12-22", 7, "2003 12-29 01-04"},  {"2003", "12-29", 7, "2004 01-05 01-11"},
        {"2004", "01-05", -7, "2003 12-29 01-04"}, {"2003", "06-18", -7, "2003 06-09 06-15"},
        {"2004", "02-23", 7, "2004 03-01 03-07"},
    };
    for (const auto &s : steps) {
        week_fields f;
        wchtalk_step(&f, s.year, s.from, s.days);
        EXPECT_EQ(fields(f), s.week) << s.year << "-" << s.from << " " << s.days;
    }
}

} // namespace
