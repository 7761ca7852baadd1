// Decimal numbers as German texts (decimal comma, thousands points), right-aligned in a width.
// The digits come from integer arithmetic, never from printf, so every build gives the same text.
#include "frame/number_text.h"

#include <math.h>
#include <string.h>

enum { PLACES_MAX = 5, DIGITS_MAX = 24 };

// Values from here on (and infinities, NaN) cannot be shown with the precision of a double.
static const double VALUE_LIMIT = 1e15;

static void fill_stars(char *text, int width) {
    int count = width > 0 ? width : 1;
    memset(text, '*', (size_t)count);
    text[count] = 0;
}

// Rounds |value| to places decimals, half away from zero on the decimal value the double stands
// for: 0.15 is stored as 0.1499999999999999944..., yet is meant as 0.15 and must give 0.2. A
// remainder that misses one half by less than a billionth of the scaled value (at most a
// millionth of the last place, so large values stay exact) counts as one half.
static void round_decimal(double value, int places, unsigned long long *whole,
                          unsigned long *fraction) {
    unsigned long scale = 1;
    for (int i = 0; i < places; i++) scale *= 10;
    double magnitude = fabs(value);
    double integral = floor(magnitude);
    double scaled = (magnitude - integral) * (double)scale;
    double lower = floor(scaled);
    double tolerance = magnitude * (double)scale * 1e-9;
    if (tolerance > 1e-6) tolerance = 1e-6;
    unsigned long rounded = (unsigned long)lower + (scaled - lower + tolerance >= 0.5 ? 1 : 0);
    *whole = (unsigned long long)integral;
    if (rounded >= scale) {
        rounded -= scale;
        *whole += 1;
    }
    *fraction = rounded;
}

// Writes the digits of value into out (no terminating zero); the number of digits.
static int put_digits(char *out, unsigned long long value, int min_digits) {
    char reversed[DIGITS_MAX];
    int count = 0;
    do {
        reversed[count++] = (char)('0' + value % 10);
        value /= 10;
    } while (value > 0 || count < min_digits);
    for (int i = 0; i < count; i++) out[i] = reversed[count - 1 - i];
    return count;
}

// The integer digits with a '.' before each group of three that follows a digit.
static int put_grouped(char *out, const char *digits, int count) {
    int length = 0;
    for (int i = 0; i < count; i++) {
        if (i > 0 && (count - i) % 3 == 0) out[length++] = '.';
        out[length++] = digits[i];
    }
    return length;
}

// Right-aligns the number (sign, integer digits, fraction with its comma) in width, or gives it
// as it is for width 0; the thousands points go when only the shorter form fits.
static void compose(char *text, int width, int negative, const char *digits, int digit_count,
                    const char *fraction) {
    char grouped[DIGITS_MAX * 2];
    int grouped_length = put_grouped(grouped, digits, digit_count);
    int fraction_length = (int)strlen(fraction);
    int length = negative + grouped_length + fraction_length;
    const char *integer = grouped;
    int integer_length = grouped_length;
    if (width > 0 && length > width) {
        integer = digits;
        integer_length = digit_count;
        length = negative + digit_count + fraction_length;
        if (length > width) {
            fill_stars(text, width);
            return;
        }
    }
    int pad = width > length ? width - length : 0;
    memset(text, ' ', (size_t)pad);
    char *out = text + pad;
    if (negative) *out++ = '-';
    memcpy(out, integer, (size_t)integer_length);
    out += integer_length;
    memcpy(out, fraction, (size_t)fraction_length + 1);
}

void number_text(char *text, double value, int width, int decimals) {
    if (width < 0) width = 0;
    if (width > NUMBER_TEXT_MAX) width = NUMBER_TEXT_MAX;
    if (!(fabs(value) < VALUE_LIMIT)) {
        fill_stars(text, width);
        return;
    }
    // Places that must stay even when they are trailing zeros.
    int kept = decimals;
    if (decimals < 0) {
        kept = decimals < -PLACES_MAX ? PLACES_MAX : -decimals;
        decimals = PLACES_MAX;
    } else if (decimals == 9) {
        kept = 0;
    }
    int places = decimals < PLACES_MAX ? decimals : PLACES_MAX;
    if (kept > places) kept = places;

    unsigned long long whole;
    unsigned long fraction_value;
    round_decimal(value, places, &whole, &fraction_value);
    char digits[DIGITS_MAX];
    int digit_count = put_digits(digits, whole, 1);

    char fraction[PLACES_MAX + 2] = "";
    if (places > 0) {
        fraction[0] = ',';
        int count = put_digits(fraction + 1, fraction_value, places);
        while (count > kept && fraction[count] == '0') count--;
        fraction[count > 0 ? count + 1 : 0] = 0;
    }
    int negative = value < 0 && (whole > 0 || fraction_value > 0);
    compose(text, width, negative, digits, digit_count, fraction);
}
