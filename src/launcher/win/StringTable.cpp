// Windows build: the string table of the executable's resources.
#include "launcher/StringTable.h"
#include <windows.h>

// Loads into a buffer that doubles until the text fits. LoadStringA fills at
// most size - 1 bytes; in a double-byte code page a character that does not
// fit may leave one more byte unused, so only a result with at least two
// bytes to spare is known to be whole.
std::string loadText(int id) {
    HINSTANCE module = GetModuleHandleA(nullptr);
    std::string buffer;
    for (int size = 256; size > 0 && size <= 0x100000; size *= 2) {
        buffer.assign(static_cast<size_t>(size), '\0');
        int length = LoadStringA(module, static_cast<UINT>(id), &buffer[0], size);
        if (length <= 0) return std::string();
        if (length < size - 2) {
            buffer.resize(static_cast<size_t>(length));
            return buffer;
        }
    }
    return std::string();
}
