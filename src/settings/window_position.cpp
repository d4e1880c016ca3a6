#include "settings/window_position.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "controls/runtime.h"
#include "settings/position_text.h"
#include "settings/settings_watch.h"

namespace SavedPosition {

namespace {

const std::array<const wchar_t*, 4> kKeys = {L"Left", L"Top", L"Width", L"Height"};

std::array<std::wstring, 4> ReadStored() {
  std::vector<std::wstring> values = GetSettings(kApplication, kSection, kKeys);
  return {values[0], values[1], values[2], values[3]};
}

// What the store was last seen holding, kept while the watch has seen no change since.
std::array<std::wstring, 4> g_confirmed;

SettingsWatch& StoreWatch() {
  static SettingsWatch watch(kApplication, kSection);
  return watch;
}

void Centre(Form& form) {
  float width = form.Width(), height = form.Height();
  form.Move((Screen::Width() - width) / 2, (Screen::Height() - height) / 2, width, height);
}

double Compared(const std::wstring& text) {
  std::optional<double> value = TextToNumber(text, LocaleDecimalSeparator());
  if (!value) throw FormError("stored size is not a number");
  return *value;
}

float Number(const std::wstring& text) {
  std::optional<float> value = TextToSingle(text, LocaleDecimalSeparator());
  if (!value) throw FormError("stored position is not a number");
  return *value;
}

// A stored place can lie far beyond any screen, where a pixel count no longer fits a RECT.
LONG PixelEdge(double twips, double twipsPerPixel) {
  return static_cast<LONG>(std::clamp(std::round(twips / twipsPerPixel), -1e9, 1e9));
}

bool OnSomeMonitor(float left, float top, float width, float height) {
  const double perPixelX = Screen::TwipsPerPixelX(), perPixelY = Screen::TwipsPerPixelY();
  RECT r{PixelEdge(left, perPixelX), PixelEdge(top, perPixelY), PixelEdge(double{left} + width, perPixelX),
         PixelEdge(double{top} + height, perPixelY)};
  return ::MonitorFromRect(&r, MONITOR_DEFAULTTONULL) != nullptr;
}

}  // namespace

void SaveWindowPos(const Form& form) noexcept {
  try {
    wchar_t separator = LocaleDecimalSeparator();
    std::array<std::wstring, 4> texts = {SingleToText(form.Left(), separator), SingleToText(form.Top(), separator),
                                         SingleToText(form.Width(), separator),
                                         SingleToText(form.Height(), separator)};
    // Another copy of the program, or a hand in the registry, may change the store at any time:
    // what this process wrote last says nothing, what the store holds does.
    if (texts == g_confirmed && !StoreWatch().Changed()) return;
    g_confirmed = {};
    if (ReadStored() != texts)
      for (size_t i = 0; i < kKeys.size(); ++i) SaveSetting(kApplication, kSection, kKeys[i], texts[i]);
    // Watch first, then look: a change after the look is signalled, one before it is seen.
    StoreWatch().Restart();
    if (ReadStored() == texts) g_confirmed = texts;
  } catch (...) {
  }
}

void RestoreWindowPos(Form& form) {
  const auto [left, top, width, height] = ReadStored();
  if (left.empty() || top.empty()) return Centre(form);
  // Both sizes are read before either is compared, so a width that is no number stops the
  // restore even when the height already differs.
  const double storedHeight = Compared(height), storedWidth = Compared(width);
  if (storedHeight != form.Height() || storedWidth != form.Width()) return Centre(form);
  float l = Number(left), t = Number(top), w = Number(width), h = Number(height);
  // A place on a monitor that is gone would leave a window nobody can reach.
  if (!OnSomeMonitor(l, t, w, h)) return Centre(form);
  form.Move(l, t, w, h);
}

}  // namespace SavedPosition
