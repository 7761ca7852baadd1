// Pixel sizes that follow the DPI of a window.
#include "frame/dpi.h"
#include <limits.h>

int dpi_valid(int dpi) {
    return dpi >= DPI_LOWEST && dpi <= DPI_HIGHEST ? dpi : DPI_BASE;
}

// pixels * to / from, rounded half away from zero, saturated to int.
static int mul_div(int pixels, int to, int from) {
    long long product = (long long)pixels * to;
    long long half = from / 2;
    long long result = product >= 0 ? (product + half) / from : -((-product + half) / from);
    if (result > INT_MAX) return INT_MAX;
    if (result < INT_MIN) return INT_MIN;
    return (int)result;
}

int dpi_convert(int pixels, int from_dpi, int to_dpi) {
    return mul_div(pixels, dpi_valid(to_dpi), dpi_valid(from_dpi));
}

int dpi_scale(int pixels, int dpi) {
    return dpi_convert(pixels, DPI_BASE, dpi);
}

int dpi_unscale(int pixels, int dpi) {
    return dpi_convert(pixels, dpi, DPI_BASE);
}

int dpi_line(int dpi) {
    return dpi_valid(dpi) / DPI_BASE < 1 ? 1 : dpi_valid(dpi) / DPI_BASE;
}
