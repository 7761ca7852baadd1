// Building a Palm database of text records: the records collected in memory, then written as
// header, record list, two zero bytes and data area.
#include "frame/bfile.h"
#include "frame/memory.h"
#include "frame/path.h"
#include "frame/text.h"
#include "handheld/pdb.h"
#include <stdio.h>
#include <string.h>

static const char TYPE[] = "DATA";
static const char CREATOR[] = "Kvxr";

// The one build in progress: where each record starts in the data area, and the area itself.
static struct {
    uint32_t *starts;
    char *data;
    int records;
    int fill;
} build;

static void build_free(void) {
    ffree(build.starts);
    ffree(build.data);
    memset(&build, 0, sizeof build);
}

int pdb_build_begin(void) {
    build_free();
    build.starts = (uint32_t *)fmalloc(PDB_MAX_RECORDS, sizeof(uint32_t));
    build.data = (char *)fmalloc(PDB_DATA_AREA, 1);
    if (build.starts && build.data) return 0;
    build_free();
    return -1;
}

int pdb_build_add(const char *text) {
    if (!build.data || !pdb_build_takes(build.records, build.fill)) return -1;
    // At most PDB_RECORD_MAX bytes below PDB_DATA_FULL always fit the area.
    int length = text_copy_max(build.data + build.fill, text, PDB_RECORD_MAX - 1);
    build.starts[build.records++] = (uint32_t)build.fill;
    build.fill += length + 1;
    return 0;
}

// The database name: the file name without folder and extension, at most 31 characters.
static void name_from_path(char *name, const char *path) {
    char base[PATH_MAX_TEXT + 1];
    text_copy_max(base, path + path_name_index(path), PATH_MAX_TEXT);
    path_drop_ext(base);
    memset(name, 0, PDB_NAME);
    text_copy_max(name, base, PDB_NAME - 1);
}

static int put_number(bfile *file, uint32_t value, int bytes) {
    int result = 0;
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        result |= bfile_putc(file, (int)(value >> shift & 0xFF));
    return result;
}

static int write_database(bfile *file, const char *path) {
    char name[PDB_NAME];
    name_from_path(name, path);
    uint32_t now = pdb_date_now();
    int result = bfile_write(file, name, PDB_NAME);
    result |= put_number(file, PDB_ATTR_BACKUP, 2);
    result |= put_number(file, 1, 2);   // version
    result |= put_number(file, now, 4); // created
    result |= put_number(file, now, 4); // modified
    result |= put_number(file, 0, 4);   // last backup
    result |= put_number(file, 1, 4);   // modification number
    result |= put_number(file, 0, 4);   // application info
    result |= put_number(file, 0, 4);   // sort info
    result |= bfile_write(file, TYPE, 4);
    result |= bfile_write(file, CREATOR, 4);
    result |= put_number(file, 0, 4); // unique id seed
    result |= put_number(file, 0, 4); // next record list
    result |= put_number(file, (uint32_t)build.records, 2);
    uint32_t data_start = PDB_HEADER + 2 + PDB_ENTRY * (uint32_t)build.records;
    for (int i = 0; i < build.records; i++) {
        result |= put_number(file, data_start + build.starts[i], 4);
        result |= put_number(file, 0, 1);           // record attributes
        result |= put_number(file, (uint32_t)i, 3); // unique id: the index
    }
    result |= put_number(file, 0, 2);
    result |= bfile_write(file, build.data, build.fill);
    return result;
}

int pdb_build_write(const char *path) {
    int result = -1;
    bfile file;
    if (build.data && bfile_replace_begin(&file, path) >= 0)
        result = bfile_replace_commit(&file, path, write_database(&file, path));
    build_free();
    return result;
}
