// Host build: the string table compiled in from StringIds.h.
#include "launcher/StringTable.h"

namespace {

struct Entry {
    int id;
    const char* text;
};

#define QX_ENTRY(number) {number, TEXT_##number}
const Entry entries[] = {
    QX_ENTRY(202), QX_ENTRY(203), QX_ENTRY(204), QX_ENTRY(206), QX_ENTRY(207),
    QX_ENTRY(208), QX_ENTRY(209), QX_ENTRY(210), QX_ENTRY(211), QX_ENTRY(212),
    QX_ENTRY(213), QX_ENTRY(214), QX_ENTRY(215), QX_ENTRY(216), QX_ENTRY(217),
    QX_ENTRY(218), QX_ENTRY(219), QX_ENTRY(220), QX_ENTRY(221), QX_ENTRY(222),
    QX_ENTRY(224), QX_ENTRY(225), QX_ENTRY(226), QX_ENTRY(227), QX_ENTRY(228),
    QX_ENTRY(229), QX_ENTRY(230),
};
#undef QX_ENTRY

}  // namespace

// Looks the number up in the compiled-in table.
std::string loadText(int id) {
    for (const Entry& entry : entries) {
        if (entry.id == id) return entry.text;
    }
    return std::string();
}
