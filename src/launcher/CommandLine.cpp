// Splitting a command line by the launcher's own rules: blanks separate, a
// quote opens an argument only at its start, there are no escapes.
#include "launcher/CommandLine.h"
#include <string>

namespace {

// The text between the first and after the last character that isSpace does
// not classify as white space, found by stepping character by character.
std::string trimmed(const char* text, NextCharFn next, IsSpaceFn isSpace) {
    const char* begin = text;
    while (*begin != '\0' && isSpace(begin)) {
        const char* after = next(begin);
        if (after <= begin) break;
        begin = after;
    }
    const char* end = begin;
    for (const char* p = begin; *p != '\0';) {
        const char* after = next(p);
        if (after <= p) break;
        if (!isSpace(p)) end = after;
        p = after;
    }
    return std::string(begin, static_cast<size_t>(end - begin));
}

// Position of the first non-blank at or after pos (a blank is one byte, so
// every position this yields starts a character).
size_t skipBlanks(const std::string& text, size_t pos) {
    while (pos < text.size() && text[pos] == ' ') ++pos;
    return pos;
}

}  // namespace

// Splits the trimmed text, then drops the program name.
void splitCommandLineText(const char* commandLine, ArgumentList& list, NextCharFn next, IsSpaceFn isSpace) {
    const std::string text = commandLine != nullptr ? trimmed(commandLine, next, isSpace) : std::string();
    const int first = list.count();
    size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == '"') {
            size_t close = findAnsiChar(text, '"', pos + 1, next);
            if (close == std::string::npos) {
                list.append(text.substr(pos + 1));
                break;
            }
            list.append(text.substr(pos + 1, close - pos - 1));
            pos = skipBlanks(text, close + 1);
        } else {
            size_t blank = findAnsiChar(text, ' ', pos, next);
            if (blank == std::string::npos) {
                list.append(text.substr(pos));
                break;
            }
            list.append(text.substr(pos, blank - pos));
            pos = skipBlanks(text, blank);
        }
    }
    if (list.count() > first) list.remove(first);
}
