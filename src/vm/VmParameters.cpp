// The free-form VM parameter line: tokens, quotes, memory shares and the
// VM thread's stack size.
#include "vm/VmParameters.h"
#include <cstring>
#include <utility>

namespace {

constexpr uint32_t kSaturated = UINT32_MAX;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// a * b, or UINT32_MAX when the product does not fit.
uint32_t saturatingMultiply(uint32_t a, uint32_t b) {
    uint64_t product = static_cast<uint64_t>(a) * b;
    return product > kSaturated ? kSaturated : static_cast<uint32_t>(product);
}

// The number list of text[0, end): the caller decides whether the last
// character (the unit letter) takes part. Scans bytes: digits and ':' are
// never trail bytes of a double-byte character.
NumberList scanNumbers(const std::string& text, size_t end) {
    NumberList list;
    list.firstDigit = text.size();
    for (size_t i = 0; i < text.size(); ++i) {
        if (isDigit(text[i]) || text[i] == ':') {
            list.firstDigit = i;
            break;
        }
    }
    if (list.firstDigit == text.size()) return list;
    list.numbers.push_back(0);
    for (size_t i = list.firstDigit; i < end; ++i) {
        char c = text[i];
        if (isDigit(c)) {
            uint64_t next = static_cast<uint64_t>(list.numbers.back()) * 10 + static_cast<uint32_t>(c - '0');
            list.numbers.back() = next > kSaturated ? kSaturated : static_cast<uint32_t>(next);
        } else if (c == ':') {
            list.numbers.push_back(0);
        }
    }
    return list;
}

// The byte multiplier a size letter stands for; 0 when c is no unit letter.
uint32_t unitMultiplier(char c) {
    switch (c) {
    case 'k': case 'K': return 1024u;
    case 'm': case 'M': return 1048576u;
    case 'g': case 'G': return 1073741824u;
    default: return 0;
    }
}

bool startsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

// End (exclusive) of the token starting at start: the first space that is not
// inside a closed pair of quotes, or the end of the text. A quote is a single
// byte, so the character after one starts one byte further on.
size_t tokenEnd(const std::string& text, size_t start, NextCharFn next) {
    size_t space = findAnsiChar(text, ' ', start, next);
    size_t quote = findAnsiChar(text, '"', start, next);
    while (quote != std::string::npos) {
        if (space == std::string::npos) return text.size();
        if (space < quote) return space;
        size_t closing = findAnsiChar(text, '"', quote + 1, next);
        // An unmatched quote protects nothing.
        if (closing == std::string::npos) return space;
        if (closing + 1 < text.size() && text[closing + 1] == '"') ++closing;
        quote = findAnsiChar(text, '"', closing + 1, next);
        space = findAnsiChar(text, ' ', closing + 1, next);
    }
    return space == std::string::npos ? text.size() : space;
}

}  // namespace

// The last character is left out: it is the unit or percentage letter.
NumberList parseNumberList(const std::string& text) {
    return scanNumbers(text, text.empty() ? 0 : text.size() - 1);
}

// Each pair of quotes is dropped and its content kept; a doubled closing
// quote leaves one literal quote behind.
void removeQuotes(std::string& token, NextCharFn next) {
    size_t from = 0;
    for (;;) {
        size_t opening = findAnsiChar(token, '"', from, next);
        if (opening == std::string::npos) return;
        size_t closing = findAnsiChar(token, '"', opening + 1, next);
        if (closing == std::string::npos) return;
        if (closing + 1 < token.size() && token[closing + 1] == '"') ++closing;
        token = token.substr(0, opening) + token.substr(opening + 1, closing - opening - 1) +
                token.substr(closing + 1);
        from = closing - 1;  // right after the kept inner text
    }
}

bool isPercentageOption(const std::string& token) {
    if (!startsWith(token, "-Xms") && !startsWith(token, "-Xmx") && !startsWith(token, "-Xss")) return false;
    char last = token.back();
    return last == 'p' || last == 'P';
}

// Every product saturates at UINT32_MAX, so an absurd value ends up as the
// largest size rather than wrapping round to a small one.
void resolvePercentage(std::string& token, uint64_t physicalMemory) {
    NumberList list = parseNumberList(token);
    uint32_t percent = list.numbers.size() > 0 ? list.numbers[0] : 0;
    uint32_t minimum = list.numbers.size() > 1 ? list.numbers[1] : 0;
    uint32_t maximum = list.numbers.size() > 2 ? list.numbers[2] : 0;

    double totalKilobytes = static_cast<double>(physicalMemory >> 10);
    double share = (percent * 0.01) * totalKilobytes;
    uint32_t size = share >= 4294967296.0 ? kSaturated : static_cast<uint32_t>(share);

    if (maximum != 0 && size > saturatingMultiply(maximum, 1024)) size = saturatingMultiply(maximum, 1024);
    // The minimum comes last so that it wins over a smaller maximum.
    if (saturatingMultiply(minimum, 1024) > size) size = saturatingMultiply(minimum, 1024);

    token = token.substr(0, list.firstDigit) + std::to_string(size) + "K";
}

// A value without a unit letter is a number of bytes, its last digit
// included; anything but a single number starting at the first character is
// left for the VM to judge and does not touch vmStackSize.
void applyStackSize(const std::string& value, uint32_t& vmStackSize) {
    if (value.empty() || !isDigit(value[0])) return;
    uint32_t multiplier = unitMultiplier(value.back());
    NumberList list = multiplier != 0 ? parseNumberList(value) : scanNumbers(value, value.size());
    if (list.firstDigit != 0 || list.numbers.size() != 1) return;
    vmStackSize = saturatingMultiply(list.numbers[0], multiplier != 0 ? multiplier : 1);
}

namespace {

// One token with the stepper of the line it came from.
void applyToken(std::string token, uint64_t physicalMemory, uint32_t& vmStackSize, ArgumentList& list,
                NextCharFn next) {
    removeQuotes(token, next);
    if (isPercentageOption(token)) resolvePercentage(token, physicalMemory);
    if (startsWith(token, "-Xss")) applyStackSize(token.substr(4), vmStackSize);
    list.append(token);
}

}  // namespace

void applyVmParameter(std::string token, uint64_t physicalMemory, uint32_t& vmStackSize, ArgumentList& list) {
    applyToken(std::move(token), physicalMemory, vmStackSize, list, nextAnsiChar);
}

// Spaces before the first token are skipped like those between tokens, so a
// leading space never yields an empty option.
void parseVmParameters(const std::string& text, uint64_t physicalMemory, uint32_t& vmStackSize,
                       ArgumentList& list, NextCharFn next) {
    size_t start = 0;
    for (;;) {
        while (start < text.size() && text[start] == ' ') ++start;
        if (start >= text.size()) return;
        size_t end = tokenEnd(text, start, next);
        applyToken(text.substr(start, end - start), physicalMemory, vmStackSize, list, next);
        start = end;
    }
}
