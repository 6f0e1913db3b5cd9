// Error message boxes with texts of the string table.
#pragma once
#include <windows.h>
#include <string>

// One OK button, the error icon and the system's default caption.
void showError(const std::string& text, HWND owner);

// Formats the text of string formatId with the arguments and shows it.
void showErrorFormat(HWND owner, int formatId, const char* argument);
void showErrorFormat(HWND owner, int formatId, const char* argument, int number);
void showErrorFormat(HWND owner, int formatId, const char* first, const char* second);
