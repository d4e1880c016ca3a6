// What a pointer move over the window's surface leaves in the settings store, also when the store
// was changed behind this window's back since its last save.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "settings/window_position.h"
#include "support/main_window_fixture.h"

namespace {

constexpr POINT kBareSurface{120, 25};  // window pixels below the caption buttons, beside no control
constexpr long kTwipsPerPixel = 15;     // the test display runs at 96 dpi

std::wstring Stored(const wchar_t* key) {
  return GetSetting(记录窗体位置::kApplication, 记录窗体位置::kSection, key);
}

void PutStored(const wchar_t* key, const wchar_t* value) {
  SaveSetting(记录窗体位置::kApplication, 记录窗体位置::kSection, key, value);
}

class SavedPositionTest : public MainWindowTest {
 protected:
  // A pointer move with no button held over the bare surface, straight to the window.
  void SurfaceMove() {
    ::SendMessageW(form().hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(kBareSurface.x, kBareSurface.y));
  }
  void ExpectStoredPlaceOfTheWindow() {
    RECT r{};
    ::GetWindowRect(form().hWnd(), &r);
    EXPECT_EQ(Stored(L"Left"), std::to_wstring(r.left * kTwipsPerPixel));
    EXPECT_EQ(Stored(L"Top"), std::to_wstring(r.top * kTwipsPerPixel));
    EXPECT_EQ(Stored(L"Width"), std::to_wstring((r.right - r.left) * kTwipsPerPixel));
    EXPECT_EQ(Stored(L"Height"), std::to_wstring((r.bottom - r.top) * kTwipsPerPixel));
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
    ExpectStoredPlaceOfTheWindow();
  }
}

TEST_F(SavedPositionTest, NothingIsSavedWhileMinimisedAndAllAgainAfterTheRestore) {
  form().SetWindowState(1);
  ASSERT_EQ(form().WindowState(), 1);
  SurfaceMove();
  for (const wchar_t* key : {L"Left", L"Top", L"Width", L"Height"}) EXPECT_EQ(Stored(key), L"") << key;
  form().SetWindowState(0);
  SurfaceMove();
  ExpectStoredPlaceOfTheWindow();
}

}  // namespace
