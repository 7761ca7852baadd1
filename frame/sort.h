// In-place Shell sort with halving gaps (not stable).
#pragma once

typedef int (*sort_compare)(const void *earlier, const void *later);

void sort(void *elements, int count, int size, sort_compare compare);
