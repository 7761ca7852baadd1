// Metafile files for the display control: the placeable header, the metafile header and every
// record checked before the system plays them. Only records whose parameters can be checked
// here are let through; a file with any other record draws nothing.
#include "controls/disp/picture_file.h"
#include "controls/disp/le_bytes.h"

#include <string.h>

enum {
    PLACEABLE_KEY = 0x9AC6CDD7u,
    META_HEADER = 18,
    RECORD_HEADER = 6,  // size in words (4 bytes) and function (2 bytes)
    LOGFONT_BYTES = 50, // what the system reads of a font record
    OBJECTS_MAX = 65536,
    DIB_RGB = 0,
    DIB_PAL = 1,
};

// How the parameters of a record are checked.
enum rule_kind {
    FIXED,        // at least `words` parameters
    POLY,         // count, then count points
    POLYPOLY,     // polygon count, point counts, then the points
    TEXT_OUT,     // length, string, y, x
    EXT_TEXT_OUT, // y, x, length, options, [rectangle], string, [widths]
    ESCAPE,       // function, byte count, bytes
    PALETTE,      // first or version, count, entries of two words
    FONT,         // LOGFONT16, read whole by the system
    DIB,          // `words` parameters, then a packed bitmap; `usage` says where the usage is
    BLT,          // old bitmap form: only the form without a bitmap is played
};

// Object table effect.
enum object_use { NO_OBJECT, CREATES, SELECTS, DELETES };

struct record_rule {
    unsigned function;
    unsigned char kind;
    unsigned char words;
    signed char usage; // DIB: parameter holding the colour usage, -1 for RGB colours
    unsigned char objects;
};

static const record_rule RULES[] = {
    {0x0000, FIXED, 0, 0, NO_OBJECT},        // end of file
    {0x001E, FIXED, 0, 0, NO_OBJECT},        // SaveDC
    {0x0035, FIXED, 0, 0, NO_OBJECT},        // RealizePalette
    {0x0037, PALETTE, 2, 0, NO_OBJECT},      // SetPaletteEntries
    {0x00F7, PALETTE, 2, 0, CREATES},        // CreatePalette
    {0x0102, FIXED, 1, 0, NO_OBJECT},        // SetBkMode
    {0x0103, FIXED, 1, 0, NO_OBJECT},        // SetMapMode
    {0x0104, FIXED, 1, 0, NO_OBJECT},        // SetROP2
    {0x0105, FIXED, 1, 0, NO_OBJECT},        // SetRelAbs
    {0x0106, FIXED, 1, 0, NO_OBJECT},        // SetPolyFillMode
    {0x0107, FIXED, 1, 0, NO_OBJECT},        // SetStretchBltMode
    {0x0108, FIXED, 1, 0, NO_OBJECT},        // SetTextCharacterExtra
    {0x0127, FIXED, 1, 0, NO_OBJECT},        // RestoreDC
    {0x012D, FIXED, 1, 0, SELECTS},          // SelectObject
    {0x012E, FIXED, 1, 0, NO_OBJECT},        // SetTextAlign
    {0x0139, FIXED, 1, 0, NO_OBJECT},        // ResizePalette
    {0x0142, DIB, 2, 1, CREATES},            // DibCreatePatternBrush
    {0x0149, FIXED, 2, 0, NO_OBJECT},        // SetLayout
    {0x01F0, FIXED, 1, 0, DELETES},          // DeleteObject
    {0x0201, FIXED, 2, 0, NO_OBJECT},        // SetBkColor
    {0x0209, FIXED, 2, 0, NO_OBJECT},        // SetTextColor
    {0x020A, FIXED, 2, 0, NO_OBJECT},        // SetTextJustification
    {0x020B, FIXED, 2, 0, NO_OBJECT},        // SetWindowOrg
    {0x020C, FIXED, 2, 0, NO_OBJECT},        // SetWindowExt
    {0x020D, FIXED, 2, 0, NO_OBJECT},        // SetViewportOrg
    {0x020E, FIXED, 2, 0, NO_OBJECT},        // SetViewportExt
    {0x020F, FIXED, 2, 0, NO_OBJECT},        // OffsetWindowOrg
    {0x0211, FIXED, 2, 0, NO_OBJECT},        // OffsetViewportOrg
    {0x0213, FIXED, 2, 0, NO_OBJECT},        // LineTo
    {0x0214, FIXED, 2, 0, NO_OBJECT},        // MoveTo
    {0x0220, FIXED, 2, 0, NO_OBJECT},        // OffsetClipRgn
    {0x0231, FIXED, 2, 0, NO_OBJECT},        // SetMapperFlags
    {0x0234, FIXED, 1, 0, SELECTS},          // SelectPalette
    {0x02FA, FIXED, 5, 0, CREATES},          // CreatePenIndirect
    {0x02FB, FONT, 9, 0, CREATES},           // CreateFontIndirect
    {0x02FC, FIXED, 4, 0, CREATES},          // CreateBrushIndirect
    {0x0324, POLY, 1, 0, NO_OBJECT},         // Polygon
    {0x0325, POLY, 1, 0, NO_OBJECT},         // Polyline
    {0x0410, FIXED, 4, 0, NO_OBJECT},        // ScaleWindowExt
    {0x0412, FIXED, 4, 0, NO_OBJECT},        // ScaleViewportExt
    {0x0415, FIXED, 4, 0, NO_OBJECT},        // ExcludeClipRect
    {0x0416, FIXED, 4, 0, NO_OBJECT},        // IntersectClipRect
    {0x0418, FIXED, 4, 0, NO_OBJECT},        // Ellipse
    {0x0419, FIXED, 4, 0, NO_OBJECT},        // FloodFill
    {0x041B, FIXED, 4, 0, NO_OBJECT},        // Rectangle
    {0x041F, FIXED, 4, 0, NO_OBJECT},        // SetPixel
    {0x0436, PALETTE, 2, 0, NO_OBJECT},      // AnimatePalette
    {0x0521, TEXT_OUT, 1, 0, NO_OBJECT},     // TextOut
    {0x0538, POLYPOLY, 1, 0, NO_OBJECT},     // PolyPolygon
    {0x0548, FIXED, 5, 0, NO_OBJECT},        // ExtFloodFill
    {0x061C, FIXED, 6, 0, NO_OBJECT},        // RoundRect
    {0x061D, FIXED, 6, 0, NO_OBJECT},        // PatBlt
    {0x0626, ESCAPE, 2, 0, NO_OBJECT},       // Escape
    {0x0817, FIXED, 8, 0, NO_OBJECT},        // Arc
    {0x081A, FIXED, 8, 0, NO_OBJECT},        // Pie
    {0x0830, FIXED, 8, 0, NO_OBJECT},        // Chord
    {0x0922, BLT, 9, 0, NO_OBJECT},          // BitBlt (old bitmap form)
    {0x0940, DIB, 8, -1, NO_OBJECT},         // DibBitBlt
    {0x0A32, EXT_TEXT_OUT, 4, 0, NO_OBJECT}, // ExtTextOut
    {0x0B23, BLT, 11, 0, NO_OBJECT},         // StretchBlt (old bitmap form)
    {0x0B41, DIB, 10, -1, NO_OBJECT},        // DibStretchBlt
    {0x0D33, DIB, 9, 0, NO_OBJECT},          // SetDIBitsToDevice
    {0x0F43, DIB, 11, 2, NO_OBJECT},         // StretchDIBits
};

static const record_rule *rule_of(unsigned function) {
    for (const record_rule &rule : RULES)
        if (rule.function == function) return &rule;
    return nullptr;
}

// One record as the walk sees it: its parameters and how many bytes of the metafile follow
// the start of the record.
struct record_view {
    unsigned function;
    const unsigned char *params;
    size_t words;     // parameter words inside the record
    size_t remaining; // bytes from the record's start to the end of the metafile
};

static int param(const record_view *record, size_t index) {
    return le_s16(record->params + 2 * index);
}

// The packed bitmap behind the first `first` parameter words; the bits follow its table.
static int check_dib(const record_view *record, size_t first, int usage) {
    if (usage != DIB_RGB && usage != DIB_PAL) return -1;
    const unsigned char *dib = record->params + 2 * first;
    size_t size = (record->words - first) * 2;
    int entry_size = usage == DIB_RGB ? 4 : 2;
    size_t header = dib_header_bytes(dib, size, entry_size);
    if (header == 0 || dib_check(dib, size, header, entry_size) != 0) return -1;
    // SetDIBitsToDevice reads as many rows as its scan count says.
    if (record->function == 0x0D33) {
        long rows = le_u32(dib) == 12 ? (long)le_u16(dib + 6) : (long)(int32_t)le_u32(dib + 8);
        int scans = param(record, 1);
        if (scans < 0 || scans > (rows < 0 ? -rows : rows)) return -1;
    }
    return 0;
}

static int check_counted(const record_view *record, const record_rule *rule) {
    size_t words = record->words;
    switch (rule->kind) {
    case POLY: {
        int count = param(record, 0);
        return count >= 0 && 1 + 2 * (size_t)count <= words ? 0 : -1;
    }
    case POLYPOLY: {
        int polygons = param(record, 0);
        if (polygons < 0 || 1 + (size_t)polygons > words) return -1;
        size_t points = 0;
        for (int i = 0; i < polygons; i++) {
            int count = param(record, 1 + (size_t)i);
            if (count < 0) return -1;
            points += (size_t)count;
        }
        return 1 + (size_t)polygons + 2 * points <= words ? 0 : -1;
    }
    case TEXT_OUT: {
        int length = param(record, 0);
        return length >= 0 && 1 + ((size_t)length + 1) / 2 + 2 <= words ? 0 : -1;
    }
    case EXT_TEXT_OUT: {
        int length = param(record, 2);
        size_t rectangle = (le_u16(record->params + 6) & 0x0006) ? 4 : 0;
        return length >= 0 && 4 + rectangle + ((size_t)length + 1) / 2 <= words ? 0 : -1;
    }
    case ESCAPE: {
        int bytes = param(record, 1);
        return bytes >= 0 && 2 + ((size_t)bytes + 1) / 2 <= words ? 0 : -1;
    }
    case PALETTE: {
        int count = param(record, 1);
        return count >= 0 && 2 + 2 * (size_t)count <= words ? 0 : -1;
    }
    default:
        return 0;
    }
}

static int check_params(const record_view *record, const record_rule *rule) {
    if (record->words < rule->words) return -1;
    switch (rule->kind) {
    case FONT:
        return RECORD_HEADER + LOGFONT_BYTES <= record->remaining ? 0 : -1;
    case BLT:
        return record->words == rule->words ? 0 : -1;
    case DIB: {
        // DibBitBlt and DibStretchBlt without a bitmap carry one reserved word more.
        size_t plain = ((record->function >> 8) & 0xFF);
        if (rule->usage < 0 && record->words == plain) return 0;
        int usage = rule->usage < 0 ? (int)DIB_RGB : param(record, (size_t)rule->usage);
        return check_dib(record, rule->words, usage);
    }
    default:
        return check_counted(record, rule);
    }
}

// The object table of playback: creating takes the first free slot, deleting frees it, and
// selecting or deleting must name a slot of the table.
struct object_table {
    unsigned slots;
    unsigned char used[OBJECTS_MAX / 8];
};

static int use_object(object_table *table, const record_view *record, int use) {
    if (use == CREATES) {
        for (unsigned i = 0; i < table->slots; i++) {
            if (table->used[i / 8] & (1u << (i % 8))) continue;
            table->used[i / 8] |= (unsigned char)(1u << (i % 8));
            return 0;
        }
        return -1;
    }
    unsigned index = le_u16(record->params);
    if (index >= table->slots) return -1;
    if (use == DELETES) table->used[index / 8] &= (unsigned char)~(1u << (index % 8));
    return 0;
}

// Walks the records of a metafile of size bytes (header included); 0 when all are playable
// and the end record is reached.
static int check_records(const unsigned char *meta, size_t size) {
    object_table table;
    memset(&table, 0, sizeof table);
    table.slots = le_u16(meta + 10);
    size_t at = META_HEADER;
    while (size - at >= RECORD_HEADER) {
        uint32_t record_words = le_u32(meta + at);
        if (record_words < 3 || record_words > (size - at) / 2) return -1;
        record_view record = {le_u16(meta + at + 4), meta + at + RECORD_HEADER,
                              (size_t)record_words - 3, size - at};
        const record_rule *rule = rule_of(record.function);
        if (!rule || check_params(&record, rule) != 0) return -1;
        if (rule->objects != NO_OBJECT && use_object(&table, &record, rule->objects) != 0)
            return -1;
        if (record.function == 0) return 0;
        at += (size_t)record_words * 2;
    }
    return -1;
}

int metafile_check(const unsigned char *file, size_t length, metafile_layout *layout) {
    memset(layout, 0, sizeof *layout);
    if (length >= 4 && le_u32(file) == PLACEABLE_KEY) {
        if (length < METAFILE_PLACEABLE_HEADER) return -1;
        layout->placeable = 1;
        for (int i = 0; i < 4; i++) layout->box[i] = le_s16(file + 6 + 2 * i);
        layout->bits_offset = METAFILE_PLACEABLE_HEADER;
    }
    const unsigned char *meta = file + layout->bits_offset;
    size_t available = length - layout->bits_offset;
    if (available < META_HEADER) return -1;
    unsigned type = le_u16(meta), header_words = le_u16(meta + 2), version = le_u16(meta + 4);
    uint64_t size = (uint64_t)le_u32(meta + 6) * 2;
    if ((type != 1 && type != 2) || header_words != 9 || (version != 0x100 && version != 0x300))
        return -1;
    if (size < META_HEADER || size > available) return -1;
    if (check_records(meta, (size_t)size) != 0) return -1;
    layout->bits_size = (size_t)size;
    return 0;
}
