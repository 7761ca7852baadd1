// kxcli's reports as a user runs them, on the journal, project file and settings of tests/cli/data:
// output bytes, messages, exit status and the export file, compared with the files of
// tests/cli/expected. Both builds compare with the same files, so kxcli and kxcli.exe agree byte
// for byte.
#include "tests/unit/cli_runner.h"
#include "frame/path.h"
#include "tests/unit/test_support.h"
#include <gtest/gtest.h>
#include <string>

namespace {

const std::string source = KX_CLI_DATA;

// The expected text of a file, "{DIR}" standing for the test's folder; "" when there is none.
std::string expected(const std::string &name, const std::string &folder) {
    std::string text = read_file(source + "/expected/" + name);
    for (size_t at; (at = text.find("{DIR}")) != std::string::npos;) text.replace(at, 5, folder);
    return text;
}

struct ReportCli : ::testing::Test {
    TempDir dir;
    void SetUp() override {
        make_dir(dir.file("journal").c_str());
        make_dir(dir.file("common").c_str());
        make_dir(dir.file("export").c_str());
        std::string journal = read_file(source + "/data/journal/2003.txt");
        ASSERT_FALSE(journal.empty()) << "no journal in " << source;
        ASSERT_FALSE(expected("stats-project.out", "").empty());
        write_file(dir.file("journal/2003.txt"), journal);
        write_file(dir.file("common/Projekte.txt"),
                   read_file(source + "/data/common/Projekte.txt"));
        write_file(dir.file("korvex.ini"), "[Global]\r\nMainWindow=0 1 -1 -1 -1 -1 0 0 9 9\r\n"
                                           "[Installation]\r\nWorkDir=" +
                                               dir.path +
                                               "journal/\r\n"
                                               "CommonDir=" +
                                               dir.path +
                                               "common/\r\n"
                                               "ExportDir=" +
                                               dir.path +
                                               "export/\r\n"
                                               "Person=ABC\r\nLastWeek=50\r\n");
    }
    CliResult run(const std::string &arguments) {
        return run_kxcli("--ini \"" + dir.file("korvex.ini") + "\" --now \"2003-12-17 10:00\" " +
                         arguments);
    }
};

TEST_F(ReportCli, OutputsMessagesAndExitStatus) {
    struct {
        const char *name;
        int exit;
        const char *arguments;
    } cases[] = {
        {"projects", 0, "projects"},
        {"stats-project", 0, "stats 2003 01-01 12-31"},
        {"stats-project-table", 0, "stats 2003 01-01 12-31 --table --minutes"},
        {"stats-month", 0, "stats 2003 01-01 12-31 --mode month --minutes"},
        {"stats-week-table", 0, "stats 2003 01-01 12-31 --mode week --table"},
        {"stats-nothing", 0, "stats 2003 02-01 02-28"},
        {"stats-no-year-file", 1, "stats 2002 01-01 12-31"},
        {"week-default", 0, "week"},
        {"week-minutes", 0, "week 2003 12-01 12-31 --minutes"},
        {"week-table", 0, "week 2003 12-01 12-31 --table"},
        {"detail-kd", 0, "detail KD 2003-01-01 2003-12-31"},
        {"detail-all-table", 0, "detail \"\" 2003-12-01 2003-12-31 --table --minutes"},
        {"export-refused", 1, "--person \"?\" export 2003 01-01 12-31"},
        {"export-off", 0, "--person --- export 2003 01-01 12-31"},
        {"export", 0, "export 2003 01-01 12-31"},
        {"month", 0, "month 2003 12"},
        {"month-table", 0, "month --table"},
        {"holidays", 0, "holidays 2003"},
        {"periods", 0, "periods 2003 01-01 12-31"},
        {"periods-utf8", 0, "--utf8 periods 2003 12-01 12-31"},
        {"timeclock", 0, "timeclock 2003 01-01 12-31"},
    };
    for (const auto &c : cases) {
        CliResult result = run(c.arguments);
        EXPECT_EQ(result.exit, c.exit) << c.name;
        EXPECT_EQ(result.out, expected(std::string(c.name) + ".out", dir.path)) << c.name;
        EXPECT_EQ(result.err, expected(std::string(c.name) + ".err", dir.path)) << c.name;
    }
    EXPECT_EQ(read_file(dir.file("export/2003ABC.txt")), expected("2003ABC.txt", dir.path));
}

// The chart of what stats lists goes to the SVG file, replacing an older one whole; a file that
// cannot be written fails the command.
TEST_F(ReportCli, StatsWritesItsChartAsSvg) {
    struct {
        const char *arguments, *svg;
    } cases[] = {
        {"stats 2003 01-01 12-31 --minutes", "stats-project.svg"},
        {"stats 2003 01-01 12-31 --mode week", "stats-week.svg"},
        {"stats 2003 02-01 02-28", "stats-nothing.svg"},
    };
    std::string svg = dir.file("chart.svg");
    write_file(svg, std::string(100000, 'x'));
    for (const auto &c : cases) {
        CliResult result = run(std::string(c.arguments) + " --svg \"" + svg + "\"");
        EXPECT_EQ(result.exit, 0) << c.arguments << result.err;
        EXPECT_EQ(read_file(svg), expected(c.svg, dir.path)) << c.arguments;
    }
    CliResult missing = run("stats 2003 01-01 12-31 --svg \"" + dir.file("none/chart.svg") + "\"");
    EXPECT_EQ(missing.exit, 1);
    EXPECT_NE(missing.err.find("cannot write the chart"), std::string::npos) << missing.err;
}

TEST_F(ReportCli, WrongUsage) {
    const char *wrong[] = {"stats 2003 01-01",
                           "stats 03 01-01 12-31",
                           "stats 2003 1-1 12-31",
                           "stats 2003 01-01 12-31 --mode day",
                           "week 2003",
                           "detail KD 2003-01-01",
                           "detail ABCDEFGHIJKLMNOP 2003-01-01 2003-12-31",
                           "export 2003 01-01 12-3",
                           "projects extra",
                           "month 2003",
                           "month 2003 13",
                           "month 1900 01",
                           "holidays 03",
                           "periods 2003 01-01",
                           "timeclock 2003 0101 12-31"};
    for (const char *arguments : wrong) {
        CliResult result = run(arguments);
        EXPECT_EQ(result.exit, 2) << arguments;
        EXPECT_NE(result.err.find("usage: kxcli"), std::string::npos) << arguments;
    }
}

} // namespace
