// The real program started from outside: its window, its frame and its close.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/huevik_process.h"

namespace {

// A folder holding only a copy of Huevik.exe: no skin library, no skin file.
class BareFolder {
 public:
  BareFolder() {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"huevik-bare-" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(path_.c_str(), nullptr);
    ::CopyFileW((TestProgramDir() + L"\\Huevik.exe").c_str(), (path_ + L"\\Huevik.exe").c_str(), FALSE);
  }
  ~BareFolder() {
    ::DeleteFileW((path_ + L"\\Huevik.exe").c_str());
    ::DeleteFileW((path_ + L"\\SkinH.dll").c_str());
    ::DeleteFileW((path_ + L"\\she.she").c_str());
    ::RemoveDirectoryW(path_.c_str());
  }
  const std::wstring& path() const { return path_; }
  void Put(const wchar_t* name, const char* content) {
    const unique_file file(
        ::CreateFileW((path_ + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ::WriteFile(file.get(), content, static_cast<DWORD>(strlen(content)), &written, nullptr);
  }

 private:
  std::wstring path_;
};

void ExpectStartedWindow(const HuevikProcess& huevik) {
  HWND window = huevik.Window();
  LONG_PTR ex = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
  LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
  EXPECT_TRUE(ex & WS_EX_TOPMOST) << "not topmost";
  EXPECT_TRUE(ex & WS_EX_LAYERED) << "not layered";
  EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_SYSMENU), WS_MINIMIZEBOX | WS_SYSMENU);
  EXPECT_EQ(style & WS_CAPTION, 0) << "the window has a system caption";
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(::GetLayeredWindowAttributes(window, &key, &alpha, &flags)) << "error " << ::GetLastError();
  EXPECT_EQ(flags & LWA_COLORKEY, static_cast<DWORD>(LWA_COLORKEY));
  EXPECT_EQ(key, 0x00FF0000u);
  RECT client{};
  ::GetClientRect(window, &client);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 263);
  EXPECT_TRUE(::IsWindowVisible(window));
}

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override { stored::Clear(); }
};

TEST_F(StartupTest, WindowComesUpTopmostLayeredAndColourKeyed) {
  HuevikProcess huevik;
  ExpectStartedWindow(huevik);
}

TEST_F(StartupTest, ControlsShowTheirInitialTexts) {
  HuevikProcess huevik;
  const struct {
    int x, y;
    const wchar_t* text;
  } expected[] = {{85, 45, L"\x1EHF7AD6B\x1F"}, {85, 70, L"107"},       {85, 93, L"173"},
                  {85, 116, L"247"},            {245, 230, L"调色板"},  {12, 230, L"VB专用值"},
                  {85, 230, L"通用RGB值"},       {165, 230, L"Web(其他)"}};
  for (const auto& e : expected) {
    HWND child = huevik.ChildAt(e.x, e.y);
    ASSERT_NE(child, huevik.Window()) << "no control at " << e.x << "," << e.y;
    EXPECT_EQ(ReadWindowText(child), e.text) << "at " << e.x << "," << e.y;
  }
  HWND vbOption = huevik.ChildAt(12, 230);
  EXPECT_EQ(::SendMessageW(vbOption, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(StartupTest, CloseHidesAndMinimisesButTheProgramRunsOn) {
  HuevikProcess huevik;
  ::SendMessageW(huevik.Window(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(huevik.Running());
  EXPECT_TRUE(::IsWindow(huevik.Window()));
  EXPECT_FALSE(::IsWindowVisible(huevik.Window()));
  EXPECT_TRUE(::IsIconic(huevik.Window()));
  ::SendMessageW(huevik.Window(), WM_CLOSE, 0, 0);  // a second close changes nothing visible
  EXPECT_TRUE(huevik.Running());
  EXPECT_FALSE(::IsWindowVisible(huevik.Window()));
}

TEST_F(StartupTest, RunsOnWithoutTheSkinLibraryOrItsFile) {
  BareFolder folder;
  HuevikProcess huevik(folder.path());
  ExpectStartedWindow(huevik);
  ::SendMessageW(huevik.Window(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(huevik.Running());
  EXPECT_FALSE(::IsWindowVisible(huevik.Window()));
}

TEST_F(StartupTest, RunsOnWithABrokenSkinLibraryAndSkinFile) {
  BareFolder folder;
  folder.Put(L"SkinH.dll", "this is not a library");
  folder.Put(L"she.she", "\x01\x02 not a skin");
  HuevikProcess huevik(folder.path());
  ExpectStartedWindow(huevik);
}

TEST_F(StartupTest, RunsOnWithTheLibraryButNoSkinFile) {
  BareFolder folder;
  ::CopyFileW((TestProgramDir() + L"\\SkinH.dll").c_str(), (folder.path() + L"\\SkinH.dll").c_str(), FALSE);
  HuevikProcess huevik(folder.path());
  ExpectStartedWindow(huevik);
}

}  // namespace
