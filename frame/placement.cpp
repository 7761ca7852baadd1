// The placement value's text form: ten signed decimal numbers separated by single blanks.
#include "frame/placement.h"
#include <errno.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>

void placement_format(char *out, size_t size, const long numbers[PLACEMENT_NUMBERS]) {
    snprintf(out, size, "%ld %ld %ld %ld %ld %ld %ld %ld %ld %ld", numbers[0], numbers[1],
             numbers[2], numbers[3], numbers[4], numbers[5], numbers[6], numbers[7], numbers[8],
             numbers[9]);
}

int placement_parse(const char *text, long numbers[PLACEMENT_NUMBERS]) {
    for (int i = 0; i < PLACEMENT_NUMBERS; i++) {
        char *end;
        errno = 0;
        long value = strtol(text, &end, 10);
        if (end == text || errno == ERANGE || value < INT_MIN || value > INT_MAX) return -1;
        numbers[i] = value;
        text = end;
    }
    return 0;
}
