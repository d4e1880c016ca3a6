// What a pointer move over the window's surface leaves in the settings store, also when the store
// was changed behind this window's back since its last save.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "settings/settings_store.h"
#include "settings/window_position.h"
#include "support/main_window_fixture.h"

namespace {

constexpr POINT kBareSurface{120, 25};  // window pixels below the caption buttons, beside no control
constexpr long kTwipsPerPixel = 15;     // the test display runs at 96 dpi

std::wstring Stored(const wchar_t* key) {
  return ReadSetting(SavedPosition::kApplication, SavedPosition::kSection, key);
}

// Left, top, width and height as the store holds them, and as they should read for a window.
std::wstring StoredPlace() {
  return Stored(L"Left") + L" " + Stored(L"Top") + L" " + Stored(L"Width") + L" " + Stored(L"Height");
}
std::wstring PlaceInTwips(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  long values[] = {r.left, r.top, r.right - r.left, r.bottom - r.top};
  std::wstring text;
  for (long pixels : values) text += (text.empty() ? L"" : L" ") + std::to_wstring(pixels * kTwipsPerPixel);
  return text;
}

void PutStored(const wchar_t* key, const wchar_t* value) {
  WriteSetting(SavedPosition::kApplication, SavedPosition::kSection, key, value);
}

class SavedPositionTest : public MainWindowTest {
 protected:
  // A pointer move with no button held over the bare surface, straight to the window.
  void SurfaceMove() {
    ::SendMessageW(form().hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(kBareSurface.x, kBareSurface.y));
  }
};

TEST_F(SavedPositionTest, ASaveLeavesThisWindowsPlaceWhoeverWroteTheStoreSince) {
  const struct {
    const char* name;
    std::function<void()> meddle;
  } rows[] = {
      {"nothing changed", [] {}},
      {"another copy saved its place",
       [] {
         PutStored(L"Left", L"7905");
         PutStored(L"Top", L"3000");
         PutStored(L"Width", L"4500");
         PutStored(L"Height", L"3945");
       }},
      {"the key was deleted",
       [] { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\QevSoft_Color"); }},
      {"one value was edited", [] { PutStored(L"Top", L"abc"); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    SurfaceMove();
    row.meddle();
    SurfaceMove();
    EXPECT_EQ(StoredPlace(), PlaceInTwips(form().hWnd()));
  }
}

TEST_F(SavedPositionTest, NothingIsSavedWhileMinimisedAndAllAgainAfterTheRestore) {
  form().SetMinimised(true);
  ASSERT_TRUE(form().Minimised());
  SurfaceMove();
  EXPECT_EQ(StoredPlace(), L"   ") << "saved while minimised";
  form().SetMinimised(false);
  SurfaceMove();
  EXPECT_EQ(StoredPlace(), PlaceInTwips(form().hWnd()));
}

}  // namespace
