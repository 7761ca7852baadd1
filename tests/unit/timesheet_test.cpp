// The monthly timesheet: times, durations and rule marks of a day, open and running days, target
// versions, holidays, absences, the balance over New Year, and its texts.
#include "timerec/timesheet.h"
#include "frame/settings.h"
#include "frame/text.h"
#include "tests/unit/report_fixture.h"
#include "timerec/directories.h"
#include "timerec/holidays.h"
#include <sstream>

namespace {

struct Sheet : ReportTest {
    void SetUp() override {
        ReportTest::SetUp();
        text_copy_max(CommonDir, dir.path.c_str(), DIRECTORY_MAX);
        settings_set_file(dir.file("TORKKX.ini").c_str());
    }
    void TearDown() override { settings_set_file(""); }
    void settings(const std::string &lines) {
        write_file(dir.file("TORKKX.ini"), "[Arbeitszeit]\r\n" + lines);
    }
    // The table copy's lines without their CR LF: the heading, one per day, the three rows.
    Lines table(int year, int month) {
        timesheet sheet;
        EXPECT_EQ(timesheet_evaluate(&sheet, year, month), 0);
        std::istringstream text(taken(timesheet_copy(&sheet, 1)));
        Lines lines;
        for (std::string line; std::getline(text, line);)
            lines.push_back(line.substr(0, line.size() - 1));
        return lines;
    }
};

// Bookings of a day: each "HH:MM PROJECT" becomes a line of date.
std::string day(const std::string &date, std::initializer_list<const char *> bookings) {
    std::string lines;
    for (const char *booking : bookings) {
        std::string b = booking;
        lines += booking_line(date, b.substr(0, 5), b.substr(6));
    }
    return lines;
}

// A row's fields from Kommen to Differenz and the remark, tab-separated (the weekday, the date
// and the balance left out).
std::string fields(const std::string &row) {
    std::vector<std::string> f;
    std::istringstream text(row);
    for (std::string field; std::getline(text, field, '\t');) f.push_back(field);
    f.resize(10);
    return f[2] + "|" + f[3] + "|" + f[4] + "|" + f[5] + "|" + f[6] + "|" + f[7] + "|" + f[9];
}

TEST_F(Sheet, TimesDurationsAndRuleMarksAtTheirBoundaries) {
    set_now(2026, 7, 1, 12, 0);
    struct {
        std::initializer_list<const char *> bookings;
        const char *expected; // Kommen|Gehen|Pause|Ist|Soll|Differenz|Bemerkung
    } days[] = {
        {{"08:00 KD", "14:00 ---"}, "08:00|14:00|0:00|6:00|8:00|-2:00|"},
        {{"08:00 KD", "14:01 ---"}, "08:00|14:01|0:00|6:01|8:00|-1:59|Pause unter 30 Min."},
        {{"08:00 KD", "12:00 ---", "12:29 KD", "14:30 ---"},
         "08:00|14:30|0:29|6:01|8:00|-1:59|Pause unter 30 Min."},
        {{"08:00 KD", "12:00 ---", "12:30 KD", "14:31 ---"}, "08:00|14:31|0:30|6:01|8:00|-1:59|"},
        {{"07:00 KD", "12:00 ---", "12:30 KD", "16:30 ---"}, "07:00|16:30|0:30|9:00|8:00|1:00|"},
        {{"07:00 KD", "12:00 ---", "12:44 KD", "16:45 ---"},
         "07:00|16:45|0:44|9:01|0:00|9:01|Pause unter 45 Min."},
        {{"07:00 KD", "12:00 ---", "12:45 KD", "16:46 ---"}, "07:00|16:46|0:45|9:01|0:00|9:01|"},
        {{"06:00 KD", "11:00 K2", "12:00 ---", "13:00 KD", "17:00 ---"},
         "06:00|17:00|1:00|10:00|8:00|2:00|"},
        {{"06:00 KD", "11:00 ---", "12:00 KD", "17:01 ---"},
         "06:00|17:01|1:00|10:01|8:00|2:01|\xFC"
         "ber 10 Std."},
        {{"08:00 KD", "12:00 ---", "13:00 KD", "21:00 ---"},
         "08:00|21:00|1:00|12:00|8:00|4:00|\xFC"
         "ber 10 Std."},
        {{"08:00 KD", "12:00 ---", "13:00 KD", "21:00 ---"},
         "08:00|21:00|1:00|12:00|8:00|4:00|\xFC"
         "ber 10 Std."},
        {{"07:59 KD", "12:00 ---"}, "07:59|12:00|0:00|4:01|8:00|-3:59|Ruhezeit unter 11 Std."},
    };
    std::string journal_text;
    for (size_t i = 0; i < sizeof days / sizeof days[0]; i++) {
        char date[16];
        snprintf(date, sizeof date, "2026-06-%02zu", i + 1);
        journal_text += day(date, days[i].bookings);
    }
    journal("2026", journal_text);
    Lines rows = table(2026, 6);
    for (size_t i = 0; i < sizeof days / sizeof days[0]; i++)
        EXPECT_EQ(fields(rows[i + 1]), days[i].expected) << "June " << i + 1;
}

TEST_F(Sheet, OpenRunningAndLateClosedDays) {
    set_now(2026, 3, 11, 10, 30);
    journal("2026", day("2026-03-02", {"08:00 KD"}) +
                        // closed the next morning before that day's first booking
                        day("2026-03-03", {"08:00 KD"}) + day("2026-03-03", {"17:00 ---"}) +
                        // closed after a booking of the next day: both days stay open
                        day("2026-03-05", {"08:00 KD"}) + day("2026-03-06", {"08:00 KD"}) +
                        day("2026-03-05", {"17:00 ---"}) + day("2026-03-06", {"17:00 ---"}) +
                        day("2026-03-11", {"08:00 KD"}));
    Lines rows = table(2026, 3);
    EXPECT_EQ(fields(rows[2]), "08:00|||0:00|8:00|-8:00|offen");
    EXPECT_EQ(fields(rows[3]), "08:00|17:00|0:00|9:00|8:00|1:00|Pause unter 30 Min.");
    EXPECT_EQ(fields(rows[5]), "08:00|||0:00|8:00|-8:00|offen");
    EXPECT_EQ(fields(rows[6]), "08:00|||0:00|8:00|-8:00|offen");
    EXPECT_EQ(fields(rows[11]), "08:00|||2:30|8:00|-5:30|offen"); // today, running
    EXPECT_EQ(fields(rows[12]), "||||8:00||");                    // after today
    EXPECT_EQ(messages.last_status(), "Tag 2026-03-06 hat keinen Abschluss.");
}

TEST_F(Sheet, TargetVersionsHolidaysAndAbsences) {
    set_now(2026, 6, 1, 12, 0);
    settings("Soll1=2026-05-13 6:00 6:00 6:00 6:00 6:00 2:00 0:00\r\n"
             "Soll2=2026-01-01 8:00 8:00 8:00 8:00 8:00 0:00 0:00\r\n");
    journal("2026", day("2026-05-04", {"08:00 URLAUB", "08:00 ---"}) +
                        day("2026-05-05", {"08:00 URLAUB Sommer", "16:00 ---"}) +
                        day("2026-05-06", {"08:00 KD", "12:00 KRANK", "16:00 ---"}) +
                        day("2026-05-07", {"08:00 KRANK", "13:00 ---", "13:30 KRANK"}) +
                        day("2026-05-14", {"08:00 URLAUB", "16:00 ---"}));
    Lines rows = table(2026, 5);
    EXPECT_EQ(fields(rows[1]), "|||0:00|0:00|0:00|Tag der Arbeit");
    EXPECT_EQ(fields(rows[4]), "|||8:00|8:00|0:00|URLAUB");
    EXPECT_EQ(fields(rows[5]), "|||8:00|8:00|0:00|URLAUB Sommer");
    EXPECT_EQ(fields(rows[6]), "08:00|16:00|0:00|8:00|8:00|0:00|KRANK, Pause unter 30 Min.");
    EXPECT_EQ(fields(rows[7]), "|||8:00|8:00|0:00|KRANK");
    EXPECT_EQ(fields(rows[12]), "|||0:00|8:00|-8:00|");
    EXPECT_EQ(fields(rows[13]), "|||0:00|6:00|-6:00|");
    EXPECT_EQ(fields(rows[14]), "|||0:00|0:00|0:00|Christi Himmelfahrt, URLAUB");
    EXPECT_EQ(fields(rows[16]), "|||0:00|2:00|-2:00|");
}

TEST_F(Sheet, TheBalanceCarriesOverNewYear) {
    set_now(2026, 1, 2, 12, 0);
    settings("Beginn=2025-12-29\r\nUebertrag=-1:30\r\n");
    journal("2025", day("2025-12-29", {"08:00 KD", "12:00 ---", "12:30 KD", "17:00 ---"}) +
                        day("2025-12-30", {"08:00 KD", "16:00 ---"}) +
                        day("2025-12-31", {"08:00 KD", "15:00 ---"}));
    journal("2026", day("2026-01-02", {"08:00 KD", "12:00 ---"}));
    Lines rows = table(2026, 1);
    EXPECT_EQ(rows[1], "Do\t01.01.2026\t\t\t\t0:00\t0:00\t0:00\t-2:00\tNeujahr");
    EXPECT_EQ(rows[2], "Fr\t02.01.2026\t08:00\t12:00\t0:00\t4:00\t8:00\t-4:00\t-6:00\t");
    ASSERT_EQ(rows.size(), 35u);
    EXPECT_EQ(rows[32], "Summe\t\t\t\t\t4:00\t8:00\t-4:00\t\t");
    EXPECT_EQ(rows[33], "\xDC"
                        "bertrag\t\t\t\t\t\t\t\t-2:00\t");
    EXPECT_EQ(rows[34], "Saldo\t\t\t\t\t\t\t\t-6:00\t");
}

TEST_F(Sheet, MissingYearFilesCountTheirTargetsAndAreNamed) {
    set_now(2025, 1, 2, 12, 0);
    settings("Beginn=2024-12-31\r\n");
    timesheet sheet;
    ASSERT_EQ(timesheet_evaluate(&sheet, 2025, 1), 0);
    EXPECT_TRUE(sheet.year_file_missing);
    EXPECT_EQ(sheet.carry, -8 * 60);
    EXPECT_EQ(sheet.balance, -16 * 60);
    EXPECT_STREQ(sheet.carry_remark, "2024.txt fehlt");
    EXPECT_STREQ(sheet.sum_remark, "2025.txt fehlt");
}

TEST_F(Sheet, ABalanceStartingAfterTheMonthShowsNoBalance) {
    set_now(2026, 3, 11, 12, 0);
    settings("Beginn=2026-04-01\r\n");
    journal("2026", "");
    Lines rows = table(2026, 3);
    EXPECT_EQ(rows[33], "\xDC"
                        "bertrag\t\t\t\t\t\t\t\t\t");
    EXPECT_EQ(rows[2], "Mo\t02.03.2026\t\t\t\t0:00\t8:00\t-8:00\t\t");
}

// The list lines: the columns of the table aligned, no blanks at the end.
TEST_F(Sheet, ListLinesAlignTheColumns) {
    set_now(2026, 3, 2, 18, 0);
    settings("Beginn=2026-03-01\r\n");
    journal("2026", day("2026-03-02", {"08:00 KD", "12:00 ---", "12:30 KD", "17:00 ---"}));
    timesheet sheet;
    ASSERT_EQ(timesheet_evaluate(&sheet, 2026, 3), 0);
    Lines lines;
    timesheet_list(&sheet, collect_line, &lines);
    ASSERT_EQ(lines.size(), 35u);
    EXPECT_EQ(lines[0], "Tag Datum      Kommen  Gehen  Pause     Ist    Soll Differenz     Saldo  "
                        "Bemerkung");
    EXPECT_EQ(lines[1], "So  01.03.2026                         0:00    0:00      0:00      0:00");
    EXPECT_EQ(lines[2], "Mo  02.03.2026  08:00  17:00   0:30    8:30    8:00      0:30      0:30");
    EXPECT_EQ(lines[3], "Di  03.03.2026                                 8:00");
    EXPECT_EQ(lines[32], "Summe                                  8:30    8:00      0:30");
    EXPECT_EQ(lines[34], "Saldo                                                              0:30");
    EXPECT_EQ(taken(timesheet_copy(&sheet, 0)).substr(0, lines[0].size() + 2), lines[0] + "\r\n");
    char date[DATE_TEXT + 1];
    EXPECT_EQ(timesheet_row_date(&sheet, 0, date), -1);
    EXPECT_EQ(timesheet_row_date(&sheet, 32, date), -1);
    ASSERT_EQ(timesheet_row_date(&sheet, 31, date), 0);
    EXPECT_STREQ(date, "2026-03-31");
}

// Easter Sunday 1901-2099 as published (month and day, one year after the other).
const char easter_table[] =
    "0407033004120403042304150331041904110327041604070323041204040423040803310420040403270416"
    "0401042004120404041704080331042004050327041604010421041203280417040903240413040504250409"
    "0401042104060328041704090325041304050418041004010421040603290417040204220414032904180410"
    "0326041404060329041104020422041403300418041003260415040604190411040304220407033004190403"
    "0326041503310419041104030416040703300412040404230415033104200411032704160408032304120404"
    "0424040803310420040503270416040104210412040404170409033104200405032804160401042104130328"
    "0417040903250413040504250410040104210406032904170409032504140405041804100402042104060329"
    "0418040204220414033004180410032604150406032904110403042204140330041904100326041504070419"
    "0411040304230407033004190404032604150331042004110403041604080330041204040424041503310420"
    "0412";

TEST(Holidays, EasterAgreesWithThePublishedTable) {
    ASSERT_EQ(sizeof easter_table - 1, 4u * 199);
    for (int year = 1901; year <= 2099; year++) {
        date_rec easter;
        holidays_easter(year, &easter);
        char text[8];
        snprintf(text, sizeof text, "%02d%02d", easter.month, easter.day);
        EXPECT_EQ(std::string(text), std::string(easter_table + 4 * (year - 1901), 4)) << year;
    }
}

std::string holiday_lines(int year) {
    holiday_table table = {};
    EXPECT_EQ(holidays_load(&table, year, year), 0);
    std::string lines;
    for (int i = 0; i < table.count; i++) {
        char line[HOLIDAY_TEXT + 1];
        holidays_line(line, &table.days[i]);
        lines += std::string(line) + "\n";
    }
    holidays_free(&table);
    return lines;
}

TEST_F(Sheet, HolidaysFromTheFileOrBuiltIn) {
    EXPECT_EQ(holiday_lines(2008),
              "2008-01-01 Neujahr\n2008-03-21 Karfreitag\n"
              "2008-03-24 Ostermontag\n"
              "2008-05-01 Tag der Arbeit, Christi Himmelfahrt\n"
              "2008-05-12 Pfingstmontag\n2008-10-03 Tag der Deutschen Einheit\n"
              "2008-12-25 1. Weihnachtstag\n2008-12-26 2. Weihnachtstag\n");
    write_file(dir.file("Feiertage.txt"), "; Feiertage des Teams\r\n\r\n"
                                          "2026-12-24 4:00 Heiligabend ; halber Tag\r\n"
                                          "2026-01-06\tHeilige Drei K\xF6nige\r\n"
                                          "2026-13-01 Kein Tag\r\n"
                                          "2026-12-31 25:00 Zu lang\r\n"
                                          "2026-12-24 Bescherung\r\n");
    EXPECT_EQ(holiday_lines(2026), "2026-01-06 Heilige Drei K\xF6nige\n"
                                   "2026-12-24 Heiligabend, Bescherung\n");
    EXPECT_EQ(messages.status.size(), 2u);
    EXPECT_EQ(messages.last_status(), "Feiertagsdatei " + dir.file("Feiertage.txt") +
                                          ", Zeile 6 ist nicht lesbar und wird "
                                          "\xFC"
                                          "bergangen.");
    // A year the file does not name keeps the holidays of all of Germany.
    EXPECT_EQ(holiday_lines(2027).substr(0, 19), "2027-01-01 Neujahr\n");
    write_file(dir.file("Feiertage.txt"), "2026-12-24 4:00 Heiligabend\r\n");
    EXPECT_EQ(holiday_lines(2026), "2026-12-24 4:00 Heiligabend\n");
    set_now(2026, 12, 31, 12, 0);
    settings("Soll1=2026-01-01 8:00 8:00 8:00 3:00 8:00 0:00 0:00\r\n");
    Lines rows = table(2026, 12);
    EXPECT_EQ(fields(rows[24]), "|||0:00|3:00|-3:00|Heiligabend"); // a Thursday of 3:00
    write_file(dir.file("Feiertage.txt"), "2026-12-24 2:30 Heiligabend\r\n");
    EXPECT_EQ(fields(table(2026, 12)[24]), "|||0:00|2:30|-2:30|Heiligabend");
}

} // namespace
