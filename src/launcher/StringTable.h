// Texts of the string table by number (see res/StringIds.h).
#pragma once
#include <string>
#include "StringIds.h"

// The whole text of entry id; empty when there is none. On Windows it is
// loaded from the executable's resources, on the host from StringIds.h.
std::string loadText(int id);
