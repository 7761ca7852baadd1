// Formats messages for the user and hands them to the sink of their kind.
#include "frame/messages.h"
#include "frame/texts.h"
#include "resources/text_ids.h"
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>

static message_sink sinks[MSG_KINDS];

// Without a sink of its own, every kind goes to standard error as one line.
static void default_sink(int kind, const char *text) {
    fprintf(stderr, "%s\n", text);
    fflush(stderr);
}

void messages_set_sink(int kind, message_sink sink) {
    if (kind >= 0 && kind < MSG_KINDS) sinks[kind] = sink;
}

message_sink messages_sink(int kind) {
    return kind >= 0 && kind < MSG_KINDS ? sinks[kind] : nullptr;
}

static void deliver(int kind, const char *format, va_list args) {
    char text[MSG_TEXT_MAX + 1];
    vsnprintf(text, sizeof text, format, args);
    (sinks[kind] ? sinks[kind] : default_sink)(kind, text);
}

void status_show(const char *format, ...) {
    va_list args;
    va_start(args, format);
    deliver(MSG_STATUS, format, args);
    va_end(args);
}

// An empty status text clears the line; the default sink prints nothing for it.
void status_clear(void) {
    if (sinks[MSG_STATUS]) sinks[MSG_STATUS](MSG_STATUS, "");
}

void msg_info(const char *format, ...) {
    va_list args;
    va_start(args, format);
    deliver(MSG_INFO, format, args);
    va_end(args);
}

void msg_warn(const char *format, ...) {
    va_list args;
    va_start(args, format);
    deliver(MSG_WARN, format, args);
    va_end(args);
}

void msg_fatal(const char *format, ...) {
    va_list args;
    va_start(args, format);
    deliver(MSG_FATAL, format, args);
    va_end(args);
    char last_words[MSG_TEXT_MAX + 1];
    text_copy(TXT_PROGRAM_ENDS, last_words, sizeof last_words);
    fprintf(stderr, "%s\n", last_words);
    exit(3);
}

void assert_fail(const char *module, int line, const char *expression) {
    msg_fatal("ASSERT ERROR\n%s.%d\n%s", module, line, expression);
}
