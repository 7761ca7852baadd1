// The time journal: one text file of fixed-column booking lines per calendar year in the work
// directory. Bookings are appended; durations come from pairing lines of the same day.
#pragma once
#include <stddef.h>
#include <stdint.h>
#include <string.h>

enum {
    JOURNAL_DATE = 10,
    JOURNAL_TIME = 5,
    JOURNAL_PROJECT = 15,
    JOURNAL_TEXT_COLUMN = 40,
    JOURNAL_WALK_LINE = 100, // characters of a line the walk keeps
    JOURNAL_LAST_LINE = 200, // characters of the last line kept by backward reading
    JOURNAL_TEXT_IN = 79,    // characters of a booking text journal_append writes
    JOURNAL_PATH_MAX = 260,
    JOURNAL_PAUSE_LINE = 31,
    JOURNAL_PARTS_MAX = 16,       // stretches of a file walked by threads at the same time
    JOURNAL_WALK_BLOCK = 1 << 17, // the walk reads blocks that stay in the cache while parsed
    JOURNAL_RECENT_LINES = 2000,  // bookings read back for the recent projects
    JOURNAL_LINE_OUT = JOURNAL_TEXT_COLUMN + JOURNAL_TEXT_IN, // a line as bookings write it
};
// A year file larger than this is not read whole (the merge needs it several times in memory).
static const long long JOURNAL_FILE_MAX = 64LL << 20;

// One booking as read from a line: date and time as they stand in their columns, the project
// trimmed, the text from column 40 on.
struct booking {
    char date[JOURNAL_DATE + 1];
    char time[JOURNAL_TIME + 1];
    char project[JOURNAL_PROJECT + 1];
    char text[JOURNAL_LAST_LINE - JOURNAL_TEXT_COLUMN + 1];
};

// A counted period: the date and trimmed project of its opening line, and its signed minutes.
// The bytes after the date's and the project's end are zeros up to JOURNAL_DATE + 1 and
// JOURNAL_PROJECT + 1 bytes, so that they can be compared and hashed as whole words.
typedef void (*journal_walk_fn)(const char *date, const char *project, int minutes, void *context);

// Whether a delivered date differs from the one kept in seen (JOURNAL_DATE + 1 bytes, zeros for
// none), which then becomes it: reports find a day's groups once, at its first period.
inline bool journal_next_day(char *seen, const char *date) {
    if (memcmp(seen, date, JOURNAL_DATE + 1) == 0) return false;
    memcpy(seen, date, JOURNAL_DATE + 1);
    return true;
}

// Splits a trimmed line (tabs expanded) into the booking's columns.
void journal_split_booking(const char *line, booking *out);
// The line a booking is written as, without its line feed (out holds JOURNAL_LINE_OUT + 1
// bytes): date, time, project and text in their columns, control characters made blanks.
void journal_format_line(char *out, const char *date, const char *time, const char *project,
                         const char *note);

// The year file bookings go to, fixed at its first use in a run; created with a pause line
// when missing (status message 25 when that fails).
const char *journal_current_file(void);
// The work directory's year file of year into out.
void journal_year_path(char *out, size_t size, int year);
// The copy of the year file of year that the last merge replaced, into out.
void journal_backup_path(char *out, size_t size, int year);
// Forgets the current year file, so the next use determines it anew.
void journal_forget_file(void);
// Today as YYYY-MM-DD (out holds 11 bytes).
void journal_today(char *out);
// A pause line for the present moment (out holds JOURNAL_PAUSE_LINE + 1 bytes).
void journal_pause_line(char *out);
// The last non-empty line of the current year file; a pause line for now when there is no file.
// When the current file holds only pause lines (a new year) and the previous year ends with a
// booking that is no pause, that booking: its open day must show.
void journal_last_booking(booking *out);
// The project of the last line that is not a pause line ("" if none, "---" without a file); in a
// file of only pause lines, that of the previous year's file.
void journal_last_project(char *out);
// The last different projects booked in the current year file (pauses left out), the latest
// first: at most max, found among its last JOURNAL_RECENT_LINES bookings. The count.
int journal_recent_projects(char (*out)[JOURNAL_PROJECT + 1], int max);
// The year file path bookings go to now, without creating anything (out holds
// JOURNAL_PATH_MAX + 1 bytes).
void journal_current_path(char *out);
// Checks a booking's date and time before it is written: a day of the calendar, a time of day,
// and a date of this year, or of the year before when its file is there. 0, or -1 with status
// message 94, 95 or 96.
int journal_check_booking(const char *date, const char *time);
// Appends one whole line under the file's lock: to the previous year's file for a date of that
// year when the file is there, else to the current year file (determined anew for a date of
// today's year when the program has run into a new year); 0, or -1 with the file as it was
// (status message 27, or 90 when another writer kept the lock).
int journal_append(const char *date, const char *time, const char *project, const char *text);
// Delivers the counted periods of the year file of year (its first four characters) whose
// closing line lies within from..to; the number delivered, or -1 when the file is missing.
int journal_walk(const char *year, const char *from, const char *to, journal_walk_fn callback,
                 void *context);
// A reader that wants to know the days without closure: the date and trimmed project of the
// booking that is left open (the walk shows message 24 for it as always).
typedef void (*journal_open_day_fn)(const char *date, const char *project, void *context);
// journal_walk that also calls open_day for each day without closure whose closing line lies
// within from..to; during that call journal_walk_times gives the open booking's time as begin.
int journal_walk_days(const char *year, const char *from, const char *to, journal_walk_fn callback,
                      journal_open_day_fn open_day, void *context);
// What a walk over stretches delivered: how many of the contexts received periods, and the sum
// of the periods' minutes without their signs (whether sums of them may have been capped).
struct journal_parts_walked {
    int used;
    long long magnitude;
};
// journal_walk_days over stretches of the file walked at the same time by threads of their own:
// the periods of the first stretch go to contexts[0], those of the next to contexts[1], and so
// on, so that taken in that order they are the periods journal_walk delivers. At most parts
// stretches (1 with open_day), fewer for a small file; walked may be NULL. The callbacks of
// different stretches run at the same time: each touches only its context, and gives its
// messages to journal_walk_status.
int journal_walk_parts(const char *year, const char *from, const char *to, journal_walk_fn callback,
                       journal_open_day_fn open_day, void *const *contexts, int parts,
                       journal_parts_walked *walked);
// Work the calling thread does beside a walk over stretches, while threads of their own walk them:
// each stretch's thread calls stretch_done once it has delivered the stretch's periods (ended:
// the stretch met the end of the file's text, or could not be read, so that no later stretch
// counts). work returns once it has what it waits for.
struct journal_walk_beside {
    void (*work)(void *context);
    void (*stretch_done)(int stretch, bool ended, void *context);
    void *context;
};
// journal_walk_parts without a reader of open days, the calling thread doing beside's work
// instead of walking stretches; -2, with nothing walked and nothing shown, when not even one
// thread of its own could be had. The running period is delivered on the calling thread after
// work has returned.
int journal_walk_parts_beside(const char *year, const char *from, const char *to,
                              journal_walk_fn callback, void *const *contexts, int parts,
                              journal_parts_walked *walked, const journal_walk_beside *beside);
// The threads worth walking stretches at the same time on this machine (1 to its cores, at most
// JOURNAL_PARTS_MAX).
int journal_walk_threads(void);
// Whether the year file is large enough for work beside its walk to pay for a thread: two of the
// smallest stretches, on a machine with more than one core.
bool journal_walk_shared(const char *year);
// About the bytes of each stretch a walk cuts the year file into (the file's size for a file
// walked in one stretch, 0 without a file).
int64_t journal_walk_stretch_bytes(const char *year);
// Tests: the smallest stretch a file is cut into (bytes; 0 for the usual 2 MiB).
void journal_walk_part_bytes(int64_t bytes);
// A message of the walk or of its callback, shown as status_show(text(text_id), ...) would
// show it, in the order of the file, also when its stretch is walked on another thread.
void journal_walk_status(int text_id, ...);
// Whether the period being delivered is the running one, which closes at the present moment.
bool journal_walk_running(void);
// The text of the period being delivered (valid during the callback). It lies in an area of a
// whole line, so that JOURNAL_WALK_LINE bytes behind its start can be read.
const char *journal_walk_text(void);
// The length of that text as strlen gives it (up to a NUL byte in it), found where the text was
// read rather than in the copy just made.
size_t journal_walk_text_length(void);
// The bytes of that text where the walk read them, not terminated (journal_walk_text_length of
// them count): for a caller that copies the text anyway.
const char *journal_walk_text_bytes(void);
// The times of day of the opening and the closing line of the period being delivered, in minutes
// after midnight as the walk reads them (the closing line of a running period is now); valid
// during the callback.
void journal_walk_times(long *begin, long *end);

// Result of merging into one year file: lines before and after; taken-over lines added, lines
// left out as duplicates of a kept line, and lines replaced by another of the same date and time
// (the byte-wise greatest is kept); 0 or -1 (left unchanged).
struct journal_merge_year {
    int year;
    long lines_before;
    long lines_after;
    long added;
    long duplicates;
    long replaced;
    int result;
};
typedef void (*journal_merge_fn)(const journal_merge_year *year, void *context);

// Merges the lines of the file source (journal layout) into the year files they belong to:
// sorted, one line per date and time, each year under the lock of its file, the year file as it
// was kept as <year>.bak. The number of year files written, or -1 when source
// cannot be read (message 98 when it is there). Each year's outcome is reported to report (may be
// NULL).
int journal_merge(const char *source, journal_merge_fn report, void *context);

// The start-up check on the last booking shown (date and project): clears the status line and
// reports message 22 when that booking is of another day and not a pause. 1 when reported.
int journal_check_day_closure(const char *date, const char *project);
