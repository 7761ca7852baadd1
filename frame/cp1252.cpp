// Windows-1252 <-> Unicode code points.
#include "frame/cp1252.h"

// Unicode code points of the bytes 0x80-0x9F in Windows-1252 (0 where the code page has none).
static const unsigned short high_controls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

unsigned cp1252_code_point(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? high_controls[byte - 0x80] : byte;
}

unsigned char cp1252_byte(unsigned c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return (unsigned char)c;
    for (int i = 0; i < 32; i++)
        if (high_controls[i] && high_controls[i] == c) return (unsigned char)(0x80 + i);
    return '?';
}
