// printf-style formatting of string-table texts into std::string.
#pragma once
#include <string>

// Formats format (a text of the string table: %s narrow string, %d signed
// 32-bit) with the arguments. The result is never cut.
std::string formatText(const char* format, ...);
