// The launcher's list of owned narrow strings.
#include "launcher/ArgumentList.h"
#include "launcher/AnsiText.h"

// Grows the capacity explicitly so that it follows 0, 1, 2, 4, ... whatever
// growth policy the standard library uses.
void ArgumentList::append(const std::string& text) {
    if (items.size() == items.capacity()) {
        items.reserve(items.capacity() == 0 ? 1 : items.capacity() * 2);
    }
    items.push_back(text);
}

int ArgumentList::count() const {
    return static_cast<int>(items.size());
}

const std::string& ArgumentList::element(int index) const {
    return items[static_cast<size_t>(index)];
}

// Whole-element comparison; a null text matches nothing.
int ArgumentList::findArgument(const char* text) const {
    if (text == nullptr) return -1;
    for (size_t i = 0; i < items.size(); ++i) {
        if (sameText(items[i].c_str(), text)) return static_cast<int>(i);
    }
    return -1;
}

// Later elements move down by one; the capacity stays.
bool ArgumentList::remove(int index) {
    if (index < 0 || static_cast<size_t>(index) >= items.size()) return false;
    items.erase(items.begin() + index);
    return true;
}

void ArgumentList::clear() {
    items.clear();
}
