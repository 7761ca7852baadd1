// Bitmap and metafile files built byte by byte for the tests of the display control.
#include "picture_bytes.h"

void put16(std::string &bytes, int value) {
    bytes += (char)(value & 0xFF);
    bytes += (char)((value >> 8) & 0xFF);
}

void put32(std::string &bytes, uint32_t value) {
    put16(bytes, (int)(value & 0xFFFF));
    put16(bytes, (int)(value >> 16));
}

void set32(std::string &bytes, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; i++) bytes[offset + i] = (char)((value >> (8 * i)) & 0xFF);
}

std::string packed_bitmap(int width, int height, int bit_count, uint32_t colour) {
    std::string bytes;
    int rows = height < 0 ? -height : height;
    int stride = (width * bit_count + 31) / 32 * 4;
    int entries = bit_count <= 8 ? 1 << bit_count : 0;
    put32(bytes, 40);
    put32(bytes, (uint32_t)width);
    put32(bytes, (uint32_t)height);
    put16(bytes, 1);
    put16(bytes, bit_count);
    put32(bytes, 0);
    put32(bytes, (uint32_t)(stride * rows));
    put32(bytes, 2835);
    put32(bytes, 2835);
    put32(bytes, 0);
    put32(bytes, 0);
    // Colour table entries hold blue, green and red in this order.
    uint32_t entry = (colour & 0xFF) << 16 | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
    for (int i = 0; i < entries; i++) put32(bytes, i == 1 ? entry : 0);
    for (int y = 0; y < rows; y++) {
        std::string row;
        for (int x = 0; x < width; x++) {
            if (bit_count == 8) {
                row += (char)1;
            } else {
                row += (char)((colour >> 16) & 0xFF);
                row += (char)((colour >> 8) & 0xFF);
                row += (char)(colour & 0xFF);
            }
        }
        row.resize((size_t)stride, 0);
        bytes += row;
    }
    return bytes;
}

std::string bitmap_file(int width, int height, int bit_count, uint32_t colour) {
    std::string dib = packed_bitmap(width, height, bit_count, colour);
    int entries = bit_count <= 8 ? 1 << bit_count : 0;
    std::string bytes = "BM";
    put32(bytes, (uint32_t)(14 + dib.size()));
    put32(bytes, 0);
    put32(bytes, (uint32_t)(14 + 40 + 4 * entries));
    return bytes + dib;
}

void Metafile::record(unsigned function, const std::vector<int> &params) {
    put32(records, (uint32_t)(3 + params.size()));
    put16(records, (int)function);
    for (int value : params) put16(records, value);
}

std::string Metafile::file(const int *box) const {
    std::string bytes;
    if (box) {
        put32(bytes, 0x9AC6CDD7u);
        put16(bytes, 0);
        for (int i = 0; i < 4; i++) put16(bytes, box[i]);
        put16(bytes, 1440);
        put32(bytes, 0);
        put16(bytes, 0);
    }
    std::string body = records;
    put32(body, 3);
    put16(body, 0);
    put16(bytes, 1);
    put16(bytes, 9);
    put16(bytes, 0x300);
    put32(bytes, (uint32_t)((18 + body.size()) / 2));
    put16(bytes, objects);
    put32(bytes, 0);
    put16(bytes, 0);
    return bytes + body;
}

std::string filled_metafile(uint32_t colour, bool placeable) {
    Metafile meta;
    meta.objects = 1;
    meta.record(0x020B, {0, 0});                                              // SetWindowOrg
    meta.record(0x020C, {100, 100});                                          // SetWindowExt (y, x)
    meta.record(0x02FC, {0, (int)(colour & 0xFFFF), (int)(colour >> 16), 0}); // solid brush
    meta.record(0x012D, {0});                                                 // select it
    meta.record(0x061D, {0x0021, 0x00F0, 100, 100, 0, 0}); // PatBlt PATCOPY, all of it
    int box[4] = {0, 0, 100, 100};
    return meta.file(placeable ? box : nullptr);
}
