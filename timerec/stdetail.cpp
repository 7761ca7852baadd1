// The detail view's lines: the periods whose project begins with the prefix, in journal order.
#include "timerec/stdetail.h"
#include "frame/dates.h"
#include "frame/memory.h"
#include "frame/text.h"
#include "timerec/group_index.h"
#include "timerec/journal.h"
#include "timerec/stretch_text.h"
#include <stdint.h>
#include <stdio.h>
#include <string.h>

// Columns of a list line.
enum {
    DATE_END = 12,
    PROJECT_END = 28,
    DURATION_END = 36,
    TEXT_START = 41,
    TEXT_END = 81,
    PROJECT_SHOWN = 14, // characters of a project name shown
    PROJECT_FIELD = 16, // its column's width
};

enum { DURATIONS_KEPT = 24 * 60 }; // durations of up to a day are formatted once per walk

// A stretch's lines on their way to the calling thread, one after another with a line feed each
// (no line holds one), in chunks of the stretch's own, the first taken with the first line (most
// stretches hold no line of a prefix that few names have).
struct stretch_lines {
    stretch_text *text;
    int stretch;
    char *chunk;
    size_t used;
    bool failed; // memory ran short: the lines that follow go nowhere, the list fails
};

// The walk's state: the prefix as a masked key (names come with zeros to their 16th byte), the
// weekend marker of the day being walked and the durations formatted so far.
struct detail_walk {
    name_key prefix;
    name_key mask;
    bool matches_none;
    int hours_minutes;
    report_line_fn add;
    void *context;
    stretch_lines *out; // where a stretch walked by a thread of its own puts its lines, else NULL
    int lines;
    char seen_date[JOURNAL_DATE + 1];
    const char *marker;
    bool duration_kept[DURATIONS_KEPT];
    char durations[DURATIONS_KEPT][REPORT_FIELD + 1];
};

static const char *weekend_marker(const char *date) {
    date_rec day;
    date_parse_iso(&day, date);
    int weekday = date_weekday(&day);
    return weekday == 5 ? " Sa" : weekday == 6 ? " So" : "   ";
}

// Appends length bytes of text at *at as far as end.
static void append(char **at, char *end, const char *text, size_t length) {
    if (length > (size_t)(end - *at)) length = (size_t)(end - *at);
    memcpy(*at, text, length);
    *at += length;
}

// The line as "%s  %-16.14s%s %s%s%s%s" would give it, put together directly: a detail list of
// a year has a line for every period. The booking text (text_length bytes) is shown as far as
// its first STDETAIL_TEXT characters, trimmed. The line's length.
static size_t compose_line(char *out, const char *date, const char *project, const char *duration,
                           const char *marker, const char *booking_text, size_t text_length,
                           int hours_minutes) {
    size_t shown = text_length < (size_t)STDETAIL_TEXT ? text_length : (size_t)STDETAIL_TEXT,
           first = 0;
    while (first < shown && text_is_space((unsigned char)booking_text[first])) first++;
    while (shown > first && text_is_space((unsigned char)booking_text[shown - 1])) shown--;
    char *at = out, *end = out + STDETAIL_LINE;
    append(&at, end, date, strnlen(date, JOURNAL_DATE));
    size_t name = strnlen(project, PROJECT_SHOWN);
    char padded[PROJECT_FIELD];
    memcpy(padded, project, name);
    memset(padded + name, ' ', PROJECT_FIELD - name);
    append(&at, end, "  ", 2);
    append(&at, end, padded, PROJECT_FIELD);
    append(&at, end, duration, strlen(duration));
    append(&at, end, hours_minutes ? "  " : " h", 2);
    append(&at, end, marker, 3);
    if (shown > first) append(&at, end, " ", 1);
    append(&at, end, booking_text + first, shown - first);
    *at = 0;
    return (size_t)(at - out);
}

void stdetail_line(char *out, const char *date, const char *project, int minutes,
                   const char *booking_text, int hours_minutes) {
    char duration[REPORT_FIELD + 1];
    report_duration(duration, minutes, 7, hours_minutes);
    compose_line(out, date, project, duration, weekend_marker(date), booking_text,
                 strnlen(booking_text, STDETAIL_TEXT), hours_minutes);
}

// The duration text of minutes, formatted once for the usual lengths.
static const char *duration_of(detail_walk *w, int minutes, char *other) {
    if (minutes < 0 || minutes >= DURATIONS_KEPT) {
        report_duration(other, minutes, 7, w->hours_minutes);
        return other;
    }
    if (!w->duration_kept[minutes]) {
        report_duration(w->durations[minutes], minutes, 7, w->hours_minutes);
        w->duration_kept[minutes] = true;
    }
    return w->durations[minutes];
}

// A line of a stretch into its chunk, the full chunk handed on to the calling thread.
static void keep_line(stretch_lines *out, const char *line, size_t length) {
    if (out->chunk && out->used + length + 1 > out->text->chunk_size) {
        stretch_text_put(out->text, out->stretch, out->chunk, out->used);
        out->chunk = nullptr;
    }
    if (!out->chunk && !out->failed) {
        out->used = 0;
        out->failed = !(out->chunk = stretch_text_chunk(out->text, out->stretch));
    }
    if (!out->chunk) return;
    memcpy(out->chunk + out->used, line, length);
    out->chunk[out->used + length] = '\n';
    out->used += length + 1;
}

// The line of a period whose project begins with the prefix. Out of the way of the test of every
// period's name, which most periods fail.
static __attribute__((noinline)) void add_line(detail_walk *w, const char *date,
                                               const char *project, int minutes) {
    if (journal_next_day(w->seen_date, date)) w->marker = weekend_marker(date);
    char line[STDETAIL_LINE + 1], duration[REPORT_FIELD + 1];
    size_t length =
        compose_line(line, date, project, duration_of(w, minutes, duration), w->marker,
                     journal_walk_text_bytes(), journal_walk_text_length(), w->hours_minutes);
    if (w->out)
        keep_line(w->out, line, length);
    else
        w->add(line, w->context);
    w->lines++;
}

static void add_period(const char *date, const char *project, int minutes, void *context) {
    detail_walk *w = (detail_walk *)context;
    // The walk delivers the name trimmed, with zeros after it to its 16th byte: its words are
    // compared under the prefix's mask.
    name_key name;
    name_key_of_padded(&name, project);
    if (!w->matches_none && (name.word[0] & w->mask.word[0]) == w->prefix.word[0] &&
        (name.word[1] & w->mask.word[1]) == w->prefix.word[1])
        add_line(w, date, project, minutes);
}

// On the calling thread, while the stretches are walked: each line of a chunk to add, in order.
static int give_lines(const char *bytes, size_t length, void *context) {
    const detail_walk *w = (const detail_walk *)context;
    char line[STDETAIL_LINE + 1];
    for (const char *at = bytes, *end = bytes + length, *feed;
         at < end && (feed = (const char *)memchr(at, '\n', (size_t)(end - at))); at = feed + 1) {
        size_t n = (size_t)(feed - at) < sizeof line - 1 ? (size_t)(feed - at) : sizeof line - 1;
        memcpy(line, at, n);
        line[n] = 0;
        w->add(line, w->context);
    }
    return 0;
}

// The walk over stretches: their lines in chunks, and each stretch's walk.
struct detail_stretches {
    stretch_text text;
    stretch_lines out[JOURNAL_PARTS_MAX];
    detail_walk *walks[JOURNAL_PARTS_MAX];
};

static void write_lines(void *context) {
    stretch_text_write(&((detail_stretches *)context)->text);
}

// On the stretch's thread, once its periods are delivered: its last chunk goes to the calling
// thread, which adds a line of the stretch delivered after the walk (the running period) at once.
static void stretch_done(int stretch, bool ended, void *context) {
    detail_stretches *all = (detail_stretches *)context;
    stretch_lines *out = &all->out[stretch];
    if (out->chunk) stretch_text_put(&all->text, stretch, out->chunk, out->used);
    all->walks[stretch]->out = nullptr;
    stretch_text_done(&all->text, stretch, ended);
}

// The walk over stretches by threads of their own, the calling thread adding their lines in the
// file's order as they come; without the memory or the threads for the stretches, the walk goes
// in one stretch on the calling thread.
static int collect_in_stretches(detail_walk *w, const char *from, const char *to) {
    static detail_stretches all;
    all.walks[0] = w;
    // The later stretches' walks in one block, filled once each.
    detail_walk *later = (detail_walk *)fmalloc(JOURNAL_PARTS_MAX - 1, sizeof *w);
    int count = later ? (int)JOURNAL_PARTS_MAX : 1;
    for (int k = 1; k < count; k++) all.walks[k] = &later[k - 1];
    stretch_text_start(&all.text, from, give_lines, w);
    for (int k = 0; k < count; k++) {
        if (k > 0) *all.walks[k] = *w;
        all.out[k] = {&all.text, k, nullptr, 0, false};
        all.walks[k]->out = &all.out[k];
    }
    journal_walk_beside beside = {write_lines, stretch_done, &all};
    journal_parts_walked walked = {};
    int result = journal_walk_parts_beside(from, from, to, add_period, (void *const *)all.walks,
                                           count, &walked, &beside);
    int lines = 0;
    for (int k = 0; k < count; k++) {
        if (k < walked.used && result != -2) lines += all.walks[k]->lines;
    }
    ffree(later);
    if (stretch_text_end(&all.text) != 0 && result >= 0) result = -1;
    w->out = nullptr;
    w->lines = lines;
    if (result == -2) return journal_walk(from, from, to, add_period, w);
    return result;
}

int stdetail_collect(const char *prefix, const char *from, const char *to, int hours_minutes,
                     report_line_fn add, void *context) {
    static detail_walk w;
    memset(&w, 0, sizeof w);
    size_t length = strlen(prefix);
    // A longer prefix than a name can hold matches none.
    w.matches_none = length > JOURNAL_PROJECT;
    if (!w.matches_none) {
        unsigned char bytes[2 * sizeof(uint64_t)] = {}, mask[sizeof bytes] = {};
        memcpy(bytes, prefix, length);
        memcpy(w.prefix.word, bytes, sizeof bytes);
        memset(mask, 0xFF, length);
        memcpy(w.mask.word, mask, sizeof mask);
    }
    w.hours_minutes = hours_minutes;
    w.add = add;
    w.context = context;
    // A small year is walked at once on the calling thread: threads would cost more than they save.
    int result = journal_walk_shared(from) ? collect_in_stretches(&w, from, to)
                                           : journal_walk(from, from, to, add_period, &w);
    return result < 0 ? -1 : w.lines;
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
