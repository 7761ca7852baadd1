// Little-endian numbers inside file bytes.
#pragma once
#include <stdint.h>

inline uint32_t le_u32(const unsigned char *p) {
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}
inline unsigned le_u16(const unsigned char *p) {
    return (unsigned)p[0] | (unsigned)p[1] << 8;
}
inline int le_s16(const unsigned char *p) {
    return (int16_t)le_u16(p);
}
