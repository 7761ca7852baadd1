// A ring of batches between two threads. A thread that finds nothing to do first watches the
// counts for a while and only then sleeps: waking a sleeping thread costs a system call on one
// side and a long wait on the other, where a batch takes a fraction of a millisecond. While it
// watches it soon offers its core to other threads: where both threads share one core (a busy
// machine), watching alone would hold back the very thread it waits for.
#include "timerec/batch_relay.h"
#include "frame/memory.h"
#ifdef __SSE2__
#include <emmintrin.h>
#endif

enum {
    PAUSED_WATCHES = 1 << 8, // looks at the counts with a pause between them
    WATCHES = 1 << 12,       // ... and in all, the later ones after offering the core, before sleeping
};

static char *batch_of(batch_relay *relay, long long batch) {
    return relay->memory + (size_t)(batch % RELAY_BATCHES) * RELAY_BATCH;
}

static void pause_briefly(int watch) {
#ifdef __SSE2__
    if (watch < PAUSED_WATCHES) {
        _mm_pause();
        return;
    }
#endif
    (void)watch;
    std::this_thread::yield();
}

// Waits until ready() holds: watching, then sleeping until the other thread tells of a change.
template <typename condition> static void wait_for(batch_relay *relay, condition ready) {
    for (int watch = 0; watch < WATCHES; watch++) {
        if (ready()) return;
        pause_briefly(watch);
    }
    std::unique_lock<std::mutex> held(relay->lock);
    relay->sleeping++;
    relay->changed.wait(held, ready);
    relay->sleeping--;
}

// After a change of the counts: wakes the other thread if it sleeps.
static void tell(batch_relay *relay) {
    if (relay->sleeping.load() == 0) return;
    std::lock_guard<std::mutex> held(relay->lock);
    relay->changed.notify_all();
}

// The relay's thread: takes each batch handed on, in order, until the maker has ended.
static void take_batches(batch_relay *relay) {
    for (;;) {
        wait_for(relay, [relay] { return relay->taken < relay->made || relay->ended; });
        long long batch = relay->taken;
        if (batch == relay->made) return; // ended, and every batch taken
        relay->take(batch_of(relay, batch), relay->used[batch % RELAY_BATCHES], relay->context);
        relay->taken++;
        tell(relay);
    }
}

bool relay_start(batch_relay *relay, relay_take_fn take, void *context) {
    relay->take = take;
    relay->context = context;
    relay->made = relay->taken = 0;
    relay->ended = false;
    relay->sleeping = 0;
    relay->filling = 0;
    relay->memory = (char *)fmalloc(RELAY_BATCHES, RELAY_BATCH);
    if (!relay->memory) return false;
    try {
        relay->taker = std::thread(take_batches, relay);
    } catch (...) {
        ffree(relay->memory);
        return false;
    }
    return true;
}

// Hands the batch being made on: its bytes are the taker's from now.
static void hand_on(batch_relay *relay) {
    long long batch = relay->made;
    relay->used[batch % RELAY_BATCHES] = relay->filling;
    relay->filling = 0;
    relay->made = ++batch;
    tell(relay);
}

char *relay_room(batch_relay *relay, size_t bytes) {
    if (relay->filling + bytes > RELAY_BATCH - RELAY_SLACK) {
        hand_on(relay);
        long long batch = relay->made;
        wait_for(relay, [relay, batch] { return batch - relay->taken < RELAY_BATCHES; });
    }
    return batch_of(relay, relay->made) + relay->filling;
}

void relay_put(batch_relay *relay, size_t bytes) {
    relay->filling += bytes;
}

void relay_end(batch_relay *relay) {
    if (relay->filling > 0) hand_on(relay);
    relay->ended = true;
    tell(relay);
    relay->taker.join();
    ffree(relay->memory);
    relay->memory = nullptr;
}
