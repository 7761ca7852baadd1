// The placement value's text form: ten signed decimal numbers separated by single blanks.
#include "frame/placement.h"
#include "frame/dpi.h"
#include <errno.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>

enum { LEFT = 6, TOP = 7, RIGHT = 8, BOTTOM = 9 };

void placement_format(char *out, size_t size, const long numbers[PLACEMENT_NUMBERS], int dpi) {
    snprintf(out, size, "%ld %ld %ld %ld %ld %ld %ld %ld %ld %ld %d", numbers[0], numbers[1],
             numbers[2], numbers[3], numbers[4], numbers[5], numbers[6], numbers[7], numbers[8],
             numbers[9], dpi_valid(dpi));
}

int placement_parse(const char *text, long numbers[PLACEMENT_NUMBERS], int *dpi) {
    for (int i = 0; i < PLACEMENT_NUMBERS; i++) {
        char *end;
        errno = 0;
        long value = strtol(text, &end, 10);
        if (end == text || errno == ERANGE || value < INT_MIN || value > INT_MAX) return -1;
        numbers[i] = value;
        text = end;
    }
    char *end;
    long saved = strtol(text, &end, 10);
    *dpi = end != text && saved >= DPI_LOWEST && saved <= DPI_HIGHEST ? (int)saved : DPI_BASE;
    return 0;
}

void placement_rescale(long numbers[PLACEMENT_NUMBERS], int from_dpi, int to_dpi) {
    numbers[RIGHT] =
        numbers[LEFT] + dpi_convert((int)(numbers[RIGHT] - numbers[LEFT]), from_dpi, to_dpi);
    numbers[BOTTOM] =
        numbers[TOP] + dpi_convert((int)(numbers[BOTTOM] - numbers[TOP]), from_dpi, to_dpi);
}
