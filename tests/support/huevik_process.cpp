#include "support/huevik_process.h"

#include <stdexcept>

std::wstring TestProgramDir() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir = path;
  return dir.substr(0, dir.find_last_of(L'\\'));
}

std::wstring ReadWindowText(HWND window) {
  wchar_t buffer[1024] = {};
  ::SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000,
                        nullptr);
  return buffer;
}

namespace {

struct Search {
  DWORD process;
  HWND found;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  wchar_t cls[64] = {};
  ::GetClassNameW(window, cls, 64);
  if (owner == search->process && std::wstring(cls) == L"HuevikForm" && ReadWindowText(window) == L"Huevik") {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND HuevikWindowOf(DWORD processId) {
  Search search{processId, nullptr};
  ::EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HuevikProcess::HuevikProcess(const std::wstring& dir) {
  std::wstring exe = dir + L"\\Huevik.exe";
  std::wstring command = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!::CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &startup,
                        &info_))
    throw std::runtime_error("Huevik.exe cannot be started");
  ::WaitForInputIdle(info_.hProcess, 10000);
  for (int i = 0; i < 200 && !(window_ && ::IsWindowVisible(window_)); ++i) {
    window_ = HuevikWindowOf(info_.dwProcessId);
    if (!window_ || !::IsWindowVisible(window_)) ::Sleep(25);
  }
  if (!window_) throw std::runtime_error("Huevik's window did not show");
}

HuevikProcess::~HuevikProcess() {
  if (Running()) {
    ::TerminateProcess(info_.hProcess, 99);
    ::WaitForSingleObject(info_.hProcess, 5000);
  }
  ::CloseHandle(info_.hThread);
  ::CloseHandle(info_.hProcess);
}

bool HuevikProcess::Running() const { return ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

bool HuevikProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode) const {
  if (::WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
  if (exitCode) ::GetExitCodeProcess(info_.hProcess, exitCode);
  return true;
}

HWND HuevikProcess::ChildAt(int clientX, int clientY) const {
  return ::ChildWindowFromPointEx(window_, {clientX, clientY}, CWP_SKIPTRANSPARENT);
}

namespace stored {

namespace {
const wchar_t kKey[] = L"Software\\VB and VBA Program Settings\\QevSoft_Color\\Soft_Stat";
}

void Clear() { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\QevSoft_Color"); }

void Write(const wchar_t* key, const wchar_t* value) {
  ::RegSetKeyValueW(HKEY_CURRENT_USER, kKey, key, REG_SZ, value,
                    static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
}

std::wstring Read(const wchar_t* key) {
  wchar_t buffer[4096] = {};
  DWORD bytes = sizeof buffer;
  if (::RegGetValueW(HKEY_CURRENT_USER, kKey, key, RRF_RT_REG_SZ, nullptr, buffer, &bytes) != ERROR_SUCCESS)
    return L"<absent>";
  return buffer;
}

}  // namespace stored
