// A window's placement kept in the settings file as ten numbers: flags, show command, minimised
// position, maximised position and the normal rectangle; then the DPI the window had.
#pragma once
#include <stddef.h>

enum { PLACEMENT_NUMBERS = 10, PLACEMENT_TEXT = 120 };

// The ten numbers and the DPI as the settings value "%d %d ... %d".
void placement_format(char *out, size_t size, const long numbers[PLACEMENT_NUMBERS], int dpi);
// Reads the ten numbers of a settings value and the DPI after them; 0, or -1 when fewer than ten
// can be read (such a value is ignored rather than half applied). A value without a DPI (one an
// earlier version wrote) or with one no screen has was saved at 96 DPI.
int placement_parse(const char *text, long numbers[PLACEMENT_NUMBERS], int *dpi);
// The normal rectangle saved at from_dpi sized for to_dpi: the same content, the same top-left
// corner.
void placement_rescale(long numbers[PLACEMENT_NUMBERS], int from_dpi, int to_dpi);

// The window's placement into key of section / from it (window is the Win32 handle). Restoring
// with position_only keeps the window's size and moves its normal rectangle to the saved corner.
void placement_save(void *window, const char *key, const char *section);
void placement_restore(void *window, const char *key, const char *section, int position_only);
