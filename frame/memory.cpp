// Counted memory blocks over the platform's block allocator.
#include "frame/memory.h"
#include "frame/fault.h"
#include "frame/platform.h"
#include <atomic>

// Counted from every thread: a journal walk takes blocks on threads of its own.
static std::atomic<int> block_counter;
static int failures_to_inject;

void *fmalloc(size_t count, size_t size) {
    block_counter++;
    if (failures_to_inject > 0) {
        failures_to_inject--;
        return nullptr;
    }
    if (fault_strike(FAULT_MEMORY)) return nullptr;
    if (size != 0 && count > (size_t)-1 / size) return nullptr;
    size_t bytes = count * size;
    return platform_block_alloc(bytes ? bytes : 1);
}

int ffree(void *block) {
    if (!block) return 0;
    block_counter--;
    return platform_block_free(block);
}

int fmalloc_count(void) {
    return block_counter;
}

void fmalloc_inject_failures(int count) {
    failures_to_inject = count;
}
