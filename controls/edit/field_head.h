// The head the records of the edit and show controls share: geometry, style, font and colours,
// with the metrics and the escape commands that change them.
#pragma once
#include "controls/edit/escape.h"
#include <stdint.h>

enum { FIELD_MARGIN = 4 };

struct field_head {
    int32_t width, height;           // client size in pixels
    int32_t char_width, char_height; // of the current font
    int32_t cells;                   // character cells of the field
    int32_t text_top;                // y of the text
    int32_t margin;                  // pixels left of the text at the window's DPI; 0: FIELD_MARGIN
    uint32_t style;                  // window style; the low byte may come from an escape command
    void *font;                      // the font in use (a font handle of the system)
    uint32_t background, text_colour; // RGB, 0 = default
};

// The text's left margin in pixels.
int field_margin(const field_head *head);
// Cells and text top from the size and the font's character width and height; at most
// cells_max cells.
void field_metrics(field_head *head, int char_width, int char_height, int cells_max);
// The escape commands H, V and S; 1 when the command was one of them (the control repaints).
int field_escape_look(field_head *head, const escape_command *command);
