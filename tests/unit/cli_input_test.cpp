// kxcli checks its input at the door: impossible dates and times, and a date of another year
// than the year file, are refused before anything is written; read-only commands create nothing
// and refuse what is no plain year file, without waiting on a pipe.
#include "frame/platform.h"
#include "tests/unit/cli_runner.h"
#include "tests/unit/test_support.h"
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

struct CliInput : ::testing::Test {
    TempDir dir;
    std::string work() const { return "--workdir \"" + dir.path + "\" "; }
};

TEST_F(CliInput, ImpossibleDatesTimesAndOtherYearsAreRefused) {
    const std::string before = "2026-12-08  08:00   ---\n";
    write_file(dir.file("2026.txt"), before);
    struct {
        const char *arguments, *message;
    } cases[] = {
        {"--date 2026-13-45", "Ung\xFCltiges Datum: 2026-13-45\n"},
        {"--date 2026-02-29", "Ung\xFCltiges Datum: 2026-02-29\n"},
        {"--time 25:99", "Ung\xFCltige Uhrzeit: 25:99\n"},
        {"--time 12:60", "Ung\xFCltige Uhrzeit: 12:60\n"},
        {"--date 2025-01-01", nullptr},
    };
    for (const auto &c : cases) {
        CliResult result = run_kxcli(work() + "--now \"2026-12-08 09:00\" book P " + c.arguments);
        EXPECT_EQ(result.exit, 2) << c.arguments;
        if (c.message) {
            EXPECT_EQ(result.err, c.message);
        }
        EXPECT_EQ(read_file(dir.file("2026.txt")), before) << c.arguments;
    }
    EXPECT_EQ(run_kxcli(work() + "--now \"2026-12-08 09:00\" book P --date 2025-01-01").err,
              "Datum 2025-01-01 geh\xF6rt nicht in die Zeitendatei " + dir.file("2026.txt") +
                  ".\n");
    EXPECT_EQ(run_kxcli(work() + "--now \"2026-02-31 09:00\" book P").exit, 2);
    EXPECT_FALSE(file_there(dir.file("2025.txt")));
}

// The end of an open 31 December booked in the new year goes into the old year's file.
TEST_F(CliInput, LastYearsDateGoesToLastYearsFile) {
    write_file(dir.file("2026.txt"), "2026-12-31  16:00   P\n");
    CliResult result = run_kxcli(work() + "--now \"2027-01-02 08:00\" book --- --date 2026-12-31 "
                                          "--time 17:00");
    EXPECT_EQ(result.exit, 0) << result.err;
    EXPECT_EQ(read_file(dir.file("2026.txt")), "2026-12-31  16:00   P\n"
                                               "2026-12-31  17:00   ---                 \n");
}

TEST_F(CliInput, ReadOnlyCommandsCreateNothing) {
    std::string missing = dir.file("typo/dir");
    for (const char *command : {"last", "check", "projects", "palm build-times"}) {
        CliResult result = run_kxcli("--workdir \"" + missing + "\" --commondir \"" + dir.path +
                                     "\" --now \"2026-12-08 09:00\" " + command);
        EXPECT_EQ(result.exit, 1) << command;
        EXPECT_EQ(result.err, "Arbeitsverzeichnis " + missing + "/ fehlt.\n") << command;
        EXPECT_EQ(platform_path_kind(missing.c_str()), PATH_NONE) << command;
    }
    CliResult last = run_kxcli(work() + "--now \"2026-12-08 09:00\" last");
    EXPECT_EQ(last.exit, 1);
    EXPECT_EQ(last.err, "Zeitendatei " + dir.file("2026.txt") + " nicht gefunden.\n");
    EXPECT_FALSE(file_there(dir.file("2026.txt")));
}

// A work folder set by hand without its final separator runs the file names on from its last
// word; every command reads the file the reports read.
TEST_F(CliInput, WorkFolderWithoutSeparatorReadsTheReportsFile) {
    write_file(dir.file("kx2026.txt"), "2026-12-08  08:00   P1\n");
    write_file(dir.file("Projekte.txt"), "P1              Eins\r\n");
    write_file(dir.file("k.ini"), "[Installation]\r\nWorkDir=" + dir.file("kx") +
                                      "\r\nCommonDir=" + dir.path + "/\r\n");
    std::string common = "--ini \"" + dir.file("k.ini") + "\" --now \"2026-12-08 09:00\" ";
    for (const char *command : {"last", "check", "projects", "stats 2026 12-08 12-08"})
        EXPECT_EQ(run_kxcli(common + command).exit, 0) << command;
    EXPECT_EQ(run_kxcli(common + "last").out, "2026-12-08\t08:00\tP1\t\n");
}

#ifndef _WIN32
TEST_F(CliInput, PipesAndFoldersAsYearFilesAreRefusedWithoutWaiting) {
    for (bool pipe : {true, false}) {
        std::string year = dir.file("2026.txt");
        remove(year.c_str());
        ASSERT_EQ(pipe ? mkfifo(year.c_str(), 0600) : mkdir(year.c_str(), 0700), 0);
        for (const char *command : {"last", "check", "book P", "palm build-times"}) {
            CliResult result = run_kxcli(work() + "--now \"2026-12-08 09:00\" " + command);
            EXPECT_EQ(result.exit, 1) << command;
            EXPECT_NE(result.err, "") << command;
        }
    }
}
#endif

} // namespace
