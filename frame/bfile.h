// Buffered file access: one block of the file in memory, bytes and text lines forward and
// backward, only changed bytes written back.
#pragma once
#include <stddef.h>
#include <stdint.h>

enum { BFILE_BLOCK = 2048, BFILE_RESERVE = 100, BFILE_EOF_MARK = 26 };

struct bfile {
    bool memory;         // reads a caller's memory area instead of a file
    int64_t memory_size; // the bytes of that area
    int handle;
    int64_t block;    // index of the loaded block, -1 before the first load
    int position;     // offset inside the block
    int changed_from; // changed range inside the block, empty when equal
    int changed_to;
    int valid;      // valid bytes in the block
    bool plain;     // the block as loaded holds no carriage return and no Ctrl+Z
    bool tabs;      // the block as loaded holds a tab (or was changed)
    bool line_tabs; // a block the last line read came from holds a tab
    unsigned char *area;
    unsigned char *allocated; // the memory block area lies in, NULL for the reserve
    int size;                 // block size
    unsigned char reserve[BFILE_RESERVE];
};

// The memory variant: a caller's area (up to 2 GB) read as a file (reading only: writes give
// -1). 0.
int bfile_open_memory(bfile *file, const void *data, size_t size);
// From now on opening name reads the area data of size bytes instead of the file (the fuzzers
// hand their input this way, without a file); data NULL ends it.
void bfile_memory_file(const char *name, const void *data, size_t size);
// Opens name for read and write (read only when that fails); the handle, or -1.
int bfile_open(bfile *file, const char *name);
int bfile_open_sized(bfile *file, const char *name, int block_size);
// Creates (or truncates) name, then opens it.
int bfile_create(bfile *file, const char *name);
// Creating a file anew without ever leaving it half-written: under the lock of name, the bytes go
// to a temporary file beside it (name + ".new", made new, with the permissions of name), which
// bfile_replace_commit puts in place of name. The handle, or -1 when name is no plain file the
// user may write (status message 92 or 93), its lock is not had or the temporary file cannot be
// made.
int bfile_replace_begin(bfile *file, const char *name);
// The same, with the permissions of the file like instead.
int bfile_replace_begin_like(bfile *file, const char *name, const char *like);
// Syncs and closes the temporary file and, when written (0) is still 0, puts it in place of
// name; otherwise, or when that fails, removes it. Releases the lock. 0, or -1 with name left as
// it was.
int bfile_replace_commit(bfile *file, const char *name, int written);
// Writes back the changed range and forces the file's data to the disk; 0, or -1.
int bfile_sync(bfile *file);
// Writes back, closes, frees; 0, or -1 when writing back or closing failed.
int bfile_close(bfile *file);
// -1 when writing back the changed range failed.
int bfile_seek(bfile *file, int64_t offset);
int64_t bfile_tell(const bfile *file);
int bfile_seek_end(bfile *file);
// To the end, then back over every Ctrl+Z at the end.
int bfile_seek_text_end(bfile *file);
// Next byte 0-255, or -1 at the end.
int bfile_getc(bfile *file);
// Steps back one byte and returns it, -1 at the start.
int bfile_prevc(bfile *file);
int bfile_putc(bfile *file, int byte);
int bfile_read(bfile *file, void *area, long count);
int bfile_write(bfile *file, const void *area, long count);
// The bytes from the position to the end of the block it lies in (the next block when that one
// is used up), the position moved past them: a pass over a whole file without copying. Their
// count into count; NULL at the end of the file.
const unsigned char *bfile_next_bytes(bfile *file, long *count);
// A line up to a line feed (consumed), a Ctrl+Z (not consumed) or the end; carriage returns
// skipped; the first max characters stored. Characters stored, or -1 at the end of the text.
int bfile_read_line(bfile *file, char *text, int max);
// The common case of reading a line, without copying it: the next line when it lies whole in the
// loaded block of a file without carriage returns and end-of-file marks, is no longer than max
// and readable bytes of the block follow its start. Its first byte (valid until a read loads
// another block; the line feed follows the line), its length in *length, and the line consumed;
// NULL, with nothing consumed, when it must be read with bfile_read_line.
const char *bfile_peek_line(bfile *file, int max, int readable, int *length);
// The bytes from the position to the end of the loaded block, when the block holds no carriage
// return, no Ctrl+Z and no tab: its lines can be taken as they stand. Their count into *count;
// NULL otherwise. Nothing is consumed (bfile_skip does that).
inline const unsigned char *bfile_plain_bytes(const bfile *file, int *count) {
    *count = file->valid - file->position;
    return file->plain && !file->tabs && *count > 0 ? file->area + file->position : nullptr;
}
// Consumes count of the bytes bfile_plain_bytes gave.
inline void bfile_skip(bfile *file, int count) {
    file->position += count;
    file->line_tabs = false;
}
// From a position at the start of a line: the line before it (its last max characters, carriage
// return included), the position left at its start. 0, or -1 when there is no line before.
int bfile_read_line_back(bfile *file, char *text, int max);
// text and a line feed; ending 0 line feed, 1 carriage return and line feed, 2 carriage return.
int bfile_write_line(bfile *file, const char *text);
int bfile_write_line_ending(bfile *file, const char *text, int ending);
