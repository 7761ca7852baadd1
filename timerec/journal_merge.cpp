// Merging journal lines into year files: per year, the existing and the new lines sorted byte-wise,
// one line per date and time, written through a temporary file that replaces the year file only
// when it is complete on disk.
#include "frame/bfile.h"
#include "frame/files.h"
#include "frame/memory.h"
#include "frame/messages.h"
#include "frame/platform.h"
#include "frame/sort.h"
#include "frame/text.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include "timerec/journal.h"
#include <stdio.h>
#include <string.h>

enum { FIRST_YEAR = 1, LAST_YEAR = 9999 };
static const size_t KEY_LENGTH = 20;

// Lines of any number and length: their bytes in one area, and an index of where each lies.
struct line_ref {
    size_t offset;
    size_t length;
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

static int table_add(line_table *table, const char *bytes, size_t length) {
    size_t slots = (size_t)table->slots;
    if (grow((void **)&table->lines, &slots, (size_t)table->count + 1, sizeof(line_ref)) != 0)
        return -1;
    table->slots = (long)slots;
    table->lines[table->count].offset = table->used;
    table->lines[table->count].length = length;
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

// The whole content of a file; -1 when it cannot be opened or read completely.
static int read_all(const char *path, line_table *content) {
    memset(content, 0, sizeof *content);
    int handle = file_open(path, FILE_READ);
    if (handle < 0) return -1;
    int64_t size = file_seek(handle, 0, FILE_FROM_END);
    int result = size < 0 || file_seek(handle, 0, FILE_FROM_START) != 0 ? -1 : 0;
    if (result == 0 && grow((void **)&content->bytes, &content->room, (size_t)size + 1, 1) != 0)
        result = -1;
    while (result == 0 && content->used < (size_t)size) {
        long got = file_read(handle, content->bytes + content->used, (long)(size - content->used));
        if (got <= 0)
            result = -1;
        else
            content->used += (size_t)got;
    }
    file_close(handle);
    if (result != 0) table_free(content);
    return result;
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
        int result = blank(line, size) ? 0 : table_add(out, line, size);
        if (own) ffree(copy);
        if (result != 0) return -1;
        start = end + 1;
    }
    return 0;
}

// The lines of a file; -1 when it cannot be read (or, with whole_text, not read whole).
static int load_lines(const char *path, bool whole_text, line_table *out) {
    line_table content;
    if (read_all(path, &content) != 0) return -1;
    int result = split_lines(content.bytes, content.used, whole_text, out);
    table_free(&content);
    return result;
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

// Writes the sorted table to path through a temporary file in the same folder; the lines
// written, or -1 with the year file unchanged.
static long write_year(const char *path, line_table *table) {
    bfile file;
    if (bfile_replace_begin(&file, path) < 0) return -1;
    long written = 0;
    int result = 0;
    for (long i = 0; i < table->count && result == 0; i++) {
        const line_ref *line = &table->lines[i];
        if (i + 1 < table->count && same_key(table, line, &table->lines[i + 1])) continue;
        result |= bfile_write(&file, table->bytes + line->offset, (long)line->length);
        result |= bfile_putc(&file, '\n');
        written++;
    }
    return bfile_replace_commit(&file, path, result) == 0 ? written : -1;
}

// Merges the new lines of one year into its year file and reports the outcome.
static int merge_year(int year, const line_table *source, long first, long end,
                      journal_merge_fn report, void *context) {
    char path[JOURNAL_PATH_MAX + 1];
    journal_year_path(path, sizeof path, year);
    journal_merge_year outcome = {year, 0, 0, -1};
    line_table table = {};
    // An existing year file that cannot be read whole is never rewritten.
    bool readable = platform_path_kind(path) == 0 || load_lines(path, true, &table) == 0;
    outcome.lines_before = table.count;
    int result = readable ? 0 : -1;
    for (long i = first; i < end && result == 0; i++) {
        const line_ref *line = &source->lines[i];
        result = table_add(&table, source->bytes + line->offset, line->length);
    }
    if (result == 0) {
        sort_bytes = table.bytes;
        sort(table.lines, (int)table.count, sizeof(line_ref), compare_lines);
        outcome.lines_after = write_year(path, &table);
        if (outcome.lines_after >= 0) outcome.result = 0;
    }
    table_free(&table);
    if (outcome.result != 0) {
        outcome.lines_after = outcome.lines_before;
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
    line_table lines = {};
    if (load_lines(source, false, &lines) != 0) {
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
