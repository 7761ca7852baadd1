// Reading a Palm database: the header, and the records through the record list. Nothing is read
// outside the file, and no record is copied beyond the caller's buffer.
#include "frame/bfile.h"
#include "handheld/pdb.h"
#include <string.h>

// The one database open for reading.
static struct {
    bfile file;
    bool open;
    pdb_header header;
    int64_t size;
} reader;

static uint32_t number_at(const unsigned char *bytes, int count) {
    uint32_t value = 0;
    for (int i = 0; i < count; i++) value = value << 8 | bytes[i];
    return value;
}

static void parse_header(pdb_header *header, const unsigned char *bytes) {
    memset(header, 0, sizeof *header);
    memcpy(header->name, bytes, PDB_NAME);
    header->attributes = number_at(bytes + 32, 2);
    header->version = number_at(bytes + 34, 2);
    header->created = number_at(bytes + 36, 4);
    header->modified = number_at(bytes + 40, 4);
    header->backed_up = number_at(bytes + 44, 4);
    header->modification_number = number_at(bytes + 48, 4);
    header->app_info = number_at(bytes + 52, 4);
    header->sort_info = number_at(bytes + 56, 4);
    memcpy(header->type, bytes + 60, 4);
    memcpy(header->creator, bytes + 64, 4);
    header->unique_id_seed = number_at(bytes + 68, 4);
    header->next_record_list = number_at(bytes + 72, 4);
    header->records = number_at(bytes + 76, 2);
}

// Where the record list ends and record data may begin.
static int64_t list_end(void) {
    return PDB_HEADER + (int64_t)PDB_ENTRY * reader.header.records;
}

int pdb_open(const char *path) {
    pdb_close();
    memset(&reader.header, 0, sizeof reader.header);
    reader.size = 0;
    if (bfile_open(&reader.file, path) < 0) return PDB_MISSING;
    reader.open = true;
    unsigned char bytes[PDB_HEADER];
    int result = bfile_seek_end(&reader.file);
    reader.size = bfile_tell(&reader.file);
    if (result == 0 && reader.size >= PDB_HEADER && bfile_seek(&reader.file, 0) == 0 &&
        bfile_read(&reader.file, bytes, PDB_HEADER) == 0) {
        parse_header(&reader.header, bytes);
        // A record list that does not fit the file means the header cannot be trusted.
        if (list_end() <= reader.size) return (int)reader.header.records;
    }
    pdb_close();
    return PDB_DAMAGED;
}

const pdb_header *pdb_header_read(void) {
    return &reader.header;
}

int64_t pdb_file_size(void) {
    return reader.size;
}

static int read_entry(int index, unsigned char *bytes) {
    return bfile_seek(&reader.file, PDB_HEADER + (int64_t)PDB_ENTRY * index) != 0 ||
                   bfile_read(&reader.file, bytes, PDB_ENTRY) != 0
               ? -1
               : 0;
}

int pdb_record_entry(int index, pdb_entry *entry) {
    memset(entry, 0, sizeof *entry);
    unsigned char bytes[PDB_ENTRY], next[PDB_ENTRY];
    if (!reader.open || index < 0 || (unsigned)index >= reader.header.records ||
        read_entry(index, bytes) != 0)
        return -1;
    entry->offset = number_at(bytes, 4);
    entry->attributes = bytes[4];
    entry->unique_id = number_at(bytes + 5, 3);
    entry->end = (uint32_t)(reader.size > UINT32_MAX ? UINT32_MAX : reader.size);
    if ((unsigned)index + 1 < reader.header.records && read_entry(index + 1, next) == 0) {
        uint32_t following = number_at(next, 4);
        if (following >= entry->offset && following <= entry->end) entry->end = following;
    }
    return 0;
}

int pdb_read_record(int index, char *buffer, int size) {
    if (size <= 0) return -1;
    buffer[0] = 0;
    pdb_entry entry;
    if (pdb_record_entry(index, &entry) != 0 || entry.offset < list_end() ||
        entry.offset > entry.end)
        return -1;
    uint32_t length = entry.end - entry.offset;
    if (length > (uint32_t)size - 1) length = (uint32_t)size - 1;
    if (bfile_seek(&reader.file, entry.offset) != 0 ||
        bfile_read(&reader.file, buffer, (long)length) != 0) {
        buffer[0] = 0;
        return -1;
    }
    buffer[length] = 0;
    return (int)length;
}

void pdb_close(void) {
    if (reader.open) bfile_close(&reader.file);
    reader.open = false;
}
