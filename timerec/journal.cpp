// The time journal's year files: the current file, the last booking read backwards, appending
// bookings, and the walk that pairs the lines of a day into counted periods.
#include "timerec/journal.h"
#include "frame/bfile.h"
#include "frame/clock.h"
#include "frame/dates.h"
#include "frame/file_lock.h"
#include "frame/files.h"
#include "frame/memory.h"
#include "frame/messages.h"
#include "frame/path.h"
#include "frame/platform.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include "timerec/daily_copy.h"
#include "timerec/directories.h"
#include "timerec/journal_rewrite.h"
#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <atomic>
#include <thread>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

enum {
    PAUSE_COLUMN = 20,
    TIME_COLUMN = 12,
    MINUTE_COLUMN = 15,
    LINE_AREA = TEXT_TABS_MAX + 1,
    LINE_SLACK = 16, // bytes readable behind a walk's line, which is read in blocks of 16
    JOURNAL_APPEND_MAX = JOURNAL_TEXT_COLUMN + JOURNAL_TEXT_IN + 3, // line, line feeds, NUL
};

static char current_file[JOURNAL_PATH_MAX + 1];
// The period being delivered, one for each thread that walks a stretch of a file.
static thread_local const char *period_text = ""; // not terminated: period_text_length bytes
static thread_local size_t period_text_length;
static thread_local long period_begin, period_end;
static thread_local bool period_running;

void journal_today(char *out) {
    platform_time now;
    clock_now(&now);
    snprintf(out, JOURNAL_DATE + 1, "%04u-%02u-%02u", (unsigned)now.year % 10000u,
             (unsigned)now.month % 100u, (unsigned)now.day % 100u);
}

void journal_pause_line(char *out) {
    platform_time now;
    clock_now(&now);
    snprintf(out, JOURNAL_PAUSE_LINE + 1, "%04u-%02u-%02u  %02u:%02u   ---",
             (unsigned)now.year % 10000u, (unsigned)now.month % 100u, (unsigned)now.day % 100u,
             (unsigned)now.hour % 100u, (unsigned)now.minute % 100u);
}

void journal_year_path(char *out, size_t size, int year) {
    snprintf(out, size, "%s%04d.txt", WorkDir, year);
}

void journal_backup_path(char *out, size_t size, int year) {
    snprintf(out, size, "%s%04d.bak", WorkDir, year);
}

void journal_forget_file(void) {
    current_file[0] = 0;
}

// Creates the year file with its first line, a pause at this moment, making missing folders.
// Made only when no other process has made it meanwhile; removed again when its line could not
// be written whole.
static void create_year_file(const char *path) {
    char folder[JOURNAL_PATH_MAX + 1];
    path_dir(folder, sizeof folder, path);
    if (folder[0]) make_path(folder);
    if (file_lock_take(path) != 0) return;
    int handle = file_create_new(path, nullptr);
    if (handle >= 0) {
        char line[JOURNAL_PAUSE_LINE + 2];
        journal_pause_line(line);
        strcat(line, "\n");
        long count = (long)strlen(line);
        bool written = file_write(handle, line, count) == count;
        if (file_close(handle) != 0 || !written) file_delete(path);
    }
    file_lock_release(path);
}

void journal_current_path(char *out) {
    if (current_file[0]) {
        snprintf(out, JOURNAL_PATH_MAX + 1, "%s", current_file);
        return;
    }
    char today[JOURNAL_DATE + 1];
    journal_today(today);
    snprintf(out, JOURNAL_PATH_MAX + 1, "%s%4.4s.txt", WorkDir, today);
}

const char *journal_current_file(void) {
    if (current_file[0]) return current_file;
    journal_current_path(current_file);
    // Only a path that does not exist at all is created: an existing file is never truncated.
    if (platform_path_kind(current_file) == PATH_NONE) create_year_file(current_file);
    if (platform_path_kind(current_file) != PATH_FILE) status_show("%s", text(TXT_JOURNAL_MISSING));
    return current_file;
}

// A pause line has "-" in column 20; only that character is tested.
static bool is_pause(const char *line, size_t length) {
    return length > PAUSE_COLUMN && line[PAUSE_COLUMN] == '-';
}

// The last line of a year file that is not blank, found by reading backwards from the text end.
struct last_line {
    int64_t start;   // offset of its first byte
    int64_t end;     // offset after its last byte (its line feed, or the text end)
    bool terminated; // a line feed follows it
    char text[JOURNAL_LAST_LINE + 1];
};

// Steps back from end to the start of its line; whether the bytes between hold anything but
// white space and end-of-file marks. A line's blankness is judged on all its bytes, so nothing is
// overwritten that holds text, however long the line; a line an old editor ended with Ctrl+Z is
// blank, so that the next booking replaces it instead of landing behind the readers' end.
static int64_t line_start(bfile *file, int64_t end, bool *blank) {
    bfile_seek(file, end);
    *blank = true;
    int c;
    while ((c = bfile_prevc(file)) >= 0 && c != '\n')
        if (!text_is_space(c) && c != BFILE_EOF_MARK) *blank = false;
    return c < 0 ? 0 : bfile_tell(file) + 1;
}

// Finds the last non-blank line before offset from (optionally also skipping pause lines) and
// reads its first JOURNAL_LAST_LINE characters, trimmed. 0, or -1 when there is none.
static int find_last_line(bfile *file, int64_t from, bool skip_pauses, last_line *out) {
    int64_t at = from;
    while (at > 0) {
        bfile_seek(file, at - 1);
        bool terminated = bfile_getc(file) == '\n';
        int64_t end = terminated ? at - 1 : at;
        bool blank;
        int64_t start = line_start(file, end, &blank);
        if (!blank) {
            bfile_seek(file, start);
            if (bfile_read_line(file, out->text, JOURNAL_LAST_LINE) < 0) out->text[0] = 0;
            text_trim(out->text);
            if (!skip_pauses || !is_pause(out->text, strlen(out->text))) {
                out->start = start;
                out->end = end;
                out->terminated = terminated;
                return 0;
            }
        }
        at = start;
    }
    return -1;
}

// Columns first..first+width of line (as far as it reaches) into out; the count copied.
static size_t column(char *out, const char *line, size_t length, size_t first, size_t width) {
    size_t count = 0;
    if (first < length) count = length - first < width ? length - first : width;
    memcpy(out, line + (first < length ? first : length), count);
    out[count] = 0;
    return count;
}

void journal_split_booking(const char *line, booking *out) {
    size_t length = strlen(line);
    column(out->date, line, length, 0, JOURNAL_DATE);
    text_pad(out->date, out->date, JOURNAL_DATE);
    column(out->time, line, length, TIME_COLUMN, JOURNAL_TIME);
    text_pad(out->time, out->time, JOURNAL_TIME);
    column(out->project, line, length, PAUSE_COLUMN, JOURNAL_PROJECT);
    text_trim(out->project);
    column(out->text, line, length, JOURNAL_TEXT_COLUMN, sizeof out->text - 1);
}

// Opens the current year file and finds its last line; 0, or -1 when it cannot be opened
// (found tells whether a line was there).
static int open_last_line(bfile *file, bool skip_pauses, last_line *line, bool *found) {
    if (bfile_open(file, journal_current_file()) < 0) return -1;
    bfile_seek_text_end(file);
    *found = find_last_line(file, bfile_tell(file), skip_pauses, line) == 0;
    return 0;
}

// The year of a year file's path, whose name is the year and ".txt".
static int path_year(const char *path) {
    size_t length = strlen(path);
    return length >= strlen("0000.txt") ? atoi(path + length - strlen("0000.txt")) : 0;
}

// The year of a date text, or -1 when its first four characters are no year.
static int date_year(const char *date) {
    for (int i = 0; i < 4; i++)
        if (date[i] < '0' || date[i] > '9') return -1;
    return atoi(date);
}

static int this_year(void) {
    char today[JOURNAL_DATE + 1];
    journal_today(today);
    return date_year(today);
}

// The last line (optionally: that is no pause) of the year before the current file's. At the
// first start of a new year the new file holds only its own pause line: the open 31 December
// must show like any open day, and the project worked on last stays on top of the list.
static bool previous_year_last(bool skip_pauses, last_line *line) {
    char path[JOURNAL_PATH_MAX + 1];
    journal_year_path(path, sizeof path, path_year(journal_current_file()) - 1);
    bfile file;
    if (platform_path_kind(path) != PATH_FILE || bfile_open(&file, path) < 0) return false;
    bfile_seek_text_end(&file);
    bool found = find_last_line(&file, bfile_tell(&file), skip_pauses, line) == 0;
    bfile_close(&file);
    return found;
}

void journal_last_booking(booking *out) {
    bfile file;
    last_line line, other;
    bool found;
    if (open_last_line(&file, false, &line, &found) < 0) {
        journal_pause_line(line.text);
        found = true;
    } else {
        bool only_pauses = !found || (is_pause(line.text, strlen(line.text)) &&
                                      find_last_line(&file, line.start, true, &other) != 0);
        bfile_close(&file);
        if (only_pauses && previous_year_last(false, &other) &&
            !is_pause(other.text, strlen(other.text))) {
            line = other;
            found = true;
        }
    }
    journal_split_booking(found ? line.text : "", out);
}

void journal_last_project(char *out) {
    bfile file;
    last_line line;
    bool found;
    if (open_last_line(&file, true, &line, &found) < 0) {
        snprintf(out, JOURNAL_PROJECT + 1, "---");
        return;
    }
    bfile_close(&file);
    if (!found) found = previous_year_last(true, &line);
    booking fields;
    journal_split_booking(found ? line.text : "", &fields);
    snprintf(out, JOURNAL_PROJECT + 1, "%s", fields.project);
}

int journal_recent_projects(char (*out)[JOURNAL_PROJECT + 1], int max) {
    bfile file;
    if (bfile_open(&file, journal_current_file()) < 0) return 0;
    bfile_seek_text_end(&file);
    int count = 0;
    last_line line;
    int64_t at = bfile_tell(&file);
    for (int read = 0;
         count < max && read < JOURNAL_RECENT_LINES && find_last_line(&file, at, true, &line) == 0;
         read++) {
        at = line.start;
        booking fields;
        journal_split_booking(line.text, &fields);
        bool seen = !fields.project[0];
        for (int i = 0; i < count && !seen; i++) seen = strcmp(out[i], fields.project) == 0;
        if (!seen) memcpy(out[count++], fields.project, JOURNAL_PROJECT + 1);
    }
    bfile_close(&file);
    return count;
}

// A copy of a booking field with control characters (but tabs) made blanks, so no field can
// break the line or end the file's text.
static void clean_field(char *out, size_t size, const char *field) {
    snprintf(out, size, "%s", field ? field : "");
    for (char *p = out; *p; p++)
        if ((unsigned char)*p < ' ' && *p != '\t') *p = ' ';
}

// The previous year's file into path when date is of the year before today's and that file is
// there: the end of an open 31 December, booked in the new year, belongs to it.
static bool previous_year_booking(const char *date, char *path) {
    int year = date_year(date);
    if (year < 0 || year != this_year() - 1) return false;
    journal_year_path(path, JOURNAL_PATH_MAX + 1, year);
    return platform_path_kind(path) == PATH_FILE;
}

// The year file a booking of date goes to: last year's for its open end, else the current one,
// determined anew when the program has run into a new year and the booking is of that year.
static const char *booking_file(const char *date, char *previous) {
    if (previous_year_booking(date, previous)) return previous;
    if (current_file[0] && date_year(date) == this_year() && path_year(current_file) != this_year())
        journal_forget_file();
    return journal_current_file();
}

int journal_check_booking(const char *date, const char *time) {
    char path[JOURNAL_PATH_MAX + 1], previous[JOURNAL_PATH_MAX + 1];
    journal_current_path(path);
    if (!date_text_valid(date)) {
        status_show(text(TXT_BAD_DATE), date);
        return -1;
    }
    if (!time_text_valid(time)) {
        status_show(text(TXT_BAD_TIME), time);
        return -1;
    }
    if (date_year(date) != this_year() && !previous_year_booking(date, previous)) {
        status_show(text(TXT_OTHER_YEAR), date, path);
        return -1;
    }
    return 0;
}

// Puts count bytes at offset at of the file path, whose end is at end, in one write: appended
// when at is the end, else over the blank tail. When the write or the sync fails the file is cut
// back and the tail restored, so that it is byte-identical to before. 0, or -1.
static int write_line_at(const char *path, int64_t at, int64_t end, const char *bytes, long count) {
    int handle = at == end ? file_open_append(path) : file_open(path, FILE_READ_WRITE);
    if (handle < 0) return -1;
    char saved[JOURNAL_APPEND_MAX];
    long kept = end - at < count ? (long)(end - at) : count;
    int result = 0;
    if (at != end &&
        (file_seek(handle, at, FILE_FROM_START) != at || file_read(handle, saved, kept) != kept ||
         file_seek(handle, at, FILE_FROM_START) != at))
        result = -1;
    else if (file_write(handle, bytes, count) != count || platform_file_sync(handle) != 0) {
        result = -1;
        if (kept > 0 && file_seek(handle, at, FILE_FROM_START) == at)
            file_write(handle, saved, kept);
        file_truncate(handle, end);
    }
    if (file_close(handle) != 0) result = -1;
    if (result == 0)
        journal_note_change(path, at, saved, kept > 0 ? (size_t)kept : 0, bytes, (size_t)count,
                            at + count > end ? at + count : end);
    return result;
}

// Appends line (with its line feed) after the last non-blank line of path; 0, or -1.
static int append_line(const char *path, const char *line) {
    bfile file;
    if (bfile_open(&file, path) < 0) return -1;
    bfile_seek_end(&file);
    int64_t end = bfile_tell(&file);
    bfile_seek_text_end(&file);
    last_line last;
    bool found = find_last_line(&file, bfile_tell(&file), false, &last) == 0;
    bfile_close(&file);
    // The new line goes right after the last line; a last line without a line feed gets one.
    int64_t at = !found ? 0 : last.terminated ? last.end + 1 : last.end;
    char bytes[JOURNAL_APPEND_MAX];
    int count =
        snprintf(bytes, sizeof bytes, "%s%s\n", found && !last.terminated ? "\n" : "", line);
    return write_line_at(path, at, end, bytes, count);
}

void journal_format_line(char *out, const char *date, const char *time, const char *project,
                         const char *note) {
    char fields[4][JOURNAL_TEXT_IN + 1];
    clean_field(fields[0], sizeof fields[0], date);
    clean_field(fields[1], sizeof fields[1], time);
    clean_field(fields[2], sizeof fields[2], project);
    clean_field(fields[3], sizeof fields[3], note);
    snprintf(out, JOURNAL_LINE_OUT + 1, "%-12.10s%-8.5s%-20.15s%s", fields[0], fields[1], fields[2],
             fields[3]);
}

int journal_append(const char *date, const char *time, const char *project, const char *note) {
    char previous[JOURNAL_PATH_MAX + 1];
    const char *path = booking_file(date ? date : "", previous);
    if (platform_path_kind(path) != PATH_FILE) {
        status_show(text(TXT_CANNOT_WRITE_JOURNAL), path);
        return -1;
    }
    char line[JOURNAL_LINE_OUT + 1];
    journal_format_line(line, date, time, project, note);
    // The lock keeps other writers out between finding the last line and writing after it.
    if (file_lock_take(path) != 0) return -1;
    daily_copy_make(path);
    int result = append_line(path, line);
    file_lock_release(path);
    if (result != 0) status_show(text(TXT_CANNOT_WRITE_JOURNAL), path);
    return result;
}

int journal_check_day_closure(const char *date, const char *project) {
    status_clear();
    char today[JOURNAL_DATE + 1];
    journal_today(today);
    if (strcmp(date, today) == 0 || project[0] == '-') return 0;
    status_show("%s", text(TXT_NOT_CLOSED_YESTERDAY));
    return 1;
}

// Reads a decimal number at column first as the runtime's atoi would (blanks and a sign allowed),
// bounded so that no line can overflow it; 0 when the line is shorter.
static long number_at(const char *line, size_t length, size_t first) {
    if (first >= length) return 0;
    const char *p = line + first;
    while (*p == ' ' || *p == '\t') p++;
    int sign = *p == '-' ? -1 : 1;
    if (*p == '-' || *p == '+') p++;
    long value = 0;
    for (; *p >= '0' && *p <= '9'; p++)
        if (value < 100000000) value = value * 10 + (*p - '0');
    return sign * value;
}

static bool digit(char c) {
    return c >= '0' && c <= '9';
}

// Both numbers of the time column read; kept out of the common way below.
static __attribute__((noinline)) long minutes_read(const char *line, size_t length) {
    return number_at(line, length, TIME_COLUMN) * 60 + number_at(line, length, MINUTE_COLUMN);
}

// The time of day of a line in minutes. A time written as the journal writes it (HH:MM followed
// by a non-digit) is read directly, which gives the same as reading both numbers.
static inline __attribute__((always_inline)) long minutes_of(const char *line, size_t length) {
    const char *t = line + TIME_COLUMN;
    if (length >= TIME_COLUMN + JOURNAL_TIME && digit(t[0]) && digit(t[1]) && !digit(t[2]) &&
        digit(t[3]) && digit(t[4]) && (length == TIME_COLUMN + JOURNAL_TIME || !digit(t[5])))
        return ((t[0] - '0') * 10 + (t[1] - '0')) * 60 + (t[3] - '0') * 10 + (t[4] - '0');
    return minutes_read(line, length);
}

// A line of the walk: trimmed (blanks after a short line may stay: they change nothing), its
// tabs expanded to stops every 8 columns, and its time of day in minutes. Its text stands in the
// file's block where it could be read there whole, else in its own area; either way a byte that
// is no digit and no blank follows it, so that reading a number stops at its end, and LINE_SLACK
// bytes behind its end can be read (a line of the block has WALK_READABLE bytes from its start).
struct walk_line {
    const char *text;
    size_t length;
    long minutes;
    char own[LINE_AREA + LINE_SLACK];
};

// One walk over a year file: the range, the callback, the count of delivered periods and the sum
// of their minutes without their signs.
struct walk {
    const char *from;
    const char *to;
    size_t from_length, to_length;
    journal_walk_fn callback;
    journal_open_day_fn open_day;
    void *context;
    int delivered;
    long long magnitude;
};

// The first eight bytes of a text as a number that orders like the bytes.
static uint64_t ordered_eight(const char *text) {
    uint64_t eight;
    memcpy(&eight, text, 8);
    return __builtin_bswap64(eight);
}

// Compares the first 10 characters as strncmp does; whole dates take the quick way (this runs
// for every line of a walk).
static int compare_dates(const char *a, size_t a_length, const char *b, size_t b_length) {
    if (a_length < JOURNAL_DATE || b_length < JOURNAL_DATE) return strncmp(a, b, JOURNAL_DATE);
    uint64_t x = ordered_eight(a), y = ordered_eight(b);
    if (x != y) return x < y ? -1 : 1;
    for (int i = 8; i < JOURNAL_DATE; i++)
        if (a[i] != b[i]) return (unsigned char)a[i] < (unsigned char)b[i] ? -1 : 1;
    return 0;
}

// Whether two lines bear the same date (their first 10 characters).
static inline __attribute__((always_inline)) bool same_date(const walk_line *a,
                                                            const walk_line *b) {
    if (a->length < JOURNAL_DATE || b->length < JOURNAL_DATE)
        return strncmp(a->text, b->text, JOURNAL_DATE) == 0;
    uint64_t a8, b8;
    uint16_t a2, b2;
    memcpy(&a8, a->text, 8);
    memcpy(&b8, b->text, 8);
    memcpy(&a2, a->text + 8, 2);
    memcpy(&b2, b->text + 8, 2);
    return ((a8 ^ b8) | (uint64_t)(a2 ^ b2)) == 0;
}

static bool in_range(const walk *w, const walk_line *line) {
    return compare_dates(line->text, line->length, w->from, w->from_length) >= 0 &&
           compare_dates(line->text, line->length, w->to, w->to_length) <= 0;
}

typedef unsigned char byte16 __attribute__((vector_size(16)));
typedef signed char flag16 __attribute__((vector_size(16)));

// A bit for each flagged byte (flags of 0 or -1 per byte), the first byte's lowest.
static unsigned flag_bits(flag16 flags) {
#ifdef __SSE2__
    return (unsigned)_mm_movemask_epi8((__m128i)flags);
#else
    unsigned bits = 0;
    for (int i = 0; i < 16; i++) bits |= (flags[i] & 1u) << i;
    return bits;
#endif
}

// The project column of a line, trimmed, with zeros after it up to its 16th byte, so that a
// receiver may take the name as a whole key. The column is judged 16 bytes at once, without a
// branch per byte: this runs for every period of a walk, and the names' lengths vary at random.
// A name that starts with a blank or holds a NUL byte takes the general way.
static inline __attribute__((always_inline)) void project_column(char *out, const walk_line *line) {
    static_assert(PAUSE_COLUMN + 16 <= LINE_AREA, "the column is read as 16 bytes");
    // 16 bytes kept, then 16 cleared: the mask of the first n bytes starts at 16 - n.
    static const unsigned char keep[32] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                           0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    size_t count = line->length > PAUSE_COLUMN ? line->length - PAUSE_COLUMN : 0;
    if (count > JOURNAL_PROJECT) count = JOURNAL_PROJECT;
    byte16 bytes;
    memcpy(&bytes, line->text + PAUSE_COLUMN, sizeof bytes);
    unsigned inside = (1u << count) - 1;
    unsigned blank = flag_bits((bytes == ' ') | ((byte16)(bytes - 9) <= 4));
    unsigned nul = flag_bits(bytes == 0) & inside;
    size_t length = 31 - (size_t)__builtin_clz((inside & ~blank) << 1 | 1);
    byte16 mask;
    memcpy(&mask, keep + 16 - length, sizeof mask);
    bytes &= mask;
    memcpy(out, &bytes, sizeof bytes);
    if (length > 0 && ((blank & 1) || nul)) {
        length = text_trim_length(out, strlen(out));
        memset(out + length, 0, JOURNAL_PROJECT + 1 - length);
    }
}

// Pairs opening line a with closing line b: a period when both are of one day and a is no
// pause; a day without closure when the dates differ.
static inline __attribute__((always_inline)) void pair(walk *w, const walk_line *a,
                                                       const walk_line *b, bool same_day) {
    bool pause = is_pause(a->text, a->length);
    char date[JOURNAL_DATE + 1];
    if (a->length >= JOURNAL_DATE) { // a copy of fixed length for every period
        memcpy(date, a->text, JOURNAL_DATE);
        date[JOURNAL_DATE] = 0;
    } else { // a short date, with zeros to its 11th byte as every date is delivered
        memset(date, 0, sizeof date);
        column(date, a->text, a->length, 0, JOURNAL_DATE);
    }
    char project[JOURNAL_PROJECT + 1];
    if (!same_day) {
        if (pause) return;
        journal_walk_status(TXT_DAY_NOT_CLOSED, date);
        if (w->open_day) {
            project_column(project, a);
            period_begin = period_end = a->minutes;
            w->open_day(date, project, w->context);
        }
        return;
    }
    if (pause) return;
    project_column(project, a);
    period_text = a->length > JOURNAL_TEXT_COLUMN ? a->text + JOURNAL_TEXT_COLUMN : "";
    period_text_length = a->length > JOURNAL_TEXT_COLUMN ? a->length - JOURNAL_TEXT_COLUMN : 0;
    period_begin = a->minutes;
    period_end = b->minutes;
    long minutes = b->minutes - a->minutes;
    w->delivered++;
    w->magnitude += minutes < 0 ? -minutes : minutes;
    w->callback(date, project, (int)minutes, w->context);
}

// Gives a line that stands in the file's block its own copy, before a read may load the next
// block over it.
static void keep_own(walk_line *line) {
    if (line->text == line->own) return;
    memcpy(line->own, line->text, line->length);
    line->own[line->length] = 0;
    line->text = line->own;
}

// A line of the block has room behind it for the 16 bytes of its project column, and for the
// FEED_WINDOW bytes in which its line feed is sought.
enum { WALK_READABLE = JOURNAL_WALK_LINE + PAUSE_COLUMN + 16, FEED_WINDOW = 128 };
static_assert(WALK_READABLE - JOURNAL_WALK_LINE >= LINE_SLACK, "slack behind a line of the block");
static_assert((int)FEED_WINDOW > (int)JOURNAL_WALK_LINE && FEED_WINDOW <= WALK_READABLE,
              "feed window");

#ifdef __SSE2__
// A bit for each line feed among 16 bytes, and among 64 (written out: the loop is not unrolled).
static uint64_t feeds_of_16(const unsigned char *bytes) {
    __m128i v = _mm_loadu_si128((const __m128i *)bytes);
    return (unsigned)_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8('\n')));
}
static uint64_t feeds_of_64(const unsigned char *bytes) {
    return feeds_of_16(bytes) | feeds_of_16(bytes + 16) << 16 | feeds_of_16(bytes + 32) << 32 |
           feeds_of_16(bytes + 48) << 48;
}
#endif

// The offset of the first line feed among the FEED_WINDOW bytes at bytes, or FEED_WINDOW. The
// window is judged 16 bytes at once, without a branch per byte or a call: a walk does this for
// every line, and the lines' lengths vary at random.
static int first_feed(const unsigned char *bytes) {
#ifdef __SSE2__
    // Nearly every line is shorter than 64 bytes: the second half is judged only for a longer one.
    uint64_t low = feeds_of_64(bytes);
    if (__builtin_expect(low != 0, 1)) return __builtin_ctzll(low);
    uint64_t high = feeds_of_64(bytes + 64);
    return high ? 64 + __builtin_ctzll(high) : FEED_WINDOW;
#else
    const void *found = memchr(bytes, '\n', FEED_WINDOW);
    return found ? (int)((const unsigned char *)found - bytes) : FEED_WINDOW;
#endif
}

// The common line at start, in a block without carriage returns, end-of-file marks and tabs with
// WALK_READABLE bytes readable from start: its line feed within JOURNAL_WALK_LINE bytes, at least
// a date long, starting with neither white space nor a NUL byte. It reads as the general way
// below would read it. The bytes it takes with its line feed; 0, with line unchanged, for any
// other line.
static inline __attribute__((always_inline)) int plain_line_at(const unsigned char *start,
                                                               walk_line *line) {
    int n = first_feed(start);
    if (n > JOURNAL_WALK_LINE || n < JOURNAL_DATE || start[0] == 0 || text_is_space(start[0]))
        return 0;
    line->text = (const char *)start;
    line->length = (size_t)n;
    // Lines with and without a text alternate at random: only the rare line whose text ends
    // in white space is judged by a branch.
    if ((n > JOURNAL_TEXT_COLUMN) & (text_is_space(start[n - 1]) != 0))
        line->length = text_trimmed_length(line->text, (size_t)n);
    line->minutes = minutes_of(line->text, line->length);
    return n + 1;
}

// The common line where it stands in the file's block (plain_line_at); false, with nothing
// consumed, for any other line.
static bool next_plain_line(bfile *file, walk_line *line) {
    int left;
    const unsigned char *start = bfile_plain_bytes(file, &left);
    if (!start || left < WALK_READABLE) return false;
    int taken = plain_line_at(start, line);
    if (taken > 0) bfile_skip(file, taken);
    return taken > 0;
}

// Reads the next non-blank line, where it stands in the file's block when it can (other, the
// line kept from before, gets its own copy when the block may change); false at the end of the
// file's text.
static bool next_line(bfile *file, walk_line *line, walk_line *other) {
    if (next_plain_line(file, line)) return true;
    for (;;) {
        int n;
        const char *raw = bfile_peek_line(file, JOURNAL_WALK_LINE, WALK_READABLE, &n);
        size_t start = 0;
        if (!raw) {
            keep_own(other);
            if ((n = bfile_read_line(file, line->own, JOURNAL_WALK_LINE)) < 0) return false;
            raw = line->own;
        }
        // Leading white space goes; trailing white space only matters beyond the columns of
        // date, time and project, where it would make a text of blanks.
        while (start < (size_t)n && text_is_space((unsigned char)raw[start])) start++;
        // A line that is empty as a text (blank, or starting with a NUL byte) is skipped.
        if (start == (size_t)n || raw[start] == 0) continue;
        line->length = (size_t)n - start;
        if (raw == line->own && start > 0) memmove(line->own, raw + start, line->length + 1);
        line->text = raw == line->own ? line->own : raw + start;
        if (file->line_tabs && memchr(line->text, '\t', line->length)) {
            keep_own(line);
            text_expand_tabs(line->own, sizeof line->own);
            line->length = strlen(line->own);
        }
        if (line->length > JOURNAL_TEXT_COLUMN)
            line->length = text_trimmed_length(line->text, line->length);
        // A line shorter than a date is compared as a terminated text.
        if (line->length < JOURNAL_DATE) keep_own(line);
        line->minutes = minutes_of(line->text, line->length);
        return true;
    }
}

// The messages of a stretch walked on a thread of its own, each with its terminating NUL, kept
// for the walk to show in the order of the file once the threads are done.
struct walk_notes {
    char *text;
    size_t used, size;
};

// The notes of the stretch this thread walks; NULL where messages are shown at once.
static thread_local walk_notes *thread_notes;

static void keep_note(walk_notes *notes, const char *note) {
    size_t length = strlen(note) + 1;
    if (notes->used + length > notes->size) {
        size_t size = notes->size ? notes->size * 2 : 4096;
        while (size < notes->used + length) size *= 2;
        char *grown = (char *)fmalloc(size, 1);
        if (!grown) return; // out of memory: the message is lost, never the periods
        if (notes->used) memcpy(grown, notes->text, notes->used);
        ffree(notes->text);
        notes->text = grown;
        notes->size = size;
    }
    memcpy(notes->text + notes->used, note, length);
    notes->used += length;
}

void journal_walk_status(int text_id, ...) {
    char format[TEXT_MAX + 1], note[MSG_TEXT_MAX + 1];
    // The string table's ring is the main thread's: a stretch's thread reads the text itself.
    text_copy(text_id, format, sizeof format);
    va_list args;
    va_start(args, text_id);
    vsnprintf(note, sizeof note, format, args);
    va_end(args);
    if (thread_notes)
        keep_note(thread_notes, note);
    else
        status_show("%s", note);
}

// A stretch of a year file: the periods whose opening lines start from begin (a line's start)
// up to end, the line after its last opening line closing the last of them. It has reached the
// end of the file's text when a line to close with was sought and none came; its last line is
// then open (the running period), if it has one.
struct walk_part {
    walk w;
    int64_t begin, end;
    walk_line lines[2];
    walk_line *opening;
    bool open, ended, unread;
    walk_notes notes;
};

// The pairing of a stretch's lines: the opening line waiting for its closing one, and whether
// the opening line's day lies in the range (lines of one day follow each other: a line of the
// opening line's day shares its range test).
struct pairing {
    walk_line *opening, *closing;
    bool tested, in_range;
};

// Pairs the closing line just read with the opening one; the closing line opens the next pair.
// Compiled into both of its callers, one of which runs for nearly every line.
static inline __attribute__((always_inline)) void pair_next(walk *w, pairing *p) {
    bool same_day = same_date(p->opening, p->closing);
    bool closing_in_range = same_day && p->tested ? p->in_range : in_range(w, p->closing);
    if (closing_in_range) pair(w, p->opening, p->closing, same_day);
    walk_line *swap = p->opening;
    p->opening = p->closing;
    p->closing = swap;
    p->tested = true;
    p->in_range = closing_in_range;
}

// Pairs the common lines that follow one another in the loaded block, as long as the stretch goes
// on (opening_end, the offset after the opening line, before its end): the file's position moves
// once for all of them. The count of lines taken; 0 where the next line must be read another way.
static int pair_plain_run(walk_part *part, bfile *file, pairing *p, int64_t *opening_end) {
    int left;
    const unsigned char *run = bfile_plain_bytes(file, &left);
    if (!run) return 0;
    int64_t run_start = *opening_end;
    int at = 0, lines = 0;
    for (int taken; at <= left - WALK_READABLE && run_start + at <= part->end &&
                    (taken = plain_line_at(run + at, p->closing)) > 0;
         lines++) {
        at += taken;
        pair_next(&part->w, p);
    }
    if (at > 0) bfile_skip(file, at);
    *opening_end = run_start + at;
    return lines;
}

// Walks the stretch in file, the year file opened by the thread (NULL when it could not be).
static void walk_stretch(walk_part *part, bfile *file) {
    part->unread = !file || bfile_seek(file, part->begin) != 0;
    if (part->unread) return;
    walk *w = &part->w;
    for (walk_line &line : part->lines) {
        line.text = line.own;
        line.length = 0;
    }
    pairing p = {&part->lines[0], &part->lines[1], false, false};
    bool open = next_line(file, p.opening, p.closing), ended = !open;
    int64_t opening_end = bfile_tell(file);
    while (open && opening_end <= part->end) {
        if (pair_plain_run(part, file, &p, &opening_end) > 0) continue;
        if (!next_line(file, p.closing, p.opening)) {
            ended = true;
            break;
        }
        opening_end = bfile_tell(file);
        pair_next(w, &p);
    }
    if (open && ended) keep_own(p.opening);
    part->opening = p.opening;
    part->open = open;
    part->ended = ended;
}

// The running period closes now, if now lies within the range.
static void close_running(walk_part *part) {
    walk_line *opening = part->opening;
    walk_line *closing = opening == &part->lines[0] ? &part->lines[1] : &part->lines[0];
    journal_pause_line(closing->own);
    closing->text = closing->own;
    closing->length = strlen(closing->own);
    closing->minutes = minutes_of(closing->text, closing->length);
    period_running = true;
    if (in_range(&part->w, closing)) pair(&part->w, opening, closing, same_date(opening, closing));
    period_running = false;
}

// The stretches of one walk, taken in turn by the threads that walk them: a thread that starts
// late, or runs slowly, takes fewer of them.
struct walk_turns {
    walk_part *part;
    int parts;
    const char *path;
    const journal_walk_beside *beside; // NULL: the calling thread takes turns too
    std::atomic<int> next;
};

// Each thread reads the file through a block of its own, opened once for all its stretches.
static void take_turns(walk_turns *turns) {
    bfile file;
    bool opened = false;
    for (int k; (k = turns->next++) < turns->parts;) {
        if (!opened) opened = bfile_open_sized(&file, turns->path, JOURNAL_WALK_BLOCK) >= 0;
        // One stretch alone on the calling thread shows its messages at once, as its callback's
        // come.
        thread_notes = turns->parts > 1 || turns->beside ? &turns->part[k].notes : nullptr;
        walk_part *part = &turns->part[k];
        walk_stretch(part, opened ? &file : nullptr);
        if (turns->beside)
            turns->beside->stretch_done(k, part->ended || part->unread, turns->beside->context);
    }
    thread_notes = nullptr;
    if (opened) bfile_close(&file);
}

static int64_t smallest_part = 2 << 20;

void journal_walk_part_bytes(int64_t bytes) {
    smallest_part = bytes > 0 ? bytes : 2 << 20;
}

int journal_walk_threads(void) {
    unsigned cores = std::thread::hardware_concurrency();
    return cores < 1 ? 1 : cores > JOURNAL_PARTS_MAX ? JOURNAL_PARTS_MAX : (int)cores;
}

// Cuts the file into stretches of at least smallest_part bytes each, at most parts of them,
// every one starting at the start of a line; their count.
static int cut_stretches(bfile *file, walk_part *part, int parts) {
    bfile_seek_end(file);
    int64_t size = bfile_tell(file);
    if (parts > size / smallest_part)
        parts = size / smallest_part > 1 ? (int)(size / smallest_part) : 1;
    part[0].begin = 0;
    for (int k = 1; k < parts; k++) {
        bfile_seek(file, size * k / parts - 1);
        int c;
        while ((c = bfile_getc(file)) >= 0 && c != '\n') {
        }
        part[k].begin = bfile_tell(file);
        part[k - 1].end = part[k].begin;
    }
    part[parts - 1].end = INT64_MAX;
    return parts;
}

// Walks the stretches on this thread and on threads of their own, as many as the machine has
// cores (fewer where no thread can be had), or, with work beside the walk, on threads of their
// own only while this thread does that work; then shows their messages in order, and closes the
// running period. The stretches that count (up to the first that reached the end of the text),
// -1, or -2 when beside the walk not even one thread could be had.
static int walk_file(const char *path, walk_part *part, int parts,
                     const journal_walk_beside *beside) {
    walk_turns turns = {part, parts, path, beside, {0}};
    std::thread threads[JOURNAL_PARTS_MAX];
    int helpers = journal_walk_threads() - (beside ? 0 : 1), started = 0;
    for (; started < helpers && started < parts - (beside ? 0 : 1); started++) {
        try {
            threads[started] = std::thread(take_turns, &turns);
        } catch (...) {
            break;
        }
    }
    if (beside && started == 0) return -2;
    if (beside)
        beside->work(beside->context);
    else
        take_turns(&turns);
    for (int k = 0; k < started; k++) threads[k].join();
    int used = 0;
    while (used < parts) {
        walk_part *p = &part[used++];
        if (p->unread) return -1;
        for (size_t at = 0; at < p->notes.used; at += strlen(p->notes.text + at) + 1)
            status_show("%s", p->notes.text + at);
        if (p->ended) break;
    }
    if (part[used - 1].open) close_running(&part[used - 1]);
    return used;
}

// The year file a walk reads (JOURNAL_PATH_MAX + 1 bytes).
static void walk_path(char *path, const char *year) {
    snprintf(path, JOURNAL_PATH_MAX + 1, "%s%4.4s.txt", WorkDir, year);
}

int64_t journal_walk_stretch_bytes(const char *year) {
    char path[JOURNAL_PATH_MAX + 1];
    walk_path(path, year);
    int64_t size = file_size(path), parts = size / smallest_part;
    if (size <= 0) return 0;
    parts = parts < 1 ? 1 : parts > (int64_t)JOURNAL_PARTS_MAX ? (int64_t)JOURNAL_PARTS_MAX : parts;
    return size / parts + 1;
}

bool journal_walk_shared(const char *year) {
    char path[JOURNAL_PATH_MAX + 1];
    walk_path(path, year);
    return journal_walk_threads() > 1 && file_size(path) >= 2 * smallest_part;
}

// journal_walk_parts, with work beside the walk where beside is not NULL.
static int walk_parts(const char *year, const char *from, const char *to, journal_walk_fn callback,
                      journal_open_day_fn open_day, void *const *contexts, int parts,
                      journal_parts_walked *walked, const journal_walk_beside *beside) {
    char path[JOURNAL_PATH_MAX + 1];
    walk_path(path, year);
    bfile file;
    if (bfile_open_sized(&file, path, BFILE_BLOCK) < 0) {
        status_show(text(TXT_JOURNAL_NOT_FOUND), path);
        return -1;
    }
    // Days without closure are told in the file's order: their reader walks in one stretch.
    if (parts > JOURNAL_PARTS_MAX || open_day) parts = open_day ? 1 : JOURNAL_PARTS_MAX;
    walk_part part[JOURNAL_PARTS_MAX] = {};
    parts = cut_stretches(&file, part, parts < 1 ? 1 : parts);
    bfile_close(&file);
    for (int k = 0; k < parts; k++)
        part[k].w = {from, to, strlen(from), strlen(to), callback, open_day, contexts[k], 0, 0};
    int counted = walk_file(path, part, parts, beside);
    int delivered = 0;
    long long magnitude = 0;
    for (int k = 0; k < parts; k++) {
        if (k < counted) delivered += part[k].w.delivered;
        if (k < counted) magnitude += part[k].w.magnitude;
        ffree(part[k].notes.text);
    }
    if (counted == -2) return -2;
    if (counted < 0) {
        status_show(text(TXT_JOURNAL_NOT_FOUND), path);
        return -1;
    }
    if (walked) *walked = {counted, magnitude};
    return delivered;
}

int journal_walk_parts(const char *year, const char *from, const char *to, journal_walk_fn callback,
                       journal_open_day_fn open_day, void *const *contexts, int parts,
                       journal_parts_walked *walked) {
    return walk_parts(year, from, to, callback, open_day, contexts, parts, walked, nullptr);
}

int journal_walk_parts_beside(const char *year, const char *from, const char *to,
                              journal_walk_fn callback, void *const *contexts, int parts,
                              journal_parts_walked *walked, const journal_walk_beside *beside) {
    return walk_parts(year, from, to, callback, nullptr, contexts, parts, walked, beside);
}

int journal_walk(const char *year, const char *from, const char *to, journal_walk_fn callback,
                 void *context) {
    return journal_walk_parts(year, from, to, callback, nullptr, &context, 1, nullptr);
}

int journal_walk_days(const char *year, const char *from, const char *to, journal_walk_fn callback,
                      journal_open_day_fn open_day, void *context) {
    return journal_walk_parts(year, from, to, callback, open_day, &context, 1, nullptr);
}

bool journal_walk_running(void) {
    return period_running;
}

// The text is copied in blocks of 16, as its line has LINE_SLACK bytes behind its end: the texts'
// lengths vary at random, and most of them are short.
const char *journal_walk_text(void) {
    static thread_local char text[LINE_AREA];
    static_assert(LINE_AREA - JOURNAL_TEXT_COLUMN + LINE_SLACK <= LINE_AREA, "room for the blocks");
    for (size_t at = 0; at < period_text_length; at += 16) memcpy(text + at, period_text + at, 16);
    text[period_text_length] = 0;
    return text;
}

const char *journal_walk_text_bytes(void) {
    return period_text;
}

size_t journal_walk_text_length(void) {
#ifdef __SSE2__
    // Judged in blocks of 16, as the text is copied.
    for (size_t at = 0; at < period_text_length; at += 16) {
        __m128i bytes = _mm_loadu_si128((const __m128i *)(period_text + at));
        unsigned nul = (unsigned)_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_setzero_si128()));
        if (period_text_length - at < 16) nul &= (1u << (period_text_length - at)) - 1;
        if (nul) return at + (size_t)__builtin_ctz(nul);
    }
    return period_text_length;
#else
    const char *nul = (const char *)memchr(period_text, 0, period_text_length);
    return nul ? (size_t)(nul - period_text) : period_text_length;
#endif
}

void journal_walk_times(long *begin, long *end) {
    *begin = period_begin;
    *end = period_end;
}
