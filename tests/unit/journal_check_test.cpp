// The journal check: which lines of a year file it names, and with which reason.
#include "timerec/journal_check.h"
#include "timerec/journal.h"
#include "tests/unit/test_support.h"
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace {

void collect(const check_finding *finding, void *context) {
    char line[200];
    journal_check_line(line, sizeof line, "2026.txt", finding);
    ((std::vector<std::string> *)context)->push_back(line + std::string("|") + finding->text);
}

struct Check : ::testing::Test {
    TempDir dir;
    void SetUp() override { set_now(2026, 12, 9, 10, 30); }
    // The findings of a 2026 file of content, as "2026.txt:LINE: REASON|TEXT".
    std::vector<std::string> check(const std::string &content, long *count = nullptr) {
        write_file(dir.file("2026.txt"), content);
        std::vector<std::string> found;
        long result = journal_check(dir.file("2026.txt").c_str(), 2026, collect, &found);
        if (count) *count = result;
        return found;
    }
};

const std::string day = "2026-12-08  08:00   P1                  Text\n"
                        "2026-12-08  12:00   ---\n";
const std::string long_text(60, 'x');

struct Case {
    const char *what;
    std::string content;
    std::vector<std::string> found; // "LINE: REASON" only
};

TEST_F(Check, NamesEachReasonAtItsBoundaries) {
    const Case cases[] = {
        {"a closed day as an editor leaves it",
         "\r\n2026-12-08  08:00   P1\t\t\tmit Tabs\r\n   \n2026-12-08  09:00   ---\r\n\x1a\x1a",
         {}},
        {"the last day of February",
         "2026-02-28  08:00   ---\n2026-02-29  08:00   ---\n2026-12-32  08:00   ---\n",
         {"2: Datum ung\xfcltig.", "3: Datum ung\xfcltig."}},
        {"a date without its columns", "2026-12\n", {"1: Datum ung\xfcltig."}},
        {"times up to 23:59",
         "2026-12-08  23:59   ---\n2026-12-09  24:00   ---\n2026-12-09  9.30    ---\n"
         "2026-12-09  10:60   ---\n2026-12-09\n",
         {"2: Uhrzeit ung\xfcltig.", "3: Uhrzeit ung\xfcltig.", "4: Uhrzeit ung\xfcltig.",
          "5: Uhrzeit ung\xfcltig."}},
        {"a day of the year before",
         "2025-12-31  08:00   ---\n" + day,
         {"1: Datum aus einem anderen Jahr."}},
        {"moved columns, also when they spoil the time",
         "2026-12-08  08:00  P1\n2026-12-08 09:00   ---\n2026-12-08  10:00   ---\n",
         {"1: Spalten verschoben.", "2: Spalten verschoben."}},
        {"a day before the previous one",
         "2026-12-08  08:00   ---\n2026-12-07  08:00   ---\n2026-12-08  09:00   ---\n",
         {"2: Datum vor dem der vorigen Zeile."}},
        {"an earlier time of the same day",
         "2026-12-08  10:00   P1\n2026-12-08  09:59   P2\n2026-12-08  11:00   ---\n",
         {"2: Uhrzeit vor der der vorigen Zeile."}},
        {"the same moment as an earlier line, also further back",
         "2026-12-08  08:00   P1\n2026-12-08  08:00   P2\n2026-12-08  09:00   ---\n"
         "2026-12-07  08:00   ---\n2026-12-08  08:00   ---\n",
         {"2: Gleiche Zeit wie Zeile 1.", "4: Datum vor dem der vorigen Zeile.",
          "5: Gleiche Zeit wie Zeile 1."}},
        {"lines with a bad date or time take no part in the order",
         "2026-12-08  10:00   P1\n2026-12-08  07:xx   P2\n2026-13-08  07:00   P2\n"
         "2026-12-08  11:00   ---\n",
         {"2: Uhrzeit ung\xfcltig.", "3: Datum ung\xfcltig."}},
        {"a day left open before the next day and at the end",
         "2026-12-07  08:00   P1\n\n2026-12-08  08:00   P1\n",
         {"1: Tag ohne Abschluss.", "3: Tag ohne Abschluss."}},
        {"today's running booking is no open day", "2026-12-09  08:00   P1\n", {}},
        {"100 characters are read, blanks and carriage returns beyond them do not count",
         "2026-12-08  08:00   P1                  " + long_text + "\n" +
             "2026-12-08  08:01   P1                  " + long_text + "   \r\n" +
             "2026-12-08  08:02   P1                  " + long_text + "y\n" +
             "2026-12-08  12:00   ---\n",
         {"3: Zeile zu lang, nur 100 Zeichen z\xe4hlen."}},
        {"lines after an end-of-file byte",
         day + "\x1a\n\n2026-12-08  13:00   P1\n  \x1a \n",
         {"5: Zeile nach Dateiende-Zeichen wird nicht gelesen."}},
        {"the text ends inside a line",
         "2026-12-08  08:00   P1\n2026-12-08  09:00   ---\x1a more\n",
         {"2: Zeile nach Dateiende-Zeichen wird nicht gelesen."}},
        {"the day closes at the end of the text, not of the file",
         "2026-12-08  08:00   P1\n\x1a"
         "2026-12-08  09:00   ---\n",
         {"1: Tag ohne Abschluss.", "2: Zeile nach Dateiende-Zeichen wird nicht gelesen."}},
        {"a line the walk skips keeps its place among the findings",
         "2026-12-07  08:00   P1\n" + std::string(100, ' ') + "x\n2026-12-08  08:00   ---\n",
         {"1: Tag ohne Abschluss.", "2: Zeile zu lang, nur 100 Zeichen z\xe4hlen."}},
        {"a last line without its line feed counts",
         "\n\n2026-12-08  08:00   P1",
         {"3: Tag ohne Abschluss."}},
    };
    for (const Case &c : cases) {
        long count;
        std::vector<std::string> found = check(c.content, &count), reasons;
        for (const std::string &finding : found)
            reasons.push_back(finding.substr(strlen("2026.txt:"), finding.find('|') - 9));
        EXPECT_EQ(reasons, c.found) << c.what;
        EXPECT_EQ(count, (long)c.found.size()) << c.what;
    }
}

TEST_F(Check, ShowsTheLineAsTheWalkReadsIt) {
    std::vector<std::string> found =
        check("2026-12-08  08:00   P1  \r\n" + std::string(98, 'a') + "\r" + "bcdef\n");
    EXPECT_EQ(found, (std::vector<std::string>{
                         "2026.txt:1: Tag ohne Abschluss.|2026-12-08  08:00   P1  ",
                         "2026.txt:2: Datum ung\xfcltig.|" + std::string(98, 'a') + "bc"}));
}

TEST_F(Check, RowsAndSummaryTellTheUser) {
    check_finding finding = {1843, CHECK_SAME_TIME, 17, "2026-12-08\t08:00"};
    char row[64], summary[100];
    journal_check_row(row, sizeof row, &finding);
    EXPECT_STREQ(row, "1843\tGleiche Zeit wie Zeile 17.\t2026-12-08 08:00");
    journal_check_row(row, 10, &finding);
    EXPECT_STREQ(row, "1843\tGlei");
    const std::tuple<long, long, const char *> summaries[] = {
        {-1, 0, "Kann Datei 2026.txt nicht lesen."},
        {0, 0, "2026.txt: keine auff\xe4lligen Zeilen."},
        {1, 1, "2026.txt: 1 auff\xe4llige Zeile."},
        {3, 3, "2026.txt: 3 auff\xe4llige Zeilen."},
        {3000, 1000, "2026.txt: 3000 auff\xe4llige Zeilen, die ersten 1000 hier."},
    };
    for (const auto &[count, shown, expected] : summaries) {
        journal_check_summary(summary, sizeof summary, "2026.txt", count, shown);
        EXPECT_STREQ(summary, expected) << count;
    }
    const std::pair<long, const char *> statuses[] = {
        {1, "2026.txt: 1 auff\xe4llige Zeile (Datei > Zeiten pr\xfc"
            "fen...)"},
        {3, "2026.txt: 3 auff\xe4llige Zeilen (Datei > Zeiten pr\xfc"
            "fen...)"},
    };
    for (const auto &[count, expected] : statuses) {
        journal_check_status(summary, sizeof summary, "2026.txt", count);
        EXPECT_STREQ(summary, expected) << count;
    }
}

TEST_F(Check, TheDayOfAFindingIsItsLinesDate) {
    const std::pair<const char *, const char *> lines[] = {
        {"  2026-12-08  9.30    P1", "2026-12-08"},
        {"2026-12-32  09:30   P1", ""},
        {"2026-12", ""},
    };
    for (const auto &[line, day] : lines) {
        check_finding finding = {1, CHECK_BAD_TIME, 0, line};
        char out[JOURNAL_DATE + 1];
        EXPECT_EQ(journal_check_day(out, &finding), day[0] ? 0 : -1) << line;
        EXPECT_STREQ(out, day) << line;
    }
}

TEST_F(Check, AMissingFileCannotBeChecked) {
    EXPECT_EQ(journal_check(dir.file("2026.txt").c_str(), 2026, collect, nullptr), -1);
}

} // namespace
