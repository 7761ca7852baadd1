// One day of the journal as the day editor lists, edits and saves it, and single bookings put in
// or taken out at their place in time order; every other byte of the year file stays.
#pragma once
#include "timerec/journal.h"
#include <stddef.h>

enum {
    JOURNAL_DAY_PERIOD = 12,  // "h:mm", "offen" or "" (a pause opens no period)
    JOURNAL_DAY_LINE = 260,   // a list line: time, project, period, text separated by tabs
    JOURNAL_DAY_CHANGED = -2, // the day's lines in the file changed since they were read
};

// A booking of the day; original is the index of the day's line (as read) that it still stands
// for unchanged, -1 once typed or edited; order keeps entries of one time in their order.
struct journal_day_entry {
    booking fields;
    long original;
    long order;
};

struct journal_day {
    char date[JOURNAL_DATE + 1];
    char path[JOURNAL_PATH_MAX + 1];
    journal_day_entry *entries; // in time order
    int count, room;
    char *lines; // the day's lines as read, in file order, each ended by a line feed
    size_t lines_size;
    long next_order;
    bool modified;
};

// Reads the day date (YYYY-MM-DD) from its year file; 0, or -1 with a message (a day that is no
// calendar day, a missing or unreadable year file) and an empty day.
int journal_day_read(journal_day *day, const char *date);
void journal_day_free(journal_day *day);
// A new booking at its time, after the entries of the same time; its index, or -1 with a message
// for a time that is no HH:MM or an empty project.
int journal_day_add(journal_day *day, const char *time, const char *project, const char *note);
// Replaces the entry index by these fields; its new index, or -1 as journal_day_add.
int journal_day_change(journal_day *day, int index, const char *time, const char *project,
                       const char *note);
void journal_day_delete(journal_day *day, int index);
// The period entry index opens until the next one (out holds JOURNAL_DAY_PERIOD + 1 bytes):
// "h:mm"; for the last one of the day "offen", today's running one counting to now; "" for a
// pause or a time that is no time of day.
void journal_day_period(const journal_day *day, int index, char *out);
// The list line of entry index (out holds JOURNAL_DAY_LINE + 1 bytes).
void journal_day_line(const journal_day *day, int index, char *out);
// Every list line with CR LF, as the dialog copies it (the caller returns it with ffree).
char *journal_day_copy(const journal_day *day);
// Replaces the day's lines of the year file by the entries, in time order, at the place of the
// day's first line (lines of the day elsewhere in the file move there), under the file's lock
// and through the temporary-file replace. Read again first: JOURNAL_DAY_CHANGED with message 320
// when the day's lines changed meanwhile (changes of other days are kept). 0, after which the
// entries are the day as read, or -1 with the file unchanged.
int journal_day_save(journal_day *day);

// Puts one booking into the year file of date, in time order among the day's lines (after lines
// of the same time); 0, or -1 with a message and the file unchanged.
int journal_insert(const char *date, const char *time, const char *project, const char *note);
// Puts the bookings (date, time, project and text) into their year file as journal_insert
// does, in one rewrite: one change to take back. They must share one year file. 0, or -1 with a
// message and the file unchanged.
int journal_insert_all(const booking *bookings, int count);
// Removes the one booking of date at time (of project, unless NULL); none or several: -1 with a
// message and nothing changed. 0.
int journal_remove(const char *date, const char *time, const char *project);
