// String table texts by id, in a ring of ten areas so several can be used at once.
#include "frame/texts.h"
#include "frame/memory.h"
#include "frame/platform.h"
#include <stdio.h>

static char *ring;
static int ring_next;

int text_copy(int id, char *buffer, int size) {
    if (size <= 0) return 0;
    int length = platform_load_string(id, buffer, size);
    if (length <= 0) length = snprintf(buffer, (size_t)size, "Text %d fehlt.", id);
    return length < size ? length : size - 1;
}

const char *text(int id) {
    static char emergency[TEXT_MAX + 1];
    if (!ring) ring = (char *)fmalloc(TEXT_RING, TEXT_MAX + 1);
    char *area = ring ? ring + ring_next * (TEXT_MAX + 1) : emergency;
    ring_next = (ring_next + 1) % TEXT_RING;
    text_copy(id, area, TEXT_MAX + 1);
    return area;
}

void text_release(void) {
    ffree(ring);
    ring = nullptr;
    ring_next = 0;
}
