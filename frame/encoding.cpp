// Windows-1252 <-> UTF-8: kxcli's terminal output and arguments, and the files other programs
// read as UTF-8.
#include "frame/encoding.h"
#include <string.h>

// Unicode code points of the bytes 0x80-0x9F in Windows-1252 (0 where the code page has none).
static const unsigned short high_controls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

static unsigned code_point(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0)
        return high_controls[byte - 0x80] ? high_controls[byte - 0x80] : '?';
    return byte;
}

void encoding_to_utf8(char *out, int size, const char *text) {
    int used = 0;
    for (const unsigned char *p = (const unsigned char *)text; *p; p++) {
        unsigned c = code_point(*p);
        char bytes[3];
        int n;
        if (c < 0x80) {
            bytes[0] = (char)c;
            n = 1;
        } else if (c < 0x800) {
            bytes[0] = (char)(0xC0 | (c >> 6));
            bytes[1] = (char)(0x80 | (c & 0x3F));
            n = 2;
        } else {
            bytes[0] = (char)(0xE0 | (c >> 12));
            bytes[1] = (char)(0x80 | ((c >> 6) & 0x3F));
            bytes[2] = (char)(0x80 | (c & 0x3F));
            n = 3;
        }
        if (used + n >= size) break;
        memcpy(out + used, bytes, (size_t)n);
        used += n;
    }
    if (size > 0) out[used] = 0;
}

// The Windows-1252 byte of a code point, '?' when the code page lacks it.
static unsigned char cp1252_byte(unsigned c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return (unsigned char)c;
    for (int i = 0; i < 32; i++)
        if (high_controls[i] == c) return (unsigned char)(0x80 + i);
    return '?';
}

void encoding_from_utf8(char *out, int size, const char *text) {
    int used = 0;
    const unsigned char *p = (const unsigned char *)text;
    while (*p && used + 1 < size) {
        unsigned c = *p++;
        int more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (more)
            c &= 0x3F >> more;
        else if (c >= 0x80)
            c = '?'; // a stray continuation byte
        for (; more > 0 && (*p & 0xC0) == 0x80; more--) c = (c << 6) | (*p++ & 0x3F);
        out[used++] = (char)(more ? '?' : cp1252_byte(c));
    }
    if (size > 0) out[used] = 0;
}
