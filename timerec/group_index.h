// A hash index beside a report's sum list: finds the entry of a group in a few steps instead of
// searching the list from its start, while the list keeps its own order.
#pragma once
#include <stdint.h>
#include <string.h>

enum { GROUP_INDEX_SLOTS = 4096 }; // a power of two, well above the entries of a sum list

struct group_index {
    short slot[GROUP_INDEX_SLOTS]; // entry number + 1; 0 for a free slot
};

// Whether entry holds the sought key.
typedef bool (*group_same_fn)(int entry, const void *key, const void *list);

void group_index_clear(group_index *index);
// The hash of a group: its kind and its name.
unsigned group_index_hash(int kind, const char *name);
// The entry of the key, or -1; *free_slot then tells where group_index_put files a new entry
// (-1 when the index is full). Inline, so that the comparison is compiled into each caller.
inline int group_index_find(const group_index *index, unsigned hash, group_same_fn same,
                            const void *key, const void *list, int *free_slot) {
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
void group_index_put(group_index *index, int free_slot, int entry);

// A name of at most 15 characters as a key of two words (its bytes, padded with zeros), hashed
// and compared as words: cheaper than hashing and comparing it byte by byte for every period.
struct name_key {
    uint64_t word[2];
};

// The key of a name whose bytes after its end are zeros up to its 16th byte, as a walk delivers
// project names: taken as it stands.
inline void name_key_of_padded(name_key *key, const char *padded) {
    memcpy(key->word, padded, sizeof key->word);
}
unsigned name_key_hash(const name_key *key);
inline bool name_key_equal(const name_key *a, const name_key *b) {
    return a->word[0] == b->word[0] && a->word[1] == b->word[1];
}
