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

void group_index_put(group_index *index, int free_slot, int entry) {
    if (free_slot >= 0) index->slot[free_slot] = (short)(entry + 1);
}

// Two multiplications in a row, the slot taken from the product's high bits, which depend on all
// of the name's bytes: every counted period of a report waits for this on its way to its sum.
unsigned name_key_hash(const name_key *key) {
    uint64_t mixed = (key->word[0] ^ key->word[1] * 0x9E3779B97F4A7C15ull) * 0xC2B2AE3D27D4EB4Full;
    return (unsigned)(mixed >> 40);
}
