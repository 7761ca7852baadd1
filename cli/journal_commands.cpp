// kxcli's journal commands: the last booking, booking, and the day-closure check.
#include "cli/cli.h"
#include "frame/clock.h"
#include "frame/messages.h"
#include "frame/text.h"
#include "timerec/booking.h"
#include "timerec/journal.h"
#include "timerec/tray.h"
#include <stdio.h>
#include <string.h>

int cmd_last(const cli_args *args) {
    if (args->count != 0) return cli_usage_error("last takes no arguments");
    if (cli_require_journal() != 0) return CLI_EXIT_FAILED;
    booking last;
    journal_last_booking(&last);
    cli_printf("%s\t%s\t%s\t%s\n", last.date, last.time, last.project, last.text);
    return CLI_EXIT_OK;
}

// Checks the fields of a booking before anything is written; a usage exit status or 0.
static int check_booking(const char *date, const char *time, const char *project,
                         const char *note) {
    if (!text_match("####-##-##", date)) return cli_usage_error("--date: expected YYYY-MM-DD");
    if (!text_match("##:##", time)) return cli_usage_error("--time: expected HH:MM");
    if (text_is_blank(project)) return cli_usage_error("book: the project is empty");
    if (strlen(project) > JOURNAL_PROJECT)
        return cli_usage_error("book: a project has at most %d characters", JOURNAL_PROJECT);
    if (strlen(note) > JOURNAL_TEXT_IN)
        return cli_usage_error("book: a text has at most %d characters", JOURNAL_TEXT_IN);
    return journal_check_booking(date, time) == 0 ? 0 : CLI_EXIT_USAGE;
}

int cmd_book(const cli_args *args) {
    if (args->count < 1 || args->count > 2)
        return cli_usage_error("book takes PROJECT and an optional TEXT");
    char today[JOURNAL_DATE + 1], now_time[JOURNAL_TIME + 1];
    journal_today(today);
    booking_now_time(now_time);
    const char *date = cli_option("--date") ? cli_option("--date") : today;
    const char *time = cli_option("--time") ? cli_option("--time") : now_time;
    const char *note = args->count > 1 ? args->positional[1] : "";
    int result = check_booking(date, time, args->positional[0], note);
    if (result != 0) return result;
    return journal_append(date, time, args->positional[0], note) == 0 ? CLI_EXIT_OK
                                                                      : CLI_EXIT_FAILED;
}

static void print_status(int kind, const char *text) {
    if (text[0]) cli_printf("%s\n", text);
}

int cmd_check(const cli_args *args) {
    if (args->count != 0) return cli_usage_error("check takes no arguments");
    if (cli_require_journal() != 0) return CLI_EXIT_FAILED;
    booking last;
    journal_last_booking(&last);
    messages_set_sink(MSG_STATUS, print_status);
    journal_check_day_closure(last.date, last.project);
    return CLI_EXIT_OK;
}

// What the notification-area icon shows: its tooltip, then the bookable entries of its menu.
int cmd_tray(const cli_args *args) {
    if (args->count != 0) return cli_usage_error("tray takes no arguments");
    if (cli_require_journal() != 0) return CLI_EXIT_FAILED;
    booking last;
    journal_last_booking(&last);
    char tip[TRAY_TIP + 1];
    tray_tooltip(tip, sizeof tip, &last, tray_today_minutes());
    cli_printf("%s\n", tip);
    tray_menu menu;
    tray_menu_entries(&menu);
    for (int i = 0; i < menu.count; i++) cli_printf("%s\n", menu.entries[i].label);
    return CLI_EXIT_OK;
}
