// printf-style formatting into a string of exactly the needed length.
#include "launcher/TextFormat.h"
#include <cstdarg>
#include <cstdio>

// Measures first, then formats into a buffer of that size, so that no
// message is ever truncated. An encoding error gives the empty text.
std::string formatText(const char* format, ...) {
    if (format == nullptr) return std::string();
    va_list arguments;
    va_start(arguments, format);
    va_list measuring;
    va_copy(measuring, arguments);
    int length = std::vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    std::string result;
    if (length > 0) {
        result.resize(static_cast<size_t>(length) + 1);
        int written = std::vsnprintf(&result[0], result.size(), format, arguments);
        result.resize(written == length ? static_cast<size_t>(length) : 0);
    }
    va_end(arguments);
    return result;
}
