// The options of the notification area and the reminders, the reminders' rules (time away, a
// long-running project, the end of the session), and what the notification-area icon shows.
#include "frame/settings.h"
#include "frame/text.h"
#include "timerec/directories.h"
#include "timerec/options.h"
#include "timerec/reminders.h"
#include "timerec/tray.h"
#include "tests/unit/report_fixture.h"
#include <string.h>

namespace {

struct Reminders : ReportTest {
    kx_options options;
    void SetUp() override {
        ReportTest::SetUp();
        settings_set_file(dir.file("TORKKX.ini").c_str());
        text_copy_max(CommonDir, dir.path.c_str(), DIRECTORY_MAX);
        options_defaults(&options);
    }
    void TearDown() override { settings_set_file(""); }
    static booking running(const char *date, const char *time, const char *project) {
        booking b = {};
        text_copy_max(b.date, date, JOURNAL_DATE);
        text_copy_max(b.time, time, JOURNAL_TIME);
        text_copy_max(b.project, project, JOURNAL_PROJECT);
        return b;
    }
};

long at(const char *date, const char *time) {
    return reminder_moment(date, time);
}

TEST_F(Reminders, OptionsTakeTheirDefaultsWhereTheStoredValueIsMissingOrUnusable) {
    kx_options loaded;
    options_load(&loaded);
    EXPECT_TRUE(options_equal(&loaded, &options));
    kx_options saved = {true, false, 30, false, false, 1440};
    ASSERT_EQ(options_save(&saved), 0);
    options_load(&loaded);
    EXPECT_TRUE(options_equal(&loaded, &saved));
    for (const char *bad : {"0", "1441", "abc", "12x", "", "-5", "99999"}) {
        settings_write(OPTIONS_SECTION, "IdleMinutes", bad);
        settings_write(OPTIONS_SECTION, "TrayMinimize", bad);
        options_load(&loaded);
        EXPECT_EQ(loaded.idle_minutes, IDLE_MINUTES_DEFAULT) << bad;
        EXPECT_FALSE(loaded.tray_minimize) << bad;
    }
    int minutes = 0;
    EXPECT_EQ(options_minutes(" 45 ", &minutes), 1);
    EXPECT_EQ(minutes, 45);
}

TEST_F(Reminders, MomentsCountMinutesAcrossDaysAndYears) {
    EXPECT_EQ(at("1901-01-01", "00:00"), 0);
    EXPECT_EQ(at("2024-03-01", "00:00") - at("2024-02-28", "23:59"), 24 * 60 + 1); // leap day
    EXPECT_EQ(at("2027-01-01", "00:10") - at("2026-12-31", "23:50"), 20);
    char date[JOURNAL_DATE + 1], time[6];
    reminder_moment_texts(at("2024-02-29", "07:05"), date, time);
    EXPECT_STREQ(date, "2024-02-29");
    EXPECT_STREQ(time, "07:05");
    for (const char *bad : {"2026-02-30", "2026-1-1", "          "})
        EXPECT_EQ(at(bad, "10:00"), -1) << bad;
    EXPECT_EQ(at("2026-03-11", "24:00"), -1);
}

// The user is back when an input follows the one before by at least the minutes.
TEST_F(Reminders, TheIdleWatchReportsTheTimeAwayOnReturn) {
    idle_watch watch;
    idle_watch_reset(&watch);
    long base = at("2026-03-11", "12:00"), from = -1;
    const struct {
        long input;
        int back;
        long from;
    } steps[] = {{base, 0, -1},
                 {base + 2, 0, -1},
                 {base + 16, 0, -1},
                 {base + 31, 1, 16},
                 {base + 20, 0, -1 /*older: ignored*/},
                 {base + 32, 0, -1}};
    for (const auto &step : steps) {
        from = -1;
        EXPECT_EQ(idle_watch_input(&watch, step.input, 15, &from), step.back) << step.input - base;
        if (step.back) {
            EXPECT_EQ(from, base + step.from);
        }
    }
}

TEST_F(Reminders, TimeAwayIsAskedAboutOnlyWhileAProjectRuns) {
    booking project = running("2026-03-11", "08:00", "KD 4711");
    idle_question question;
    long from = at("2026-03-11", "12:02"), to = at("2026-03-11", "12:47");
    ASSERT_EQ(reminder_idle_ask(&options, &project, from, to, &question), 1);
    char text[REMINDER_TEXT];
    reminder_idle_text(text, sizeof text, &question);
    EXPECT_STREQ(text, "Keine Eingabe von 12:02 bis 12:47. Als Pause buchen?");
    booking pause = running("2026-03-11", "12:00", "---");
    EXPECT_EQ(reminder_idle_ask(&options, &pause, from, to, &question), 0);
    // Time before the booking began is no part of the time away: 12:40 to 12:47 is too short.
    booking late = running("2026-03-11", "12:40", "KD 4711");
    EXPECT_EQ(reminder_idle_ask(&options, &late, from, to, &question), 0);
    options.idle_question = false;
    EXPECT_EQ(reminder_idle_ask(&options, &project, from, to, &question), 0);
    options.idle_question = true;

    // Over midnight the question names the days.
    ASSERT_EQ(reminder_idle_ask(&options, &project, at("2026-03-11", "23:50"),
                                at("2026-03-12", "00:20"), &question),
              1);
    reminder_idle_text(text, sizeof text, &question);
    EXPECT_STREQ(text,
                 "Keine Eingabe von 2026-03-11 23:50 bis 2026-03-12 00:20. Als Pause buchen?");
    // A Yes books only while the booking asked about is still the last one.
    EXPECT_EQ(reminder_idle_current(&question, &project), 1);
    booking later = running("2026-03-12", "00:25", "KD 4711");
    EXPECT_EQ(reminder_idle_current(&question, &later), 0);
}

TEST_F(Reminders, ALongRunningProjectIsToldOncePerBooking) {
    booking project = running("2026-03-11", "08:00", "KD 4711");
    long noticed = -1;
    char text[REMINDER_TEXT];
    const struct {
        const char *now;
        int minutes;
        int told;
        const char *text;
    } cases[] = {
        {"17:59", 600, 0, ""},
        {"18:00", 600, 1, "KD 4711 l\344uft seit 10 Stunden."},
        {"19:00", 600, 0, ""}, // told already
    };
    for (const auto &c : cases) {
        options.long_minutes = c.minutes;
        text[0] = 0;
        EXPECT_EQ(reminder_long_running(text, sizeof text, &options, &project,
                                        at("2026-03-11", c.now), &noticed),
                  c.told)
            << c.now;
        if (c.told) {
            EXPECT_STREQ(text, c.text);
        }
    }
    const struct {
        const char *now;
        const char *text;
    } durations[] = {{"09:10", "P1 l\344uft seit 1 Stunde."},
                     {"08:45", "P1 l\344uft seit 45 Minuten."}};
    for (const auto &d : durations) {
        booking other = running("2026-03-11", "08:00", "P1");
        long none = -1;
        options.long_minutes = 30;
        ASSERT_EQ(reminder_long_running(text, sizeof text, &options, &other,
                                        at("2026-03-11", d.now), &none),
                  1);
        EXPECT_STREQ(text, d.text);
    }
    booking pause = running("2026-03-11", "08:00", "---");
    noticed = -1;
    EXPECT_EQ(reminder_long_running(text, sizeof text, &options, &pause, at("2026-03-12", "08:00"),
                                    &noticed),
              0);
}

TEST_F(Reminders, TheSessionEndClosesOnlyItsOwnOpenDay) {
    booking project = running("2026-03-10", "08:00", "KD 4711");
    booking pause = running("2026-03-10", "08:00", "---");
    char time[6] = "";
    EXPECT_EQ(reminder_shutdown_store(&options, &pause, at("2026-03-10", "17:42")), 0);
    EXPECT_EQ(reminder_shutdown_time("2026-03-10", "08:00", time), 0);
    ASSERT_EQ(reminder_shutdown_store(&options, &project, at("2026-03-10", "17:42")), 0);
    EXPECT_EQ(reminder_shutdown_time("2026-03-10", "08:00", time), 1);
    EXPECT_STREQ(time, "17:42");
    EXPECT_EQ(reminder_shutdown_time("2026-03-09", "08:00", time), 0); // another day
    EXPECT_EQ(reminder_shutdown_time("2026-03-10", "17:50", time), 0); // booked after it
    reminder_shutdown_forget();
    EXPECT_EQ(reminder_shutdown_time("2026-03-10", "08:00", time), 0);
    for (const char *bad : {"2026-03-10 25:00", "2026-03-10T17:42", "2026-03-10 17:4"}) {
        settings_write(OPTIONS_SECTION, "ShutdownAt", bad);
        EXPECT_EQ(reminder_shutdown_time("2026-03-10", "08:00", time), 0) << bad;
    }
    options.shutdown_moment = false;
    reminder_shutdown_forget();
    reminder_shutdown_store(&options, &project, at("2026-03-10", "17:42"));
    EXPECT_EQ(reminder_shutdown_time("2026-03-10", "08:00", time), 0);
}

// Today's working time counts the running booking; an open earlier day stays the start-up
// check's to report.
TEST_F(Reminders, TheTooltipTellsTheRunningBookingAndTodaysTime) {
    journal("2004", booking_line("2004-02-01", "09:00", "P0") +
                        booking_line("2004-02-02", "08:00", "P1") +
                        booking_line("2004-02-02", "09:30", "KD 4711"));
    EXPECT_EQ(tray_today_minutes(), 4 * 60);
    EXPECT_TRUE(messages.status.empty());
    char tip[TRAY_TIP + 1];
    const struct {
        booking last;
        const char *tip;
    } cases[] = {
        {running("2004-02-02", "08:12", "KD 4711"), "KD 4711 seit 08:12 \226 heute 6:12"},
        {running("2004-02-02", "12:00", "---"), "Pause seit 12:00 \226 heute 6:12"},
        {running("2004-02-01", "09:00", "P0"), "P0 seit 2004-02-01 09:00 \226 heute 6:12"},
    };
    for (const auto &c : cases) {
        tray_tooltip(tip, sizeof tip, &c.last, 372);
        EXPECT_STREQ(tip, c.tip);
    }
}

TEST_F(Reminders, TheMenuOffersTheLastFiveProjectsThenThePause) {
    std::string lines = booking_line("2004-02-02", "07:00", "P7");
    const char *order[] = {"P6", "P5", "P1", "P4", "P3", "---", "P2", "P1", "P1"};
    for (const char *project : order) lines += booking_line("2004-02-02", "08:00", project);
    journal("2004", lines);
    write_file(dir.file("Projekte.txt"),
               "P1              Erstes & Bestes\r\nP3              Kurz\r\n");
    tray_menu menu;
    tray_menu_entries(&menu);
    Lines labels;
    for (int i = 0; i < menu.count; i++) labels.push_back(menu.entries[i].label);
    EXPECT_EQ(labels, (Lines{"P1\tErstes & Bestes", "P2", "P3\tKurz", "P4", "P5",
                             "---\tPause/Arbeitsende"}));
    EXPECT_STREQ(menu.entries[menu.count - 1].project, "---");
}

} // namespace
