// Summing reports walked over stretches of the year file by several threads.
#include "timerec/report_walk.h"
#include <limits.h>

// States of later stretches, as many as the walk may use; their count with the first (fewer
// when memory is short).
static int take_states(const report_summing *how, void *first, void **states) {
    int count = journal_walk_threads() > 1 ? JOURNAL_PARTS_MAX : 1;
    states[0] = first;
    for (int k = 1; k < count; k++)
        if (!(states[k] = how->take(first))) return k;
    return count;
}

int report_walk_summed(const char *year, const char *from, const char *to,
                       const report_summing *how, void *first) {
    void *states[JOURNAL_PARTS_MAX];
    int count = take_states(how, first, states);
    journal_parts_walked walked = {1, 0};
    int periods = journal_walk_parts(year, from, to, how->add, nullptr, states, count, &walked);
    if (periods >= 0 && walked.used > 1) {
        // Below INT_MAX minutes in all, no sum of them is ever held at a limit: the order in
        // which the stretches' sums are added changes nothing.
        if (walked.magnitude <= INT_MAX) {
            how->merge(first, states + 1, walked.used - 1);
        } else {
            how->restart(first);
            periods = journal_walk(year, from, to, how->add, first);
        }
    }
    for (int k = 1; k < count; k++) how->give(states[k]);
    return periods;
}
