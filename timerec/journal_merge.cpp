// Merging journal lines into year files: per year, the existing and the new lines sorted byte-wise,
// one line per date and time, written through a temporary file that replaces the year file only
// when it is complete on disk.
#include "frame/bfile.h"
#include "frame/file_lock.h"
#include "frame/files.h"
#include "frame/memory.h"
#include "frame/messages.h"
#include "frame/platform.h"
#include "frame/sort.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include "timerec/daily_copy.h"
#include "timerec/journal.h"
#include "timerec/journal_rewrite.h"
#include <stdio.h>
#include <string.h>

enum { FIRST_YEAR = 1, LAST_YEAR = 9999 };
static const size_t KEY_LENGTH = 20;

// Lines of any number and length: their bytes in one area, and an index of where each lies.
struct line_ref {
    size_t offset;
    size_t length;
    bool incoming; // a taken-over line, not one of the year file
};
struct line_table {
    char *bytes;
    size_t used, room;
    line_ref *lines;
    long count, slots;
};

// Grows a block to hold at least need elements of size bytes (doubling); 0, or -1.
static int grow(void **block, size_t *room, size_t need, size_t size) {
    if (need <= *room) return 0;
    size_t bigger = *room ? *room : 1024;
    while (bigger < need) bigger *= 2;
    void *fresh = fmalloc(bigger, size);
    if (!fresh) return -1;
    if (*block) memcpy(fresh, *block, *room * size);
    ffree(*block);
    *block = fresh;
    *room = bigger;
    return 0;
}

static int table_add(line_table *table, const char *bytes, size_t length, bool incoming) {
    size_t slots = (size_t)table->slots;
    if (grow((void **)&table->lines, &slots, (size_t)table->count + 1, sizeof(line_ref)) != 0)
        return -1;
    table->slots = (long)slots;
    table->lines[table->count].offset = table->used;
    table->lines[table->count].length = length;
    table->lines[table->count].incoming = incoming;
    if (grow((void **)&table->bytes, &table->room, table->used + length, 1) != 0) return -1;
    memcpy(table->bytes + table->used, bytes, length);
    table->used += length;
    table->count++;
    return 0;
}

static void table_free(line_table *table) {
    ffree(table->bytes);
    ffree(table->lines);
    memset(table, 0, sizeof *table);
}

// The whole content of a file; -1 when it cannot be read whole (or is over the year files' limit).
static int read_all(const char *path, line_table *content) {
    memset(content, 0, sizeof *content);
    journal_text whole;
    if (journal_read_whole(path, &whole) != 0) return -1;
    content->bytes = whole.bytes;
    content->used = whole.size;
    content->room = whole.size + 1;
    return 0;
}

static bool blank(const char *bytes, size_t length) {
    for (size_t i = 0; i < length; i++)
        if (!text_is_space((unsigned char)bytes[i])) return false;
    return true;
}

// Splits text into its lines, carriage returns left out, blank lines dropped (they hold nothing
// and would only sort to the top). The text ends at a Ctrl+Z; with whole_text, a Ctrl+Z that is
// followed by more than Ctrl+Z bytes makes the split fail instead, since rewriting the file from
// what comes before it would lose the rest.
static int split_lines(const char *text, size_t length, bool whole_text, line_table *out) {
    const char *mark = (const char *)memchr(text, BFILE_EOF_MARK, length);
    if (mark) {
        for (const char *p = mark; p < text + length; p++)
            if (*p != BFILE_EOF_MARK && whole_text) return -1;
        length = (size_t)(mark - text);
    }
    char line_area[256];
    size_t start = 0;
    while (start < length) {
        const char *feed = (const char *)memchr(text + start, '\n', length - start);
        size_t end = feed ? (size_t)(feed - text) : length;
        const char *line = text + start;
        size_t size = end - start;
        // Carriage returns are dropped; a line holding them is compacted in a scratch copy.
        char *copy = line_area;
        bool own = false;
        if (memchr(line, '\r', size)) {
            if (size > sizeof line_area) {
                copy = (char *)fmalloc(size, 1);
                if (!copy) return -1;
                own = true;
            }
            size_t kept = 0;
            for (size_t i = 0; i < size; i++)
                if (line[i] != '\r') copy[kept++] = line[i];
            line = copy;
            size = kept;
        }
        int result = blank(line, size) ? 0 : table_add(out, line, size, false);
        if (own) ffree(copy);
        if (result != 0) return -1;
        start = end + 1;
    }
    return 0;
}

// The lines of a file, and its bytes in content; -1 when it cannot be read (or, with whole_text,
// not read whole).
static int load_lines(const char *path, bool whole_text, line_table *content, line_table *out) {
    if (read_all(path, content) != 0) return -1;
    return split_lines(content->bytes, content->used, whole_text, out);
}

static const char *sort_bytes; // the area the references being sorted point into

static int compare_lines(const void *earlier, const void *later) {
    const line_ref *a = (const line_ref *)earlier, *b = (const line_ref *)later;
    size_t common = a->length < b->length ? a->length : b->length;
    int order = memcmp(sort_bytes + a->offset, sort_bytes + b->offset, common);
    if (order != 0) return order;
    return a->length < b->length ? -1 : a->length > b->length;
}

// Lines with the same date and time (their first 20 characters) stand for the same booking.
static bool same_key(const line_table *table, const line_ref *a, const line_ref *b) {
    size_t n = a->length < KEY_LENGTH ? a->length : KEY_LENGTH;
    size_t m = b->length < KEY_LENGTH ? b->length : KEY_LENGTH;
    return n == m && memcmp(table->bytes + a->offset, table->bytes + b->offset, n) == 0;
}

// How a group of lines of one date and time ends: the last in sorted order is kept; each other
// is a duplicate when the same as the kept one, else replaced by it. The kept line is added when
// it is a taken-over line the year file did not hold.
static void count_group(const line_table *table, long first, long kept, journal_merge_year *out) {
    const line_ref *keep = &table->lines[kept];
    bool held = !keep->incoming;
    for (long i = first; i < kept; i++) {
        const line_ref *line = &table->lines[i];
        bool same =
            line->length == keep->length &&
            memcmp(table->bytes + line->offset, table->bytes + keep->offset, keep->length) == 0;
        if (same) {
            out->duplicates++;
            held |= !line->incoming;
        } else {
            out->replaced++;
        }
    }
    if (!held) out->added++;
}

// Writes the sorted table to path through a temporary file in the same folder, one line per date
// and time, counting what happened to the lines; the lines written, or -1 with the year file
// unchanged.
static long write_year(const char *path, line_table *table, journal_merge_year *counts) {
    bfile file;
    if (bfile_replace_begin(&file, path) < 0) return -1;
    long written = 0;
    int result = 0;
    for (long first = 0, i = 0; i < table->count && result == 0; i++) {
        const line_ref *line = &table->lines[i];
        if (i + 1 < table->count && same_key(table, line, &table->lines[i + 1])) continue;
        count_group(table, first, i, counts);
        first = i + 1;
        result |= bfile_write(&file, table->bytes + line->offset, (long)line->length);
        result |= bfile_putc(&file, '\n');
        written++;
    }
    return bfile_replace_commit(&file, path, result) == 0 ? written : -1;
}

// Keeps the year file as it was in <year>.bak beside it, so a take-over can be undone by hand.
static int keep_backup(const char *year_file, int year, const line_table *content) {
    char path[JOURNAL_PATH_MAX + 1];
    journal_backup_path(path, sizeof path, year);
    bfile file;
    if (bfile_replace_begin_like(&file, path, year_file) < 0) return -1;
    return bfile_replace_commit(&file, path,
                                bfile_write(&file, content->bytes, (long)content->used));
}

// Merges the new lines of one year into the year file, read again under its lock so that no
// booking made meanwhile is lost; 0, or -1 with the year file unchanged.
static int merge_locked(const char *path, const line_table *source, long first, long end,
                        journal_merge_year *outcome) {
    line_table content = {}, table = {};
    bool existing = platform_path_kind(path) != PATH_NONE;
    // An existing year file that cannot be read whole is never rewritten.
    int result = existing && load_lines(path, true, &content, &table) != 0 ? -1 : 0;
    outcome->lines_before = table.count;
    for (long i = first; i < end && result == 0; i++) {
        const line_ref *line = &source->lines[i];
        result = table_add(&table, source->bytes + line->offset, line->length, true);
    }
    if (result == 0 && existing) daily_copy_make(path);
    if (result == 0 && existing) result = keep_backup(path, outcome->year, &content);
    if (result == 0) {
        sort_bytes = table.bytes;
        sort(table.lines, (int)table.count, sizeof(line_ref), compare_lines);
        outcome->lines_after = write_year(path, &table, outcome);
        if (outcome->lines_after < 0) result = -1;
    }
    table_free(&content);
    table_free(&table);
    return result;
}

// Merges the new lines of one year into its year file and reports the outcome.
static int merge_year(int year, const line_table *source, long first, long end,
                      journal_merge_fn report, void *context) {
    char path[JOURNAL_PATH_MAX + 1];
    journal_year_path(path, sizeof path, year);
    journal_merge_year outcome = {year, 0, 0, 0, 0, 0, -1};
    if (file_lock_take(path) == 0) {
        outcome.result = merge_locked(path, source, first, end, &outcome);
        file_lock_release(path);
    }
    if (outcome.result != 0) {
        journal_merge_year failed = {year, outcome.lines_before, outcome.lines_before, 0, 0, 0, -1};
        outcome = failed;
        msg_warn(text(TXT_CANNOT_WRITE_JOURNAL), path);
    }
    if (report) report(&outcome, context);
    return outcome.result;
}

// The year a line starts with (its leading decimal number), 0 when it has none that can be one.
static int line_year(const line_table *table, const line_ref *line) {
    const char *p = table->bytes + line->offset;
    int year = 0;
    size_t i = 0;
    for (; i < line->length && p[i] >= '0' && p[i] <= '9' && year <= LAST_YEAR; i++)
        year = year * 10 + (p[i] - '0');
    return year >= FIRST_YEAR && year <= LAST_YEAR ? year : 0;
}

int journal_merge(const char *source, journal_merge_fn report, void *context) {
    line_table content = {}, lines = {};
    int loaded = load_lines(source, false, &content, &lines);
    table_free(&content);
    if (loaded != 0) {
        // A missing source means nothing to take over; one that is there was not read.
        if (platform_path_kind(source) != PATH_NONE) msg_warn(text(TXT_CANNOT_READ), source);
        table_free(&lines);
        return -1;
    }
    // Runs of lines of one year go into that year's file; lines without a year are left out.
    int written = 0;
    long first = 0;
    for (long i = 1; i <= lines.count; i++) {
        int year = line_year(&lines, &lines.lines[first]);
        if (i < lines.count && line_year(&lines, &lines.lines[i]) == year) continue;
        if (year != 0 && merge_year(year, &lines, first, i, report, context) == 0) written++;
        first = i;
    }
    table_free(&lines);
    return written;
}
