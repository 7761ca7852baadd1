// What taking over the handheld's times did to the year files, as a text for the user.
#pragma once
#include "timerec/journal.h"

enum { PALM_REPORT_MAX = 500 };

struct palm_merge_report {
    int years; // year files reported
    char text[PALM_REPORT_MAX + 1];
};

void palm_merge_report_begin(palm_merge_report *report);
// The journal_merge report function: one line per year file (context: the palm_merge_report).
void palm_merge_report_note(const journal_merge_year *year, void *context);
