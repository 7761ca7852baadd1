// Decimal integers in the words of control messages (escape commands, display commands).
#include "controls/edit/control_styles.h"

int control_int(const char *word) {
    while (*word == ' ' || *word == '\t' || *word == '\r' || *word == '\n') word++;
    int negative = *word == '-';
    if (*word == '-' || *word == '+') word++;
    long long value = 0;
    for (; *word >= '0' && *word <= '9'; word++) {
        value = value * 10 + (*word - '0');
        if (value > 2147483647) value = 2147483647;
    }
    return (int)(negative ? -value : value);
}
