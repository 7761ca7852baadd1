// In-place Shell sort with the gaps count/2, count/4, ... 1; elements are exchanged byte by
// byte, so any element size works without a temporary area.
#include "frame/sort.h"

#include <stddef.h>

static void swap_bytes(unsigned char *a, unsigned char *b, size_t size) {
    for (size_t i = 0; i < size; i++) {
        unsigned char kept = a[i];
        a[i] = b[i];
        b[i] = kept;
    }
}

void sort(void *elements, int count, int size, sort_compare compare) {
    if (count < 2 || size <= 0) return;
    unsigned char *base = (unsigned char *)elements;
    size_t width = (size_t)size;
    for (int gap = count / 2; gap > 0; gap /= 2) {
        for (int i = gap; i < count; i++) {
            for (int j = i - gap; j >= 0; j -= gap) {
                unsigned char *earlier = base + (size_t)j * width;
                unsigned char *later = earlier + (size_t)gap * width;
                if (compare(earlier, later) <= 0) break;
                swap_bytes(earlier, later, width);
            }
        }
    }
}
