#include "settings/window_position.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "settings/settings_store.h"
#include "win32/display.h"
#include "win32/display_scale.h"
#include "settings/position_text.h"
#include "settings/settings_watch.h"

namespace SavedPosition {

namespace {

const std::array<const wchar_t*, 4> kKeys = {L"Left", L"Top", L"Width", L"Height"};

// The window's outer rectangle as it is stored, in twips: the place measured by the system's
// resolution and the size by the layout's, so a stored place is the same physical pixel and a
// stored size the same layout on any monitor.
struct TwipsPlace {
  float left, top, width, height;
};

float PlaceTwipsPerPixel() { return TwipsPerPixelAt(Display::SystemDpi()); }

TwipsPlace InTwips(const RECT& place) {
  const float perPixel = PlaceTwipsPerPixel(), sizePerPixel = Display::TwipsPerPixel();
  return {static_cast<float>(place.left) * perPixel, static_cast<float>(place.top) * perPixel,
          static_cast<float>(place.right - place.left) * sizePerPixel,
          static_cast<float>(place.bottom - place.top) * sizePerPixel};
}

void MoveTo(Form& form, const TwipsPlace& twips) {
  const float perPixel = PlaceTwipsPerPixel();
  const int left = static_cast<int>(std::lround(twips.left / perPixel));
  const int top = static_cast<int>(std::lround(twips.top / perPixel));
  form.MoveTo({left, top, left + TwipsToPixelsAt(twips.width, Display::Dpi()),
               top + TwipsToPixelsAt(twips.height, Display::Dpi())});
}

std::array<std::wstring, 4> ReadStored() {
  std::vector<std::wstring> values = ReadSettings(kApplication, kSection, kKeys);
  return {values[0], values[1], values[2], values[3]};
}

// What the store was last seen holding, kept while the watch has seen no change since.
std::array<std::wstring, 4> g_confirmed;

SettingsWatch& StoreWatch() {
  static SettingsWatch watch(kApplication, kSection);
  return watch;
}

void Centre(Form& form) {
  const TwipsPlace now = InTwips(form.Place());
  const float perPixel = PlaceTwipsPerPixel();
  const float screenWidth = static_cast<float>(::GetSystemMetrics(SM_CXSCREEN)) * perPixel;
  const float screenHeight = static_cast<float>(::GetSystemMetrics(SM_CYSCREEN)) * perPixel;
  MoveTo(form, {(screenWidth - now.width) / 2, (screenHeight - now.height) / 2, now.width, now.height});
}

// A stored place can lie far beyond any screen, where a pixel count no longer fits a RECT.
LONG PixelEdge(double twips, double twipsPerPixel) {
  return static_cast<LONG>(std::clamp(std::round(twips / twipsPerPixel), -1e9, 1e9));
}

bool OnSomeMonitor(float left, float top, float width, float height) {
  const double perPixelX = PlaceTwipsPerPixel(), perPixelY = PlaceTwipsPerPixel();
  RECT r{PixelEdge(left, perPixelX), PixelEdge(top, perPixelY), PixelEdge(double{left} + width, perPixelX),
         PixelEdge(double{top} + height, perPixelY)};
  return ::MonitorFromRect(&r, MONITOR_DEFAULTTONULL) != nullptr;
}

}  // namespace

void SaveWindowPos(const Form& form) {
  {
    const wchar_t separator = LocaleDecimalSeparator();
    const TwipsPlace place = InTwips(form.Place());
    std::array<std::wstring, 4> texts = {SingleToText(place.left, separator), SingleToText(place.top, separator),
                                         SingleToText(place.width, separator),
                                         SingleToText(place.height, separator)};
    // Another copy of the program, or a hand in the registry, may change the store at any time:
    // what this process wrote last says nothing, what the store holds does.
    if (texts == g_confirmed && !StoreWatch().Changed()) return;
    g_confirmed = {};
    // A write that fails stops the save there: the next move tries again.
    if (ReadStored() != texts)
      for (size_t i = 0; i < kKeys.size(); ++i)
        if (!WriteSetting(kApplication, kSection, kKeys[i], texts[i])) return;
    // Watch first, then look: a change after the look is signalled, one before it is seen.
    StoreWatch().Restart();
    if (ReadStored() == texts) g_confirmed = texts;
  }
}

void RestoreWindowPos(Form& form) {
  const auto [left, top, width, height] = ReadStored();
  if (left.empty() || top.empty()) return Centre(form);
  // Both sizes are read before either is compared, so a width that is no number stops the
  // restore even when the height already differs; a stored text that is no number leaves the
  // window where it is.
  const wchar_t separator = LocaleDecimalSeparator();
  const std::optional<double> storedHeight = TextToNumber(height, separator), storedWidth = TextToNumber(width, separator);
  if (!storedHeight || !storedWidth) return;
  const TwipsPlace now = InTwips(form.Place());
  if (*storedHeight != now.height || *storedWidth != now.width) return Centre(form);
  const std::optional<float> l = TextToSingle(left, separator), t = TextToSingle(top, separator),
                             w = TextToSingle(width, separator), h = TextToSingle(height, separator);
  if (!l || !t || !w || !h) return;
  // A place on a monitor that is gone would leave a window nobody can reach.
  if (!OnSomeMonitor(*l, *t, *w, *h)) return Centre(form);
  MoveTo(form, {*l, *t, *w, *h});
}

}  // namespace SavedPosition
