// Statistics: project levels, months and weeks, list lines and copy texts, the full sum list.
#include "timerec/statalk.h"
#include "frame/dates.h"
#include "tests/unit/report_fixture.h"
#include <stdio.h>

namespace {

struct Statistics : ReportTest {
    void SetUp() override {
        ReportTest::SetUp();
        statalk_alloc();
    }
    void TearDown() override { statalk_free(); }
    Lines evaluate(int mode, int hours_minutes = 0, const char *from = "01-01",
                   const char *to = "12-31") {
        statalk_evaluate("2003", from, to, mode, hours_minutes);
        Lines lines;
        statalk_list(collect_line, &lines);
        return lines;
    }
};

// One booking of minutes on a day, closed by a pause.
std::string period(const std::string &date, const std::string &project, int minutes) {
    char end[16];
    snprintf(end, sizeof end, "%02d:%02d", 8 + minutes / 60, minutes % 60);
    return booking_line(date, "08:00", project) + booking_line(date, end, "---");
}

TEST(ReportTexts, DurationsAndSharesRoundHalvesAwayFromZero) {
    struct {
        long minutes;
        int hours_minutes, width;
        const char *text;
    } cases[] = {
        {3, 0, 0, "0,1"},           {9, 0, 0, "0,2"},       {15, 0, 0, "0,3"},
        {27, 0, 0, "0,5"},          {45, 0, 0, "0,8"},      {90, 0, 7, "    1,5"},
        {-30, 0, 0, "-0,5"},        {150, 1, 7, "   2:30"}, {0, 1, 0, "0:00"},
        {-90, 1, 6, " -1:30"},      {-5, 1, 0, "-0:05"},    {600000, 0, 7, "10000,0"},
        {6000000, 0, 7, "*******"},
    };
    for (const auto &c : cases) {
        char text[REPORT_FIELD + 1];
        report_duration(text, c.minutes, c.width, c.hours_minutes);
        EXPECT_STREQ(text, c.text) << c.minutes << " minutes";
    }
    char share[REPORT_FIELD + 1];
    report_share(share, 1, 16, 7);
    EXPECT_STREQ(share, "    6,3");
    report_share(share, 2, 3, 0);
    EXPECT_STREQ(share, "66,7");
}

TEST_F(Statistics, EveryLevelOfAProjectNameCounts) {
    journal("2003", period("2003-03-03", "A B", 60) + period("2003-03-04", "A", 30));
    EXPECT_EQ(evaluate(STAT_PROJECT, 1),
              (Lines{"                   1:30 h  100,0 %", "A                  1:30 h  100,0 %",
                     "A B                1:00 h   66,7 %"}));
    journal("2003", period("2003-03-03", "KD 4711 Test", 510) + period("2003-03-04", "X", 510));
    EXPECT_EQ(evaluate(STAT_PROJECT),
              (Lines{"                   17,0 h  100,0 %", "KD                  8,5 h   50,0 %",
                     "KD 4711             8,5 h   50,0 %", "KD 4711 Test        8,5 h   50,0 %",
                     "X                   8,5 h   50,0 %"}));
}

TEST_F(Statistics, RepeatedProjectsAddToTheirLevels) {
    journal("2003", period("2003-03-03", "KD 1", 30) + period("2003-03-04", "KD 2", 30) +
                        period("2003-03-05", "KD 1", 30) + period("2003-03-06", "KD", 30) +
                        period("2003-03-07", "KD 2", 30));
    EXPECT_EQ(evaluate(STAT_PROJECT, 1),
              (Lines{"                   2:30 h  100,0 %", "KD                 2:30 h  100,0 %",
                     "KD 1               1:00 h   40,0 %", "KD 2               1:00 h   40,0 %"}));
}

TEST_F(Statistics, ListOrderIgnoresCaseAndPutsTheTotalFirst) {
    journal("2003", period("2003-03-03", "kd 1", 60) + period("2003-03-04", "KD", 60) +
                        period("2003-03-05", "Ab", 60) + period("2003-03-06", "KD-2", 60));
    Lines lines = evaluate(STAT_PROJECT);
    Lines names;
    for (const std::string &line : lines) names.push_back(line.substr(0, 16));
    EXPECT_EQ(names, (Lines{std::string(16, ' '), "Ab              ", "KD              ",
                            "kd              ", "kd 1            ", "KD-2            "}));
}

TEST_F(Statistics, MonthsAreNamedByTheirTwoDigits) {
    journal("2003", period("2003-01-31", "P", 60) + period("2003-03-01", "P", 30) +
                        period("2003-12-31", "Q", 30) + period("2003-01-02", "Q", 60));
    EXPECT_EQ(evaluate(STAT_MONTH),
              (Lines{"                    3,0 h  100,0 %", "01                  2,0 h   66,7 %",
                     "03                  0,5 h   16,7 %", "12                  0,5 h   16,7 %"}));
}

TEST_F(Statistics, WeeksAtTheYearBoundaries) {
    struct {
        const char *year, *date, *week;
    } cases[] = {
        {"2003", "2003-06-18", "25"}, // an ordinary week
        {"2003", "2003-12-31", "53"}, // week 1 of 2004, after 2003's last week 52
        {"2008", "2008-12-29", "53"}, // week 1 of 2009
        {"2012", "2012-12-31", "53"}, // week 1 of 2013
        {"2009", "2009-12-31", "53"}, // a year with a week 53 of its own
        {"2010", "2010-01-01", "00"}, // week 53 of 2009
        {"2011", "2011-01-02", "00"}, // week 52 of 2010
        {"2005", "2005-01-03", "01"}, {"2004", "2004-12-31", "53"},
    };
    for (const auto &c : cases) {
        journal(c.year, period(c.date, "P", 60));
        statalk_evaluate(c.year, "01-01", "12-31", STAT_WEEK, 0);
        Lines lines;
        statalk_list(collect_line, &lines);
        ASSERT_EQ(lines.size(), 2u) << c.date;
        EXPECT_EQ(lines[1].substr(0, 16), std::string(c.week) + std::string(14, ' ')) << c.date;
    }
}

// Late-December days of the next year's week 1 are the week after the year's last week, however
// much of the year is evaluated and whatever was booked before.
TEST_F(Statistics, LateDecemberWeekDoesNotDependOnTheRange) {
    journal("2008", period("2008-12-10", "P", 60) + period("2008-12-29", "P", 60) +
                        period("2008-12-30", "P", 60));
    for (const char *from : {"01-01", "12-29"}) {
        statalk_evaluate("2008", from, "12-31", STAT_WEEK, 0);
        Lines lines;
        statalk_list(collect_line, &lines);
        EXPECT_EQ(lines.back(), "53                  2,0 h  " +
                                    std::string(from[0] == '0' ? " 66,7" : "100,0") + " %");
    }
}

TEST_F(Statistics, CopyTextsPlainAndAsTable) {
    journal("2003", period("2003-03-03", "KD", 510) + period("2003-03-04", "A B", 510));
    statalk_evaluate("2003", "01-01", "12-31", STAT_PROJECT, 1);
    EXPECT_EQ(taken(statalk_copy(0)), "                  17:00 h  100,0 %\r\n"
                                      "A                  8:30 h   50,0 %\r\n"
                                      "A B                8:30 h   50,0 %\r\n"
                                      "KD                 8:30 h   50,0 %\r\n");
    EXPECT_EQ(taken(statalk_copy(1)), "A\t8:30\t50,0\r\nA B\t8:30\t50,0\r\nKD\t8:30\t50,0\r\n"
                                      "\t17:00\t100,0\r\n");
    // The list keeps its lines after the copy sorted the sum list.
    Lines lines;
    statalk_list(collect_line, &lines);
    EXPECT_EQ(lines.size(), 4u);
}

TEST_F(Statistics, NothingCountedListsAndCopiesNothing) {
    journal("2003", period("2003-03-03", "KD", 60));
    EXPECT_TRUE(evaluate(STAT_PROJECT, 0, "03-04", "12-31").empty());
    EXPECT_EQ(statalk_copy(0), nullptr);
    EXPECT_TRUE(evaluate(STAT_PROJECT, 0, "03-01", "02-01").empty()); // to before from
    EXPECT_EQ(statalk_total(), 0);
}

TEST_F(Statistics, EachEvaluationStartsAfresh) {
    journal("2003", period("2003-03-03", "KD", 60) + period("2003-04-03", "KD", 60));
    evaluate(STAT_PROJECT, 0, "01-01", "12-31");
    EXPECT_EQ(evaluate(STAT_PROJECT, 0, "04-01", "12-31"),
              (Lines{"                    1,0 h  100,0 %", "KD                  1,0 h  100,0 %"}));
    char from[DATE_TEXT + 1], to[DATE_TEXT + 1];
    statalk_range(from, to);
    EXPECT_STREQ(from, "2003-04-01");
    EXPECT_STREQ(to, "2003-12-31");
}

TEST_F(Statistics, AFullSumListTakesNoNewGroupsButTheTotalCountsThem) {
    std::string content = many_projects("2003-03-03", STASUP + 1);
    content +=
        booking_line("2003-03-03", "16:41", "P0000") + booking_line("2003-03-03", "16:43", "---");
    journal("2003", content);
    Lines lines = evaluate(STAT_PROJECT, 1);
    ASSERT_EQ(lines.size(), (size_t)STASUP + 1);
    EXPECT_EQ(lines[0], "                  16:43 h  100,0 %");
    EXPECT_EQ(lines[1], "P0000              0:03 h    0,3 %");
    EXPECT_EQ(lines.back().substr(0, 5), "P0999");
}

TEST_F(Statistics, DetailPrefixFromAProjectLine) {
    journal("2003", period("2003-03-03", "ABCDEFGHIJKLMNO", 60));
    Lines lines = evaluate(STAT_PROJECT);
    char prefix[REPORT_PREFIX_COLUMNS + 1];
    EXPECT_EQ(statalk_detail_prefix(1, lines[1].c_str(), prefix), 0);
    EXPECT_STREQ(prefix, "ABCDEFGHIJKL");
    EXPECT_EQ(statalk_detail_prefix(0, lines[0].c_str(), prefix), -1); // the total line
    EXPECT_EQ(statalk_detail_prefix(-1, "", prefix), -1);
    lines = evaluate(STAT_MONTH);
    EXPECT_EQ(statalk_detail_prefix(1, lines[1].c_str(), prefix), -1);
}

TEST_F(Statistics, AMissingYearFileIsReported) {
    EXPECT_EQ(statalk_evaluate("2002", "01-01", "12-31", STAT_PROJECT, 0), -1);
    EXPECT_EQ(messages.last_status(), "Zeitendatei " + dir.path + "2002.txt nicht gefunden.");
    EXPECT_EQ(statalk_copy(1), nullptr);
}

TEST_F(Statistics, AllocationFailuresEndTheProgram) {
    statalk_free();
    fmalloc_inject_failures(1);
    EXPECT_EXIT(statalk_alloc(), ::testing::ExitedWithCode(3),
                "ASSERT ERROR\nstatalk\\..+\n\\(einlis=fmalloc\\(STASUP, sizeof\\(struct "
                "einpos\\)\\)\\) != NULL");
    fmalloc_inject_failures(0);
    statalk_alloc();
    journal("2003", period("2003-03-03", "KD", 60));
    statalk_evaluate("2003", "01-01", "12-31", STAT_PROJECT, 0);
    fmalloc_inject_failures(1);
    EXPECT_EXIT(statalk_copy(0), ::testing::ExitedWithCode(3),
                "ASSERT ERROR\nstatalk\\..+\n\\(text=fmalloc\\(50,1000\\)\\) != NULL");
    fmalloc_inject_failures(0);
}

} // namespace
