// Fuzzes the checks of bitmap and metafile files. Whatever a check lets through, the bytes
// that the system would then read (header, colour table, rows of bits, records) must lie inside
// the file; this target reads them itself, so the sanitizer sees any that do not.
#include "controls/disp/picture_file.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

static volatile unsigned sink;

static void touch(const unsigned char *bytes, size_t count) {
    unsigned sum = 0;
    for (size_t i = 0; i < count; i++) sum += bytes[i];
    sink = sink + sum;
}

static uint32_t u32(const unsigned char *p) {
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

// The rows of an uncompressed bitmap, computed here from the header on its own.
static void touch_bitmap(const unsigned char *dib, size_t bits_offset, size_t table_end) {
    touch(dib, table_end);
    if (u32(dib) == 12) {
        uint64_t width = dib[4] | dib[5] << 8, rows = dib[6] | dib[7] << 8, bits = dib[10];
        touch(dib + bits_offset, (size_t)((width * bits + 31) / 32 * 4 * rows));
        return;
    }
    uint32_t compression = u32(dib + 16);
    int64_t height = (int32_t)u32(dib + 8);
    uint64_t width = u32(dib + 4), bits = dib[14], rows = height < 0 ? -height : height;
    if (compression == 1 || compression == 2)
        touch(dib + bits_offset, u32(dib + 20));
    else
        touch(dib + bits_offset, (size_t)((width * bits + 31) / 32 * 4 * rows));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    size_t bits;
    if (bitmap_file_check(data, size, &bits) == 0) {
        size_t table_end =
            dib_header_bytes(data + BITMAP_FILE_HEADER, size - BITMAP_FILE_HEADER, 4);
        if (table_end == 0 || bits > size) abort();
        touch_bitmap(data + BITMAP_FILE_HEADER, bits - BITMAP_FILE_HEADER, table_end);
    }
    static const int ENTRY_SIZES[] = {2, 4};
    for (int entry_size : ENTRY_SIZES) {
        size_t table_end = dib_header_bytes(data, size, entry_size);
        if (table_end && dib_check(data, size, table_end, entry_size) == 0)
            touch_bitmap(data, table_end, table_end);
    }
    metafile_layout layout;
    if (metafile_check(data, size, &layout) == 0) {
        if (layout.bits_offset + layout.bits_size > size) abort();
        touch(data + layout.bits_offset, layout.bits_size);
    }
    return 0;
}
