// What the report fuzzers share: a folder of their own, quiet messages and a fixed clock.
#pragma once
#include "frame/clock.h"
#include "frame/messages.h"
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

inline void fuzz_quiet(int kind, const char *text) {}

// Creates /tmp/kx-fuzz-NAME-PID/ into folder (size bytes, with the final separator), silences
// every message but the fatal one and fixes the clock at 2024-03-05 17:30.
inline void fuzz_setup(char *folder, size_t size, const char *name) {
    snprintf(folder, size, "/tmp/kx-fuzz-%s-%d/", name, (int)getpid());
    mkdir(folder, 0777);
    for (int kind = 0; kind < MSG_KINDS; kind++)
        if (kind != MSG_FATAL) messages_set_sink(kind, fuzz_quiet);
    platform_time now = {2024, 3, 5, 17, 30, 0};
    clock_fix(&now);
}

inline void fuzz_write_file(const char *path, const uint8_t *data, size_t size) {
    FILE *file = fopen(path, "wb");
    if (!file) abort();
    fwrite(data, 1, size, file);
    fclose(file);
}
