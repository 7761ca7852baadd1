// In-place editing of terminated 8-bit texts (Windows-1252): trimming, tokens, padding,
// insertion, tab expansion, upper case, search, wildcard match and hexadecimal numbers.
#include "frame/text.h"

#include <stdint.h>
#include <string.h>

#if __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "text_trim_length reads words as little-endian"
#endif

size_t text_trimmed_length(const char *text, size_t length) {
    // Column padding is passed eight blanks at a time; in the last eight bytes that are not all
    // blanks, the last other byte is found from the word (bytes are little-endian here).
    const uint64_t blanks = 0x2020202020202020u;
    while (length >= 8) {
        uint64_t eight;
        memcpy(&eight, text + length - 8, 8);
        uint64_t others = eight ^ blanks;
        if (others != 0) {
            length -= (size_t)(__builtin_clzll(others) / 8);
            break;
        }
        length -= 8;
    }
    while (length > 0 && text_is_space((unsigned char)text[length - 1])) length--;
    return length;
}

size_t text_trim_length(char *text, size_t length) {
    length = text_trimmed_length(text, length);
    text[length] = 0;
    size_t start = 0;
    while (start < length && text_is_space((unsigned char)text[start])) start++;
    if (start > 0) memmove(text, text + start, length - start + 1);
    return length - start;
}

int text_trim(char *text) {
    return text_trim_length(text, strlen(text)) != 0;
}

int text_trim_right(char *text) {
    size_t length = text_trimmed_length(text, strlen(text));
    text[length] = 0;
    return length > 0;
}

int text_is_blank(const char *text) {
    for (; *text; text++) {
        if (!text_is_space((unsigned char)*text)) return 0;
    }
    return 1;
}

int text_token(char *token, size_t size, char *text) {
    text_trim(text);
    size_t length = 0;
    while (text[length] && !text_is_space((unsigned char)text[length])) length++;
    if (size > 0) {
        size_t kept = length < size - 1 ? length : size - 1;
        memcpy(token, text, kept);
        token[kept] = 0;
    }
    memmove(text, text + length, strlen(text + length) + 1);
    text_trim(text);
    return (int)length;
}

void text_delimited(char *out, size_t size, char *text) {
    if (size > 0) out[0] = 0;
    if (text[0] == 0) return;
    const char *inner = text + 1;
    const char *close = strchr(inner, text[0]);
    size_t length = close ? (size_t)(close - inner) : strlen(inner);
    if (size > 0) {
        size_t kept = length < size - 1 ? length : size - 1;
        memcpy(out, inner, kept);
        out[kept] = 0;
    }
    // Without a closing delimiter nothing is left.
    if (close == NULL) {
        text[0] = 0;
        return;
    }
    memmove(text, close, strlen(close) + 1);
}

// A negative position or count changes nothing.
void text_delete(char *text, int position, int count) {
    if (position < 0 || count <= 0) return;
    size_t length = strlen(text);
    if ((size_t)position >= length) return;
    size_t rest = length - (size_t)position;
    size_t gone = (size_t)count < rest ? (size_t)count : rest;
    memmove(text + position, text + position + gone, rest - gone + 1);
}

// insertion must not lie inside text's area.
void text_insert(const char *insertion, char *text, int position, size_t size) {
    if (size == 0) return;
    size_t room = size - 1;
    size_t length = strnlen(text, room);
    text[length] = 0;
    size_t at = position < 0 ? 0 : (size_t)position;
    if (at > length) at = length;
    size_t added = strlen(insertion);
    if (added > room - at) added = room - at;
    size_t tail = length - at;
    if (tail > room - at - added) tail = room - at - added;
    memmove(text + at + added, text + at, tail);
    memcpy(text + at, insertion, added);
    text[at + added + tail] = 0;
}

void text_pad(char *out, const char *text, int length) {
    int i = 0;
    for (; i < length && text[i]; i++) out[i] = text[i];
    for (; i < length; i++) out[i] = ' ';
    out[i] = 0;
}

int text_copy_max(char *out, const char *text, int count) {
    int i = 0;
    for (; i < count && text[i]; i++) out[i] = text[i];
    out[i] = 0;
    return i;
}

void text_fill(char *out, int count, int character) {
    if (count < 0) count = 0;
    memset(out, character, (size_t)count);
    out[count] = 0;
}

// Works on the byte value (a negative char is taken modulo 256) and gives the byte value 0-255.
// 247 is the division sign, not a letter, and stays as it is.
int text_upper_char(int c) {
    c &= 0xFF;
    if ((c >= 'a' && c <= 'z') || (c >= 224 && c <= 254 && c != 247)) return c - 32;
    return c;
}

void text_upper(char *text) {
    for (; *text; text++) *text = (char)text_upper_char((unsigned char)*text);
}

int text_find(const char *text, const char *sought) {
    const char *found = strstr(text, sought);
    return found ? (int)(found - text) : -1;
}

// The terminating zero is not a character of the text: looking for 0 gives -1.
int text_index(const char *text, int character) {
    character &= 0xFF;
    for (int i = 0; text[i]; i++) {
        if ((unsigned char)text[i] == character) return i;
    }
    return -1;
}

// The result is built in a local area of the largest possible length and copied back, so each
// character is looked at once; an overlong text is cut without reading past the limit.
void text_expand_tabs(char *text, size_t size) {
    if (size == 0) return;
    size_t limit = size - 1 < (size_t)TEXT_TABS_MAX ? size - 1 : (size_t)TEXT_TABS_MAX;
    size_t first_tab = 0;
    while (first_tab < limit && text[first_tab] && text[first_tab] != '\t') first_tab++;
    if (first_tab == limit || text[first_tab] == 0) {
        text[first_tab] = 0;
        return;
    }
    char result[TEXT_TABS_MAX + 1];
    memcpy(result, text, first_tab);
    size_t column = first_tab;
    for (const char *in = text + first_tab; *in && column < limit; in++) {
        if (*in != '\t') {
            result[column++] = *in;
            continue;
        }
        size_t stop = (column / 8 + 1) * 8;
        if (stop > limit) stop = limit;
        while (column < stop) result[column++] = ' ';
    }
    memcpy(text, result, column);
    text[column] = 0;
}

static int hex_digit(int c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Stops growing at 0x7FFFFFFF, so the result is the same where long has 32 bits (Windows) and
// where it has 64.
long hex_value(const char *text) {
    while (text_is_space((unsigned char)*text)) text++;
    long value = 0;
    for (int digit; (digit = hex_digit((unsigned char)*text)) >= 0; text++) {
        value = value > (0x7FFFFFFFL - digit) / 16 ? 0x7FFFFFFFL : value * 16 + digit;
    }
    return value;
}

static int matches_one(int pattern_char, int text_char) {
    if (pattern_char == '?') return 1;
    if (pattern_char == '#') return text_char >= '0' && text_char <= '9';
    return text_upper_char(pattern_char) == text_upper_char(text_char);
}

// Every pattern character but '*' consumes exactly one text character, so trying the stars
// shortest first and, on a mismatch, only lengthening the latest star gives the same answer as
// the full recursive search – without its exponential cost on patterns with many stars.
int text_match(const char *pattern, const char *text) {
    const char *star = NULL;
    const char *star_text = NULL;
    while (*text) {
        if (*pattern == '*') {
            star = ++pattern;
            star_text = text;
        } else if (*pattern && matches_one((unsigned char)*pattern, (unsigned char)*text)) {
            pattern++;
            text++;
        } else if (star) {
            pattern = star;
            text = ++star_text;
        } else {
            return 0;
        }
    }
    while (*pattern == '*') pattern++;
    return *pattern == 0;
}
