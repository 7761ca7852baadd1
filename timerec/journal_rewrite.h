// Rewriting a year file whole: its content read into memory, and the new content put in place
// through the locked temporary-file replace, so a reader never sees it half-written. Each change
// the process writes is kept as the bytes it replaced and the bytes it wrote (for taking it back).
#pragma once
#include <stddef.h>
#include <stdint.h>
#include "timerec/journal.h"

struct journal_text {
    char *bytes; // NUL-terminated after size bytes
    size_t size;
};

// One change to a file: at offset, the bytes removed gave way to the bytes written, leaving the
// file size_after bytes long.
struct journal_change {
    char path[JOURNAL_PATH_MAX + 1];
    int64_t offset;
    char *removed;
    size_t removed_size;
    char *written;
    size_t written_size;
    int64_t size_after;
};

// The whole content of path; 0, or -1 when it cannot be read whole or is over JOURNAL_FILE_MAX
// (message 91).
int journal_read_whole(const char *path, journal_text *out);
void journal_text_free(journal_text *text);
// Replaces the content of path (before, as read under its lock) by size bytes; the change is
// kept as the last one. 0, or -1 with the file unchanged.
int journal_rewrite(const char *path, const journal_text *before, const char *bytes, size_t size);
// Keeps what a writer put at offset of path in place of removed as the last change.
void journal_note_change(const char *path, int64_t offset, const char *removed, size_t removed_size,
                         const char *written, size_t written_size, int64_t size_after);
// Hands the last change over to the caller (who frees it); false when there is none.
bool journal_take_change(journal_change *out);
void journal_change_free(journal_change *change);
