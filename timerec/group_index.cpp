// Open addressing with linear probing over a fixed table: the index never grows, so its memory
// does not depend on the journal, and with at most a quarter of the slots used a search takes
// a step or two.
#include "timerec/group_index.h"
#include <stdint.h>
#include <string.h>

void group_index_clear(group_index *index) {
    memset(index->slot, 0, sizeof index->slot);
}

// Each byte folded in with a multiplication by 33 (a shift and an add, so a name of fifteen
// characters costs a few dozen cycles), then the bits mixed so that the slot number depends on
// all of them.
unsigned group_index_hash(int kind, const char *name) {
    uint32_t hash = 5381u + (uint32_t)kind;
    for (const unsigned char *p = (const unsigned char *)name; *p; p++) hash = hash * 33u + *p;
    hash ^= hash >> 16;
    hash *= 0x85EBCA6Bu;
    hash ^= hash >> 13;
    return hash;
}

int group_index_find(const group_index *index, unsigned hash, group_same_fn same, const void *key,
                     const void *list, int *free_slot) {
    unsigned at = hash & (GROUP_INDEX_SLOTS - 1);
    for (int steps = 0; steps < GROUP_INDEX_SLOTS; steps++) {
        int entry = index->slot[at] - 1;
        if (entry < 0) {
            *free_slot = (int)at;
            return -1;
        }
        if (same(entry, key, list)) return entry;
        at = (at + 1) & (GROUP_INDEX_SLOTS - 1);
    }
    *free_slot = -1;
    return -1;
}

void group_index_put(group_index *index, int free_slot, int entry) {
    if (free_slot >= 0) index->slot[free_slot] = (short)(entry + 1);
}
