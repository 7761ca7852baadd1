// Counted memory blocks: the only way the program obtains and returns blocks.
#pragma once
#include <stddef.h>

// A zero-filled block of count x size bytes, or NULL; counts every call, also a failed one.
void *fmalloc(size_t count, size_t size);
// Returns a block of fmalloc; 0, or -1 when the pointer is no such block. NULL is ignored (0).
int ffree(void *block);
// Blocks handed out and not yet returned.
int fmalloc_count(void);
// Makes the next count calls of fmalloc fail (tests of the out-of-memory paths).
void fmalloc_inject_failures(int count);
