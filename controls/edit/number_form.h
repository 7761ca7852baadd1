// Numbers of the edit and show controls: the display form with the user's decimal and thousands
// characters, the edit form, and the canonical form with "." that callers exchange.
#pragma once

// The largest field (cells) any control gives its number forms.
enum { NUMBER_FORM_CELLS_MAX = 1000 };

struct number_seps {
    char decimal;
    char thousands;
};

// 1 for the numeric type letters "0" to "5" and "9".
int number_type(int type);
// Decimals of a numeric type: 0 to 5, or 9 for "up to five, without trailing zeros".
int number_decimals(int type);

// Display form of value in a field of cells characters: the number right-aligned with the
// decimal character and thousands characters of seps; out holds cells + 1 bytes.
void number_display(char *out, const char *value, int cells, int decimals, const number_seps *seps);
// Canonical form of a shown number: right-aligned in cells, "." as decimal point, no thousands
// characters; out holds cells + 1 bytes.
void number_canonical(char *out, const char *shown, int cells, int decimals,
                      const number_seps *seps);
// Edit form of a shown number: no blanks at the ends, no thousands characters, padded with
// blanks to cells; out holds cells + 1 bytes.
void number_edit(char *out, const char *shown, int cells, const number_seps *seps);
// Back from the edit form to the display form; out holds cells + 1 bytes.
void number_from_edit(char *out, const char *edited, int cells, int decimals,
                      const number_seps *seps);
