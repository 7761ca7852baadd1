// Primitives of the operating system that the portable core needs beyond the named file and
// directory operations; one implementation per platform (platform_posix.cpp, platform_win32.cpp).
#pragma once
#include <stddef.h>

struct platform_time {
    int year, month, day, hour, minute, second;
};

// Zero-filled memory block from the system (the global heap on Windows); NULL when none.
void *platform_block_alloc(size_t bytes);
// 0, or -1 when block was not obtained from platform_block_alloc.
int platform_block_free(void *block);

// The local date and time of the system clock (tests set the clock module instead).
void platform_local_time(platform_time *now);

// Standard output and error pass bytes unchanged (no line-end translation on Windows), so
// command-line output is the same in every build.
void platform_binary_stdio(void);

// The id of the running process (unique names for temporary files).
long platform_process_id(void);

// Full path of the running program file; 0, or -1.
int platform_program_path(char *out, size_t size);

enum { PATH_NONE = 0, PATH_FILE = 1, PATH_DIRECTORY = 2, PATH_OTHER = 3 };
// 0 no such path, 1 a plain file, 2 a directory, 3 anything else (a pipe, a device).
int platform_path_kind(const char *name);
// 1 when the user may write the existing file name, else 0.
int platform_file_writable(const char *name);

// File attributes in the system's own form (Windows attribute bits, POSIX mode bits); -1 on
// failure.
long platform_file_attributes(const char *name);
int platform_set_file_attributes(const char *name, long attributes);

// A lock file: opened (created when missing, never through a link), tried without waiting,
// closed (which releases it). The handle or -1; try gives 0 when had, 1 when another holds it,
// -1 on failure.
long long platform_lock_open(const char *name);
int platform_lock_try(long long lock);
void platform_lock_close(long long lock);
// Waits the given milliseconds.
void platform_sleep(int milliseconds);

// Forces the written data of an open handle to the disk; 0, or -1.
int platform_file_sync(int handle);
// Puts the file source in place of target in one step (target may exist); 0, or -1.
int platform_file_replace(const char *source, const char *target);

// Text of the program's string table with the id into out (at most size-1 characters);
// the number of characters, 0 when the id has no text.
int platform_load_string(int id, char *out, int size);
