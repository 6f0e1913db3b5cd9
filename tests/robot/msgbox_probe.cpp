// Tiny GUI program the robot tests run: shows its arguments, one per line,
// in an error message box with no owner and the default caption, then exits
// with -1 or the code given by --exit.
//
//   msgbox_probe [--exit N] [--no-box] [--sleep MS] TEXT...
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  int exit_code = -1;
  bool box = true;
  unsigned long sleep_ms = 0;
  std::string text;
  bool first = true;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--exit") == 0 && i + 1 < argc) {
      exit_code = static_cast<int>(std::strtoul(argv[++i], nullptr, 0));
    } else if (std::strcmp(argv[i], "--no-box") == 0) {
      box = false;
    } else if (std::strcmp(argv[i], "--sleep") == 0 && i + 1 < argc) {
      sleep_ms = std::strtoul(argv[++i], nullptr, 0);
    } else {
      if (!first) text += '\n';
      first = false;
      text += argv[i];
    }
  }
  if (sleep_ms != 0) Sleep(sleep_ms);
  if (box) MessageBoxA(nullptr, text.c_str(), nullptr, MB_OK | MB_ICONERROR);
  return exit_code;
}
