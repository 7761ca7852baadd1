// Text made by the threads that walk a year file's stretches, written by the calling thread in
// the stretches' order as it comes: each stretch fills chunks of its own, which wait in a queue of
// their stretch until every stretch before it is written.
#pragma once
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <stddef.h>
#include "timerec/journal.h"

// Takes the next bytes of the text; 0, or -1 when they cannot be kept.
typedef int (*stretch_write_fn)(const char *bytes, size_t length, void *context);

struct stretch_chunk;
struct stretch_slab;

struct stretch_text {
    stretch_write_fn write;
    void *context;
    size_t chunk_size;
    int slab_chunks; // chunks cut from one block
    int ahead;       // chunks that may wait for stretches after the one being written
    std::mutex lock;
    std::condition_variable filled; // the writer waits for the stretch it writes
    std::condition_variable freed;  // threads ahead wait for chunks to be written
    stretch_chunk *first[JOURNAL_PARTS_MAX], *last[JOURNAL_PARTS_MAX];
    bool done[JOURNAL_PARTS_MAX], ended[JOURNAL_PARTS_MAX];
    int writing; // the stretch whose chunks are written now; JOURNAL_PARTS_MAX when all are
    int waiting; // chunks handed on and not yet written
    stretch_chunk *spare;     // written chunks, to be filled again
    stretch_slab *slabs;      // the blocks the chunks are cut from, the last one made first
    std::atomic<bool> failed; // a write failed or a chunk could not be had
};

// Bytes of a chunk: a quarter megabyte, less what lets eight chunks with their headers fill a
// block of two megabytes, the size of the system's large pages (platform_block_alloc).
enum { STRETCH_CHUNK = (1 << 18) - 256 };

// Starts the text of a walk over the year file of year: chunks of STRETCH_CHUNK bytes, of which
// those of one and a half stretches may wait while their stretch is not the one being written (a
// thread making more waits until the writing catches up), so that the thread of the next stretch
// seldom waits for the writing of the stretch before it.
void stretch_text_start(stretch_text *t, const char *year, stretch_write_fn write, void *context);
// Tests: chunks of a few kilobytes, each a block of its own, of which two may wait; or as usual.
void stretch_text_small_chunks(bool small);
// A chunk (of chunk_size bytes) for stretch k to fill; NULL when memory is short (the text then
// fails). Called by the stretch's thread.
char *stretch_text_chunk(stretch_text *t, int k);
// Hands the chunk of stretch k, length bytes of it filled, on to be written in turn.
void stretch_text_put(stretch_text *t, int k, char *chunk, size_t length);
// Stretch k has handed on all its text; ended: the text ends with it, no later stretch is written.
void stretch_text_done(stretch_text *t, int k, bool ended);
// On the calling thread, while the stretches are walked: writes their chunks in order as they
// come, until the stretch that ended is written.
void stretch_text_write(stretch_text *t);
// Returns every chunk's memory; 0, or -1 when a write failed or a chunk could not be had.
int stretch_text_end(stretch_text *t);
