// The record layouts of the handheld: time records to and from journal lines, project records.
#include "frame/bfile.h"
#include "frame/text.h"
#include "handheld/palm.h"
#include <stdio.h>
#include <string.h>

enum {
    RECORD_DATE = 0,
    RECORD_TIME = 11,
    RECORD_PROJECT = 17,
    RECORD_TEXT = 28,
    LINE_TIME = 12,
    LINE_PROJECT = 20,
    ID_COLUMNS = 16,
};

// count characters of text from position (blanks beyond its end) into out (count + 1 bytes).
static void columns(char *out, const char *text, int position, int count) {
    int length = (int)strlen(text);
    text_pad(out, position < length ? text + position : "", count);
}

void palm_record_to_line(char *out, const char *record) {
    char clean[PALM_RECORD_BUFFER];
    text_copy_max(clean, record, PALM_RECORD_BUFFER - 1);
    for (char *p = clean; *p; p++)
        if (*p == '\n' || *p == '\r' || *p == BFILE_EOF_MARK) *p = ' ';
    char date[11], time[6], project[11];
    columns(date, clean, RECORD_DATE, 10);
    columns(time, clean, RECORD_TIME, 5);
    columns(project, clean, RECORD_PROJECT, 10);
    const char *note = strlen(clean) > RECORD_TEXT ? clean + RECORD_TEXT : "";
    snprintf(out, PALM_LINE_MAX, "%-10s  %-5s   %-20s%s", date, time, project, note);
    text_trim(out);
}

void palm_line_to_record(char *out, const char *line) {
    char text[TEXT_TABS_MAX + 1];
    text_copy_max(text, line, TEXT_TABS_MAX);
    text_trim(text);
    text_expand_tabs(text, sizeof text);
    char date[11], time[6], project[JOURNAL_PROJECT + 1], note[PALM_TEXT_OUT + 1];
    columns(date, text, RECORD_DATE, 10);
    columns(time, text, LINE_TIME, 5);
    columns(project, text, LINE_PROJECT, JOURNAL_PROJECT);
    text_trim(project);
    columns(note, text, JOURNAL_TEXT_COLUMN, PALM_TEXT_OUT);
    text_trim(note);
    snprintf(out, PALM_LINE_MAX, "%-10.10s %-5.5s %-10.10s %s", date, time, project, note);
}

void palm_project_record(char *out, const char *line) {
    char id[ID_COLUMNS + 1], description[PALM_DESCRIPTION + 1] = "";
    columns(id, line, 0, ID_COLUMNS);
    text_trim(id);
    if ((int)strlen(line) > ID_COLUMNS) columns(description, line, ID_COLUMNS, PALM_DESCRIPTION);
    snprintf(out, PALM_LINE_MAX, "%-10.10s %s", id, description);
}
