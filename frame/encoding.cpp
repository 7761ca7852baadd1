// Windows-1252 <-> UTF-8: kxcli's terminal output and arguments, and the files other programs
// read as UTF-8.
#include "frame/encoding.h"
#include "frame/cp1252.h"
#include <string.h>

// A byte the code page leaves free becomes '?'.
static unsigned code_point(unsigned char byte) {
    unsigned c = cp1252_code_point(byte);
    return c ? c : '?';
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
