// The platform layer on Windows: runtime file handles (binary, deny none), file times and
// attributes, directories, local time, global-heap blocks and the program's string resources.
#include "frame/app.h"
#include "frame/fault.h"
#include "frame/files.h"
#include "frame/path.h"
#include "frame/platform.h"
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <stdio.h>
#include <sys/stat.h>

// Keeps a handle only when it is a file on a disk (not a device, a pipe or a console).
static int plain_only(int handle) {
    if (handle >= 0 && GetFileType((HANDLE)_get_osfhandle(handle)) != FILE_TYPE_DISK) {
        _close(handle);
        return -1;
    }
    return handle;
}

int file_open(const char *name, int mode) {
    int handle = -1;
    if (mode == FILE_READ_WRITE) handle = _sopen(name, _O_BINARY | _O_RDWR, _SH_DENYNO);
    if (handle < 0) handle = _sopen(name, _O_BINARY | _O_RDONLY, _SH_DENYNO);
    return plain_only(handle);
}

int file_open_append(const char *name) {
    return plain_only(_sopen(name, _O_BINARY | _O_WRONLY | _O_APPEND, _SH_DENYNO));
}

int file_create(const char *name) {
    return _sopen(name, _O_BINARY | _O_RDWR | _O_CREAT | _O_TRUNC, _SH_DENYNO,
                  _S_IREAD | _S_IWRITE);
}

// _O_EXCL creates with CREATE_NEW: an existing name, a link included, is never opened.
int file_create_new(const char *name, const char *like) {
    int handle =
        _sopen(name, _O_BINARY | _O_RDWR | _O_CREAT | _O_EXCL, _SH_DENYNO, _S_IREAD | _S_IWRITE);
    DWORD model = like ? GetFileAttributesA(like) : INVALID_FILE_ATTRIBUTES;
    if (handle >= 0 && model != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesA(name, model & ~(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
    return handle;
}

int file_truncate(int handle, int64_t size) {
    if (fault_strike()) return -1;
    return _chsize_s(handle, size) == 0 ? 0 : -1;
}

int file_close(int handle) {
    return _close(handle) == 0 ? 0 : -1;
}

long file_read(int handle, void *area, long count) {
    return _read(handle, area, (unsigned)count);
}

long file_write(int handle, const void *area, long count) {
    // A failure made on purpose writes half, as a full disk would.
    if (fault_strike()) {
        if (count > 1) _write(handle, area, (unsigned)(count / 2));
        return -1;
    }
    return _write(handle, area, (unsigned)count);
}

int64_t file_seek(int handle, int64_t offset, int whence) {
    static const int whences[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (whence < 0 || whence > 2) return -1;
    return _lseeki64(handle, offset, whences[whence]);
}

int file_delete(const char *name) {
    return DeleteFileA(name) ? 0 : -1;
}

int file_time_get(const char *name, filetime_rec *time) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    ZeroMemory(time, sizeof *time);
    if (!GetFileAttributesExA(name, GetFileExInfoStandard, &data)) return -1;
    FILETIME local;
    SYSTEMTIME parts;
    if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) ||
        !FileTimeToSystemTime(&local, &parts) || parts.wYear < 1900 || parts.wYear > 2155)
        return 0;
    time->year = (unsigned char)(parts.wYear - 1900);
    time->month = (unsigned char)parts.wMonth;
    time->day = (unsigned char)parts.wDay;
    time->hour = (unsigned char)parts.wHour;
    time->minute = (unsigned char)parts.wMinute;
    time->second = (unsigned char)parts.wSecond;
    return 0;
}

int file_time_set(const char *name, const filetime_rec *time) {
    SYSTEMTIME parts = {};
    parts.wYear = (WORD)(time->year + 1900);
    parts.wMonth = time->month;
    parts.wDay = time->day;
    parts.wHour = time->hour;
    parts.wMinute = time->minute;
    parts.wSecond = time->second;
    FILETIME local, utc;
    if (!SystemTimeToFileTime(&parts, &local) || !LocalFileTimeToFileTime(&local, &utc)) return -1;
    HANDLE file = CreateFileA(name, FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    BOOL done = SetFileTime(file, nullptr, &utc, &utc);
    CloseHandle(file);
    return done ? 0 : -1;
}

int current_dir(char *out, size_t size) {
    if (size == 0) return -1;
    DWORD n = GetCurrentDirectoryA((DWORD)size, out);
    if (n == 0 || n >= size) {
        out[0] = 0;
        return -1;
    }
    return 0;
}

int change_dir(const char *path) {
    return SetCurrentDirectoryA(path) ? 0 : -1;
}

int make_dir(const char *path) {
    return CreateDirectoryA(path, nullptr) ? 0 : -1;
}

void *platform_block_alloc(size_t bytes) {
    HGLOBAL handle = GlobalAlloc(GHND, bytes);
    if (!handle) return nullptr;
    void *block = GlobalLock(handle);
    if (!block) GlobalFree(handle);
    return block;
}

int platform_block_free(void *block) {
    HGLOBAL handle = GlobalHandle(block);
    if (!handle) return -1;
    GlobalUnlock(handle);
    return GlobalFree(handle) ? -1 : 0;
}

void platform_local_time(platform_time *now) {
    SYSTEMTIME local;
    GetLocalTime(&local);
    now->year = local.wYear;
    now->month = local.wMonth;
    now->day = local.wDay;
    now->hour = local.wHour;
    now->minute = local.wMinute;
    now->second = local.wSecond;
}

void platform_binary_stdio(void) {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

long platform_process_id(void) {
    return (long)GetCurrentProcessId();
}

int platform_program_path(char *out, size_t size) {
    if (size == 0) return -1;
    DWORD n = GetModuleFileNameA(nullptr, out, (DWORD)size);
    if (n == 0 || n >= size) {
        out[0] = 0;
        return -1;
    }
    return 0;
}

int platform_path_kind(const char *name) {
    DWORD attributes = GetFileAttributesA(name);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? PATH_NONE
                                                                              : PATH_FILE;
    }
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? PATH_DIRECTORY : PATH_FILE;
}

int platform_file_writable(const char *name) {
    DWORD attributes = GetFileAttributesA(name);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_READONLY);
}

// Lock files are hidden, so that the user's folders show only the user's files; one made visible
// by an earlier version is hidden when it is next used.
long long platform_lock_open(const char *name) {
    HANDLE lock = CreateFileA(name, GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (lock == INVALID_HANDLE_VALUE) return -1;
    DWORD attributes = GetFileAttributesA(name);
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_HIDDEN))
        SetFileAttributesA(name, attributes | FILE_ATTRIBUTE_HIDDEN);
    return (long long)(intptr_t)lock;
}

// The lock is on the first byte; LockFileEx locks exclude each other also within one process.
int platform_lock_try(long long lock) {
    OVERLAPPED at = {};
    if (LockFileEx((HANDLE)(intptr_t)lock, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                   1, 0, &at))
        return 0;
    return GetLastError() == ERROR_LOCK_VIOLATION ? 1 : -1;
}

void platform_lock_close(long long lock) {
    CloseHandle((HANDLE)(intptr_t)lock);
}

void platform_sleep(int milliseconds) {
    Sleep((DWORD)milliseconds);
}

long platform_file_attributes(const char *name) {
    DWORD attributes = GetFileAttributesA(name);
    return attributes == INVALID_FILE_ATTRIBUTES ? -1 : (long)attributes;
}

int platform_set_file_attributes(const char *name, long attributes) {
    return SetFileAttributesA(name, (DWORD)attributes) ? 0 : -1;
}

int platform_file_sync(int handle) {
    if (fault_strike()) return -1;
    HANDLE file = (HANDLE)_get_osfhandle(handle);
    if (file == INVALID_HANDLE_VALUE) return -1;
    return FlushFileBuffers(file) ? 0 : -1;
}

// MoveFileEx replaces in one rename; ReplaceFile would leave the target name missing for a moment.
int platform_file_replace(const char *source, const char *target) {
    if (fault_strike()) return -1;
    return MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 0 : -1;
}

int platform_load_string(int id, char *out, int size) {
    if (size <= 0) return 0;
    out[0] = 0;
    HINSTANCE instance = (HINSTANCE)frame_instance();
    if (!instance) instance = GetModuleHandleA(nullptr);
    return LoadStringA(instance, (UINT)id, out, size);
}

void frame_set_cursor(int kind) {
    frame_app_record *app = frame_app();
    void *cursors[] = {app->arrow_cursor, app->wait_cursor, app->drag_cursor};
    if (kind < 0 || kind > 2 || !cursors[kind]) return;
    SetCursor((HCURSOR)cursors[kind]);
}
