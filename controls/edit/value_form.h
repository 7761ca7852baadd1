// Values of the edit and show controls by type letter: the form shown to the user, the form
// handed to callers (numbers with ".", dates of type "d" as year-month-day) and the edit form.
#pragma once
#include "controls/edit/number_form.h"

// Display form of value (already padded or cut to cells): numbers formatted, other types
// unchanged. out holds cells + 1 bytes.
void value_display(char *out, const char *value, int type, int cells, const number_seps *seps);
// Canonical form of a shown text: at most cells characters into out (cells + 1 bytes, and at
// least 11 for type "d").
void value_canonical(char *out, const char *shown, int type, int cells, const number_seps *seps);
// Edit form (numbers without blanks and thousands characters), padded to cells.
void value_edit(char *out, const char *shown, int type, int cells, const number_seps *seps);
// Back from the edit form to the display form; other types unchanged. Padded to cells.
void value_from_edit(char *out, const char *edited, int type, int cells, const number_seps *seps);
// The type a value sets in a field with automatic decimals: "0" plus the characters after its
// first "." (at most "5"), reading the first 80 characters without blanks at the ends.
int value_auto_type(const char *value);
