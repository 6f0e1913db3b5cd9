// Configuration rules that need no Windows call: path derivations and the
// meaning of the values read from the configuration file.
#pragma once
#include <string>
#include "launcher/AnsiText.h"
#include "launcher/ArgumentList.h"

// The configuration file of an executable: the path up to and including its
// last '.' (searched in the whole path), then "ini". False when there is no '.'.
bool deriveIniPath(const std::string& modulePath, std::string& iniPath, NextCharFn next = nextAnsiChar);

// File name of the per-user copy: the text after the last '\' of modulePath,
// cut before its last '.' when it holds one, then ".ini".
std::string userIniFileName(const std::string& modulePath, NextCharFn next = nextAnsiChar);

// productName without the single-byte characters \ ? " | > < : / *; the trail
// byte of a double-byte character is never removed.
std::string cleanProductName(const std::string& productName, NextCharFn next = nextAnsiChar);

// Joins the pieces of the per-user copy's path with '\'.
std::string joinUserIniPath(const std::string& appDataFolder, const std::string& cleanedProductName,
                            const std::string& productCode, const std::string& fileName);

// "Preferred versions" cut at every ';', empty pieces kept, nothing trimmed.
void splitPreferredVersions(const std::string& text, ArgumentList& list, NextCharFn next = nextAnsiChar);

// "JVM Type": 1 for exactly "server", 2 for exactly "favor_server", else 0.
int parseJvmType(const std::string& value);

// "JVM Source": sets the three flags; favorSource is left alone when value is empty.
void applyJvmSource(const std::string& value, bool& favorSource, bool& wantJdk, bool& wantJre);

// True when value is "Yes" in any letter case ("Failure Check", "Override WorkingDir").
bool isYesIgnoringCase(const std::string& value);

// "Main Class" with every '.' replaced by '/'.
std::string slashedClassName(const std::string& value, NextCharFn next = nextAnsiChar);

// The folder that "Override WorkingDir" makes current: modulePath before its
// last '\', keeping the '\' of a drive's root ("E:\"). False when there is
// no '\' or it is the first character.
bool workingDirectoryOf(const std::string& modulePath, std::string& folder, NextCharFn next = nextAnsiChar);

// The executable's folder: modulePath up to and including its last '\'
// (empty when there is none).
std::string moduleFolderOf(const std::string& modulePath, NextCharFn next = nextAnsiChar);
