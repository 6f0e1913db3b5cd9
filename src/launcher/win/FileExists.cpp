// Existence test shared by the runtime search and the per-user copy.
#include "launcher/win/Handles.h"
#include <cstring>

bool fileExists(const char* path) {
    if (path == nullptr || std::strlen(path) >= MAX_PATH) return false;
    WIN32_FIND_DATAA data;
    FindHandle find(FindFirstFileA(path, &data));
    return find.valid();
}
