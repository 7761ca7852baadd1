// kxcli's journal commands as a user runs them: output bytes, messages and exit status.
#include "tests/unit/cli_runner.h"
#include "kx_version.h"
#include "tests/unit/test_support.h"
#include <gtest/gtest.h>

namespace {

struct Cli : ::testing::Test {
    TempDir dir;
    std::string work() const { return "--workdir \"" + dir.path + "\" "; }
};

TEST_F(Cli, BookThenLast) {
    CliResult booked =
        run_kxcli(work() + "--now \"2026-12-08 09:15\" book P4711 \"Erste Buchung\"");
    EXPECT_EQ(booked.exit, 0);
    EXPECT_EQ(booked.out, "");
    run_kxcli(work() + "--now \"2026-12-08 10:00\" book --date 2026-12-08 --time 09:55 ---");
    EXPECT_EQ(read_file(dir.file("2026.txt")),
              "2026-12-08  09:15   ---\n"
              "2026-12-08  09:15   P4711               Erste Buchung\n"
              "2026-12-08  09:55   ---                 \n");
    CliResult last = run_kxcli(work() + "--now \"2026-12-08 10:00\" last");
    EXPECT_EQ(last.exit, 0);
    EXPECT_EQ(last.out, "2026-12-08\t09:55\t---\t\n");
}

TEST_F(Cli, TextsAreWindows1252UnlessAskedForUtf8) {
    run_kxcli(work() + "--now \"2026-12-08 09:15\" --utf8 book K1 \"Gr\xC3\xBC\xC3\x9F"
                       "e\"");
    EXPECT_EQ(run_kxcli(work() + "--now \"2026-12-08 10:00\" last").out,
              "2026-12-08\t09:15\tK1\tGr\xFC\xDF"
              "e\n");
    EXPECT_EQ(run_kxcli(work() + "--now \"2026-12-08 10:00\" --utf8 last").out,
              "2026-12-08\t09:15\tK1\tGr\xC3\xBC\xC3\x9F"
              "e\n");
}

TEST_F(Cli, CheckReportsAnOpenDay) {
    run_kxcli(work() + "--now \"2026-12-07 16:00\" book P1");
    CliResult next_day = run_kxcli(work() + "--now \"2026-12-08 08:00\" check");
    EXPECT_EQ(next_day.exit, 0);
    EXPECT_EQ(next_day.out, "Erfassung gestern nicht abgeschlossen.\n");
    EXPECT_EQ(run_kxcli(work() + "--now \"2026-12-07 17:00\" check").out, "");
}

TEST_F(Cli, TrayTellsTheTooltipAndTheMenu) {
    run_kxcli(work() + "--now \"2026-12-08 08:00\" book P1");
    run_kxcli(work() + "--now \"2026-12-08 09:00\" book P2");
    CliResult tray =
        run_kxcli(work() + "--commondir \"" + dir.path + "\" --now \"2026-12-08 09:30\" tray");
    EXPECT_EQ(tray.exit, 0);
    EXPECT_EQ(tray.out, "P2 seit 09:00 \x96 heute 1:30\nP2\nP1\n---\tPause/Arbeitsende\n");
}

TEST_F(Cli, VersionIsTheBuildsVersion) {
    CliResult version = run_kxcli("--version");
    EXPECT_EQ(version.exit, 0);
    EXPECT_EQ(version.out, "Korvex " KX_VERSION_TEXT "\n");
    EXPECT_EQ(run_kxcli("--version last").exit, 2);
}

TEST_F(Cli, VerifyNamesTheSuspiciousLinesOfAYear) {
    write_file(dir.file("2026.txt"), "2026-12-08  08:00   P1\n2026-12-08  9.30    ---\n");
    CliResult found = run_kxcli(work() + "--now \"2026-12-09 10:00\" verify");
    EXPECT_EQ(found.exit, 1);
    EXPECT_EQ(found.out, "2026.txt:2: Uhrzeit ung\xfcltig.\n");
    write_file(dir.file("2025.txt"), "2025-12-08  08:00   P1\n2025-12-08  09:30   ---\n");
    CliResult clean = run_kxcli(work() + "--now \"2026-12-09 10:00\" verify 2025");
    EXPECT_EQ(clean.exit, 0);
    EXPECT_EQ(clean.out + clean.err, "");
    CliResult missing = run_kxcli(work() + "--now \"2026-12-09 10:00\" verify 2024");
    EXPECT_EQ(missing.exit, 1);
    EXPECT_NE(missing.err.find("2024.txt nicht gefunden."), std::string::npos);
}

TEST_F(Cli, WrongUsageAndFailures) {
    const char *wrong[] = {"",
                           "bogus",
                           "book",
                           "last extra",
                           "--now tomorrow last",
                           "book ABCDEFGHIJKLMNOP",
                           "book P1 --time 9:5",
                           "verify 26",
                           "verify 2026 2027",
                           "--workdir"};
    for (const char *arguments : wrong) {
        CliResult result = run_kxcli(work() + arguments);
        EXPECT_EQ(result.exit, 2) << arguments;
        EXPECT_NE(result.err.find("usage: kxcli"), std::string::npos) << arguments;
    }
    write_file(dir.file("blocked"), "");
    CliResult failed = run_kxcli("--workdir \"" + dir.file("blocked/") + "\" book P1");
    EXPECT_EQ(failed.exit, 1);
    EXPECT_NE(failed.err.find("Zeitendatei fehlt."), std::string::npos);
}

} // namespace
