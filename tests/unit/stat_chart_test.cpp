// The statistics chart: bar lengths and levels, what fits, its commands and its SVG text.
#include "timerec/stat_chart.h"
#include "timerec/statalk.h"
#include "tests/unit/report_fixture.h"
#include <string>

namespace {

struct Line {
    const char *name;
    int minutes;
};

// A chart of the lines (the first one the total), laid out width x height.
stat_chart *chart_of(std::initializer_list<Line> lines, int width, int height = 0,
                     int mode = STAT_PROJECT) {
    static stat_chart chart;
    stat_chart_begin(&chart, mode);
    for (const Line &line : lines) stat_chart_line(&chart, line.name, line.minutes);
    stat_chart_layout(&chart, width, height);
    return &chart;
}

std::string svg_of(const stat_chart *chart) {
    report_text out;
    report_text_begin(&out, "test");
    stat_chart_svg(chart, &out);
    return taken(report_text_take(&out));
}

TEST(StatChart, BarsTakeTheirShareOfTheBarsAreaAndTheListsLevels) {
    // A level is indented by two cells ("A  B" is on level 1). Names up to 16 cells ('KD 4711 Test'
    // on level 2) and times of 5 cells in 600 pixels leave 400 pixels for a bar of 100 %.
    stat_chart *chart = chart_of({{"", 1020},
                                  {"KD", 510},
                                  {"KD 4711", 255},
                                  {"KD 4711 Test", 3},
                                  {"KD  X", 1},
                                  {"X", 1020},
                                  {"NEG", -30},
                                  {"OVER", 1500}},
                                 600);
    EXPECT_EQ(chart->bar_x, 144);
    EXPECT_EQ(chart->bar_width, 400);
    EXPECT_STREQ(chart->total_time, "17:00");
    struct {
        int length, level;
        const char *time;
    } expected[] = {{200, 0, "8:30"},  {100, 1, "4:15"}, {1, 2, "0:03"},   {0, 1, "0:01"},
                    {400, 0, "17:00"}, {0, 0, "-0:30"},  {400, 0, "25:00"}};
    ASSERT_EQ(chart->count, 7);
    for (int i = 0; i < chart->count; i++) {
        EXPECT_EQ(chart->bars[i].length, expected[i].length) << chart->bars[i].name;
        EXPECT_EQ(chart->bars[i].level, expected[i].level) << chart->bars[i].name;
        EXPECT_STREQ(chart->bars[i].time, expected[i].time) << chart->bars[i].name;
    }
    // Months and weeks are not nested.
    EXPECT_EQ(chart_of({{"", 60}, {"KD 4711", 60}}, 600, 0, STAT_MONTH)->bars[0].level, 0);
}

TEST(StatChart, RowsThatDoNotFitAreCountedInANoteAndTheBarsAreaKeepsItsMinimum) {
    struct {
        int height, shown;
    } cases[] = {{0, 5}, {39 + 5 * 20, 5}, {39 + 5 * 20 - 1, 3}, {39 + 20, 0}, {10, 0}};
    for (const auto &c : cases) {
        stat_chart *chart = chart_of(
            {{"", 50}, {"A", 10}, {"B", 10}, {"C", 10}, {"D", 10}, {"E", 10}}, 400, c.height);
        EXPECT_EQ(chart->shown, c.shown) << c.height;
        EXPECT_EQ(chart->height, c.height ? c.height : 39 + 5 * 20);
    }
    stat_chart *narrow = chart_of({{"", 50}, {"A", 50}}, 20);
    EXPECT_EQ(narrow->bar_width, CHART_BAR_MIN);
    EXPECT_EQ(narrow->width, 152); // names 6 cells, times 4 cells, 40 pixels of bars
}

TEST(StatChart, CommandsDrawTotalRuleBarsAndNote) {
    Lines commands;
    stat_chart_commands(
        chart_of({{"", 90}, {"A  B", 45}, {"C", 30}, {"D", 15}}, 300, 39 + 3 * 20 - 1),
        collect_line, &commands);
    EXPECT_EQ(commands,
              (Lines{"CLEAR", "FONT 1", "COLOR 0 0 0", "TEXT 8 23 Gesamt", "RTEXT 292 23 1:30",
                     "COLOR 128 128 128", "FILL 8 27 292 28", "COLOR 0 0 0", "TEXT 24 46 A  B",
                     "COLOR 91 139 208", "FILL 64 34 158 48", "COLOR 0 0 0", "RTEXT 292 46 0:45",
                     "TEXT 8 66 ... und 2 weitere", "PAINT"}));
    Lines empty;
    stat_chart_commands(chart_of({{"", 0}, {"A", 0}}, 300), collect_line, &empty);
    EXPECT_EQ(empty, (Lines{"CLEAR", "FONT 1", "COLOR 0 0 0", "PAINT"}));
}

TEST(StatChart, SvgTextsAreEscapedToAscii) {
    std::string svg = svg_of(chart_of({{"", 60}, {"R&D <\xE4\x80>", 30}, {"\x81\x01x", 30}}, 400));
    EXPECT_NE(svg.find(">R&amp;D &lt;&#xE4;&#x20AC;&gt;</text>"), std::string::npos) << svg;
    EXPECT_NE(svg.find(">??x</text>"), std::string::npos) << svg;
    EXPECT_EQ(svg.find_first_of(std::string("\x80\x81\x01\xE4", 4)), std::string::npos);
    EXPECT_EQ(svg.rfind("</svg>\r\n"), svg.size() - 8);
}

struct ChartOfStatistics : ReportTest {
    void TearDown() override { statalk_free(); }
};

TEST_F(ChartOfStatistics, TakesTheListedLinesInListOrder) {
    journal("2003", booking_line("2003-03-03", "08:00", "b") +
                        booking_line("2003-03-03", "09:00", "A B") +
                        booking_line("2003-03-03", "09:30", "---"));
    statalk_evaluate("2003", "01-01", "12-31", STAT_PROJECT, 0);
    static stat_chart chart;
    stat_chart_take_listed(&chart, STAT_PROJECT);
    EXPECT_EQ(chart.total, 90);
    ASSERT_EQ(chart.count, 3);
    EXPECT_STREQ(chart.bars[0].name, "A");
    EXPECT_STREQ(chart.bars[1].name, "A B");
    EXPECT_EQ(chart.bars[1].level, 1);
    EXPECT_STREQ(chart.bars[2].name, "b");
    EXPECT_EQ(chart.bars[2].minutes, 60);
}

} // namespace
