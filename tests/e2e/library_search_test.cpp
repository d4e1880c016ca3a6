// Where the real program looks for its skin library: only beside itself. A SkinH.dll planted in
// the folder it is started from, or in a folder on PATH, must never be loaded.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "support/huevik_process.h"

namespace {

namespace fs = std::filesystem;

// An empty folder of the test's own, removed with everything in it.
class ScratchFolder {
 public:
  explicit ScratchFolder(const wchar_t* name)
      : path_(fs::temp_directory_path() / (std::wstring(L"huevik-") + name + L"-" +
                                           std::to_wstring(::GetCurrentProcessId()))) {
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// PATH with one more folder in front, for the programs this test starts.
class PathInFront {
 public:
  explicit PathInFront(const fs::path& folder) {
    wchar_t old[32767] = {};
    ::GetEnvironmentVariableW(L"PATH", old, 32767);
    old_ = old;
    ::SetEnvironmentVariableW(L"PATH", (folder.wstring() + L";" + old_).c_str());
  }
  ~PathInFront() { ::SetEnvironmentVariableW(L"PATH", old_.c_str()); }

 private:
  std::wstring old_;
};

TEST(LibrarySearchTest, PlantedSkinLibraryIsNotLoadedAndTheProgramRunsOnWithout) {
  const fs::path built = TestProgramDir();
  for (bool plantOnPath : {false, true}) {
    SCOPED_TRACE(plantOnPath ? "planted in a folder on PATH" : "planted in the current folder");
    ScratchFolder program(L"program"), current(L"current"), onPath(L"on-path");
    fs::copy_file(built / L"Huevik.exe", program.path() / L"Huevik.exe");
    const fs::path plant = (plantOnPath ? onPath : current).path();
    fs::copy_file(built / L"planted" / L"SkinH.dll", plant / L"SkinH.dll");
    PathInFront path(onPath.path());

    HuevikProcess huevik(program.path().wstring(), current.path().wstring());
    EXPECT_FALSE(fs::exists(plant / L"SkinH.dll.loaded")) << "the planted library was loaded";
    // Startup went on past the skin: the window is keyed, topmost and shown.
    EXPECT_TRUE(huevik.Running());
    EXPECT_TRUE(::IsWindowVisible(huevik.Window()));
    const LONG_PTR ex = ::GetWindowLongPtrW(huevik.Window(), GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_LAYERED);
    EXPECT_TRUE(ex & WS_EX_TOPMOST);
  }
}

}  // namespace
