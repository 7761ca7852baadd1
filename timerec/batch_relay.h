// Bytes handed from the thread that makes them to a thread of their own that takes them, in
// batches of a small ring that is used again and again: the maker goes on while the taker works
// on what came before, in the same order.
#pragma once
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <stddef.h>
#include <thread>

enum {
    RELAY_BATCHES = 8,
    RELAY_BATCH = 1 << 16, // bytes of a batch
    RELAY_SLACK = 16,      // bytes behind a batch's last piece that may be read
};

// Takes a batch of pieces (length bytes at bytes) on the relay's own thread.
typedef void (*relay_take_fn)(const char *bytes, size_t length, void *context);

struct batch_relay {
    relay_take_fn take;
    void *context;
    char *memory;
    size_t used[RELAY_BATCHES]; // bytes of each batch handed on
    // Each thread writes a cache line of its own: a line both write goes back and forth between
    // the cores on every write.
    alignas(64) size_t filling;              // bytes of the batch being made, the maker's own
    alignas(64) std::atomic<long long> made; // batches handed on
    alignas(64) std::atomic<long long> taken;
    alignas(64) std::atomic<bool> ended;
    std::atomic<int> sleeping; // threads waiting for the other one
    std::mutex lock;
    std::condition_variable changed;
    std::thread taker;
};

// Starts the relay's thread; false (nothing started) without the memory or a thread.
bool relay_start(batch_relay *relay, relay_take_fn take, void *context);
// Room for a piece of up to bytes (at most RELAY_BATCH - RELAY_SLACK) in the batch being made,
// after handing that batch on when the piece would not fit (waiting while the ring is full).
char *relay_room(batch_relay *relay, size_t bytes);
// The piece of bytes just written into the room belongs to the batch.
void relay_put(batch_relay *relay, size_t bytes);
// Hands on the last batch and waits until all are taken; the memory goes back.
void relay_end(batch_relay *relay);
