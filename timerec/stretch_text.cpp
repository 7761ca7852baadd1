// Chunks of text in queues per stretch. The thread of the stretch being written never waits, so
// the writing always goes on; threads ahead of it wait only while too many of their chunks are
// waiting, which bounds the memory also where writing is slow.
#include "timerec/stretch_text.h"
#include "frame/memory.h"
#include <stdint.h>
#include <string.h>

enum {
    CHUNK_ALIGNMENT = 64, // the bytes start on a cache line, as a file's blocks (bfile.cpp)
    AHEAD_MIN = 16,
    AHEAD_MAX = 256, // for a year file of any size
    SMALL_CHUNK = 8192,
    SMALL_AHEAD = 2,
    SLAB_CHUNKS = 8, // chunks cut from one block
};

// A chunk's header starts its area of the slab; its bytes follow on a cache line of their own.
struct stretch_chunk {
    stretch_chunk *next; // in its queue or among the spare ones
    size_t length;
    char *bytes;
};

// A block the chunks are cut from, SLAB_CHUNKS of them in turn: a few large blocks, whose memory
// the system can give in large pages, where a large year's text takes dozens of chunks.
struct stretch_slab {
    stretch_slab *earlier; // the block made before it
    int cut;               // chunks cut from it so far
};

// The bytes of one chunk's area: its header, the pointer back to it, its bytes on a cache line.
static constexpr size_t chunk_area(size_t size) {
    return (sizeof(stretch_chunk) + sizeof(void *) + 2 * CHUNK_ALIGNMENT + size - 1) /
           CHUNK_ALIGNMENT * CHUNK_ALIGNMENT;
}
static_assert(CHUNK_ALIGNMENT + SLAB_CHUNKS * chunk_area(STRETCH_CHUNK) <= (2 << 20) - 64,
              "a slab of usual chunks fills one large page, with the block's header");

// The chunk whose bytes start at bytes.
static stretch_chunk *chunk_of(const char *bytes) {
    stretch_chunk *chunk;
    memcpy(&chunk, bytes - sizeof chunk, sizeof chunk);
    return chunk;
}

// A new chunk cut from the last slab, or from a new one when that is used up: its header, then
// the pointer back to it right before its bytes.
static stretch_chunk *make_chunk(stretch_text *t) {
    size_t area = chunk_area(t->chunk_size);
    stretch_slab *slab = t->slabs;
    if (!slab || slab->cut == t->slab_chunks) {
        slab = (stretch_slab *)fmalloc(1, CHUNK_ALIGNMENT + t->slab_chunks * area);
        if (!slab) return nullptr;
        slab->earlier = t->slabs;
        t->slabs = slab;
    }
    char *at = (char *)slab + CHUNK_ALIGNMENT + slab->cut++ * area;
    stretch_chunk *chunk = (stretch_chunk *)at;
    uintptr_t start = (uintptr_t)at + sizeof *chunk + sizeof(void *);
    start = (start + CHUNK_ALIGNMENT - 1) / CHUNK_ALIGNMENT * CHUNK_ALIGNMENT;
    chunk->bytes = (char *)start;
    memcpy(chunk->bytes - sizeof chunk, &chunk, sizeof chunk);
    return chunk;
}

static bool small_chunks;

void stretch_text_small_chunks(bool small) {
    small_chunks = small;
}

// Chunks of one and a half stretches' text: a stretch's text is about as long as the stretch.
static int chunks_ahead(const char *year) {
    int64_t chunks = journal_walk_stretch_bytes(year) * 3 / 2 / STRETCH_CHUNK + 1;
    return chunks < AHEAD_MIN ? (int)AHEAD_MIN : chunks > AHEAD_MAX ? (int)AHEAD_MAX : (int)chunks;
}

void stretch_text_start(stretch_text *t, const char *year, stretch_write_fn write, void *context) {
    t->write = write;
    t->context = context;
    t->chunk_size = small_chunks ? (size_t)SMALL_CHUNK : (size_t)STRETCH_CHUNK;
    t->ahead = small_chunks ? SMALL_AHEAD : chunks_ahead(year);
    t->slab_chunks = small_chunks ? 1 : SLAB_CHUNKS;
    for (int k = 0; k < JOURNAL_PARTS_MAX; k++) {
        t->first[k] = t->last[k] = nullptr;
        t->done[k] = t->ended[k] = false;
    }
    t->writing = 0;
    t->waiting = 0;
    t->spare = nullptr;
    t->slabs = nullptr;
    t->failed = false;
}

char *stretch_text_chunk(stretch_text *t, int k) {
    std::unique_lock<std::mutex> held(t->lock);
    t->freed.wait(held, [t, k] { return k <= t->writing || t->waiting < t->ahead; });
    stretch_chunk *chunk = t->spare;
    if (chunk) {
        t->spare = chunk->next;
    } else if (!(chunk = make_chunk(t))) {
        t->failed = true;
        return nullptr;
    }
    return chunk->bytes;
}

void stretch_text_put(stretch_text *t, int k, char *bytes, size_t length) {
    stretch_chunk *chunk = chunk_of(bytes);
    chunk->next = nullptr;
    chunk->length = length;
    std::lock_guard<std::mutex> held(t->lock);
    if (t->last[k])
        t->last[k]->next = chunk;
    else
        t->first[k] = chunk;
    t->last[k] = chunk;
    t->waiting++;
    if (k == t->writing) t->filled.notify_one();
}

void stretch_text_done(stretch_text *t, int k, bool ended) {
    std::lock_guard<std::mutex> held(t->lock);
    t->done[k] = true;
    t->ended[k] = ended;
    if (k == t->writing) t->filled.notify_one();
}

// The next chunk of the stretch being written, taken from its queue; NULL when that stretch is
// done and its chunks are written (writing then moves on), or when every stretch is.
static stretch_chunk *next_to_write(stretch_text *t) {
    std::unique_lock<std::mutex> held(t->lock);
    int k = t->writing;
    t->filled.wait(held, [t, k] { return t->first[k] || t->done[k]; });
    stretch_chunk *chunk = t->first[k];
    if (chunk) {
        t->first[k] = chunk->next;
        if (!t->first[k]) t->last[k] = nullptr;
        return chunk;
    }
    t->writing = t->ended[k] || k + 1 >= JOURNAL_PARTS_MAX ? JOURNAL_PARTS_MAX : k + 1;
    t->freed.notify_all(); // the thread of the next stretch waits no longer
    return nullptr;
}

void stretch_text_write(stretch_text *t) {
    while (t->writing < JOURNAL_PARTS_MAX) {
        stretch_chunk *chunk = next_to_write(t);
        if (!chunk) continue;
        if (chunk->length > 0 && !t->failed &&
            t->write(chunk->bytes, chunk->length, t->context) != 0)
            t->failed = true;
        std::lock_guard<std::mutex> held(t->lock);
        chunk->next = t->spare;
        t->spare = chunk;
        // Threads ahead wait while too many chunks wait; they go on as the count falls below.
        if (--t->waiting == t->ahead - 1) t->freed.notify_all();
    }
}

// Every slab goes back with its chunks, wherever they are: also those of stretches the file was
// not cut into.
int stretch_text_end(stretch_text *t) {
    for (stretch_slab *slab = t->slabs, *earlier; slab; slab = earlier) {
        earlier = slab->earlier;
        ffree(slab);
    }
    t->slabs = nullptr;
    return t->failed ? -1 : 0;
}
