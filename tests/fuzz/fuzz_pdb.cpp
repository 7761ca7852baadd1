// Fuzzes the Palm database reader with arbitrary files: the header, every list entry and record
// into buffers of several sizes, and the conversion of the records into journal lines, read from
// memory. Nothing may read outside the file or write beyond a buffer, and every record stays one
// line.
#include "frame/bfile.h"
#include "handheld/palm.h"
#include "handheld/pdb.h"
#include "tests/fuzz/fuzz_support.h"
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static char database[128];

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    char folder[64];
    fuzz_setup(folder, sizeof folder, "pdb");
    snprintf(database, sizeof database, "%sZeiten.PDB", folder);
    return 0;
}

static void read_records(int count) {
    static const int sizes[] = {1, 7, PALM_RECORD_BUFFER, 4096};
    for (int i = -1; i <= count; i++) {
        pdb_entry entry;
        if (pdb_record_entry(i, &entry) == 0 && entry.end > pdb_file_size()) abort();
        for (int size : sizes) {
            char *buffer = (char *)malloc((size_t)size); // exact size: ASan sees any overrun
            int got = pdb_read_record(i, buffer, size);
            if (got >= size || (got < 0 && buffer[0] != 0)) abort();
            free(buffer);
        }
    }
}

// One journal line per record that can be read, whatever bytes the record holds.
static void convert_records(int count) {
    for (int i = 0; i < count; i++) {
        char record[PALM_RECORD_BUFFER], line[PALM_LINE_MAX];
        if (pdb_read_record(i, record, sizeof record) < 0) continue;
        palm_record_to_line(line, record);
        if (strnlen(line, PALM_LINE_MAX) >= PALM_LINE_MAX || strpbrk(line, "\r\n\x1a")) abort();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    bfile_memory_file(database, data, size);
    int count = pdb_open(database);
    if (count >= 0 && (count > 65535 || PDB_HEADER + 8 * (int64_t)count > (int64_t)size)) abort();
    (void)pdb_header_read()->name;
    read_records(count);
    convert_records(count);
    pdb_close();
    bfile_memory_file(nullptr, nullptr, 0);
    return 0;
}
