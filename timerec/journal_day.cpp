// One day of a year file: its lines found wherever they stand, listed in time order with their
// periods, and written back as one block at the day's place; single bookings put in and taken out.
#include "timerec/journal_day.h"
#include "frame/bfile.h"
#include "frame/clock.h"
#include "frame/dates.h"
#include "frame/file_lock.h"
#include "frame/memory.h"
#include "frame/messages.h"
#include "frame/platform.h"
#include "frame/sort.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include "timerec/journal_rewrite.h"
#include "timerec/report.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

// A line of a text: its bytes from start to end (line ending left out), the next line at next.
struct text_line {
    size_t start, end, next;
};

// Bytes that grow as a new content is put together.
struct byte_area {
    char *bytes;
    size_t used, room;
    bool failed;
};

static void area_add(byte_area *area, const char *bytes, size_t count) {
    if (area->failed || count == 0) return;
    if (area->used + count + 1 > area->room) {
        size_t room = area->room ? area->room : 4096;
        while (room < area->used + count + 1) room *= 2;
        char *bigger = (char *)fmalloc(room, 1);
        if (!bigger) {
            area->failed = true;
            return;
        }
        if (area->used) memcpy(bigger, area->bytes, area->used);
        ffree(area->bytes);
        area->bytes = bigger;
        area->room = room;
    }
    memcpy(area->bytes + area->used, bytes, count);
    area->used += count;
}

// Where the readers' text ends: at the first Ctrl+Z (bytes after it are kept, never read).
static size_t text_end(const journal_text *content) {
    const char *mark = (const char *)memchr(content->bytes, BFILE_EOF_MARK, content->size);
    return mark ? (size_t)(mark - content->bytes) : content->size;
}

// The line that starts at at (before end); false at the end.
static bool line_at(const journal_text *content, size_t end, size_t at, text_line *out) {
    if (at >= end) return false;
    const char *feed = (const char *)memchr(content->bytes + at, '\n', end - at);
    out->start = at;
    out->next = feed ? (size_t)(feed - content->bytes) + 1 : end;
    out->end = feed ? out->next - 1 : end;
    // Every carriage return before the line feed belongs to the ending, as the readers skip them.
    while (out->end > at && content->bytes[out->end - 1] == '\r') out->end--;
    return true;
}

// The line's first byte that is no blank (its end for a blank line).
static size_t first_mark(const journal_text *content, const text_line *line) {
    size_t at = line->start;
    while (at < line->end && text_is_space((unsigned char)content->bytes[at])) at++;
    return at;
}

// Compares a line's date (its first 10 characters after leading blanks) with date; the walk reads
// lines the same way. A blank line is no line of any day (compares 0, blank set).
static int compare_date(const journal_text *content, const text_line *line, const char *date,
                        bool *blank) {
    size_t at = first_mark(content, line);
    *blank = at == line->end;
    if (*blank) return 0;
    size_t length = line->end - at < (size_t)JOURNAL_DATE ? line->end - at : (size_t)JOURNAL_DATE;
    int order = memcmp(content->bytes + at, date, length);
    return order != 0 ? order : length < JOURNAL_DATE ? -1 : 0;
}

static bool of_day(const journal_text *content, const text_line *line, const char *date) {
    bool blank;
    return compare_date(content, line, date, &blank) == 0 && !blank;
}

// A line's booking as the walk reads it: leading blanks gone, tabs expanded, trimmed.
static void parse_line(const char *bytes, size_t length, booking *out) {
    char line[TEXT_TABS_MAX + 1];
    size_t count = length < (size_t)TEXT_TABS_MAX ? length : (size_t)TEXT_TABS_MAX;
    memcpy(line, bytes, count);
    line[count] = 0;
    text_expand_tabs(line, sizeof line);
    text_trim(line);
    journal_split_booking(line, out);
}

// The line ending the file uses: that of its first line (a line feed for a file without one).
static const char *line_ending(const journal_text *content) {
    const char *feed = (const char *)memchr(content->bytes, '\n', content->size);
    return feed && feed > content->bytes && feed[-1] == '\r' ? "\r\n" : "\n";
}

// Where a day without lines goes: before the first line of a later date, else at the text end.
static size_t date_place(const journal_text *content, size_t end, const char *date) {
    text_line line;
    for (size_t at = 0; line_at(content, end, at, &line); at = line.next) {
        bool blank;
        if (compare_date(content, &line, date, &blank) > 0 && !blank) return line.start;
    }
    return end;
}

// The new content: the bytes before at, block (with a line ending before it when at follows a
// last line without one), then the bytes from resume on. The caller frees area.bytes.
static int splice(const journal_text *content, size_t at, size_t resume, const char *block,
                  size_t block_size, byte_area *area) {
    area_add(area, content->bytes, at);
    bool unended = at > 0 && at == text_end(content) && content->bytes[at - 1] != '\n';
    if (unended && block_size > 0) area_add(area, "\n", 1);
    area_add(area, block, block_size);
    area_add(area, content->bytes + resume, content->size - resume);
    return area->failed ? -1 : 0;
}

static int year_of(const char *date) {
    return atoi(date);
}

// The year file of a day into path; 0, or -1 with a message for a day that is no calendar day.
static int day_path(const char *date, char *path) {
    if (strlen(date) != JOURNAL_DATE || !date_text_valid(date)) {
        msg_warn(text(TXT_BAD_DATE), date);
        return -1;
    }
    journal_year_path(path, JOURNAL_PATH_MAX + 1, year_of(date));
    return 0;
}

// Reads the year file under its lock for a change; 0, or -1 with a message.
static int read_locked(const char *path, journal_text *content) {
    if (platform_path_kind(path) != PATH_FILE) {
        msg_warn(text(TXT_JOURNAL_NOT_FOUND), path);
        return -1;
    }
    if (file_lock_take(path) != 0) return -1;
    if (journal_read_whole(path, content) == 0) return 0;
    file_lock_release(path);
    msg_warn(text(TXT_CANNOT_READ), path);
    return -1;
}

// Writes the new content in place of the old and gives the lock back; 0, or -1 (message 27).
static int write_and_release(const char *path, journal_text *content, byte_area *area, int result) {
    if (result == 0) result = journal_rewrite(path, content, area->bytes, area->used);
    file_lock_release(path);
    if (result != 0) msg_warn(text(TXT_CANNOT_WRITE_JOURNAL), path);
    ffree(area->bytes);
    journal_text_free(content);
    return result;
}

// The day's lines of content in file order, each with a line feed.
static void collect_lines(const journal_text *content, const char *date, byte_area *out) {
    text_line line;
    for (size_t at = 0, end = text_end(content); line_at(content, end, at, &line); at = line.next) {
        if (!of_day(content, &line, date)) continue;
        area_add(out, content->bytes + line.start, line.end - line.start);
        area_add(out, "\n", 1);
    }
}

static int compare_entries(const void *earlier, const void *later) {
    const journal_day_entry *a = (const journal_day_entry *)earlier;
    const journal_day_entry *b = (const journal_day_entry *)later;
    int order = strcmp(a->fields.time, b->fields.time);
    return order != 0 ? order : a->order < b->order ? -1 : a->order > b->order;
}

static void sort_entries(journal_day *day) {
    sort(day->entries, day->count, sizeof *day->entries, compare_entries);
}

static journal_day_entry *new_entry(journal_day *day) {
    if (day->count == day->room) {
        int room = day->room ? day->room * 2 : 32;
        journal_day_entry *bigger = (journal_day_entry *)fmalloc((size_t)room, sizeof *bigger);
        if (!bigger) return nullptr;
        if (day->count) memcpy(bigger, day->entries, (size_t)day->count * sizeof *bigger);
        ffree(day->entries);
        day->entries = bigger;
        day->room = room;
    }
    journal_day_entry *entry = &day->entries[day->count++];
    memset(entry, 0, sizeof *entry);
    entry->order = day->next_order++;
    return entry;
}

void journal_day_free(journal_day *day) {
    ffree(day->entries);
    ffree(day->lines);
    memset(day, 0, sizeof *day);
}

// The entries of the day's lines as read (in lines).
static int entries_from_lines(journal_day *day) {
    long index = 0;
    for (const char *p = day->lines, *end = day->lines + day->lines_size; p < end; index++) {
        const char *feed = (const char *)memchr(p, '\n', (size_t)(end - p));
        journal_day_entry *entry = new_entry(day);
        if (!entry) return -1;
        parse_line(p, (size_t)(feed - p), &entry->fields);
        entry->original = index;
        p = feed + 1;
    }
    sort_entries(day);
    return 0;
}

int journal_day_read(journal_day *day, const char *date) {
    memset(day, 0, sizeof *day);
    if (day_path(date, day->path) != 0) return -1;
    snprintf(day->date, sizeof day->date, "%s", date);
    journal_text content;
    if (platform_path_kind(day->path) != PATH_FILE) {
        msg_warn(text(TXT_JOURNAL_NOT_FOUND), day->path);
        return -1;
    }
    if (journal_read_whole(day->path, &content) != 0) {
        msg_warn(text(TXT_CANNOT_READ), day->path);
        return -1;
    }
    byte_area lines = {};
    collect_lines(&content, date, &lines);
    journal_text_free(&content);
    day->lines = lines.bytes;
    day->lines_size = lines.used;
    if (lines.failed || entries_from_lines(day) != 0) {
        journal_day_free(day);
        return -1;
    }
    snprintf(day->date, sizeof day->date, "%s", date);
    return 0;
}

// Checks typed fields; 0, or -1 with a message.
static int check_fields(const char *time, const char *project) {
    if (strlen(time) != JOURNAL_TIME || !time_text_valid(time)) {
        msg_warn(text(TXT_BAD_TIME), time);
        return -1;
    }
    if (text_is_blank(project)) {
        msg_warn("%s", text(TXT_PROJECT_MISSING));
        return -1;
    }
    return 0;
}

// Fills an entry from typed fields and puts it at its place; its index.
static int place_entry(journal_day *day, journal_day_entry *entry, const char *time,
                       const char *project, const char *note) {
    char line[JOURNAL_LINE_OUT + 1];
    journal_format_line(line, day->date, time, project, note);
    parse_line(line, strlen(line), &entry->fields);
    entry->original = -1;
    entry->order = day->next_order++;
    long order = entry->order;
    sort_entries(day);
    day->modified = true;
    for (int i = 0; i < day->count; i++)
        if (day->entries[i].order == order) return i;
    return -1;
}

int journal_day_add(journal_day *day, const char *time, const char *project, const char *note) {
    if (check_fields(time, project) != 0) return -1;
    journal_day_entry *entry = new_entry(day);
    return entry ? place_entry(day, entry, time, project, note) : -1;
}

int journal_day_change(journal_day *day, int index, const char *time, const char *project,
                       const char *note) {
    if (index < 0 || index >= day->count || check_fields(time, project) != 0) return -1;
    return place_entry(day, &day->entries[index], time, project, note);
}

void journal_day_delete(journal_day *day, int index) {
    if (index < 0 || index >= day->count) return;
    memmove(&day->entries[index], &day->entries[index + 1],
            (size_t)(day->count - index - 1) * sizeof *day->entries);
    day->count--;
    day->modified = true;
}

static bool is_pause_entry(const journal_day_entry *entry) {
    return entry->fields.project[0] == '-';
}

static long minutes_of(const char *time) {
    return atoi(time) * 60L + atoi(time + 3);
}

void journal_day_period(const journal_day *day, int index, char *out) {
    out[0] = 0;
    const journal_day_entry *entry = &day->entries[index];
    if (is_pause_entry(entry) || !time_text_valid(entry->fields.time)) return;
    long end;
    if (index + 1 < day->count) {
        if (!time_text_valid(day->entries[index + 1].fields.time)) return;
        end = minutes_of(day->entries[index + 1].fields.time);
    } else {
        char today[JOURNAL_DATE + 1];
        journal_today(today);
        if (strcmp(today, day->date) != 0) {
            snprintf(out, JOURNAL_DAY_PERIOD + 1, "%s", text(TXT_SHEET_OPEN));
            return;
        }
        platform_time now;
        clock_now(&now);
        end = now.hour * 60L + now.minute;
    }
    char duration[REPORT_FIELD + 1];
    report_duration(duration, end - minutes_of(entry->fields.time), 0, 1);
    snprintf(out, JOURNAL_DAY_PERIOD + 1, "%s", duration);
}

void journal_day_line(const journal_day *day, int index, char *out) {
    const booking *fields = &day->entries[index].fields;
    char period[JOURNAL_DAY_PERIOD + 1];
    journal_day_period(day, index, period);
    snprintf(out, JOURNAL_DAY_LINE + 1, "%s\t%s\t%s\t%s", fields->time, fields->project, period,
             fields->text);
}

char *journal_day_copy(const journal_day *day) {
    report_text copy;
    report_text_begin(&copy, "journal_day");
    for (int i = 0; i < day->count; i++) {
        char line[JOURNAL_DAY_LINE + 1];
        journal_day_line(day, i, line);
        report_text_line(&copy, line);
    }
    return report_text_take(&copy);
}

// The bytes of the day's line index as read (without its line feed) into *bytes.
static size_t original_line(const journal_day *day, long index, const char **bytes) {
    const char *p = day->lines, *end = day->lines + day->lines_size;
    for (; index > 0; index--) p = (const char *)memchr(p, '\n', (size_t)(end - p)) + 1;
    *bytes = p;
    return (size_t)((const char *)memchr(p, '\n', (size_t)(end - p)) - p);
}

// The entries as lines of the file: unchanged ones byte for byte, the others as bookings write.
static void day_block(const journal_day *day, const char *ending, byte_area *out) {
    for (int i = 0; i < day->count; i++) {
        const journal_day_entry *entry = &day->entries[i];
        char line[JOURNAL_LINE_OUT + 1];
        const char *bytes = line;
        size_t length;
        if (entry->original >= 0) {
            length = original_line(day, entry->original, &bytes);
        } else {
            journal_format_line(line, day->date, entry->fields.time, entry->fields.project,
                                entry->fields.text);
            length = strlen(line);
        }
        area_add(out, bytes, length);
        area_add(out, ending, strlen(ending));
    }
}

// The content with the day's lines replaced by block at the place of the first of them (a day
// without lines: at its place in date order); the day's lines after it are left out.
static int replace_day(const journal_text *content, const char *date, const byte_area *block,
                       byte_area *out) {
    size_t end = text_end(content), at = 0;
    text_line line;
    bool found = false;
    while (!found && line_at(content, end, at, &line)) {
        found = of_day(content, &line, date);
        if (!found) at = line.next;
    }
    size_t place = found ? line.start : date_place(content, end, date);
    area_add(out, content->bytes, place);
    if (place > 0 && place == end && content->bytes[place - 1] != '\n' && block->used)
        area_add(out, "\n", 1);
    area_add(out, block->bytes, block->used);
    for (at = place; line_at(content, end, at, &line); at = line.next)
        if (!of_day(content, &line, date))
            area_add(out, content->bytes + line.start, line.next - line.start);
    area_add(out, content->bytes + end, content->size - end);
    return out->failed ? -1 : 0;
}

// After a save the day's lines in the file are the entries: they become the lines as read.
static void take_as_read(journal_day *day, byte_area *lines) {
    ffree(day->lines);
    day->lines = lines->bytes;
    day->lines_size = lines->used;
    lines->bytes = nullptr;
    for (int i = 0; i < day->count; i++) day->entries[i].original = i;
    day->modified = false;
}

int journal_day_save(journal_day *day) {
    journal_text content;
    if (read_locked(day->path, &content) != 0) return -1;
    byte_area now = {}, lines = {}, block = {}, result = {};
    collect_lines(&content, day->date, &now);
    int outcome = now.failed ? -1 : 0;
    if (outcome == 0 && (now.used != day->lines_size ||
                         (now.used && memcmp(now.bytes, day->lines, now.used) != 0))) {
        msg_warn("%s", text(TXT_DAY_CHANGED_MEANWHILE));
        outcome = JOURNAL_DAY_CHANGED;
    }
    ffree(now.bytes);
    const char *ending = line_ending(&content);
    if (outcome == 0) {
        day_block(day, "\n", &lines);
        if (strcmp(ending, "\n") != 0) day_block(day, ending, &block);
        const byte_area *written = block.bytes ? &block : &lines;
        outcome =
            lines.failed || block.failed ? -1 : replace_day(&content, day->date, written, &result);
    }
    ffree(block.bytes);
    if (outcome == JOURNAL_DAY_CHANGED) {
        file_lock_release(day->path);
        journal_text_free(&content);
    } else if (write_and_release(day->path, &content, &result, outcome) == 0) {
        take_as_read(day, &lines);
    } else {
        outcome = -1;
    }
    ffree(lines.bytes);
    return outcome;
}

// Where a booking of time goes among the day's lines: after the last one of that time or earlier,
// else before the first of the day, else at the day's place in date order.
static size_t insert_place(const journal_text *content, const char *date, const char *time) {
    size_t end = text_end(content), first = end, after = end;
    bool any = false, earlier = false;
    text_line line;
    for (size_t at = 0; line_at(content, end, at, &line); at = line.next) {
        if (!of_day(content, &line, date)) continue;
        if (!any) first = line.start;
        any = true;
        booking fields;
        parse_line(content->bytes + line.start, line.end - line.start, &fields);
        if (strcmp(fields.time, time) <= 0) {
            after = line.next;
            earlier = true;
        }
    }
    if (earlier) return after;
    return any ? first : date_place(content, end, date);
}

int journal_insert(const char *date, const char *time, const char *project, const char *note) {
    booking one = {};
    snprintf(one.date, sizeof one.date, "%s", date);
    snprintf(one.time, sizeof one.time, "%s", time);
    snprintf(one.project, sizeof one.project, "%s", project);
    snprintf(one.text, sizeof one.text, "%s", note);
    return journal_insert_all(&one, 1);
}

// The year file all the bookings go to; 0, or -1 with a message.
static int insert_path(const booking *bookings, int count, char *path) {
    for (int i = 0; i < count; i++) {
        char own[JOURNAL_PATH_MAX + 1];
        if (day_path(bookings[i].date, own) != 0 ||
            check_fields(bookings[i].time, bookings[i].project) != 0)
            return -1;
        if (i > 0 && strcmp(own, path) != 0) {
            msg_warn(text(TXT_OTHER_YEAR), bookings[i].date, path);
            return -1;
        }
        memcpy(path, own, sizeof own);
    }
    return count > 0 ? 0 : -1;
}

int journal_insert_all(const booking *bookings, int count) {
    char path[JOURNAL_PATH_MAX + 1];
    if (insert_path(bookings, count, path) != 0) return -1;
    journal_text before;
    if (read_locked(path, &before) != 0) return -1;
    // Each booking goes into the content as the ones before it left it.
    journal_text current = before;
    byte_area result = {};
    int outcome = 0;
    for (int i = 0; i < count && outcome == 0; i++) {
        const booking *one = &bookings[i];
        char line[JOURNAL_LINE_OUT + 3];
        journal_format_line(line, one->date, one->time, one->project, one->text);
        strcat(line, line_ending(&before));
        size_t at = insert_place(&current, one->date, one->time);
        byte_area next = {};
        outcome = splice(&current, at, at, line, strlen(line), &next);
        if (current.bytes != before.bytes) ffree(current.bytes);
        current.bytes = next.bytes;
        current.size = next.used;
    }
    result.bytes = current.bytes != before.bytes ? current.bytes : nullptr;
    result.used = current.size;
    return write_and_release(path, &before, &result, outcome);
}

int journal_remove(const char *date, const char *time, const char *project) {
    char path[JOURNAL_PATH_MAX + 1];
    if (day_path(date, path) != 0) return -1;
    journal_text content;
    if (read_locked(path, &content) != 0) return -1;
    int matches = 0;
    text_line line, match = {};
    for (size_t at = 0, end = text_end(&content); line_at(&content, end, at, &line);
         at = line.next) {
        if (!of_day(&content, &line, date)) continue;
        booking fields;
        parse_line(content.bytes + line.start, line.end - line.start, &fields);
        if (strcmp(fields.time, time) != 0 || (project && strcmp(fields.project, project) != 0))
            continue;
        matches++;
        match = line;
    }
    byte_area result = {};
    int outcome = 0;
    if (matches == 0) msg_warn(text(TXT_NO_SUCH_BOOKING), date, time);
    if (matches > 1) msg_warn(text(TXT_SEVERAL_BOOKINGS), matches, date, time);
    if (matches != 1) {
        file_lock_release(path);
        journal_text_free(&content);
        return -1;
    }
    outcome = splice(&content, match.start, match.next, "", 0, &result);
    return write_and_release(path, &content, &result, outcome);
}
