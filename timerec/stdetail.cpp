// The detail view's lines: the periods whose project begins with the prefix, in journal order.
#include "timerec/stdetail.h"
#include "frame/dates.h"
#include "frame/text.h"
#include "timerec/journal.h"
#include <stdio.h>
#include <string.h>

// Columns of a list line.
enum {
    DATE_END = 12,
    PROJECT_END = 28,
    DURATION_END = 36,
    TEXT_START = 41,
    TEXT_END = 81,
};

struct detail_walk {
    const char *prefix;
    size_t prefix_length;
    int hours_minutes;
    report_line_fn add;
    void *context;
    int lines;
};

void stdetail_line(char *out, const char *date, const char *project, int minutes,
                   const char *booking_text, int hours_minutes) {
    char duration[REPORT_FIELD + 1];
    report_duration(duration, minutes, 7, hours_minutes);
    date_rec day;
    date_parse_iso(&day, date);
    int weekday = date_weekday(&day);
    const char *marker = weekday == 5 ? " Sa" : weekday == 6 ? " So" : "   ";
    char shown[STDETAIL_TEXT + 1];
    text_copy_max(shown, booking_text, STDETAIL_TEXT);
    text_trim(shown);
    snprintf(out, STDETAIL_LINE + 1, "%s  %-16.14s%s %s%s%s%s", date, project, duration,
             hours_minutes ? " " : "h", marker, shown[0] ? " " : "", shown);
}

static void add_period(const char *date, const char *project, int minutes, void *context) {
    detail_walk *w = (detail_walk *)context;
    // The walk delivers the name trimmed, with zeros after it to its 16th byte: its bytes are
    // compared directly; a longer prefix than a name can hold matches none.
    if (w->prefix_length > JOURNAL_PROJECT || memcmp(project, w->prefix, w->prefix_length) != 0)
        return;
    char line[STDETAIL_LINE + 1];
    stdetail_line(line, date, project, minutes, journal_walk_text(), w->hours_minutes);
    w->add(line, w->context);
    w->lines++;
}

int stdetail_collect(const char *prefix, const char *from, const char *to, int hours_minutes,
                     report_line_fn add, void *context) {
    detail_walk w = {prefix, strlen(prefix), hours_minutes, add, context, 0};
    if (journal_walk(from, from, to, add_period, &w) < 0) return -1;
    return w.lines;
}

// Columns first up to end of line (as far as it reaches), trimmed.
static void trimmed_columns(char *out, const char *line, size_t first, size_t end) {
    size_t length = strlen(line);
    text_copy_max(out, first < length ? line + first : "", (int)(end - first));
    text_trim(out);
}

void stdetail_copy_line(report_text *out, const char *line, int table) {
    if (!table) {
        report_text_line(out, line);
        return;
    }
    char date[DATE_END + 1], project[PROJECT_END + 1], duration[DURATION_END + 1];
    char booking_text[TEXT_END + 1], copied[STDETAIL_LINE * 2];
    trimmed_columns(date, line, 0, DATE_END);
    trimmed_columns(project, line, DATE_END, PROJECT_END);
    trimmed_columns(duration, line, PROJECT_END, DURATION_END);
    trimmed_columns(booking_text, line, TEXT_START, TEXT_END);
    snprintf(copied, sizeof copied, "%s\t%s\t%s\t%s", date, project, duration, booking_text);
    report_text_line(out, copied);
}
