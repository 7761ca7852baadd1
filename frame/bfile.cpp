// Buffered file access: one block in memory, read and written forward and backward; only the
// changed range of a block goes back to the file.
#include "frame/bfile.h"
#include "frame/file_lock.h"
#include "frame/files.h"
#include "frame/memory.h"
#include "frame/messages.h"
#include "frame/path.h"
#include "frame/platform.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include <limits.h>
#include <stdio.h>
#include <string.h>

static int64_t block_start(const bfile *file) {
    return file->block * file->size;
}

// Writes the changed range back; -1 when it could not be written whole.
static int flush(bfile *file) {
    if (file->changed_from >= file->changed_to) return 0;
    long count = file->changed_to - file->changed_from;
    int64_t at = block_start(file) + file->changed_from;
    int result = 0;
    if (file_seek(file->handle, at, FILE_FROM_START) != at ||
        file_write(file->handle, file->area + file->changed_from, count) != count)
        result = -1;
    file->changed_from = file->changed_to = 0;
    return result;
}

// Loads block number block after writing back the current one; a read error gives an empty block.
// A memory area is one block, larger than its bytes, so that its end is the file's end.
static int load(bfile *file, int64_t block) {
    int result = flush(file);
    file->block = block;
    file->valid = 0;
    int64_t at = block_start(file);
    if (file->memory) {
        file->valid = block == 0 ? (int)file->memory_size : 0;
    } else if (file_seek(file->handle, at, FILE_FROM_START) == at) {
        long got = file_read(file->handle, file->area, file->size);
        file->valid = got > 0 ? (int)got : 0;
    }
    // Checked once per block, so that reading its lines needs no search for either byte.
    file->tabs = memchr(file->area, '\t', (size_t)file->valid) != nullptr;
    file->plain = !memchr(file->area, '\r', (size_t)file->valid) &&
                  !memchr(file->area, BFILE_EOF_MARK, (size_t)file->valid);
    return result;
}

// Moves to the start of the next block when the current one is used up; 0 at the file's end.
static int next_block(bfile *file) {
    if (file->position < file->valid) return 1;
    if (file->valid < file->size) return 0;
    load(file, file->block + 1);
    file->position = 0;
    return file->valid > 0;
}

// Marks [from, to) of the block changed; a gap after the valid bytes reads as zeros, as the
// file will have them there.
static void mark_changed(bfile *file, int from, int to) {
    file->plain = false;
    file->tabs = true;
    if (from > file->valid) memset(file->area + file->valid, 0, (size_t)(from - file->valid));
    if (file->changed_from >= file->changed_to) {
        file->changed_from = from;
        file->changed_to = to;
    } else {
        if (from < file->changed_from) file->changed_from = from;
        if (to > file->changed_to) file->changed_to = to;
    }
    if (to > file->valid) file->valid = to;
}

// The block's area starts on a multiple of this. A large memory block begins a few bytes into a
// page, and some processors copy a file's bytes into an area that lies a few bytes past a page's
// start four times slower than into one on a cache line's start.
enum { AREA_ALIGNMENT = 64 };

// Makes the open handle a buffered file positioned at 0; the handle.
static int attach(bfile *file, int handle, int block_size) {
    file->handle = handle;
    file->size = block_size > 0 ? block_size : BFILE_BLOCK;
    file->allocated = (unsigned char *)fmalloc(1, (size_t)file->size + AREA_ALIGNMENT);
    if (file->allocated) {
        uintptr_t past = (uintptr_t)file->allocated % AREA_ALIGNMENT;
        file->area = file->allocated + (past ? AREA_ALIGNMENT - past : 0);
    } else {
        file->area = file->reserve;
        file->size = BFILE_RESERVE;
    }
    file->block = -1;
    bfile_seek(file, 0);
    return handle;
}

int bfile_open_memory(bfile *file, const void *data, size_t size) {
    static unsigned char nothing[1];
    memset(file, 0, sizeof *file);
    file->memory = true;
    // The area is one block, whose size is an int: a larger area is read as far as that reaches.
    file->memory_size = !data ? 0 : size < (size_t)INT_MAX ? (int64_t)size : INT_MAX - 1;
    file->area = data ? (unsigned char *)data : nothing;
    file->size = (int)file->memory_size + 1;
    file->block = -1;
    bfile_seek(file, 0);
    return 0;
}

static struct {
    char name[PATH_MAX_TEXT + 1];
    const void *data;
    size_t size;
} memory_file;

void bfile_memory_file(const char *name, const void *data, size_t size) {
    snprintf(memory_file.name, sizeof memory_file.name, "%s", data ? name : "");
    memory_file.data = data;
    memory_file.size = size;
}

int bfile_open_sized(bfile *file, const char *name, int block_size) {
    if (memory_file.data && strcmp(name, memory_file.name) == 0)
        return bfile_open_memory(file, memory_file.data, memory_file.size);
    memset(file, 0, sizeof *file);
    file->handle = file_open(name, FILE_READ_WRITE);
    if (file->handle < 0) return -1;
    return attach(file, file->handle, block_size);
}

int bfile_open(bfile *file, const char *name) {
    return bfile_open_sized(file, name, BFILE_BLOCK);
}

int bfile_create(bfile *file, const char *name) {
    int handle = file_create(name);
    if (handle < 0) {
        memset(file, 0, sizeof *file);
        file->handle = -1;
        return -1;
    }
    file_close(handle);
    return bfile_open(file, name);
}

int bfile_replace_begin(bfile *file, const char *name) {
    return bfile_replace_begin_like(file, name, name);
}

int bfile_replace_begin_like(bfile *file, const char *name, const char *like) {
    memset(file, 0, sizeof *file);
    file->handle = -1;
    if (!file_replaceable(name) || file_lock_take(name) != 0) return -1;
    int handle = file_replace_start(name, like);
    if (handle < 0) {
        file_lock_release(name);
        return -1;
    }
    return attach(file, handle, BFILE_BLOCK);
}

int bfile_replace_commit(bfile *file, const char *name, int written) {
    int result = written != 0 ? -1 : 0;
    if (bfile_sync(file) != 0) result = -1;
    if (bfile_close(file) != 0) result = -1;
    result = file_replace_end(name, result);
    file_lock_release(name);
    return result;
}

int bfile_sync(bfile *file) {
    if (file->memory) return 0;
    int result = flush(file);
    if (platform_file_sync(file->handle) != 0) result = -1;
    return result;
}

int bfile_close(bfile *file) {
    if (file->memory) return 0;
    if (file->handle < 0) return -1;
    int result = flush(file);
    if (file_close(file->handle) != 0) result = -1;
    ffree(file->allocated);
    file->allocated = nullptr;
    file->area = nullptr;
    file->handle = -1;
    return result;
}

int bfile_seek(bfile *file, int64_t offset) {
    if (offset < 0) offset = 0;
    int64_t block = offset / file->size;
    int result = 0;
    if (block != file->block) result = load(file, block);
    file->position = (int)(offset % file->size);
    return result;
}

int64_t bfile_tell(const bfile *file) {
    return block_start(file) + file->position;
}

int bfile_seek_end(bfile *file) {
    int result = flush(file);
    int64_t end = file->memory ? file->memory_size : file_seek(file->handle, 0, FILE_FROM_END);
    if (bfile_seek(file, end < 0 ? 0 : end) != 0) result = -1;
    return result;
}

int bfile_seek_text_end(bfile *file) {
    int result = bfile_seek_end(file);
    int c;
    while ((c = bfile_prevc(file)) == BFILE_EOF_MARK) {
    }
    if (c >= 0) file->position++;
    return result;
}

int bfile_getc(bfile *file) {
    if (!next_block(file)) return -1;
    return file->area[file->position++];
}

int bfile_prevc(bfile *file) {
    if (file->position > file->valid) file->position = file->valid;
    if (file->position > 0) return file->area[--file->position];
    if (file->block <= 0) return -1;
    load(file, file->block - 1);
    if (file->valid <= 0) return -1;
    file->position = file->valid - 1;
    return file->area[file->position];
}

int bfile_putc(bfile *file, int byte) {
    if (file->memory) return -1;
    int result = 0;
    if (file->position >= file->size) {
        result = load(file, file->block + 1);
        file->position = 0;
    }
    file->area[file->position] = (unsigned char)byte;
    mark_changed(file, file->position, file->position + 1);
    file->position++;
    return result;
}

int bfile_read(bfile *file, void *area, long count) {
    unsigned char *out = (unsigned char *)area;
    while (count > 0) {
        if (!next_block(file)) return -1;
        long part = file->valid - file->position;
        if (part > count) part = count;
        memcpy(out, file->area + file->position, (size_t)part);
        file->position += (int)part;
        out += part;
        count -= part;
    }
    return 0;
}

int bfile_write(bfile *file, const void *area, long count) {
    if (file->memory) return -1;
    const unsigned char *in = (const unsigned char *)area;
    int result = 0;
    while (count > 0) {
        if (file->position >= file->size) {
            if (load(file, file->block + 1) != 0) result = -1;
            file->position = 0;
        }
        long part = file->size - file->position;
        if (part > count) part = count;
        memcpy(file->area + file->position, in, (size_t)part);
        mark_changed(file, file->position, file->position + (int)part);
        file->position += (int)part;
        in += part;
        count -= part;
    }
    return result;
}

const unsigned char *bfile_next_bytes(bfile *file, long *count) {
    *count = 0;
    if (!next_block(file)) return nullptr;
    const unsigned char *bytes = file->area + file->position;
    *count = file->valid - file->position;
    file->position = file->valid;
    return bytes;
}

// Appends the bytes [from, to) to the line, leaving out carriage returns and anything beyond max.
static void store(char *text, int *stored, int max, const unsigned char *from,
                  const unsigned char *to, bool plain) {
    if (plain || !memchr(from, '\r', (size_t)(to - from))) {
        long count = to - from;
        if (count > max - *stored) count = max - *stored;
        memcpy(text + *stored, from, (size_t)count);
        *stored += (int)count;
        return;
    }
    for (; from < to && *stored < max; from++)
        if (*from != '\r') text[(*stored)++] = (char)*from;
}

const char *bfile_peek_line(bfile *file, int max, int readable, int *length) {
    int left = file->valid - file->position;
    if (!file->plain || left <= 0 || left < readable) return nullptr;
    const unsigned char *start = file->area + file->position;
    const unsigned char *feed =
        (const unsigned char *)memchr(start, '\n', (size_t)(left <= max ? left : max + 1));
    if (!feed) return nullptr;
    *length = (int)(feed - start);
    file->position += *length + 1;
    file->line_tabs = file->tabs;
    return (const char *)start;
}

// The common case of bfile_read_line: a whole line of a plain block, no longer than max.
// 1 when it was read that way, else 0 (nothing consumed).
static int read_plain_line(bfile *file, char *text, int max, int *length) {
    const char *line = bfile_peek_line(file, max, 0, length);
    if (!line) return 0;
    memcpy(text, line, (size_t)*length);
    text[*length] = 0;
    return 1;
}

int bfile_read_line(bfile *file, char *text, int max) {
    int length;
    if (read_plain_line(file, text, max, &length)) return length;
    int stored = 0;
    bool taken = false;
    file->line_tabs = false;
    while (next_block(file)) {
        file->line_tabs |= file->tabs;
        const unsigned char *start = file->area + file->position;
        const unsigned char *end = file->area + file->valid;
        const unsigned char *feed =
            (const unsigned char *)memchr(start, '\n', (size_t)(end - start));
        const unsigned char *stop = feed ? feed : end;
        const unsigned char *mark =
            file->plain
                ? nullptr
                : (const unsigned char *)memchr(start, BFILE_EOF_MARK, (size_t)(stop - start));
        if (mark) stop = mark;
        if (!taken) {
            const unsigned char *p = start;
            while (p < stop && *p == '\r') p++;
            taken = p < stop;
        }
        store(text, &stored, max, start, stop, file->plain);
        file->position = (int)(stop - file->area);
        if (mark) break;
        if (feed) {
            file->position++;
            taken = true;
            break;
        }
    }
    text[stored] = 0;
    return taken ? stored : -1;
}

int bfile_read_line_back(bfile *file, char *text, int max) {
    int c;
    while ((c = bfile_prevc(file)) != '\n')
        if (c < 0) return -1;
    int stored = 0;
    while ((c = bfile_prevc(file)) >= 0) {
        if (c == '\n') {
            bfile_getc(file);
            break;
        }
        if (stored < max) text[stored++] = (char)c;
    }
    for (int i = 0, j = stored - 1; i < j; i++, j--) {
        char swap = text[i];
        text[i] = text[j];
        text[j] = swap;
    }
    text[stored] = 0;
    return 0;
}

int bfile_write_line_ending(bfile *file, const char *text, int ending) {
    static const char *const endings[] = {"\n", "\r\n", "\r"};
    const char *end = endings[ending >= 0 && ending <= 2 ? ending : 0];
    int result = bfile_write(file, text, (long)strlen(text));
    if (bfile_write(file, end, (long)strlen(end)) != 0) result = -1;
    return result;
}

int bfile_write_line(bfile *file, const char *text) {
    return bfile_write_line_ending(file, text, 0);
}
