// Fuzzes the settings file's text with arbitrary files, in memory: finding values, and setting one,
// after which it is found with the value that was set.
#include "frame/profile.h"
#include "frame/settings.h"
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const char *text = (const char *)data;
    char value[SETTINGS_VALUE];
    static const char *const keys[] = {"WorkDir", "Person", "UsePalm", ""};
    for (const char *key : keys) {
        profile_find(text, size, "Installation", key, value, sizeof value);
        if (strlen(value) >= sizeof value) abort();
    }
    std::vector<char> changed(size + 64);
    long length =
        profile_set(text, size, "Installation", "Person", "FZ", changed.data(), changed.size());
    if (length < 0) return 0;
    if ((size_t)length >= changed.size()) abort();
    if (profile_find(changed.data(), (size_t)length, "Installation", "Person", value,
                     sizeof value) != 0 ||
        strcmp(value, "FZ") != 0)
        abort();
    return 0;
}
