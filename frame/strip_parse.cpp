// The control strip's description language and the geometry of its items.
#include "frame/strip_parse.h"
#include "frame/text.h"

#include <limits.h>
#include <stdlib.h>
#include <string.h>

enum { GAP = 2, PLUS = 2, MINUS = 3 };

static int clamp_int(double value) {
    if (value >= (double)INT_MAX) return INT_MAX;
    if (value <= (double)INT_MIN) return INT_MIN;
    return (int)value;
}

int strip_pixels(double scale, int units) {
    return clamp_int((double)units * scale);
}

int strip_item_width(double scale, int width, int x, int strip_width) {
    double pixels = width != 0 ? strip_pixels(scale, width) : (double)strip_width - x - GAP;
    return pixels < 2 ? 2 : clamp_int(pixels);
}

// A signed decimal number; anything else reads as 0, and values beyond int saturate.
static int32_t number_of(const char *token) {
    long value = strtol(token, NULL, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return (int32_t)value;
}

// Cuts the next token off work into a token area.
static void next_token(char *token, char *work) {
    text_token(token, STRIP_TOKEN_MAX + 1, work);
}

int strip_parse(const char *description, double scale, int x, strip_item *items, int capacity) {
    char work[STRIP_DESCRIPTION_MAX + 1];
    char token[STRIP_TOKEN_MAX + 1];
    text_copy_max(work, description, STRIP_DESCRIPTION_MAX);
    int count = 0;
    while (count < capacity && text_trim(work)) {
        next_token(token, work);
        if (token[0] == '-' || token[0] == '+') {
            x = clamp_int((double)x + (token[0] == '+' ? PLUS : -MINUS));
            continue;
        }
        strip_item *item = &items[count++];
        memset(item, 0, sizeof *item);
        item->kind = token[0];
        item->x = x;
        next_token(token, work);
        item->id = number_of(token);
        next_token(token, work);
        item->width = number_of(token);
        text_delimited(item->text, sizeof item->text, work);
        if (work[0]) text_delete(work, 0, 1); // the closing delimiter
        x = clamp_int((double)x + strip_pixels(scale, item->width) + GAP);
    }
    return count;
}
