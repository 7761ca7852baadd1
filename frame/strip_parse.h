// The control strip's description language: a row of items ("E 3000 44 /F####-##-##/", "+", "-")
// read into item records, and the strip unit and width rule that place them.
#pragma once
#include <stdint.h>

enum {
    STRIP_ITEMS_MAX = 40,        // items per strip; further items of a description are dropped
    STRIP_DESCRIPTION_MAX = 503, // characters of a description that are read
    STRIP_TOKEN_MAX = 83,        // characters of one token that are read
    STRIP_TEXT_MAX = 80,         // characters of an item text that are kept
};

// One control of a strip. The parser fills x, width, id, kind and text; the layout owns the
// window and the window procedure it replaced (set only for edit items).
struct strip_item {
    void *window;
    int32_t x;     // pixels from the strip's left edge
    int32_t width; // strip units; 0 reaches to the right end of the strip
    int32_t id;
    char kind; // item letter: B, D, E, S, T, or any other (no control)
    intptr_t saved_procedure;
    char text[STRIP_TEXT_MAX + 1];
};

// n strip units in pixels at this scale, truncated toward zero.
int strip_pixels(double scale, int units);
// The width rule: strip_pixels(width), or for width 0 the rest of a strip strip_width pixels
// wide from x less 2 pixels; at least 2 pixels.
int strip_item_width(double scale, int width, int x, int strip_width);
// Reads description into at most capacity items, the first placed at x pixels; the count.
// Every item is followed by a gap of 2 pixels; a "+" token adds 2 more, a "-" token takes 3.
int strip_parse(const char *description, double scale, int x, strip_item *items, int capacity);
