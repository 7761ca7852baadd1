// The help file's name, the help keyword of the active dialog and the page of each keyword.
#include "frame/help.h"
#include "frame/path.h"
#include "frame/text.h"
#include <stdio.h>
#include <string.h>

namespace {

struct page_entry {
    const char *file;
    const char *keyword;
};

// The help's table of pages, shared with the build that compiles them into the help file.
const page_entry pages[] = {
#define HELP_PAGE(file, keyword, title) {file, keyword},
#include "resources/help/pages.def"
#undef HELP_PAGE
};

} // namespace

void help_file_path(char *out, size_t size, const char *program) {
    text_copy_max(out, program, (int)size - 1);
    path_set_ext(out, "HLP", size);
}

void help_html_file_path(char *out, size_t size, const char *program) {
    text_copy_max(out, program, (int)size - 1);
    path_set_ext(out, "chm", size);
}

void help_keyword(char *out, size_t size, const char *active_name) {
    if (active_name && active_name[0])
        snprintf(out, size, "ZZ_%s", active_name);
    else
        snprintf(out, size, HELP_CONTENTS_KEYWORD);
}

const char *help_page(const char *keyword) {
    const char *contents = pages[0].file;
    for (const page_entry &page : pages) {
        if (strcmp(page.keyword, keyword) == 0) return page.file;
        if (strcmp(page.keyword, HELP_CONTENTS_KEYWORD) == 0) contents = page.file;
    }
    return contents;
}
