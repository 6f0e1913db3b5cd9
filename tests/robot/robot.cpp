// Test robot: starts Windows programs, watches the windows they show and
// answers them, so end-to-end tests can drive GUI programs under Wine and
// see their full 32-bit exit codes (Wine hands Linux only the low 8 bits).
//
//   robot run [--timeout MS] [--cwd DIR] [--dismiss] [--press ID] [--no-tree]
//             [--stdout FILE] [--stderr FILE] [--app PATH]
//             (--cmdline TEXT | -- EXE [ARG...])
//   robot windows PID [--all] [--tree]
//   robot press HWND ID
//   robot key HWND VK
//
// Every output line is one JSON object whose first key says what it is:
// {"pid":..}, {"window":{..}}, {"pressed":{..}}, {"exit":N}, {"timeout":true},
// {"error":"..","code":N}.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

// Owns a kernel handle and closes it when it goes out of scope.
class Handle {
 public:
  explicit Handle(HANDLE h = nullptr) : h_(h) {}
  ~Handle() {
    if (valid()) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return h_; }
  bool valid() const { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE h_;
};

// Writes one output line and flushes it so a reading test sees it at once.
void Emit(const std::string& line) {
  std::fputs(line.c_str(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

// Converts text in the ANSI code page to UTF-8, the encoding JSON needs.
std::string AnsiToUtf8(const std::string& ansi) {
  if (ansi.empty()) return ansi;
  int wide_len = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  if (wide_len <= 0) return ansi;
  std::wstring wide(static_cast<size_t>(wide_len), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0], wide_len);
  int len = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_len, nullptr, 0, nullptr, nullptr);
  if (len <= 0) return ansi;
  std::string out(static_cast<size_t>(len), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_len, &out[0], len, nullptr, nullptr);
  return out;
}

// Returns ANSI text as a quoted JSON string.
std::string Json(const std::string& ansi) {
  std::string out = "\"";
  for (unsigned char c : AnsiToUtf8(ansi)) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string Num(unsigned long long v) { return std::to_string(v); }
std::string Num(long long v) { return std::to_string(v); }
std::string Bool(bool v) { return v ? "true" : "false"; }
std::string HwndNum(HWND h) { return Num(static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(h))); }

// Emits an error line with the last Win32 error and returns the robot's failure code.
int Fail(const std::string& what) {
  DWORD code = GetLastError();
  Emit("{\"error\": " + Json(what) + ", \"code\": " + Num(static_cast<unsigned long long>(code)) + "}");
  return 1;
}

// Parses a decimal or 0x-prefixed number; false when the text is not one.
bool ParseNumber(const char* text, unsigned long long* out) {
  if (text == nullptr || *text == '\0') return false;
  char* end = nullptr;
  *out = std::strtoull(text, &end, 0);
  return end != nullptr && *end == '\0';
}

// Reads a window's text; asks the window itself first (WM_GETTEXT) so
// controls that keep their own text answer correctly, without hanging on a
// busy target.
std::string WindowText(HWND hwnd) {
  DWORD_PTR len = 0;
  if (SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 1000, &len)) {
    std::string buf(static_cast<size_t>(len) + 1, '\0');
    DWORD_PTR got = 0;
    if (SendMessageTimeoutA(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(&buf[0]), SMTO_ABORTIFHUNG,
                            1000, &got)) {
      buf.resize(got <= len ? static_cast<size_t>(got) : static_cast<size_t>(len));
      return buf;
    }
  }
  char buf[4096];
  int n = GetWindowTextA(hwnd, buf, sizeof buf);
  return std::string(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

std::string ClassName(HWND hwnd) {
  char buf[256];
  int n = GetClassNameA(hwnd, buf, sizeof buf);
  return std::string(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

std::string RectJson(HWND hwnd) {
  RECT r = {0, 0, 0, 0};
  GetWindowRect(hwnd, &r);
  return "[" + Num(static_cast<long long>(r.left)) + ", " + Num(static_cast<long long>(r.top)) + ", " +
         Num(static_cast<long long>(r.right)) + ", " + Num(static_cast<long long>(r.bottom)) + "]";
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
  return TRUE;
}

// All descendants of a window, in Z order of each level.
std::vector<HWND> Descendants(HWND top) {
  std::vector<HWND> out;
  EnumChildWindows(top, CollectChild, reinterpret_cast<LPARAM>(&out));
  return out;
}

// Control id as an unsigned 16-bit value, which is how dialogs use it (0xFFFF = IDC_STATIC).
unsigned long long ControlId(HWND hwnd) {
  return static_cast<unsigned long long>(static_cast<unsigned>(GetDlgCtrlID(hwnd)) & 0xFFFFu);
}

// Describes a top-level window and all its controls as a JSON object.
std::string DescribeWindow(HWND hwnd) {
  DWORD pid = 0;
  DWORD tid = GetWindowThreadProcessId(hwnd, &pid);
  std::string out = "{\"hwnd\": " + HwndNum(hwnd) + ", \"pid\": " + Num(static_cast<unsigned long long>(pid)) +
                    ", \"tid\": " + Num(static_cast<unsigned long long>(tid)) + ", \"class\": " +
                    Json(ClassName(hwnd)) + ", \"title\": " + Json(WindowText(hwnd)) +
                    ", \"owner\": " + HwndNum(GetWindow(hwnd, GW_OWNER)) + ", \"rect\": " + RectJson(hwnd) +
                    ", \"visible\": " + Bool(IsWindowVisible(hwnd) != FALSE) +
                    ", \"enabled\": " + Bool(IsWindowEnabled(hwnd) != FALSE) +
                    ", \"style\": " + Num(static_cast<unsigned long long>(static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)))) +
                    ", \"exstyle\": " + Num(static_cast<unsigned long long>(static_cast<DWORD>(GetWindowLongA(hwnd, GWL_EXSTYLE)))) +
                    ", \"children\": [";
  bool first = true;
  for (HWND child : Descendants(hwnd)) {
    if (!first) out += ", ";
    first = false;
    out += "{\"hwnd\": " + HwndNum(child) + ", \"parent\": " + HwndNum(GetParent(child)) +
           ", \"id\": " + Num(ControlId(child)) + ", \"class\": " + Json(ClassName(child)) +
           ", \"text\": " + Json(WindowText(child)) + ", \"rect\": " + RectJson(child) +
           ", \"visible\": " + Bool(IsWindowVisible(child) != FALSE) +
           ", \"enabled\": " + Bool(IsWindowEnabled(child) != FALSE) +
           ", \"style\": " + Num(static_cast<unsigned long long>(static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE)))) + "}";
  }
  return out + "]}";
}

// The process and, when asked, all its descendants (from one process snapshot).
std::set<DWORD> ProcessTree(DWORD root, bool with_descendants) {
  std::set<DWORD> pids = {root};
  if (!with_descendants) return pids;
  Handle snap(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snap.valid()) return pids;
  std::vector<std::pair<DWORD, DWORD>> links;  // (pid, parent)
  PROCESSENTRY32 entry;
  entry.dwSize = sizeof entry;
  for (BOOL ok = Process32First(snap.get(), &entry); ok; ok = Process32Next(snap.get(), &entry)) {
    links.emplace_back(entry.th32ProcessID, entry.th32ParentProcessID);
  }
  for (bool grown = true; grown;) {
    grown = false;
    for (const auto& link : links) {
      if (pids.count(link.second) && !pids.count(link.first)) {
        pids.insert(link.first);
        grown = true;
      }
    }
  }
  return pids;
}

struct WindowQuery {
  std::set<DWORD> pids;
  bool include_hidden;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM param) {
  auto* query = reinterpret_cast<WindowQuery*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (query->pids.count(pid) && (query->include_hidden || IsWindowVisible(hwnd))) query->found.push_back(hwnd);
  return TRUE;
}

// Top-level windows that belong to the given processes, in Z order.
std::vector<HWND> TopLevelWindows(const std::set<DWORD>& pids, bool include_hidden) {
  WindowQuery query{pids, include_hidden, {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

// Finds the control with the given id anywhere inside a window; null if none.
HWND FindControl(HWND top, unsigned id) {
  for (HWND child : Descendants(top)) {
    if (ControlId(child) == id) return child;
  }
  return nullptr;
}

// Presses control `id` of a window the way a click on a button reaches its
// dialog: a BN_CLICKED notification posted to the control's parent. Disabled
// controls are refused, as a user could not click them either. Without such a
// control, `command_fallback` sends the bare command to the window instead.
std::string Press(HWND top, unsigned id, bool command_fallback) {
  HWND control = FindControl(top, id);
  std::string result = "{\"pressed\": {\"hwnd\": " + HwndNum(top) + ", \"id\": " + Num(static_cast<unsigned long long>(id)) +
                       ", \"control\": " + HwndNum(control) + ", ";
  bool ok = false;
  std::string reason;
  if (control != nullptr) {
    if (!IsWindowEnabled(control)) {
      reason = "control disabled";
    } else {
      HWND parent = GetParent(control);
      ok = PostMessageA(parent != nullptr ? parent : top, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(control)) != FALSE;
      if (!ok) reason = "PostMessage failed";
    }
  } else if (command_fallback) {
    ok = PostMessageA(top, WM_COMMAND, MAKEWPARAM(id, 0), 0) != FALSE;
    if (!ok) reason = "PostMessage failed";
  } else {
    reason = "no such control";
  }
  result += "\"ok\": " + Bool(ok);
  if (!reason.empty()) result += ", \"reason\": " + Json(reason);
  return result + "}}";
}

// Quotes one argument so the usual C runtime parser gives it back unchanged.
std::string QuoteArg(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\n\v\"") == std::string::npos) return arg;
  std::string out = "\"";
  size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes are literal unless they precede a quote.
    out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, '\\');
  return out + "\"";
}

struct RunOptions {
  unsigned long long timeout_ms = 60000;
  std::string cwd;
  std::string app;
  std::string cmdline;
  bool have_cmdline = false;
  bool tree = true;
  long press_id = -1;  // -1: only watch
  std::string stdout_file;
  std::string stderr_file;
};

// Opens a file the child inherits as a standard handle.
HANDLE OpenInheritable(const std::string& path) {
  SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
  return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Ends the child and everything it started (children first, so none is orphaned alive).
void KillTree(HANDLE process, DWORD pid) {
  std::set<DWORD> pids = ProcessTree(pid, true);
  for (DWORD other : pids) {
    if (other == pid) continue;
    Handle h(OpenProcess(PROCESS_TERMINATE, FALSE, other));
    if (h.valid()) TerminateProcess(h.get(), 1);
  }
  TerminateProcess(process, 1);
  WaitForSingleObject(process, 5000);
}

int Run(const RunOptions& opt) {
  std::string cmdline = opt.cmdline;
  std::vector<char> buf(cmdline.begin(), cmdline.end());
  buf.push_back('\0');

  Handle out_file(opt.stdout_file.empty() ? nullptr : OpenInheritable(opt.stdout_file));
  Handle err_file(opt.stderr_file.empty() ? nullptr : OpenInheritable(opt.stderr_file));
  if (!opt.stdout_file.empty() && !out_file.valid()) return Fail("cannot open " + opt.stdout_file);
  if (!opt.stderr_file.empty() && !err_file.valid()) return Fail("cannot open " + opt.stderr_file);
  bool redirect = out_file.valid() || err_file.valid();

  STARTUPINFOA si;
  ZeroMemory(&si, sizeof si);
  si.cb = sizeof si;
  if (redirect) {
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out_file.get();
    si.hStdError = err_file.valid() ? err_file.get() : out_file.get();
  }
  PROCESS_INFORMATION pi;
  ZeroMemory(&pi, sizeof pi);
  if (!CreateProcessA(opt.app.empty() ? nullptr : opt.app.c_str(), buf.data(), nullptr, nullptr,
                      redirect ? TRUE : FALSE, 0, nullptr, opt.cwd.empty() ? nullptr : opt.cwd.c_str(), &si, &pi)) {
    return Fail("CreateProcess failed: " + cmdline);
  }
  Handle process(pi.hProcess);
  Handle thread(pi.hThread);
  Emit("{\"pid\": " + Num(static_cast<unsigned long long>(pi.dwProcessId)) + "}");

  // Windows are reported once per appearance: one that disappears and shows
  // up again is reported again.
  std::set<HWND> shown;
  ULONGLONG start = GetTickCount64();
  for (;;) {
    std::vector<HWND> now = TopLevelWindows(ProcessTree(pi.dwProcessId, opt.tree), false);
    for (HWND hwnd : now) {
      if (shown.count(hwnd)) continue;
      Emit("{\"window\": " + DescribeWindow(hwnd) + "}");
      if (opt.press_id >= 0) Emit(Press(hwnd, static_cast<unsigned>(opt.press_id), false));
    }
    shown = std::set<HWND>(now.begin(), now.end());

    if (WaitForSingleObject(process.get(), 50) == WAIT_OBJECT_0) break;
    if (GetTickCount64() - start >= opt.timeout_ms) {
      KillTree(process.get(), pi.dwProcessId);
      Emit("{\"timeout\": true}");
      return 3;
    }
  }
  DWORD code = 0;
  if (!GetExitCodeProcess(process.get(), &code)) return Fail("GetExitCodeProcess failed");
  Emit("{\"exit\": " + Num(static_cast<unsigned long long>(code)) + "}");
  return 0;
}

int Usage() {
  std::fputs(
      "usage:\n"
      "  robot run [--timeout MS] [--cwd DIR] [--dismiss] [--press ID] [--no-tree]\n"
      "            [--stdout FILE] [--stderr FILE] [--app PATH] (--cmdline TEXT | -- EXE [ARG...])\n"
      "  robot windows PID [--all] [--tree]\n"
      "  robot press HWND ID\n"
      "  robot key HWND VK\n",
      stderr);
  return 2;
}

int RunCommand(int argc, char** argv) {
  RunOptions opt;
  int i = 2;
  for (; i < argc; ++i) {
    std::string a = argv[i];
    bool has_value = i + 1 < argc;
    unsigned long long n = 0;
    if (a == "--") {
      ++i;
      break;
    } else if (a == "--timeout" && has_value && ParseNumber(argv[i + 1], &n)) {
      opt.timeout_ms = n;
      ++i;
    } else if (a == "--cwd" && has_value) {
      opt.cwd = argv[++i];
    } else if (a == "--app" && has_value) {
      opt.app = argv[++i];
    } else if (a == "--cmdline" && has_value) {
      opt.cmdline = argv[++i];
      opt.have_cmdline = true;
    } else if (a == "--stdout" && has_value) {
      opt.stdout_file = argv[++i];
    } else if (a == "--stderr" && has_value) {
      opt.stderr_file = argv[++i];
    } else if (a == "--dismiss") {
      if (opt.press_id < 0) opt.press_id = IDOK;
    } else if (a == "--press" && has_value && ParseNumber(argv[i + 1], &n) && n <= 0xFFFF) {
      opt.press_id = static_cast<long>(n);
      ++i;
    } else if (a == "--no-tree") {
      opt.tree = false;
    } else {
      return Usage();
    }
  }
  if (opt.have_cmdline == (i < argc)) return Usage();  // exactly one of --cmdline and -- EXE
  if (!opt.have_cmdline) {
    for (int k = i; k < argc; ++k) {
      if (k > i) opt.cmdline += ' ';
      opt.cmdline += QuoteArg(argv[k]);
    }
  }
  return Run(opt);
}

int WindowsCommand(int argc, char** argv) {
  unsigned long long pid = 0;
  if (argc < 3 || !ParseNumber(argv[2], &pid)) return Usage();
  bool all = false;
  bool tree = false;
  for (int i = 3; i < argc; ++i) {
    if (std::strcmp(argv[i], "--all") == 0) {
      all = true;
    } else if (std::strcmp(argv[i], "--tree") == 0) {
      tree = true;
    } else {
      return Usage();
    }
  }
  for (HWND hwnd : TopLevelWindows(ProcessTree(static_cast<DWORD>(pid), tree), all)) {
    Emit("{\"window\": " + DescribeWindow(hwnd) + "}");
  }
  return 0;
}

bool ParseHwnd(const char* text, HWND* out) {
  unsigned long long v = 0;
  if (!ParseNumber(text, &v)) return false;
  *out = reinterpret_cast<HWND>(static_cast<uintptr_t>(v));
  return IsWindow(*out) != FALSE;
}

int PressCommand(int argc, char** argv) {
  HWND hwnd = nullptr;
  unsigned long long id = 0;
  if (argc != 4 || !ParseNumber(argv[3], &id) || id > 0xFFFF) return Usage();
  if (!ParseHwnd(argv[2], &hwnd)) return Fail(std::string("no such window: ") + argv[2]);
  std::string line = Press(hwnd, static_cast<unsigned>(id), true);
  Emit(line);
  return line.find("\"ok\": true") != std::string::npos ? 0 : 1;
}

// Virtual-key code from a number or one of the names tests use.
bool ParseKey(const char* text, unsigned* vk) {
  static const struct {
    const char* name;
    unsigned vk;
  } kNames[] = {{"RETURN", VK_RETURN}, {"ENTER", VK_RETURN}, {"ESCAPE", VK_ESCAPE}, {"ESC", VK_ESCAPE},
                {"SPACE", VK_SPACE},   {"TAB", VK_TAB},      {"LEFT", VK_LEFT},     {"RIGHT", VK_RIGHT},
                {"UP", VK_UP},         {"DOWN", VK_DOWN}};
  for (const auto& k : kNames) {
    if (_stricmp(text, k.name) == 0) {
      *vk = k.vk;
      return true;
    }
  }
  unsigned long long v = 0;
  if (!ParseNumber(text, &v) || v == 0 || v > 0xFE) return false;
  *vk = static_cast<unsigned>(v);
  return true;
}

// Types a key into a window: the keystroke goes to the control that has the
// keyboard focus when it lies inside the window, as real typing would.
int KeyCommand(int argc, char** argv) {
  HWND hwnd = nullptr;
  unsigned vk = 0;
  if (argc != 4 || !ParseKey(argv[3], &vk)) return Usage();
  if (!ParseHwnd(argv[2], &hwnd)) return Fail(std::string("no such window: ") + argv[2]);
  HWND target = hwnd;
  GUITHREADINFO info;
  ZeroMemory(&info, sizeof info);
  info.cbSize = sizeof info;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info) && info.hwndFocus != nullptr &&
      (info.hwndFocus == hwnd || IsChild(hwnd, info.hwndFocus))) {
    target = info.hwndFocus;
  }
  // lParam: repeat count 1 and the scan code; key-up also sets the
  // previous-state and transition bits.
  DWORD scan = (MapVirtualKeyA(vk, MAPVK_VK_TO_VSC) & 0xFFu) << 16;
  bool ok = PostMessageA(target, WM_KEYDOWN, vk, static_cast<LPARAM>(scan | 1u)) != FALSE &&
            PostMessageA(target, WM_KEYUP, vk, static_cast<LPARAM>(scan | 0xC0000001u)) != FALSE;
  Emit("{\"key\": {\"hwnd\": " + HwndNum(hwnd) + ", \"target\": " + HwndNum(target) +
       ", \"vk\": " + Num(static_cast<unsigned long long>(vk)) + ", \"ok\": " + Bool(ok) + "}}");
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  std::string command = argv[1];
  if (command == "run") return RunCommand(argc, argv);
  if (command == "windows") return WindowsCommand(argc, argv);
  if (command == "press") return PressCommand(argc, argv);
  if (command == "key") return KeyCommand(argc, argv);
  return Usage();
}
