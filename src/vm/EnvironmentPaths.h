// Paths derived from the VM library for the process environment.
#pragma once
#include <string>
#include <vector>
#include "launcher/AnsiText.h"

// path with n trailing components removed (each cut at the last '\', the
// '\' included); a text without '\' stays unchanged.
std::string stripPathLevels(const std::string& path, int n, NextCharFn next = nextAnsiChar);

// Joins path-list pieces in order, putting ';' between two pieces unless the
// earlier one already ends with ';'. Empty pieces are skipped.
std::string joinPathList(const std::vector<std::string>& pieces, NextCharFn next = nextAnsiChar);

// The search-path template: systemPath (';' added unless it ends with one),
// then "%Path%;" and the runtime bin folder; without systemPath just the latter.
std::string searchPathTemplate(const std::string& systemPath, const std::string& runtimeBin,
                               NextCharFn next = nextAnsiChar);
