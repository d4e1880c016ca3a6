// Facts about the running program and the screen that every form relies on,
// and the error modes its routines use.
#pragma once
#include <windows.h>

#include <cstdint>
#include <span>
#include <exception>
#include <string>
#include <vector>

// A failure inside a form-layer operation: what a routine's error mode acts on. It carries a
// fixed text only, so raising one never allocates.
class FormError : public std::exception {
 public:
  explicit FormError(const char* what) noexcept : what_(what) {}
  const char* what() const noexcept override { return what_; }

 private:
  const char* what_;
};

// Error mode "go on with the next statement": each step runs, a failing step is skipped.
template <typename... Steps>
void ResumeNext(Steps&&... steps) noexcept {
  auto run = [](auto&& step) noexcept {
    try {
      step();
    } catch (...) {
    }
  };
  (run(steps), ...);
}

// What happens to an error that leaves an event handler: it ends that event only,
// is told to a debugger, and the program goes on with the next message.
void ReportHandlerFailure() noexcept;
template <typename Handler>
void RaiseEvent(Handler&& handler) noexcept {
  try {
    handler();
  } catch (...) {
    ReportHandlerFailure();
  }
}

namespace App {
HINSTANCE Instance();
// The program's directory as the form runtime reports it: no trailing backslash,
// except for a drive root whose reported path already ends in one.
std::wstring Path();
struct Version {
  int major, minor, revision;
};
Version FileVersion();  // read from the module's own version information
}  // namespace App

// Screen positions in twips are measured by the system's resolution, so a stored place
// means the same physical pixel whichever monitor the window was on.
namespace Screen {
float TwipsPerPixelX();
float TwipsPerPixelY();
float Width();   // primary screen, twips
float Height();  // primary screen, twips
}  // namespace Screen

// Twips -> pixels of the layout (control places, window sizes) at the resolution the
// windows are laid out at now; halves away from zero.
int TwipsToPixelsX(float twips);
int TwipsToPixelsY(float twips);

// A window's text, whatever its length.
std::wstring WindowText(HWND window);

// Modal message box owned by the thread's active window; returns the button pressed.
int ShowMessageBox(const std::wstring& text, UINT style, const std::wstring& title);

// The per-user settings store: text values by application, section and key.
void SaveSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                 const std::wstring& value);
std::wstring GetSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key);
// Several values of one section, read as GetSetting reads each, with the store opened once.
std::vector<std::wstring> GetSettings(const std::wstring& app, const std::wstring& section,
                                      std::span<const wchar_t* const> keys);
// The key of an application's settings, or of one section of them.
std::wstring SettingsKeyPath(const std::wstring& app, const std::wstring& section = {});
// Values this process has written to the settings store so far (benchmarks count them).
std::uint64_t SettingsWritesSoFar();
