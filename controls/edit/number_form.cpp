// Number forms of the edit and show controls. The number text is built from the characters of
// the value, never through floating point, so any number of digits keeps its exact value.
#include "controls/edit/number_form.h"
#include "frame/text.h"

#include <string.h>

// Input beyond the largest field is never looked at; the work area also holds the sign, a
// carried digit, the decimal point with five places and one thousands character per group.
enum { INPUT_MAX = NUMBER_FORM_CELLS_MAX + 1, WORK = 1536, PLACES_MAX = 5 };

static int is_digit(int c) {
    return c >= '0' && c <= '9';
}

int number_type(int type) {
    return (type >= '0' && type <= '5') || type == '9';
}

int number_decimals(int type) {
    return type - '0';
}

// Adds one to the last digit of body (length characters), carrying leftwards over the point;
// 1 when the carry ran out of the first digit.
static int round_up(char *body, int length) {
    for (int i = length - 1; i >= 0; i--) {
        if (!is_digit(body[i])) continue;
        if (body[i] != '9') {
            body[i]++;
            return 0;
        }
        body[i] = '0';
    }
    return 1;
}

// The number text of value with "." as decimal point and no thousands characters; out holds
// WORK bytes. A character after the point that is not a digit counts as "0", so a stray
// second point or comma can never show up as a second decimal separator.
static void number_text(char *out, const char *value, int decimals) {
    char kept[INPUT_MAX + 1];
    int count = 0, negative = 0;
    for (int i = 0; value[i] && i < INPUT_MAX; i++) {
        char c = value[i];
        if (c == '-')
            negative = 1;
        else if (is_digit(c) || c == ',' || c == '.')
            kept[count++] = c;
    }
    kept[count] = 0;
    const char *digits = kept;
    while (*digits == '0') digits++;
    const char *point = strchr(digits, '.');
    int integer_length = point ? (int)(point - digits) : (int)strlen(digits);
    const char *after = point ? point + 1 : "";
    int after_length = (int)strlen(after);

    char *body = out + 2; // room in front for a carried "1" and the sign
    int length = 0;
    if (integer_length == 0) body[length++] = '0';
    memcpy(body + length, digits, (size_t)integer_length);
    length += integer_length;
    int places = decimals > PLACES_MAX ? PLACES_MAX : decimals;
    if (decimals > 0) {
        body[length++] = '.';
        for (int k = 0; k < places; k++) {
            char c = k < after_length ? after[k] : '0';
            body[length++] = is_digit(c) ? c : '0';
        }
    }
    int next = places < after_length ? after[places] : 0;
    char *start = body;
    if (next >= '5' && next <= '9' && round_up(body, length)) *--start = '1';
    if (negative) *--start = '-';
    length += (int)(body - start);
    if (decimals == 9) {
        while (start[length - 1] == '0') length--;
        if (start[length - 1] == '.') length--;
    }
    memmove(out, start, (size_t)length);
    out[length] = 0;
}

// The number text right-aligned in cells blanks (its first cells characters when longer).
static void aligned_number(char *out, const char *value, int cells, int decimals) {
    char number[WORK];
    number_text(number, value, decimals);
    int length = (int)strlen(number);
    if (length >= cells) {
        memcpy(out, number, (size_t)cells);
    } else {
        memset(out, ' ', (size_t)(cells - length));
        memcpy(out + cells - length, number, (size_t)length);
    }
    out[cells] = 0;
}

static void remove_char(char *text, char gone) {
    char *to = text;
    for (const char *from = text; *from; from++)
        if (*from != gone) *to++ = *from;
    *to = 0;
}

// The decimal character, and a thousands character before each group of three integer digits
// that follows a digit: a leading blank makes room, else the text grows. When the text has then
// outgrown the field, the thousands characters go again. text holds WORK bytes.
static void add_separators(char *text, int cells, const number_seps *seps) {
    char *point = strchr(text, '.');
    int i = point ? (int)(point - text) : cells;
    if (point) *point = seps->decimal;
    int length = (int)strlen(text);
    for (;;) {
        i -= 4;
        if (i <= 0) break;
        if (!is_digit(text[i])) continue;
        if (text[0] == ' ') {
            memmove(text, text + 1, (size_t)i);
            text[i] = seps->thousands;
        } else {
            memmove(text + i + 2, text + i + 1, (size_t)(length - i));
            text[++i] = seps->thousands;
            length++;
        }
    }
    if (length > cells) remove_char(text, seps->thousands);
}

static int clamp_cells(int cells) {
    if (cells < 0) return 0;
    return cells > NUMBER_FORM_CELLS_MAX ? NUMBER_FORM_CELLS_MAX : cells;
}

void number_display(char *out, const char *value, int cells, int decimals,
                    const number_seps *seps) {
    cells = clamp_cells(cells);
    char text[WORK];
    aligned_number(text, value, cells, decimals);
    add_separators(text, cells, seps);
    text_copy_max(out, text, cells);
}

// Keeps digits, blanks, signs and the point; the decimal character becomes the point first.
static void plain_number_chars(char *text, const number_seps *seps) {
    char *to = text;
    for (const char *from = text; *from; from++) {
        char c = *from == seps->decimal ? '.' : *from;
        if (is_digit(c) || c == ' ' || c == '+' || c == '-' || c == '.') *to++ = c;
    }
    *to = 0;
}

void number_canonical(char *out, const char *shown, int cells, int decimals,
                      const number_seps *seps) {
    cells = clamp_cells(cells);
    char text[INPUT_MAX + 1];
    text_copy_max(text, shown, INPUT_MAX);
    text_trim(text);
    remove_char(text, seps->thousands);
    plain_number_chars(text, seps);
    aligned_number(out, text, cells, decimals);
}

void number_edit(char *out, const char *shown, int cells, const number_seps *seps) {
    cells = clamp_cells(cells);
    char text[INPUT_MAX + 1];
    text_copy_max(text, shown, INPUT_MAX);
    text_trim(text);
    remove_char(text, seps->thousands);
    text_pad(out, text, cells);
}

void number_from_edit(char *out, const char *edited, int cells, int decimals,
                      const number_seps *seps) {
    char text[INPUT_MAX + 1];
    text_copy_max(text, edited, INPUT_MAX);
    plain_number_chars(text, seps);
    number_display(out, text, cells, decimals, seps);
}
