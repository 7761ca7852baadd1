// Shared pieces of the reports: growing copy texts, duration and share texts, the detail prefix.
#include "timerec/report.h"
#include "frame/dates.h"
#include "frame/memory.h"
#include "frame/messages.h"
#include "frame/number_text.h"
#include "frame/text.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

// The condition the reports' assertions name when a copy text cannot be allocated.
static const char COPY_BLOCK_CONDITION[] = "(text=fmalloc(50,1000)) != NULL";

// A block of at least size bytes in whole 1000-byte blocks; the program ends when there is none.
static char *allocate(const char *module, size_t *size) {
    size_t blocks = (*size + REPORT_BLOCK - 1) / REPORT_BLOCK;
    char *block = (char *)fmalloc(blocks, REPORT_BLOCK);
    if (!block) assert_fail(module, __LINE__, COPY_BLOCK_CONDITION);
    *size = blocks * REPORT_BLOCK;
    return block;
}

void *report_alloc_einlis(const char *module, size_t size) {
    void *einlis = fmalloc(STASUP, size);
    if (!einlis)
        assert_fail(module, __LINE__, "(einlis=fmalloc(STASUP, sizeof(struct einpos))) != NULL");
    return einlis;
}

void report_text_begin(report_text *out, const char *module) {
    out->module = module;
    out->length = 0;
    out->size = (size_t)REPORT_FIRST_BLOCKS * REPORT_BLOCK;
    out->text = allocate(module, &out->size);
}

// Moves the text into a block twice as large (or as large as needed, if that is more).
static void grow(report_text *out, size_t needed) {
    size_t size = out->size * 2 > needed ? out->size * 2 : needed;
    char *larger = allocate(out->module, &size);
    memcpy(larger, out->text, out->length + 1);
    ffree(out->text);
    out->text = larger;
    out->size = size;
}

// Appends length bytes of piece (none of them a NUL).
static void report_text_append(report_text *out, const char *piece, size_t length) {
    if (out->length + length + 1 > out->size) grow(out, out->length + length + 1);
    memcpy(out->text + out->length, piece, length);
    out->length += length;
    out->text[out->length] = 0;
}

void report_text_add(report_text *out, const char *piece) {
    report_text_append(out, piece, strlen(piece));
}

void report_text_line(report_text *out, const char *piece) {
    report_text_add(out, piece);
    report_text_append(out, "\r\n", 2);
}

void report_text_line_fn(const char *line, void *context) {
    report_text_line((report_text *)context, line);
}

char *report_text_take(report_text *out) {
    char *text = out->text;
    out->text = nullptr;
    out->length = out->size = 0;
    return text;
}

void report_duration(char *out, long minutes, int width, int hours_minutes) {
    if (!hours_minutes) {
        number_text(out, minutes / 60.0, width, 1);
        return;
    }
    char value[REPORT_FIELD + 1];
    long long magnitude = llabs((long long)minutes);
    snprintf(value, sizeof value, "%s%lld:%02lld", minutes < 0 ? "-" : "", magnitude / 60,
             magnitude % 60);
    snprintf(out, REPORT_FIELD + 1, "%*s", width, value);
}

void report_share(char *out, long part, long whole, int width) {
    number_text(out, (double)part * 100.0 / (double)whole, width, 1);
}

void report_detail_prefix(char *out, const char *line) {
    text_copy_max(out, line, REPORT_PREFIX_COLUMNS);
    text_trim(out);
}

void report_day(char *out, const char *year, const char *month_day) {
    char day[2 * DATE_TEXT + 2];
    snprintf(day, sizeof day, "%.10s-%.10s", year, month_day);
    text_copy_max(out, day, DATE_TEXT);
}
