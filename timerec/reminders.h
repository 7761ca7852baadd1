// The reminders that catch forgotten bookings, apart from the window: the question after time
// away from the desk, the notice of a project running long, and the moment the session ended.
// Moments are whole minutes since 1901-01-01 00:00.
#pragma once
#include "timerec/journal.h"
#include "timerec/options.h"
#include <stddef.h>

enum { REMINDER_TEXT = 160, MOMENT_TEXT = 16 };

// The moment of a date and time text (YYYY-MM-DD, HH:MM); -1 when they are none.
long reminder_moment(const char *date, const char *time);
long reminder_now(void);
// The date (11 bytes) and the time (6 bytes) of a moment.
void reminder_moment_texts(long moment, char *date, char *time);

// The inputs seen so far: the user is back when an input follows the one before after a while.
struct idle_watch {
    long last_input; // -1 before the first input
};
void idle_watch_reset(idle_watch *watch);
// Takes the moment of the latest input. 1 when it follows the earlier input by at least
// minutes: the user was away from *from (the earlier input) until input.
int idle_watch_input(idle_watch *watch, long input, int minutes, long *from);

// A question about time away: from..to, and the booking that ran then.
struct idle_question {
    long from, to;
    booking running;
};
// Whether to ask about time away from..to: the option is on, the last booking is a project and
// the time away after that booking's start still lasts the option's minutes (time before the
// booking is no part of it). 1 with the question filled.
int reminder_idle_ask(const kx_options *options, const booking *last, long from, long to,
                      idle_question *question);
// "Keine Eingabe von 12:02 bis 12:47. Als Pause buchen?"; with dates when the two lie on
// different days.
void reminder_idle_text(char *out, size_t size, const idle_question *question);
// Whether a Yes may still book it: the journal's last booking is the one asked about, so the
// pause and the project again come after every line there.
int reminder_idle_current(const idle_question *question, const booking *last);

// The notice that the last booking's project has run long: 1 with the text when the option is
// on, the project has run at least the option's minutes at now, and its booking is not the one
// of *noticed (its moment, which then becomes this booking's).
int reminder_long_running(char *out, size_t size, const kx_options *options, const booking *last,
                          long now, long *noticed);

// The end of the session: now is kept in the settings when the option is on and the last
// booking is a project; 0, or -1 when it could not be written.
int reminder_shutdown_store(const kx_options *options, const booking *last, long now);
// The time of day (6 bytes) for the pause that closes the open day date, whose last booking
// began at time: the kept moment when it lies on that day and not before that booking; 1, or 0.
int reminder_shutdown_time(const char *date, const char *time, char *out);
// Drops the kept moment (any later booking makes it stale).
void reminder_shutdown_forget(void);
