// Messages to the user. The core formats them; the program, kxcli and tests decide where they
// go by setting a sink per kind (status line, information box, warning box, fatal box).
#pragma once

enum message_kind { MSG_STATUS, MSG_INFO, MSG_WARN, MSG_FATAL, MSG_KINDS };
enum { MSG_TEXT_MAX = 503 };

typedef void (*message_sink)(int kind, const char *text);

// Sets the sink of one kind; NULL restores the default (standard error).
void messages_set_sink(int kind, message_sink sink);
// The sink set for the kind (NULL for the default), so that it can be put back after a while.
message_sink messages_sink(int kind);

// Each formats at most MSG_TEXT_MAX characters and hands them to the kind's sink.
void status_show(const char *format, ...);
void status_clear(void);
void msg_info(const char *format, ...);
void msg_warn(const char *format, ...);
// Shows the fatal message; the process ends with "Das Programm wird beendet.".
[[noreturn]] void msg_fatal(const char *format, ...);
// A condition that ordinary input cannot break did not hold.
[[noreturn]] void assert_fail(const char *module, int line, const char *expression);

#define KX_ASSERT(module, condition)                                                               \
    ((condition) ? (void)0 : assert_fail(module, __LINE__, #condition))
