// The launcher's one list type: an ordered list of narrow strings that owns
// its elements. Holds the command-line arguments, the VM options and the
// preferred versions.
#pragma once
#include <string>
#include <vector>

class ArgumentList {
public:
    // Adds a copy at the end. Capacity goes 0, 1, 2, 4, ...
    void append(const std::string& text);
    int count() const;
    // index must be in 0 .. count()-1.
    const std::string& element(int index) const;
    // Index of the first element equal to text (case-sensitive, whole
    // element, compared with sameText), or -1.
    int findArgument(const char* text) const;
    // Removes one element; false and no change when index is out of range.
    bool remove(int index);
    void clear();
    size_t capacity() const { return items.capacity(); }

private:
    std::vector<std::string> items;
};
