// Raw file operations on the runtime's file handles (binary, shared for reading and writing by
// others), file times, file copy and directory paths.
#pragma once
#include <stdint.h>
#include "frame/dates.h"

enum file_mode { FILE_READ = 0, FILE_READ_WRITE = 2 };
enum file_whence { FILE_FROM_START = 0, FILE_FROM_HERE = 1, FILE_FROM_END = 2 };

// Mode 2 read and write (falling back to read only), 0 read only. The handle, or -1; only plain
// files are opened (a pipe, a device or a folder never, and without waiting for a peer).
int file_open(const char *name, int mode);
// Opens a plain file for writing at its end only. The handle, or -1.
int file_open_append(const char *name);
// Creates the file or truncates it, open for read and write. The handle, or -1.
int file_create(const char *name);
// Creates a file that does not exist yet, open for read and write, never through a link. It gets
// the permissions (and, where the system allows, the owner) of the file like when that exists.
// The handle, or -1 when name exists or cannot be made.
int file_create_new(const char *name, const char *like);
// Cuts or extends the file to size bytes; 0, or -1.
int file_truncate(int handle, int64_t size);
int file_close(int handle);
// Bytes read (0 at the end), or -1.
long file_read(int handle, void *area, long count);
// Bytes written, or -1.
long file_write(int handle, const void *area, long count);
// The new offset, or -1.
int64_t file_seek(int handle, int64_t offset, int whence);
int file_delete(const char *name);

enum { FILE_TEMPORARY_PATH = 300 };
// The temporary file beside name through which name is replaced: name + ".new".
void file_temporary_name(char *out, const char *name);
// 1 when name may be replaced: no file is there yet, or a plain file the user may write.
// Anything else (a folder, a pipe, a read-only file) is named in the status line; 0.
int file_replaceable(const char *name);
// Begins replacing name whole: its temporary file made new (never through a link) with the
// permissions of like, after a left-over there (of a killed run, or a link put in its place) is
// removed; callers that share name with other writers hold its lock. The handle, or -1.
int file_replace_start(const char *name, const char *like);
// Ends it once the caller has closed the handle: with result 0 the temporary file takes the place
// of name, otherwise (or when that fails) it is removed. 0, or -1 with name as it was.
int file_replace_end(const char *name, int result);
// 1 when the file can be opened (read and write, or read only), else 0.
int file_exists(const char *name);
// The end offset, or -1 when the file cannot be opened.
int64_t file_size(const char *name);
// Modification time as local time; all zero when it cannot be converted; -1 when the file
// cannot be examined.
int file_time_get(const char *name, filetime_rec *time);
int file_time_set(const char *name, const filetime_rec *time);
// Copies source onto target with the source's time and attributes, through a temporary file that
// replaces target once it is whole (never written through a link); 0, or -1 with target as it
// was. A target that is no plain file the user may write is refused.
int file_copy(const char *source, const char *target);
// Creates every directory of path: 0 done, 1 no such drive, 2 cannot create, 3 cannot enter.
int make_path(const char *path);
