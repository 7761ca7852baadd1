// Times between handheld and journal: the backed-up times database taken over into the year
// files, and the current year file built into "Zeiten.PDB".
#include "frame/bfile.h"
#include "frame/dates.h"
#include "frame/files.h"
#include "frame/memory.h"
#include "frame/messages.h"
#include "frame/path.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "handheld/palm.h"
#include "handheld/palm_build.h"
#include "handheld/pdb.h"
#include "resources/text_ids.h"
#include "timerec/directories.h"
#include <stdio.h>
#include <string.h>

static const char TAKEN_OVER[] = "Zeiten.txt";
enum { PALM_RECORD_TIME = 11 }; // where the time of a time record starts

// A time record starts with a day of the calendar and a time of day; one that does not would
// make a year file of a year nobody worked in.
static bool record_dated(const char *record) {
    return strlen(record) >= PALM_RECORD_TIME + JOURNAL_TIME && date_text_valid(record) &&
           time_text_valid(record + PALM_RECORD_TIME);
}

// Writes the converted records of the open database (count records) to file; records that cannot
// be read or bear no real date and time are counted as unreadable.
static int convert_records(bfile *file, int count, palm_conversion *result) {
    int failed = 0;
    for (int i = 0; i < count && failed == 0; i++) {
        char record[PALM_RECORD_BUFFER], line[PALM_LINE_MAX];
        if (pdb_read_record(i, record, sizeof record) < 0 || !record_dated(record)) {
            result->unreadable++;
            continue;
        }
        palm_record_to_line(line, record);
        failed = bfile_write_line(file, line);
        result->records++;
    }
    return failed;
}

int palm_convert_times(const char *source, const char *target, palm_conversion *result) {
    memset(result, 0, sizeof *result);
    char folder[PATH_MAX_TEXT + 1];
    path_dir(folder, sizeof folder, target);
    if (folder[0]) make_path(folder);
    bfile file;
    if (bfile_replace_begin(&file, target) < 0) {
        result->state = PALM_NOT_WRITTEN;
        return -1;
    }
    // A database that cannot be read leaves the target empty: nothing is taken over.
    int count = pdb_open(source);
    result->state = count >= 0             ? PALM_CONVERTED
                    : count == PDB_DAMAGED ? PALM_DAMAGED
                                           : PALM_NO_BACKUP;
    int failed = convert_records(&file, count, result);
    pdb_close();
    if (bfile_replace_commit(&file, target, failed) != 0) result->state = PALM_NOT_WRITTEN;
    return result->state == PALM_CONVERTED ? 0 : -1;
}

int palm_take_over(palm_conversion *conversion, journal_merge_fn report, void *context) {
    char source[PATH_MAX_TEXT + 1], target[PATH_MAX_TEXT + 1];
    palm_backup_path(source, sizeof source);
    snprintf(target, sizeof target, "%s%s", WorkDir, TAKEN_OVER);
    palm_convert_times(source, target, conversion);
    if (conversion->state == PALM_DAMAGED) msg_warn(text(TXT_PALM_DAMAGED), source);
    if (conversion->state == PALM_NOT_WRITTEN) msg_warn(text(TXT_CANNOT_WRITE_JOURNAL), target);
    if (conversion->unreadable > 0)
        msg_warn(text(TXT_PALM_RECORDS_DAMAGED), conversion->unreadable, source);
    if (conversion->state == PALM_DAMAGED || conversion->state == PALM_NOT_WRITTEN) return -1;
    return journal_merge(target, report, context);
}

// The record of a year file line into record; false for a blank line, which makes no record.
static bool time_record(char *record, char *line) {
    if (!text_trim(line)) return false;
    palm_line_to_record(record, line);
    return true;
}

// How many of the file's records, counted from the first, the database cannot take when it is to
// hold the latest ones: the records fill it from the end back as far as they fit its limits.
static long records_left_out(bfile *file) {
    int *sizes = (int *)fmalloc(PDB_MAX_RECORDS, sizeof(int)); // the last records' sizes, a ring
    if (!sizes) return 0;
    long count = 0;
    char line[TEXT_TABS_MAX + 1], record[PALM_LINE_MAX];
    while (bfile_read_line(file, line, TEXT_TABS_MAX) >= 0)
        if (time_record(record, line)) sizes[count++ % PDB_MAX_RECORDS] = (int)strlen(record) + 1;
    // The last record is always taken; each one before it only while the builder would still
    // take the last after the records and bytes before it.
    long taken = count > 0 ? 1 : 0, bytes = 0;
    while (taken < count) {
        int size = sizes[(count - 1 - taken) % PDB_MAX_RECORDS];
        if (!pdb_build_takes(taken, bytes + size)) break;
        bytes += size;
        taken++;
    }
    ffree(sizes);
    return count - taken;
}

// The latest bookings that fit, in the year file's order: a handheld that holds only part of a
// busy year shows its last weeks.
int palm_build_times(void) {
    const char *source = journal_current_file();
    bfile file;
    if (bfile_open(&file, source) < 0) {
        msg_warn(text(TXT_JOURNAL_NOT_FOUND), source);
        return -1;
    }
    long skip = records_left_out(&file);
    bfile_seek(&file, 0);
    palm_build build;
    palm_build_start(&build, PALM_TIMES_PDB, TXT_CANNOT_WRITE_JOURNAL);
    build.left_out = (int)skip;
    char line[TEXT_TABS_MAX + 1], record[PALM_LINE_MAX];
    for (long index = 0; bfile_read_line(&file, line, TEXT_TABS_MAX) >= 0;) {
        if (time_record(record, line) && index++ >= skip) palm_build_add(&build, record);
    }
    bfile_close(&file);
    return palm_build_finish(&build);
}
