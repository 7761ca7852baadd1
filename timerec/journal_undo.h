// Taking back the journal changes of this run: each booking, saved day or inserted booking is a
// step, the newest taken back first, while the year file still holds what the step wrote.
#pragma once
#include <stddef.h>

enum { UNDO_STEPS = 20, UNDO_LABEL = 80 };

// Keeps the change just written as a step: a booking at time of project, or a saved day.
void undo_record_booking(const char *time, const char *project);
void undo_record_day(const char *date);
// The menu item's text, naming the newest step (out holds UNDO_LABEL + 1 bytes); whether there
// is one to take back.
bool undo_menu_text(char *out);
// Takes back the newest step, locked and all or nothing. A file that no longer holds the bytes
// the step wrote is left alone (message 327) and the steps are forgotten: each older one lies
// under it. 0, or -1.
int undo_last(void);
// Forgets every step.
void undo_clear(void);
