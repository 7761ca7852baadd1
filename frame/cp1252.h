// Windows-1252, the code page of every text and file of the program, and Unicode.
#pragma once

// The Unicode code point of a Windows-1252 byte; 0 for the five bytes the code page leaves free.
unsigned cp1252_code_point(unsigned char byte);
// The Windows-1252 byte of a code point, '?' when the code page lacks it.
unsigned char cp1252_byte(unsigned code_point);
