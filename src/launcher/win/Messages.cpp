#include "launcher/win/Messages.h"
#include "launcher/StringTable.h"
#include "launcher/TextFormat.h"

void showError(const std::string& text, HWND owner) {
    MessageBoxA(owner, text.c_str(), nullptr, MB_OK | MB_ICONERROR);
}

void showErrorFormat(HWND owner, int formatId, const char* argument) {
    showError(formatText(loadText(formatId).c_str(), argument), owner);
}

void showErrorFormat(HWND owner, int formatId, const char* argument, int number) {
    showError(formatText(loadText(formatId).c_str(), argument, number), owner);
}

void showErrorFormat(HWND owner, int formatId, const char* first, const char* second) {
    showError(formatText(loadText(formatId).c_str(), first, second), owner);
}
