// Palm database (PDB) files: a builder that collects text records in memory and writes them as a
// new database, and a reader that opens a database and hands out its records one by one.
// Integers in the file are big-endian; dates count seconds since 1904-01-01 00:00 local time.
#pragma once
#include <stdint.h>

enum {
    PDB_HEADER = 78, // bytes of the header
    PDB_ENTRY = 8,   // bytes of one record list entry
    PDB_NAME = 32,   // bytes of the name field (31 characters and a NUL)
    PDB_MAX_RECORDS = 10000,
    PDB_DATA_AREA = 60000, // bytes of the builder's data area
    PDB_DATA_FULL = 59000, // a data area holding this many bytes takes no further record
    PDB_RECORD_MAX = 1000, // bytes of one record, its NUL included
    PDB_ATTR_BACKUP = 8,
    PDB_DATE_TEXT = 19, // characters of "YYYY-MM-DD HH:MM:SS"
};

// Results of pdb_open besides a record count.
enum { PDB_MISSING = -1, PDB_DAMAGED = -2 };

// The header fields as stored in the file.
struct pdb_header {
    char name[PDB_NAME + 1];
    unsigned attributes, version;
    uint32_t created, modified, backed_up, modification_number;
    uint32_t app_info, sort_info;
    char type[5], creator[5];
    uint32_t unique_id_seed, next_record_list;
    unsigned records;
};

// One entry of the record list, and where the reader takes the record's bytes from.
struct pdb_entry {
    uint32_t offset;
    unsigned attributes;
    uint32_t unique_id;
    uint32_t end; // the next entry's offset, or the file size (see pdb_read_record)
};

// Seconds since 1904-01-01 00:00 of the present local minute (the seconds are always 0).
uint32_t pdb_date_now(void);
// "YYYY-MM-DD HH:MM:SS" of a date value (out holds PDB_DATE_TEXT + 1 bytes).
void pdb_date_text(char *out, uint32_t seconds);

// Whether the builder takes a further record after records records of fill bytes: below the
// record limit and below PDB_DATA_FULL (the record taken may reach past it; the area has room).
inline bool pdb_build_takes(long records, long fill) {
    return records < PDB_MAX_RECORDS && fill < PDB_DATA_FULL;
}

// Starts a build with an empty record index and data area; 0, or -1 when no memory was had.
int pdb_build_begin(void);
// Appends text (cut to PDB_RECORD_MAX - 1 characters) with its NUL as the next record; 0, or -1
// when the build is full (PDB_MAX_RECORDS records or PDB_DATA_FULL bytes) or was not begun.
int pdb_build_add(const char *text);
// Writes the database to path (named after the path's file name without extension) through a
// temporary file that replaces path once complete, then frees the build; 0, or -1 (path as it
// was).
int pdb_build_write(const char *path);

// Opens a database: its record count; PDB_MISSING when the file cannot be opened, PDB_DAMAGED
// when it is shorter than a header or its record list does not fit the file.
int pdb_open(const char *path);
// The header of the open database.
const pdb_header *pdb_header_read(void);
// The file size of the open database.
int64_t pdb_file_size(void);
// The list entry of record index; 0, or -1 when there is no such record.
int pdb_record_entry(int index, pdb_entry *entry);
// The bytes of record index into buffer (size bytes, always terminated): the record ends at the
// next entry's offset, or at the end of the file for the last record and for a next offset that
// lies before this one or beyond the file; what does not fit the buffer is cut. The number of
// bytes stored, or -1 (buffer empty) for an index out of range or a record that starts inside
// the header or beyond the file.
int pdb_read_record(int index, char *buffer, int size);
void pdb_close(void);
