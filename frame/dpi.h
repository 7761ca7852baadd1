// Pixel sizes that follow the DPI of a window: sizes laid out for 96 DPI scaled to another one
// and back, rounded as the system rounds them.
#pragma once

enum {
    DPI_BASE = 96,   // the DPI that every size of the program is laid out for
    DPI_LOWEST = 48, // what a window can have; anything outside reads as DPI_BASE
    DPI_HIGHEST = 960,
};

// dpi itself, or DPI_BASE for a value no screen has (0 from a call that failed).
int dpi_valid(int dpi);
// pixels at 96 DPI in pixels at dpi, halves rounded away from zero (as MulDiv).
int dpi_scale(int pixels, int dpi);
// pixels at dpi back in pixels at 96 DPI.
int dpi_unscale(int pixels, int dpi);
// pixels at from_dpi in pixels at to_dpi.
int dpi_convert(int pixels, int from_dpi, int to_dpi);
// The width of a line that is one pixel at 96 DPI: whole pixels only, so that a frame stays
// sharp (1 up to 191 DPI, 2 from 192 on).
int dpi_line(int dpi);
