// Whole-file rewrites of year files and the record of the last change written.
#include "timerec/journal_rewrite.h"
#include "frame/bfile.h"
#include "frame/files.h"
#include "frame/memory.h"
#include "frame/messages.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include "timerec/daily_copy.h"
#include "timerec/journal.h"
#include <stdio.h>
#include <string.h>

static journal_change last_change;
static bool have_change;

int journal_read_whole(const char *path, journal_text *out) {
    memset(out, 0, sizeof *out);
    int handle = file_open(path, FILE_READ);
    if (handle < 0) return -1;
    int64_t size = file_seek(handle, 0, FILE_FROM_END);
    if (size > JOURNAL_FILE_MAX) msg_warn(text(TXT_JOURNAL_TOO_LARGE), path);
    int result =
        size < 0 || size > JOURNAL_FILE_MAX || file_seek(handle, 0, FILE_FROM_START) != 0 ? -1 : 0;
    if (result == 0) {
        out->bytes = (char *)fmalloc((size_t)size + 1, 1);
        if (!out->bytes) result = -1;
    }
    while (result == 0 && out->size < (size_t)size) {
        long got = file_read(handle, out->bytes + out->size, (long)(size - (int64_t)out->size));
        if (got <= 0)
            result = -1;
        else
            out->size += (size_t)got;
    }
    file_close(handle);
    if (result != 0) journal_text_free(out);
    return result;
}

void journal_text_free(journal_text *text) {
    ffree(text->bytes);
    memset(text, 0, sizeof *text);
}

void journal_change_free(journal_change *change) {
    ffree(change->removed);
    ffree(change->written);
    memset(change, 0, sizeof *change);
}

static char *copy_bytes(const char *bytes, size_t size) {
    char *copy = (char *)fmalloc(size + 1, 1);
    if (copy && size) memcpy(copy, bytes, size);
    return copy;
}

void journal_note_change(const char *path, int64_t offset, const char *removed, size_t removed_size,
                         const char *written, size_t written_size, int64_t size_after) {
    journal_change_free(&last_change);
    have_change = false;
    snprintf(last_change.path, sizeof last_change.path, "%s", path);
    last_change.offset = offset;
    last_change.removed = copy_bytes(removed, removed_size);
    last_change.removed_size = removed_size;
    last_change.written = copy_bytes(written, written_size);
    last_change.written_size = written_size;
    last_change.size_after = size_after;
    // A change that cannot be kept is no change to take back.
    have_change = last_change.removed && last_change.written;
    if (!have_change) journal_change_free(&last_change);
}

bool journal_take_change(journal_change *out) {
    if (!have_change) return false;
    *out = last_change;
    memset(&last_change, 0, sizeof last_change);
    have_change = false;
    return true;
}

// The change from before to after is the range between their common beginning and common end.
static void note_difference(const char *path, const journal_text *before, const char *after,
                            size_t size) {
    size_t shorter = before->size < size ? before->size : size, head = 0, tail = 0;
    while (head < shorter && before->bytes[head] == after[head]) head++;
    while (tail < shorter - head &&
           before->bytes[before->size - 1 - tail] == after[size - 1 - tail])
        tail++;
    journal_note_change(path, (int64_t)head, before->bytes + head, before->size - head - tail,
                        after + head, size - head - tail, (int64_t)size);
}

int journal_rewrite(const char *path, const journal_text *before, const char *bytes, size_t size) {
    daily_copy_make(path);
    bfile file;
    if (bfile_replace_begin(&file, path) < 0) return -1;
    if (bfile_replace_commit(&file, path, bfile_write(&file, bytes, (long)size)) != 0) return -1;
    note_difference(path, before, bytes, size);
    return 0;
}
