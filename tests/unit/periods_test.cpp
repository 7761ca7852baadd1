// The periods for other programs: the CSV file's fields, quoting and numbers, the timeclock
// sessions' accounts and the periods they leave out, and the CSV file written through the replace.
#include "timerec/periods.h"
#include "frame/fault.h"
#include "tests/unit/report_fixture.h"
#include "frame/memory.h"
#include "timerec/journal.h"
#include "timerec/stretch_text.h"
#include "timerec/directories.h"

namespace {

int to_string(const char *bytes, size_t length, void *context) {
    ((std::string *)context)->append(bytes, length);
    return 0;
}

const std::string header = "Datum;Beginn;Ende;Minuten;Stunden;Projekt;Text\r\n";

struct PeriodsTest : ReportTest {
    // The periods of 2004 in format, for a year file of a pause and then bookings.
    std::string periods(const std::string &bookings, int format, int *lines = nullptr) {
        journal("2004", booking_line("2004-01-05", "07:00", "---") + bookings);
        std::string out;
        int written = periods_write("2004", "01-01", "12-31", format, to_string, &out);
        if (lines) *lines = written;
        return out;
    }
};

TEST_F(PeriodsTest, CsvFieldsQuotingAndNumbers) {
    struct {
        const char *name;
        std::string bookings;
        const char *line;
    } cases[] = {
        {"fields",
         booking_line("2004-01-05", "08:00", "KD 4711 Test", "Entwurf") +
             booking_line("2004-01-05", "09:30", "---"),
         "05.01.2004;08:00;09:30;90;1,50;KD 4711 Test;Entwurf\r\n"},
        {"hours rounded",
         booking_line("2004-01-05", "08:00", "KD", "") + booking_line("2004-01-05", "08:01", "---"),
         "05.01.2004;08:00;08:01;1;0,02;KD;\r\n"},
        {"negative",
         booking_line("2004-01-05", "10:00", "KD", "") + booking_line("2004-01-05", "09:45", "---"),
         "05.01.2004;10:00;09:45;-15;-0,25;KD;\r\n"},
        {"separator",
         booking_line("2004-01-05", "08:00", "KD;1", "a;b") +
             booking_line("2004-01-05", "08:30", "---"),
         "05.01.2004;08:00;08:30;30;0,50;\"KD;1\";\"a;b\"\r\n"},
        {"quotes",
         booking_line("2004-01-05", "08:00", "KD", "sagt \"ja\"") +
             booking_line("2004-01-05", "08:30", "---"),
         "05.01.2004;08:00;08:30;30;0,50;KD;\"sagt \"\"ja\"\"\"\r\n"},
        {"Windows-1252 as it stands",
         booking_line("2004-01-05", "08:00", "B\xfcro", "\x80") +
             booking_line("2004-01-05", "08:30", "---"),
         "05.01.2004;08:00;08:30;30;0,50;B\xfcro;\x80\r\n"},
        {"running until now", booking_line("2004-02-02", "11:15", "KD"),
         "02.02.2004;11:15;12:00;45;0,75;KD;\r\n"},
        {"day without closure",
         booking_line("2004-01-05", "08:00", "KD") + booking_line("2004-01-06", "08:00", "---"),
         ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(periods(c.bookings, PERIODS_CSV), header + c.line) << c.name;
}

TEST_F(PeriodsTest, Utf8CsvStartsWithAByteOrderMark) {
    std::string out = periods(booking_line("2004-01-05", "08:00", "B\xfcro", "\x80") +
                                  booking_line("2004-01-05", "08:30", "---"),
                              PERIODS_CSV_UTF8);
    EXPECT_EQ(out, "\xEF\xBB\xBF" + header +
                       "05.01.2004;08:00;08:30;30;0,50;B\xC3\xBCro;\xE2\x82\xAC\r\n");
}

TEST_F(PeriodsTest, TimeclockSessionsOnTheStatisticsLevels) {
    struct {
        const char *name;
        std::string bookings;
        const char *sessions;
        int lines;
    } cases[] = {
        {"levels and text",
         booking_line("2004-01-05", "08:00", "KD 4711 Test", "Entwurf 2") +
             booking_line("2004-01-05", "09:30", "---"),
         "i 2004/01/05 08:00:00 KD:4711:Test  Entwurf 2\no 2004/01/05 09:30:00\n", 1},
        {"blanks between words",
         booking_line("2004-01-05", "08:00", "KD  4711") +
             booking_line("2004-01-05", "08:30", "---"),
         "i 2004/01/05 08:00:00 KD:4711\no 2004/01/05 08:30:00\n", 1},
        {"colon in a word",
         booking_line("2004-01-05", "08:00", "A:B C") + booking_line("2004-01-05", "08:30", "---"),
         "i 2004/01/05 08:00:00 A_B:C\no 2004/01/05 08:30:00\n", 1},
        {"UTF-8",
         booking_line("2004-01-05", "08:00", "B\xfcro", "\xe4") +
             booking_line("2004-01-05", "08:30", "---"),
         "i 2004/01/05 08:00:00 B\xC3\xBCro  \xC3\xA4\no 2004/01/05 08:30:00\n", 1},
        {"zero minutes",
         booking_line("2004-01-05", "08:00", "KD") + booking_line("2004-01-05", "08:00", "---"),
         "i 2004/01/05 08:00:00 KD\no 2004/01/05 08:00:00\n", 1},
        {"negative left out",
         booking_line("2004-01-05", "10:00", "KD") + booking_line("2004-01-05", "09:45", "MB") +
             booking_line("2004-01-05", "10:00", "---"),
         "i 2004/01/05 09:45:00 MB\no 2004/01/05 10:00:00\n", 1},
        {"no day of the calendar",
         booking_line("2004-02-30", "08:00", "KD") + booking_line("2004-02-30", "08:30", "---"), "",
         0},
        {"no time of day",
         booking_line("2004-01-05", "08:00", "KD") + booking_line("2004-01-05", "24:30", "---"), "",
         0},
    };
    for (const auto &c : cases) {
        int lines = -2;
        EXPECT_EQ(periods(c.bookings, PERIODS_TIMECLOCK, &lines), c.sessions) << c.name;
        EXPECT_EQ(lines, c.lines) << c.name;
    }
    EXPECT_EQ(messages.status.back(),
              "Zeitraum 2004-01-05 08:00-24:30 mit 990 Minuten ausgelassen: als "
              "Timeclock-Eintrag nicht lesbar.");
    EXPECT_NE(std::find(messages.status.begin(), messages.status.end(),
                        "Zeitraum 2004-01-05 10:00-09:45 mit -15 Minuten ausgelassen: als "
                        "Timeclock-Eintrag nicht lesbar."),
              messages.status.end());
}

TEST_F(PeriodsTest, CsvFileIsReplacedWholeOrKeptAsItWas) {
    journal("2004",
            booking_line("2004-01-05", "08:00", "KD") + booking_line("2004-01-05", "08:30", "---"));
    std::string path = dir.file("2004BM.csv"), old = "old\r\n";
    std::string line = "05.01.2004;08:00;08:30;30;0,50;KD;\r\n";
    write_file(path, old);
    int clean = run_with_faults([&] { periods_save_csv("2004", "01-01", "12-31", path.c_str()); },
                                [&](bool) {
                                    std::string now = read_file(path);
                                    EXPECT_TRUE(now == old || now == header + line) << now;
                                },
                                FAULT_FILE);
    EXPECT_GT(clean, 0);
    EXPECT_EQ(read_file(path), header + line);
    EXPECT_EQ(periods_save_csv("2003", "01-01", "12-31", path.c_str()), -1);
    EXPECT_EQ(read_file(path), header + line);
    EXPECT_EQ(messages.warnings.size(), (size_t)clean);
}

// A year of 16,000 bookings with long texts, quotes and umlauts, negative periods and days of no
// calendar, the running period and an end-of-file mark with bookings behind it.
std::string large_year() {
    std::string bookings;
    for (int i = 0; i < 20000; i++) {
        char date[16], time[8];
        snprintf(date, sizeof date, "2004-%02d-%02d", 1 + i / 1700,
                 1 + i / 56 % 25 + (i % 997 == 0) * 6);
        snprintf(time, sizeof time, "%02d:%02d", 6 + i % 20 / 2, i % 7 == 0 ? 59 - i % 60 : i % 60);
        std::string text = i % 3 == 0 ? std::string(i % 400, "ab;\"\xe4 "[i % 6]) : "Arbeit";
        if (i == 16000) bookings += "\n" + booking_line("2004-12-20", "08:00", "KD") + "\x1A";
        bookings += booking_line(date, time,
                                 i % 5 == 0 ? "---"
                                 : i % 2    ? "KD 4711 T"
                                            : "B\xfcro",
                                 text);
    }
    return bookings;
}

// The text made by the threads of many stretches, in chunks that wait for the stretches before
// theirs, is the text made on the calling thread (as for a small year file), with the same
// messages in the same order; without memory for the stretches the calling thread makes it.
// Where memory runs out anywhere in the walk, the text fails as a whole or is whole.
TEST_F(PeriodsTest, TextMadeInStretchesIsTheTextMadeInOne) {
    std::string bookings = large_year();
    set_now(2004, 12, 20, 9, 30);
    journal_walk_part_bytes(1 << 15);
    stretch_text_small_chunks(true);
    for (int format : {PERIODS_CSV, PERIODS_CSV_UTF8, PERIODS_TIMECLOCK}) {
        std::string made[3];
        std::vector<std::string> told[3];
        int lines[3];
        for (int way = 0; way < 3; way++) {
            messages.status.clear();
            periods_stretches_always(way != 1);
            if (way == 2) fmalloc_inject_failures(1);
            made[way] = periods(bookings, format, &lines[way]);
            told[way] = messages.status;
        }
        const char *running = format == PERIODS_TIMECLOCK
                                  ? "i 2004/12/20 08:00:00 KD\no 2004/12/20 09:30:00\n"
                                  : "20.12.2004;08:00;09:30;90;1,50;KD;\r\n";
        EXPECT_EQ(made[1].substr(made[1].size() - strlen(running)), running) << format;
        for (int way : {0, 2}) {
            EXPECT_EQ(made[way], made[1]) << format << " " << way;
            EXPECT_EQ(told[way], told[1]) << format << " " << way;
            EXPECT_EQ(lines[way], lines[1]) << format << " " << way;
        }
        if (format == PERIODS_TIMECLOCK) {
            EXPECT_GT(told[1].size(), 10u);
        }
        int failed = 0;
        for (int n = 1; n < 80 && format == PERIODS_CSV; n += 3) {
            fault_arm(n, FAULT_MEMORY);
            int written = -2;
            std::string text = periods(bookings, format, &written);
            bool struck = fault_struck();
            fault_arm(0);
            EXPECT_TRUE(written == -1 || (written == lines[1] && text == made[1])) << n;
            if (!struck) {
                EXPECT_EQ(written, lines[1]) << n;
            }
            failed += written == -1;
        }
        EXPECT_TRUE(failed > 0 || format != PERIODS_CSV);
    }
    periods_stretches_always(false);
    stretch_text_small_chunks(false);
    journal_walk_part_bytes(0);
}

} // namespace
