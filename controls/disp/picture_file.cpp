// Bitmap and metafile files for the display control: reading and checking.
#include "controls/disp/picture_file.h"
#include "controls/disp/le_bytes.h"
#include "frame/bfile.h"
#include "frame/memory.h"

#include <string.h>

enum { READ_PIECE = 4096 };

int picture_read_file(const char *name, unsigned char **block, size_t *length) {
    *block = nullptr;
    *length = 0;
    bfile file;
    if (bfile_open(&file, name) < 0) return -1;
    int64_t size = -1;
    if (bfile_seek_end(&file) == 0) size = bfile_tell(&file);
    unsigned char *area = nullptr;
    if (size > 0 && size <= PICTURE_FILE_MAX) area = (unsigned char *)fmalloc(1, (size_t)size);
    int result = area && bfile_seek(&file, 0) == 0 ? 0 : -1;
    for (int64_t done = 0; result == 0 && done < size; done += READ_PIECE) {
        long piece = size - done < READ_PIECE ? (long)(size - done) : (long)READ_PIECE;
        result = bfile_read(&file, area + done, piece);
    }
    bfile_close(&file);
    if (result != 0) {
        ffree(area);
        return -1;
    }
    *block = area;
    *length = (size_t)size;
    return 0;
}

// What the info header of a packed bitmap says.
struct dib_info {
    int64_t width, height; // height negative for top-down rows
    unsigned bit_count;
    uint32_t compression, image_size;
    size_t table_end; // bytes of header, masks and colour table
};

enum { BI_RGB_ = 0, BI_RLE8_ = 1, BI_RLE4_ = 2, BI_BITFIELDS_ = 3, CORE_HEADER = 12 };

static int plausible_size(int64_t width, int64_t height) {
    int64_t rows = height < 0 ? -height : height;
    return width >= 1 && width <= BITMAP_SIDE_MAX && rows >= 1 && rows <= BITMAP_SIDE_MAX &&
           width * rows <= BITMAP_PIXELS_MAX;
}

// The old header of 12 bytes: 16-bit sizes, no compression, three-byte colour entries.
static int read_core_header(const unsigned char *dib, size_t size, int entry_size, dib_info *info) {
    if (size < CORE_HEADER || le_u16(dib + 8) != 1) return -1;
    info->width = le_u16(dib + 4);
    info->height = le_u16(dib + 6);
    info->bit_count = le_u16(dib + 10);
    info->compression = BI_RGB_;
    unsigned bits = info->bit_count;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return -1;
    size_t entries = bits <= 8 ? (size_t)1 << bits : 0;
    info->table_end = CORE_HEADER + entries * (entry_size == 4 ? 3 : 2);
    return plausible_size(info->width, info->height) ? 0 : -1;
}

static int known_compression(uint32_t compression, unsigned bits, int64_t height) {
    switch (compression) {
    case BI_RGB_:
        return 1;
    case BI_RLE8_:
        return bits == 8 && height > 0;
    case BI_RLE4_:
        return bits == 4 && height > 0;
    case BI_BITFIELDS_:
        return bits == 16 || bits == 32;
    default:
        return 0;
    }
}

static int read_info_header(const unsigned char *dib, size_t size, int entry_size, dib_info *info) {
    memset(info, 0, sizeof *info);
    if (size < 4) return -1;
    uint32_t header = le_u32(dib);
    if (header == CORE_HEADER) return read_core_header(dib, size, entry_size, info);
    if (header != 40 && header != 52 && header != 56 && header != 108 && header != 124) return -1;
    if (size < header || le_u16(dib + 12) != 1) return -1;
    info->width = (int32_t)le_u32(dib + 4);
    info->height = (int32_t)le_u32(dib + 8);
    info->bit_count = le_u16(dib + 14);
    info->compression = le_u32(dib + 16);
    info->image_size = le_u32(dib + 20);
    uint32_t used = le_u32(dib + 32);
    unsigned bits = info->bit_count;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return -1;
    if (!plausible_size(info->width, info->height)) return -1;
    if (!known_compression(info->compression, bits, info->height)) return -1;
    size_t masks = info->compression == BI_BITFIELDS_ && header == 40 ? 12 : 0;
    size_t entries = used;
    if (bits <= 8) {
        if (used > (1u << bits)) return -1;
        if (used == 0) entries = (size_t)1 << bits;
    } else if (used > 256) {
        return -1;
    }
    info->table_end = header + masks + entries * (size_t)entry_size;
    return 0;
}

size_t dib_header_bytes(const unsigned char *dib, size_t size, int entry_size) {
    dib_info info;
    return read_info_header(dib, size, entry_size, &info) == 0 ? info.table_end : 0;
}

int dib_check(const unsigned char *dib, size_t size, size_t bits_offset, int entry_size) {
    dib_info info;
    if (read_info_header(dib, size, entry_size, &info) != 0) return -1;
    if (info.table_end > bits_offset || bits_offset > size) return -1;
    uint64_t room = size - bits_offset;
    if (info.compression == BI_RLE8_ || info.compression == BI_RLE4_)
        return info.image_size > 0 && info.image_size <= room ? 0 : -1;
    uint64_t stride = ((uint64_t)info.width * info.bit_count + 31) / 32 * 4;
    uint64_t rows = (uint64_t)(info.height < 0 ? -info.height : info.height);
    return stride * rows <= room ? 0 : -1;
}

int bitmap_file_check(const unsigned char *file, size_t length, size_t *bits_offset) {
    *bits_offset = 0;
    if (length < BITMAP_FILE_HEADER + 4) return -1;
    uint32_t offset = le_u32(file + 10);
    if (offset < BITMAP_FILE_HEADER || offset > length) return -1;
    if (dib_check(file + BITMAP_FILE_HEADER, length - BITMAP_FILE_HEADER,
                  offset - BITMAP_FILE_HEADER, 4) != 0)
        return -1;
    *bits_offset = offset;
    return 0;
}
