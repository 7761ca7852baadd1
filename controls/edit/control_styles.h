// What the four control libraries share inside: the public styles and messages, the number
// reading of their messages and the frame kind of a style.
#pragma once
#include "controls/controls.h"

#include <stdint.h>

// A decimal integer with an optional sign after optional white space, as the runtime's atoi
// reads it; anything after the digits is ignored, no digits give 0, and the value saturates
// at +-2147483647 instead of overflowing.
int control_int(const char *word);

// The frame kind of a style (0 to 3).
inline int control_frame_kind(uint32_t style) {
    return (int)(style & TS_FRAME);
}
