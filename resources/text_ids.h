// Named ids of the program's string table, made from the one list in strings.def.
#pragma once

enum text_id {
#define KX_STRING(name, id, s) name = id,
#include "strings.def"
#undef KX_STRING
};
