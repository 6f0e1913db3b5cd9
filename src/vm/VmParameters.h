// "Virtual Machine Parameters": splitting, quote removal, heap and stack
// sizes given as a share of physical memory, and the VM thread's stack size.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "launcher/AnsiText.h"
#include "launcher/ArgumentList.h"

struct NumberList {
    std::vector<uint32_t> numbers;  // saturate at UINT32_MAX
    size_t firstDigit = 0;          // position of the first digit or ':'; the length when none
};

// Numbers separated by ':' from the first digit or ':' up to, not including,
// the last character.
NumberList parseNumberList(const std::string& text);

void removeQuotes(std::string& token, NextCharFn next = nextAnsiChar);

// "-Xms", "-Xmx" or "-Xss" and a last character 'p' or 'P'.
bool isPercentageOption(const std::string& token);

// -Xmx40:256:1024p with physicalMemory bytes becomes -Xmx<kilobytes>K.
void resolvePercentage(std::string& token, uint64_t physicalMemory);

// value is the text after "-Xss"; sets vmStackSize (bytes) when usable.
void applyStackSize(const std::string& value, uint32_t& vmStackSize);

// One token: quotes, percentage, stack size, then appended to list.
void applyVmParameter(std::string token, uint64_t physicalMemory, uint32_t& vmStackSize, ArgumentList& list);

// Splits text at spaces outside quoted stretches and applies each token.
void parseVmParameters(const std::string& text, uint64_t physicalMemory, uint32_t& vmStackSize,
                       ArgumentList& list, NextCharFn next = nextAnsiChar);
