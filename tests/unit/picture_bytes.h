// Bitmap and metafile files built byte by byte for the tests of the display control.
#pragma once
#include <stdint.h>

#include <string>
#include <vector>

// A bitmap file of width x height pixels all of colour (0x00BBGGRR); bit_count 24 or 8 (the
// colour is palette entry 1); a negative height stores the rows top-down.
std::string bitmap_file(int width, int height, int bit_count, uint32_t colour);
// The same bitmap packed: info header, colour table and bits, without the file header.
std::string packed_bitmap(int width, int height, int bit_count, uint32_t colour);

void put16(std::string &bytes, int value);
void put32(std::string &bytes, uint32_t value);
void set32(std::string &bytes, size_t offset, uint32_t value);

// Metafile records, ended with the end record by file().
struct Metafile {
    std::string records;
    int objects = 0;
    void record(unsigned function, const std::vector<int> &params);
    // With a placeable header when box is given (left, top, right, bottom).
    std::string file(const int *box = nullptr) const;
};

// A metafile that fills the whole of its 100 x 100 window with a solid brush of colour.
std::string filled_metafile(uint32_t colour, bool placeable);
