// A report that sums the journal's periods into a state, walked over stretches of the year file
// at the same time: a state for each stretch, merged into the report's own when the walk is done.
#pragma once
#include "timerec/journal.h"

struct report_summing {
    journal_walk_fn add; // the walk callback: one period into the state given as its context
    // A state for a later stretch, empty and grouped like first; NULL when memory is short.
    void *(*take)(const void *first);
    void (*give)(void *state);
    // Adds the later stretches' states, in the file's order, into first.
    void (*merge)(void *first, void *const *later, int count);
    // Empties first, for the walk in one stretch that replaces a walk whose sums may have been
    // held at their limits (which only the periods' order decides).
    void (*restart)(void *first);
};

// The counted periods summed into first as journal_walk(year, from, to, how->add, first) sums
// them; the number of periods, or -1 when the year file is missing.
int report_walk_summed(const char *year, const char *from, const char *to,
                       const report_summing *how, void *first);
