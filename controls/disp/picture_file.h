// Bitmap and metafile files for the display control: read whole into a block, and checked
// before the system is given them, so that a damaged or hostile file draws nothing instead of
// making the system read outside the block.
#pragma once
#include <stddef.h>
#include <stdint.h>

enum {
    PICTURE_FILE_MAX = 64 * 1024 * 1024, // larger files are not read
    BITMAP_SIDE_MAX = 32767,
    BITMAP_PIXELS_MAX = 1 << 25,
    BITMAP_FILE_HEADER = 14,
    METAFILE_PLACEABLE_HEADER = 22,
};

// Reads the file into a zero-filled block from fmalloc (the caller returns it with ffree);
// 0, or -1 when it cannot be read, is empty or is larger than PICTURE_FILE_MAX.
int picture_read_file(const char *name, unsigned char **block, size_t *length);

// A packed device-independent bitmap: an info header, its colour table and the bits, which
// start bits_offset bytes after the header. entry_size is the size of a colour table entry
// (4 for RGB colours, 2 for palette indexes). 0 when everything the header describes lies
// inside size bytes and the header is plausible, else -1.
int dib_check(const unsigned char *dib, size_t size, size_t bits_offset, int entry_size);
// The bytes an info header and its colour table take, or 0 when the header is not plausible.
size_t dib_header_bytes(const unsigned char *dib, size_t size, int entry_size);

// A bitmap file: the file header, then the info header at BITMAP_FILE_HEADER; *bits_offset
// receives where the bits begin. 0, or -1.
int bitmap_file_check(const unsigned char *file, size_t length, size_t *bits_offset);

struct metafile_layout {
    size_t bits_offset; // where the metafile header begins
    size_t bits_size;   // bytes of the metafile, from its header to its end record
    int placeable;      // 1 with a placeable header and its bounding box
    int box[4];         // left, top, right, bottom
};

// A metafile file, with or without a placeable header: the header and every record must lie
// inside the file, each record must be one the display control plays and carry the
// parameters it needs, and the records must end with the end record. 0, or -1.
int metafile_check(const unsigned char *file, size_t length, metafile_layout *layout);
