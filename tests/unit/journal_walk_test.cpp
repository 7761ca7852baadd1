// The journal walk: pairing the lines of a day into counted periods within a date range.
#include "timerec/journal.h"
#include "tests/unit/test_support.h"
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct Period {
    std::string date, project, text;
    int minutes;
    bool operator==(const Period &o) const {
        return date == o.date && project == o.project && minutes == o.minutes && text == o.text;
    }
};

std::ostream &operator<<(std::ostream &out, const Period &p) {
    return out << p.date << "|" << p.project << "|" << p.minutes << "|" << p.text;
}

void collect(const char *date, const char *project, int minutes, void *context) {
    ((std::vector<Period> *)context)->push_back({date, project, journal_walk_text(), minutes});
}

struct Walk : ::testing::Test {
    TempDir dir;
    MessageRecorder messages;
    void SetUp() override {
        use_work_dir(dir.path);
        set_now(2003, 12, 9, 10, 30);
    }
    std::vector<Period> walk(const std::string &content, const char *from = "2003-01-01",
                             const char *to = "2003-12-31", int *result = nullptr) {
        write_file(dir.file("2003.txt"), content);
        std::vector<Period> periods;
        int delivered = journal_walk("2003-06-01", from, to, collect, &periods);
        if (result) *result = delivered;
        return periods;
    }
};

TEST_F(Walk, PairsTheLinesOfADay) {
    int delivered;
    auto periods = walk("2003-12-08  07:50   ---\n"
                        "2003-12-08  08:00   P4711               Besprechung\n"
                        "2003-12-08  09:30   K2\n"
                        "2003-12-08  12:00   ---\n"
                        "2003-12-08  12:45   K2                  nach Tisch\n"
                        "2003-12-08  17:05   ---\n",
                        "2003-01-01", "2003-12-31", &delivered);
    EXPECT_EQ(periods, (std::vector<Period>{{"2003-12-08", "P4711", "Besprechung", 90},
                                            {"2003-12-08", "K2", "", 150},
                                            {"2003-12-08", "K2", "nach Tisch", 260}}));
    EXPECT_EQ(delivered, 3);
    EXPECT_TRUE(messages.status.empty());
}

void collect_times(const char *, const char *, int, void *context) {
    long begin, end;
    journal_walk_times(&begin, &end);
    ((std::vector<long> *)context)->insert(((std::vector<long> *)context)->end(), {begin, end});
}

TEST_F(Walk, TellsTheTimesOfEachPeriodTheRunningOneEndingNow) {
    write_file(dir.file("2003.txt"), "2003-12-09  07:50   P1\n"
                                     "2003-12-09  08:05   P2\n");
    std::vector<long> times;
    journal_walk("2003", "2003-12-09", "2003-12-09", collect_times, &times);
    EXPECT_EQ(times, (std::vector<long>{470, 485, 485, 630}));
}

TEST_F(Walk, EditorLeftoversAndTabsAreRead) {
    auto periods = walk("2003-12-08  08:00   ---\r\n"
                        "\r\n"
                        "   \n"
                        "2003-12-08  08:15   P1\t\t\tmit Tabs   \r\n"
                        "2003-12-08  09:00   ---\r\n\x1a"
                        "2003-12-08  09:30   P2\n");
    EXPECT_EQ(periods, (std::vector<Period>{{"2003-12-08", "P1", "mit Tabs", 45}}));
}

// The date and the project as delivered: their 11 and 16 bytes, which must be the texts
// followed by zeros.
void collect_padded(const char *date, const char *project, int, void *context) {
    auto *out = (std::vector<std::string> *)context;
    out->push_back(std::string(date, JOURNAL_DATE + 1));
    out->push_back(std::string(project, JOURNAL_PROJECT + 1));
}

TEST_F(Walk, DatesAndProjectsAreFilledWithZeros) {
    write_file(dir.file("2003.txt"), "2003-12\n2003-12\n2003-12-08  08:00   P1\n"
                                     "2003-12-08  09:00   ---\n");
    std::vector<std::string> delivered;
    journal_walk("2003", "2003-01-01", "2003-12-31", collect_padded, &delivered);
    using namespace std::string_literals;
    EXPECT_EQ(delivered, (std::vector<std::string>{"2003-12\0\0\0\0"s, std::string(16, '\0'),
                                                   "2003-12-08\0"s, "P1" + std::string(14, '\0')}));
}

TEST_F(Walk, ProjectsAreTrimmedAndFilledWithZeros) {
    write_file(dir.file("2003.txt"), std::string("2003-12-08  08:00   KD 4711 Test   Text\n"
                                                 "2003-12-08  08:10   ABCDEFGHIJKLMNOPQ\n"
                                                 "2003-12-08  08:20   K2\v\f \n"
                                                 "2003-12-08  08:30     vorne  \n"
                                                 "2003-12-08  08:40   P\n"
                                                 "2003-12-08  08:50              \x01\n"
                                                 "2003-12-08  09:00   AB") +
                                         std::string("\0CD  \n", 6) +
                                         "2003-12-08  09:10   \t P9\n"
                                         "2003-12-08  09:20 \n"
                                         "2003-12-08  09:30   ---\n");
    std::vector<std::string> delivered, projects;
    journal_walk("2003", "2003-01-01", "2003-12-31", collect_padded, &delivered);
    for (size_t i = 1; i < delivered.size(); i += 2) projects.push_back(delivered[i]);
    auto padded = [](const char *name) {
        std::string out(name);
        return out + std::string(JOURNAL_PROJECT + 1 - out.size(), '\0');
    };
    EXPECT_EQ(projects,
              (std::vector<std::string>{padded("KD 4711 Test"), padded("ABCDEFGHIJKLMNO"),
                                        padded("K2"), padded("vorne"), padded("P"), padded("\x01"),
                                        padded("AB"), padded("P9"), padded("")}));
}

TEST_F(Walk, NegativePeriodsAreDeliveredAsTheyAre) {
    auto periods = walk("2003-12-08  10:00   P1\n2003-12-08  09:15   ---\n");
    EXPECT_EQ(periods, (std::vector<Period>{{"2003-12-08", "P1", "", -45}}));
}

TEST_F(Walk, DaysWithoutClosureAreReportedNotCounted) {
    auto periods = walk("2003-12-05  08:00   P1\n"
                        "2003-12-06  08:00   P2\n"
                        "2003-12-06  09:00   ---\n"
                        "2003-12-07  08:00   P3\n"
                        "2003-12-08  08:00   ---\n");
    EXPECT_EQ(periods, (std::vector<Period>{{"2003-12-06", "P2", "", 60}}));
    EXPECT_EQ(messages.status, (std::vector<std::string>{"Tag 2003-12-05 hat keinen Abschluss.",
                                                         "Tag 2003-12-07 hat keinen Abschluss."}));
}

// Pairing follows the file order: the end of yesterday booked this morning before today's first
// booking closes yesterday; booked after it, both days are left open.
TEST_F(Walk, PairingFollowsFileOrder) {
    auto closed = walk("2003-12-07  16:00   P1\n"
                       "2003-12-07  17:00   ---\n"
                       "2003-12-08  08:00   P2\n"
                       "2003-12-08  09:00   ---\n");
    EXPECT_EQ(closed.size(), 2u);
    messages.status.clear();
    auto open = walk("2003-12-07  16:00   P1\n"
                     "2003-12-08  08:00   P2\n"
                     "2003-12-07  17:00   ---\n"
                     "2003-12-08  09:00   ---\n");
    EXPECT_TRUE(open.empty());
    EXPECT_EQ(messages.status, (std::vector<std::string>{"Tag 2003-12-07 hat keinen Abschluss.",
                                                         "Tag 2003-12-08 hat keinen Abschluss."}));
}

TEST_F(Walk, RunningPeriodCountsWhenTodayIsInTheRange) {
    std::string journal = "2003-12-09  08:00   ---\n2003-12-09  09:00   P1\n";
    EXPECT_EQ(walk(journal, "2003-12-01", "2003-12-09"),
              (std::vector<Period>{{"2003-12-09", "P1", "", 90}}));
    EXPECT_TRUE(walk(journal, "2003-12-01", "2003-12-08").empty());
    // A running booking of an earlier day is that day's missing closure.
    EXPECT_TRUE(walk("2003-12-08  09:00   P1\n").empty());
    EXPECT_EQ(messages.last_status(), "Tag 2003-12-08 hat keinen Abschluss.");
}

TEST_F(Walk, RangeSelectsByTheClosingLine) {
    std::string journal = "2003-11-30  08:00   P1\n2003-11-30  09:00   ---\n"
                          "2003-12-01  08:00   P2\n2003-12-01  09:00   ---\n"
                          "2003-12-02  08:00   P3\n2003-12-02  09:00   ---\n";
    auto periods = walk(journal, "2003-12-01", "2003-12-01");
    EXPECT_EQ(periods, (std::vector<Period>{{"2003-12-01", "P2", "", 60}}));
    EXPECT_TRUE(walk(journal, "2004-01-01", "2004-12-31").empty());
}

TEST_F(Walk, MissingYearFileIsReported) {
    std::vector<Period> periods;
    EXPECT_EQ(journal_walk("1999", "1999-01-01", "1999-12-31", collect, &periods), -1);
    EXPECT_TRUE(periods.empty());
    EXPECT_EQ(messages.last_status(), "Zeitendatei " + dir.file("1999.txt") + " nicht gefunden.");
}

// The walk keeps 100 characters of a line: a period's text has at most 60.
TEST_F(Walk, LongLinesAreCutToTheWalksLimit) {
    std::string note(200, 'x');
    auto periods = walk("2003-12-08  08:00   P1                  " + note +
                        "\n"
                        "2003-12-08  08:30   ---" +
                        std::string(500, ' ') + "\n");
    ASSERT_EQ(periods.size(), 1u);
    EXPECT_EQ(periods[0].text, std::string(60, 'x'));
    EXPECT_EQ(periods[0].minutes, 30);
}

TEST_F(Walk, ShortLinesHaveEmptyColumns) {
    auto periods = walk("2003-12-08  08\n2003-12-08\n2003-12-08  09:00   ---\n");
    EXPECT_EQ(periods,
              (std::vector<Period>{{"2003-12-08", "", "", -480}, {"2003-12-08", "", "", 540}}));
}

} // namespace

namespace {

// Days of lines of every length (names of 1 to 15 characters, texts of 0 to 58, some lines
// indented) over more than one of the walk's blocks: each is delivered whole, wherever a block
// ends.
TEST_F(Walk, LinesAcrossBlocksAreReadWhole) {
    std::string content;
    std::vector<Period> expected;
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    int line = 0;
    for (int month = 1; content.size() < 3 * (1u << 20); month = month % 12 + 1) {
        for (int day = 1; day <= 28; day++) {
            char date[16];
            snprintf(date, sizeof date, "2003-%02d-%02d", month, day);
            for (int i = 0; i < 80; i++, line++) {
                char time[8];
                snprintf(time, sizeof time, "%02d:%02d", i * 10 / 60, i * 10 % 60);
                std::string project = i == 79 ? "---" : "P" + letters.substr(0, line % 15);
                std::string text = i == 79 ? "" : letters.substr(line % 7, line % 59);
                content += (line % 5 == 0 ? "  " : "") + std::string(date) + "  " + time + "   " +
                           project + std::string(20 - project.size(), ' ') + text + "\n";
                if (i > 0) expected.back().minutes = 10;
                if (i < 79) expected.push_back({date, project, text, 0});
            }
        }
    }
    std::vector<Period> periods = walk(content);
    ASSERT_EQ(periods.size(), expected.size());
    for (size_t i = 0; i < periods.size(); i++) ASSERT_EQ(periods[i], expected[i]) << i;
}

} // namespace

namespace {

void record(const char *date, const char *project, int minutes, void *context) {
    long begin, end;
    journal_walk_times(&begin, &end);
    char line[512];
    snprintf(line, sizeof line, "%s|%s|%d|%s|%ld|%ld|%d\n", date, project, minutes,
             journal_walk_text(), begin, end, journal_walk_running());
    *(std::string *)context += line;
}

void record_open_day(const char *date, const char *project, void *context) {
    long begin, end;
    journal_walk_times(&begin, &end);
    *(std::string *)context +=
        std::string("open ") + date + "|" + project + "|" + std::to_string(begin) + "\n";
}

// The first line where two texts differ, both ways, or "" when they are equal (a diff of texts
// of a megabyte says no more).
std::string first_difference(const std::string &a, const std::string &b) {
    size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at]) at++;
    if (at == a.size() && at == b.size()) return "";
    size_t start = at == 0 ? 0 : a.rfind('\n', at - 1) + 1;
    return a.substr(start, a.find('\n', at) - start) + " / " +
           b.substr(start, b.find('\n', at) - start);
}

// Lines as an editor or another program may leave them, at random: indented, blank, short, too
// long, with NUL bytes, odd time columns, blanks after the text.
std::string odd_journal(size_t size) {
    std::string content;
    unsigned seed = 7;
    auto next = [&seed](unsigned range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % range;
    };
    const std::string odd[] = {"", "  ", "2003-03-0", std::string("2003-03-02  09:00   A\0B", 23),
                               std::string("\0"
                                           "2003-03-02  09:00   NUL first",
                                           30)};
    while (content.size() < size) {
        char line[256];
        int name = (int)next(16);
        snprintf(line, sizeof line, "%s2003-03-%02u  %02u:%c%u   %.*s%*s%s%s", next(6) ? "" : " ",
                 1 + next(3), next(24), next(9) ? '0' + (char)next(6) : ' ', next(10), name,
                 "KD 4711 Test ABCD", (int)next(22), "", next(2) ? "Arbeit" : "",
                 next(8) ? "" : "   ");
        std::string text = line;
        switch (next(12)) {
        case 0:
            text = odd[next(5)];
            break;
        case 1:
            text += std::string(60 + next(80), 'x');
            break;
        case 2:
            text[20 + next((unsigned)text.size() - 19)] = '\0';
            break;
        case 3:
            text = std::string(line).substr(0, 12 + next(8)) + "---";
            break;
        }
        content += text + "\n";
    }
    return content;
}

// The common lines are read in place from plain blocks; the same file with carriage returns
// before each line feed is read the general way throughout. Both walks deliver the same periods,
// days without closure and messages, in the same order, also when an end-of-file mark ends the
// text early.
TEST_F(Walk, PlainBlocksReadAsTheGeneralWay) {
    std::string journal = odd_journal(3 * JOURNAL_WALK_BLOCK);
    for (double mark : {0.0, 0.5}) {
        std::string content = journal;
        if (mark > 0) content.insert((size_t)(mark * (double)content.size()), "\x1a");
        std::string crlf;
        for (char c : content) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        std::string periods[2];
        std::vector<std::string> messages_seen[2];
        for (int general = 0; general < 2; general++) {
            write_file(dir.file("2003.txt"), general ? crlf : content);
            messages.status.clear();
            journal_walk_days("2003", "2003-01-01", "2003-12-31", record, record_open_day,
                              &periods[general]);
            messages_seen[general] = messages.status;
        }
        EXPECT_GT(std::count(periods[0].begin(), periods[0].end(), '\n'), mark == 0.0 ? 2000 : 300);
        EXPECT_EQ(first_difference(periods[0], periods[1]), "") << "end mark at " << mark;
        EXPECT_EQ(messages_seen[0], messages_seen[1]) << "end mark at " << mark;
    }
}

// A file cut into stretches walked by several threads delivers what one walk delivers, in the
// same order, the messages included: with cuts inside runs of blank lines and long lines, an
// end-of-file mark in a middle stretch, carriage returns, and the running period at the end.
TEST_F(Walk, StretchesDeliverWhatOneWalkDelivers) {
    set_now(2003, 3, 3, 23, 0);
    std::string journal = odd_journal(JOURNAL_WALK_BLOCK);
    journal.insert(journal.size() / 3, std::string(journal.size() / 8, '\n'));
    journal.insert(journal.size() / 2, std::string(journal.size() / 8, 'x') + "\n");
    std::string crlf;
    for (char c : journal) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    std::string marked = journal;
    marked.insert(marked.size() * 7 / 10, "\x1a");
    const std::string contents[] = {journal, crlf, marked};
    for (const std::string &content : contents) {
        write_file(dir.file("2003.txt"), content);
        std::string one;
        messages.status.clear();
        journal_walk("2003", "2003-03-02", "2003-12-31", record, &one);
        std::vector<std::string> one_messages = messages.status;
        messages.status.clear();
        journal_walk_part_bytes(1);
        std::string parts[JOURNAL_PARTS_MAX], joined;
        void *contexts[JOURNAL_PARTS_MAX];
        for (int k = 0; k < JOURNAL_PARTS_MAX; k++) contexts[k] = &parts[k];
        journal_parts_walked walked = {};
        int delivered = journal_walk_parts("2003", "2003-03-02", "2003-12-31", record, nullptr,
                                           contexts, JOURNAL_PARTS_MAX, &walked);
        journal_walk_part_bytes(0);
        for (int k = 0; k < walked.used; k++) joined += parts[k];
        EXPECT_EQ(delivered, std::count(joined.begin(), joined.end(), '\n'));
        EXPECT_GT(delivered, 300);
        EXPECT_EQ(first_difference(one, joined), "");
        EXPECT_EQ(one_messages, messages.status);
        EXPECT_EQ(walked.used,
                  &content == &contents[2] ? JOURNAL_PARTS_MAX * 7 / 10 + 1 : JOURNAL_PARTS_MAX);
    }
}

} // namespace
