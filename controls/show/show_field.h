// The show field without its window: the per-window record of the show control, its values in
// and out, escape commands and where its one line of text starts.
#pragma once
#include "controls/edit/field_head.h"
#include "controls/edit/number_form.h"
#include <stdint.h>

enum { SHOW_CELLS_MAX = 1000, SHOW_TEXT_MAX = 1001 };

// The record behind the window's extra bytes, zero-filled at creation.
struct show_record {
    field_head head;
    char type; // type letter; 0 = raw text, kept whole
    char auto_decimals;
    char text[SHOW_TEXT_MAX + 1];
};

void show_create(show_record *field, const char *creation_text, const number_seps *seps);
// After a change of size: the text is cut at cells unless it is raw.
void show_cut_to_cells(show_record *field);
void show_set_value(show_record *field, const char *value, const number_seps *seps);
// At most size - 1 characters and a terminating zero; nothing when size is 0.
void show_get_value(const show_record *field, char *out, int size, const number_seps *seps);
// An escape command; 1 when the control must repaint.
int show_escape(show_record *field, const char *text);
// Left margin of the text: FIELD_MARGIN, or 0 for raw text.
int show_margin(const show_record *field);
// x of a one-line text text_width pixels wide, by the alignment bits of the style.
int show_text_x(const show_record *field, int text_width);
