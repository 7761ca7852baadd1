// kxcli's journal commands: the last booking, booking, the day-closure check, the check of a year
// file's lines, and one day listed, a booking put in at its place or taken out.
#include "cli/cli.h"
#include "frame/clock.h"
#include "frame/messages.h"
#include "frame/text.h"
#include "frame/path.h"
#include "frame/platform.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include "timerec/booking.h"
#include "frame/memory.h"
#include "timerec/journal.h"
#include "timerec/journal_check.h"
#include "timerec/journal_day.h"
#include "timerec/tray.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int cmd_last(const cli_args *args) {
    if (args->count != 0) return cli_usage_error("last takes no arguments");
    if (cli_require_journal() != 0) return CLI_EXIT_FAILED;
    booking last;
    journal_last_booking(&last);
    cli_printf("%s\t%s\t%s\t%s\n", last.date, last.time, last.project, last.text);
    return CLI_EXIT_OK;
}

// Checks the form of a booking's fields before anything is written; a usage exit status or 0.
static int check_fields(const char *command, const char *date, const char *time,
                        const char *project, const char *note) {
    if (!text_match("####-##-##", date))
        return cli_usage_error("%s: the date is YYYY-MM-DD", command);
    if (!text_match("##:##", time)) return cli_usage_error("%s: the time is HH:MM", command);
    if (project && text_is_blank(project))
        return cli_usage_error("%s: the project is empty", command);
    if (project && strlen(project) > JOURNAL_PROJECT)
        return cli_usage_error("%s: a project has at most %d characters", command, JOURNAL_PROJECT);
    if (strlen(note) > JOURNAL_TEXT_IN)
        return cli_usage_error("%s: a text has at most %d characters", command, JOURNAL_TEXT_IN);
    return 0;
}

static int check_booking(const char *date, const char *time, const char *project,
                         const char *note) {
    int result = check_fields("book", date, time, project, note);
    if (result != 0) return result;
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

enum { VERIFY_OUTPUT = 1 << 16, VERIFY_LINE = 1024 };

// The findings' lines gathered in one area and written a whole area at a time: a year with
// hundreds of thousands of findings must not cost a write per line.
struct verify_output {
    const char *name; // the year file's name
    char area[VERIFY_OUTPUT + 1];
    size_t used;
};

static void flush_output(verify_output *out) {
    out->area[out->used] = 0;
    cli_out(out->area);
    out->used = 0;
}

static void print_finding(const check_finding *finding, void *context) {
    verify_output *out = (verify_output *)context;
    if (out->used + VERIFY_LINE > VERIFY_OUTPUT) flush_output(out);
    out->used += journal_check_line(out->area + out->used, VERIFY_LINE, out->name, finding);
    out->area[out->used++] = '\n';
}

// Prints the findings of a year file (default: this year's) as FILE:LINE: REASON; exit status 0
// when there is nothing to say, 1 when there are findings or the file cannot be read.
int cmd_verify(const cli_args *args) {
    if (args->count > 1) return cli_usage_error("verify takes an optional YEAR");
    char today[JOURNAL_DATE + 1];
    journal_today(today);
    const char *year = args->count == 1 ? args->positional[0] : today;
    if (!text_match("####*", year) || (args->count == 1 && strlen(year) != 4))
        return cli_usage_error("verify: expected a year YYYY");
    char path[JOURNAL_PATH_MAX + 1];
    journal_year_path(path, sizeof path, atoi(year));
    if (platform_path_kind(path) != PATH_FILE) {
        msg_warn(text(TXT_JOURNAL_NOT_FOUND), path);
        return CLI_EXIT_FAILED;
    }
    static verify_output out;
    out.name = path + path_name_index(path);
    out.used = 0;
    long found = journal_check(path, atoi(year), print_finding, &out);
    flush_output(&out);
    if (found < 0) msg_warn(text(TXT_CANNOT_READ), path);
    return found == 0 ? CLI_EXIT_OK : CLI_EXIT_FAILED;
}

// The day editor's list of a day as its copy text.
int cmd_day(const cli_args *args) {
    if (args->count != 1) return cli_usage_error("day takes DATE");
    if (!text_match("####-##-##", args->positional[0]))
        return cli_usage_error("day: the date is YYYY-MM-DD");
    journal_day day;
    if (journal_day_read(&day, args->positional[0]) != 0) return CLI_EXIT_FAILED;
    char *copy = journal_day_copy(&day);
    cli_out(copy);
    ffree(copy);
    journal_day_free(&day);
    return CLI_EXIT_OK;
}

int cmd_insert(const cli_args *args) {
    if (args->count < 3 || args->count > 4)
        return cli_usage_error("insert takes DATE TIME PROJECT and an optional TEXT");
    const char *const *word = args->positional;
    const char *note = args->count > 3 ? word[3] : "";
    int result = check_fields("insert", word[0], word[1], word[2], note);
    if (result != 0) return result;
    return journal_insert(word[0], word[1], word[2], note) == 0 ? CLI_EXIT_OK : CLI_EXIT_FAILED;
}

int cmd_remove(const cli_args *args) {
    if (args->count < 2 || args->count > 3)
        return cli_usage_error("remove takes DATE TIME and an optional PROJECT");
    const char *const *word = args->positional;
    const char *project = args->count > 2 ? word[2] : nullptr;
    int result = check_fields("remove", word[0], word[1], project, "");
    if (result != 0) return result;
    return journal_remove(word[0], word[1], project) == 0 ? CLI_EXIT_OK : CLI_EXIT_FAILED;
}
