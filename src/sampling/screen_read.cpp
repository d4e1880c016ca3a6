#include "sampling/screen_read.h"

#include <versionhelpers.h>

#include "win32/library_search.h"

// Composition can be off only before Windows 8, and there it follows the theme, which the user
// may change while the program runs: asked at each copy. The composition library loads only there.
DWORD ScreenCopyRop() {
  static const bool alwaysComposed = ::IsWindows8OrGreater();
  if (alwaysComposed) return SRCCOPY;
  using IsCompositionEnabledFn = HRESULT(WINAPI*)(BOOL*);
  static const auto isEnabled = [] {
    HMODULE library = LibrarySearch::LoadSystemLibrary(L"dwmapi.dll");
    return reinterpret_cast<IsCompositionEnabledFn>(
        reinterpret_cast<void*>(library ? ::GetProcAddress(library, "DwmIsCompositionEnabled") : nullptr));
  }();
  BOOL enabled = FALSE;
  const bool composed = isEnabled && SUCCEEDED(isEnabled(&enabled)) && enabled;
  return composed ? SRCCOPY : SRCCOPY | CAPTUREBLT;
}
