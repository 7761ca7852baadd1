// What the reports (statistics, detail view, weekly report, export) share: the copy texts that
// grow with their content, durations as hours or hours and minutes, and the detail prefix.
#pragma once
#include <limits.h>
#include <stddef.h>

enum {
    STASUP = 1000,              // entries of a report's sum list
    REPORT_NAME = 15,           // characters of a project name, month or week name
    REPORT_PREFIX_COLUMNS = 12, // characters of a list line that make the detail prefix
    REPORT_FIELD = 40,          // room for one formatted number or duration
    REPORT_BLOCK = 1000,        // copy texts are allocated in blocks of this size
    REPORT_FIRST_BLOCKS = 50,
};

// A report line handed to whoever shows it (a list box, a copy text, standard output).
typedef void (*report_line_fn)(const char *line, void *context);

// A text assembled piece by piece in one fmalloc block, which grows with the text so that
// nothing is ever cut. A block that cannot be had ends the program with an assertion of module.
struct report_text {
    char *text;
    size_t length;
    size_t size;
    const char *module;
};

// Starts with a block of 50 x 1000 bytes.
void report_text_begin(report_text *out, const char *module);
void report_text_add(report_text *out, const char *piece);
// Adds the piece and "\r\n".
void report_text_line(report_text *out, const char *piece);
// A report_line_fn that adds each line with "\r\n" to the report_text given as context.
void report_text_line_fn(const char *line, void *context);
// Hands the text over (the caller returns it with ffree); out is empty afterwards.
char *report_text_take(report_text *out);

// minutes as decimal hours with one place and a decimal comma, or with hours_minutes as
// "%d:%02d" (a negative value with its sign in front: '-1:30'); right-aligned in width, which
// 0 leaves unpadded. out holds REPORT_FIELD + 1 bytes.
void report_duration(char *out, long minutes, int width, int hours_minutes);
// part x 100 / whole with one place and a decimal comma, right-aligned in width.
void report_share(char *out, long part, long whole, int width);
// Adds minutes to a 32-bit sum, held at its limits rather than overflowing (inline: the reports
// call it for every counted period).
inline void report_add_minutes(int *sum, long minutes) {
    long long total = (long long)*sum + minutes;
    *sum = total > INT_MAX ? INT_MAX : total < INT_MIN ? INT_MIN : (int)total;
}

// The first 12 characters of a list line, trimmed: the project name prefix for the detail view
// (out holds REPORT_PREFIX_COLUMNS + 1 bytes).
void report_detail_prefix(char *out, const char *line);

// A report's sum list of STASUP zero-filled entries of size bytes; the program ends with an
// assertion of module when it cannot be had.
void *report_alloc_einlis(const char *module, size_t size);

// Builds "YEAR-MM-DD" of a year field and a month-day field, each taken up to 10 characters and
// the result cut to a date text (out holds DATE_TEXT + 1 bytes).
void report_day(char *out, const char *year, const char *month_day);
