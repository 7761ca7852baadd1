// The platform layer on POSIX systems (the native build): file handles, file times and
// attributes, directories, local time, memory blocks and the compiled-in string table.
#include "frame/app.h"
#include "frame/fault.h"
#include "frame/files.h"
#include "frame/path.h"
#include "frame/platform.h"
#include <errno.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

// Opens without waiting (a pipe would wait for a writer) and keeps the handle only for a plain
// file.
static int open_plain(const char *name, int flags) {
    int handle = open(name, flags | O_CLOEXEC | O_NONBLOCK);
    if (handle < 0) return -1;
    struct stat info;
    if (fstat(handle, &info) != 0 || !S_ISREG(info.st_mode) ||
        fcntl(handle, F_SETFL, fcntl(handle, F_GETFL) & ~O_NONBLOCK) != 0) {
        close(handle);
        return -1;
    }
    return handle;
}

int file_open(const char *name, int mode) {
    int handle = -1;
    if (mode == FILE_READ_WRITE) handle = open_plain(name, O_RDWR);
    if (handle < 0) handle = open_plain(name, O_RDONLY);
    return handle;
}

int file_open_append(const char *name) {
    return open_plain(name, O_WRONLY | O_APPEND);
}

int file_create(const char *name) {
    return open(name, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
}

int file_create_new(const char *name, const char *like) {
    struct stat model;
    bool modelled = like && stat(like, &model) == 0 && S_ISREG(model.st_mode);
    // Readable by the owner alone until it has the owner and rights of the file it replaces.
    int handle =
        open(name, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, modelled ? 0600 : 0666);
    if (handle < 0 || !modelled) return handle;
    // Only the superuser can give a file to another owner.
    if ((geteuid() == 0 && fchown(handle, model.st_uid, model.st_gid) != 0) ||
        fchmod(handle, model.st_mode & 0777) != 0) {
        close(handle);
        unlink(name);
        return -1;
    }
    return handle;
}

int file_truncate(int handle, int64_t size) {
    if (fault_strike()) return -1;
    return ftruncate(handle, (off_t)size) == 0 ? 0 : -1;
}

int file_close(int handle) {
    return close(handle) == 0 ? 0 : -1;
}

long file_read(int handle, void *area, long count) {
    ssize_t n;
    do n = read(handle, area, (size_t)count);
    while (n < 0 && errno == EINTR);
    return (long)n;
}

long file_write(int handle, const void *area, long count) {
    const char *bytes = (const char *)area;
    long done = 0;
    // A failure made on purpose writes half, as a full disk would.
    if (fault_strike()) {
        if (count > 1 && write(handle, bytes, (size_t)(count / 2)) < 0) return -1;
        errno = ENOSPC;
        return -1;
    }
    while (done < count) {
        ssize_t n = write(handle, bytes + done, (size_t)(count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return done ? done : -1;
        done += n;
    }
    return done;
}

int64_t file_seek(int handle, int64_t offset, int whence) {
    static const int whences[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (whence < 0 || whence > 2) return -1;
    return (int64_t)lseek(handle, (off_t)offset, whences[whence]);
}

int file_delete(const char *name) {
    return unlink(name) == 0 ? 0 : -1;
}

int file_time_get(const char *name, filetime_rec *time) {
    struct stat info;
    memset(time, 0, sizeof *time);
    if (stat(name, &info) != 0) return -1;
    struct tm local;
    if (!localtime_r(&info.st_mtime, &local) || local.tm_year < 0 || local.tm_year > 255) return 0;
    time->year = (unsigned char)local.tm_year;
    time->month = (unsigned char)(local.tm_mon + 1);
    time->day = (unsigned char)local.tm_mday;
    time->hour = (unsigned char)local.tm_hour;
    time->minute = (unsigned char)local.tm_min;
    time->second = (unsigned char)local.tm_sec;
    return 0;
}

int file_time_set(const char *name, const filetime_rec *time) {
    struct tm local;
    memset(&local, 0, sizeof local);
    local.tm_year = time->year;
    local.tm_mon = time->month - 1;
    local.tm_mday = time->day;
    local.tm_hour = time->hour;
    local.tm_min = time->minute;
    local.tm_sec = time->second;
    local.tm_isdst = -1;
    struct timespec times[2];
    times[0].tv_sec = times[1].tv_sec = mktime(&local);
    times[0].tv_nsec = times[1].tv_nsec = 0;
    if (times[0].tv_sec == (time_t)-1) return -1;
    return utimensat(AT_FDCWD, name, times, 0) == 0 ? 0 : -1;
}

int current_dir(char *out, size_t size) {
    if (size == 0) return -1;
    if (!getcwd(out, size)) {
        out[0] = 0;
        return -1;
    }
    return 0;
}

int change_dir(const char *path) {
    return chdir(path) == 0 ? 0 : -1;
}

int make_dir(const char *path) {
    return mkdir(path, 0777) == 0 ? 0 : -1;
}

// Every block starts behind a header telling how it was obtained. Where page faults are dear (a
// virtual machine: 10 us for each 4 KB page on ours) they cost the reports more than their work:
// - a block of HUGE_BLOCK bytes or more (a report's chunks of text, a walk's file buffers), filled
//   once each, is mapped on its own on a boundary of the system's large pages and asked to be
//   backed by them;
// - a block of LAZY_BLOCK bytes or more (a stretch's sums, most of whose room stays unused) is
//   mapped on its own too, so that its pages are zeroed as they are first touched, by the thread
//   that sums into them, instead of all at once by calloc on the thread that sets up the walk.
enum {
    HUGE_PAGE = 2 << 20,
    HUGE_BLOCK = 1 << 17,
    LAZY_BLOCK = 1 << 14,
    BLOCK_HEADER = 16,  // keeps a heap block on the heap's 16-byte alignment
    MAPPED_OFFSET = 64, // a mapped block starts on a cache line
};

struct block_header {
    size_t mapped; // bytes of the block's own mapping, 0 for a block of the heap
    size_t unused;
};
static_assert(sizeof(block_header) == BLOCK_HEADER, "header size");

static void *header_block(void *start, size_t offset, size_t mapped) {
    char *block = (char *)start + offset;
    block_header header = {mapped, 0};
    memcpy(block - BLOCK_HEADER, &header, sizeof header);
    return block;
}

// A mapping of whole large pages starting on a boundary of them: more is mapped, then what lies
// beyond the boundaries is given back.
static void *mapped_block(size_t bytes) {
    if (bytes > (size_t)-1 / 2 - 2 * HUGE_PAGE) return nullptr;
    size_t mapped = (bytes + MAPPED_OFFSET + HUGE_PAGE - 1) / HUGE_PAGE * HUGE_PAGE;
    size_t reserved = mapped + HUGE_PAGE;
    void *area =
        mmap(nullptr, reserved, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (area == MAP_FAILED) return nullptr;
    uintptr_t first = (uintptr_t)area, start = (first + HUGE_PAGE - 1) / HUGE_PAGE * HUGE_PAGE;
    if (start > first) munmap(area, start - first);
    if (first + reserved > start + mapped)
        munmap((void *)(start + mapped), first + reserved - start - mapped);
#ifdef MADV_HUGEPAGE
    madvise((void *)start, mapped, MADV_HUGEPAGE); // a hint: without large pages it works as well
#endif
    return header_block((void *)start, MAPPED_OFFSET, mapped);
}

// A mapping of its own, whose pages the system fills with zeros as they are first touched.
static void *lazy_block(size_t bytes) {
    size_t mapped = (bytes + MAPPED_OFFSET + 4095) / 4096 * 4096;
    void *area = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return area == MAP_FAILED ? nullptr : header_block(area, MAPPED_OFFSET, mapped);
}

// Under AddressSanitizer every block comes from the heap, whose blocks it guards.
#if defined(__SANITIZE_ADDRESS__)
#define KX_HEAP_ONLY 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KX_HEAP_ONLY 1
#endif
#endif
#ifndef KX_HEAP_ONLY
#define KX_HEAP_ONLY 0
#endif

void *platform_block_alloc(size_t bytes) {
    if (bytes >= HUGE_BLOCK && !KX_HEAP_ONLY) return mapped_block(bytes);
    if (bytes >= LAZY_BLOCK && !KX_HEAP_ONLY) return lazy_block(bytes);
    if (bytes > (size_t)-1 - BLOCK_HEADER) return nullptr;
    void *start = calloc(1, bytes + BLOCK_HEADER);
    return start ? header_block(start, BLOCK_HEADER, 0) : nullptr;
}

int platform_block_free(void *block) {
    block_header header;
    memcpy(&header, (char *)block - BLOCK_HEADER, sizeof header);
    if (header.mapped == 0)
        free((char *)block - BLOCK_HEADER);
    else
        munmap((char *)block - MAPPED_OFFSET, header.mapped);
    return 0;
}

void platform_local_time(platform_time *now) {
    time_t seconds = time(nullptr);
    struct tm local;
    localtime_r(&seconds, &local);
    now->year = local.tm_year + 1900;
    now->month = local.tm_mon + 1;
    now->day = local.tm_mday;
    now->hour = local.tm_hour;
    now->minute = local.tm_min;
    now->second = local.tm_sec;
}

void platform_binary_stdio(void) {}

long platform_process_id(void) {
    return (long)getpid();
}

int platform_program_path(char *out, size_t size) {
    if (size == 0) return -1;
    ssize_t n = readlink("/proc/self/exe", out, size - 1);
    if (n <= 0) {
        out[0] = 0;
        return -1;
    }
    out[n] = 0;
    return 0;
}

int platform_path_kind(const char *name) {
    struct stat info;
    if (stat(name, &info) != 0) return errno == ENOENT || errno == ENOTDIR ? PATH_NONE : PATH_FILE;
    if (S_ISDIR(info.st_mode)) return PATH_DIRECTORY;
    return S_ISREG(info.st_mode) ? PATH_FILE : PATH_OTHER;
}

int platform_file_writable(const char *name) {
    return access(name, W_OK) == 0;
}

long long platform_lock_open(const char *name) {
    return open(name, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
}

// flock belongs to the open file, so two opens in one process exclude each other too.
int platform_lock_try(long long lock) {
    if (flock((int)lock, LOCK_EX | LOCK_NB) == 0) return 0;
    return errno == EWOULDBLOCK || errno == EINTR ? 1 : -1;
}

void platform_lock_close(long long lock) {
    close((int)lock);
}

void platform_sleep(int milliseconds) {
    struct timespec wait = {milliseconds / 1000, (long)(milliseconds % 1000) * 1000000L};
    while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
    }
}

long platform_file_attributes(const char *name) {
    struct stat info;
    if (stat(name, &info) != 0) return -1;
    return (long)(info.st_mode & 07777);
}

int platform_set_file_attributes(const char *name, long attributes) {
    return chmod(name, (mode_t)attributes) == 0 ? 0 : -1;
}

int platform_file_sync(int handle) {
    if (fault_strike()) return -1;
    return fsync(handle) == 0 ? 0 : -1;
}

int platform_file_replace(const char *source, const char *target) {
    if (fault_strike()) return -1;
    return rename(source, target) == 0 ? 0 : -1;
}

namespace {
struct string_entry {
    int id;
    const char *text;
};
#define KX_STRING(name, id, s) {id, s},
const string_entry string_table[] = {
#include "resources/strings.def"
};
#undef KX_STRING
} // namespace

int platform_load_string(int id, char *out, int size) {
    if (size <= 0) return 0;
    out[0] = 0;
    for (const string_entry &entry : string_table) {
        if (entry.id != id) continue;
        snprintf(out, (size_t)size, "%s", entry.text);
        return (int)strlen(out);
    }
    return 0;
}

void frame_set_cursor(int kind) {}
