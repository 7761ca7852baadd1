// The report of a take-over: a heading, then per year file how many lines it gained and how many
// it holds now, or that it could not be written.
#include "handheld/palm_merge_report.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include <stdio.h>
#include <string.h>

void palm_merge_report_begin(palm_merge_report *report) {
    report->years = 0;
    text_copy_max(report->text, text(TXT_PALM_TAKEN_OVER), PALM_REPORT_MAX);
}

void palm_merge_report_note(const journal_merge_year *year, void *context) {
    palm_merge_report *report = (palm_merge_report *)context;
    char line[PALM_REPORT_MAX + 1];
    if (year->result != 0)
        snprintf(line, sizeof line, text(TXT_PALM_YEAR_NOT_WRITTEN), year->year);
    else
        snprintf(line, sizeof line, text(TXT_PALM_YEAR_ADDED), year->year, year->added,
                 year->lines_after);
    size_t used = strlen(report->text);
    snprintf(report->text + used, sizeof report->text - used, "\n%s", line);
    report->years++;
}
