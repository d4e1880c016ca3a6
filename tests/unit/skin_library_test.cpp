// SkinH.dll as the program meets it: loaded by name from the exe's folder and
// called through the two exports it looks up.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "skinh.h"
#include "win32/handles.h"

namespace {

std::vector<std::string> ExportedNames(HMODULE module) {
  const auto* base = reinterpret_cast<const BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
  const auto* nameOffsets = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  std::vector<std::string> names;
  for (DWORD i = 0; i < exports->NumberOfNames; ++i)
    names.emplace_back(reinterpret_cast<const char*>(base + nameOffsets[i]));
  return names;
}

std::string ExeFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\'));
}

std::string TempFolder() {
  char path[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, path);
  return path;
}

// A file in the temp folder holding the given bytes, gone when the test ends.
class TempSkinFile {
 public:
  explicit TempSkinFile(std::string_view content) {
    char name[MAX_PATH] = {};
    GetTempFileNameA(TempFolder().c_str(), "hsk", 0, name);
    path_ = name;
    const unique_file file(CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                       nullptr));
    DWORD written = 0;
    written_ = file &&
               WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written,
                         nullptr) &&
               written == content.size();
  }
  TempSkinFile(const TempSkinFile&) = delete;
  TempSkinFile& operator=(const TempSkinFile&) = delete;
  ~TempSkinFile() { DeleteFileA(path_.c_str()); }
  const char* path() const { return path_.c_str(); }
  bool written() const { return written_; }

 private:
  std::string path_;
  bool written_ = false;
};

class SkinLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(library_) << "SkinH.dll not found next to the test";
    attach_ = reinterpret_cast<SkinH_AttachExFn>(
        reinterpret_cast<void*>(GetProcAddress(library_.get(), "SkinH_AttachEx")));
    setAero_ = reinterpret_cast<SkinH_SetAeroFn>(
        reinterpret_cast<void*>(GetProcAddress(library_.get(), "SkinH_SetAero")));
    ASSERT_NE(attach_, nullptr);
    ASSERT_NE(setAero_, nullptr);
  }
  int Attach(const char* path) { return attach_(path, ""); }

  unique_module library_{LoadLibraryW(L"SkinH.dll")};
  SkinH_AttachExFn attach_ = nullptr;
  SkinH_SetAeroFn setAero_ = nullptr;
};

constexpr int Status(SkinStatus status) { return static_cast<int>(status); }

TEST_F(SkinLibrary, ExportsExactlyTheTwoUndecoratedNames) {
  EXPECT_EQ(ExportedNames(library_.get()),
            (std::vector<std::string>{"SkinH_AttachEx", "SkinH_SetAero"}));
}

TEST_F(SkinLibrary, AttachesTheSkinFileBesideTheProgram) {
  const std::string skinPath = ExeFolder() + "\\she.she";
  EXPECT_EQ(Attach(skinPath.c_str()), Status(SkinStatus::attached));
  EXPECT_EQ(attach_(skinPath.c_str(), nullptr), Status(SkinStatus::attached));
  // What the program passes when it runs from a drive root: the folder already ends in '\\'.
  const std::string doubled = ExeFolder() + "\\\\she.she";
  EXPECT_EQ(Attach(doubled.c_str()), Status(SkinStatus::attached)) << doubled;
}

TEST_F(SkinLibrary, ReportsWhyAPathGivesNoSkin) {
  const std::string missing = TempFolder() + "huevik-no-such-skin.she";
  const std::string folder = TempFolder();
  const struct {
    const char* what;
    const char* path;
    SkinStatus expected;
  } cases[] = {
      {"null path", nullptr, SkinStatus::no_path},
      {"empty path", "", SkinStatus::no_path},
      {"missing file", missing.c_str(), SkinStatus::cannot_read},
      {"a folder", folder.c_str(), SkinStatus::cannot_read},
  };
  for (const auto& c : cases) EXPECT_EQ(Attach(c.path), Status(c.expected)) << c.what;
}

TEST_F(SkinLibrary, ChecksTheFileContent) {
  const std::string tooLarge = "HUEVIK-SKIN 1\n#" + std::string(70 * 1024, 'x') + "\n";
  const struct {
    const char* what;
    std::string_view content;
    SkinStatus expected;
  } cases[] = {
      {"magic line only", "HUEVIK-SKIN 1", SkinStatus::attached},
      {"CRLF line ends", "HUEVIK-SKIN 1\r\nborder=1,2,3\r\n", SkinStatus::attached},
      {"blanks, comments, spaces, unknown key",
       "HUEVIK-SKIN 1\n\n# note\n  border = 0, 128 ,255 \nshadow=soft\n", SkinStatus::attached},
      {"empty file", "", SkinStatus::bad_header},
      {"other magic", "SKIN 1\nborder=1,2,3\n", SkinStatus::bad_header},
      {"later version", "HUEVIK-SKIN 2\n", SkinStatus::bad_header},
      {"magic on second line", "\nHUEVIK-SKIN 1\n", SkinStatus::bad_header},
      {"line without =", "HUEVIK-SKIN 1\nborder\n", SkinStatus::bad_entry},
      {"empty key", "HUEVIK-SKIN 1\n=5\n", SkinStatus::bad_entry},
      {"channel above 255", "HUEVIK-SKIN 1\nborder=256,0,0\n", SkinStatus::bad_entry},
      {"negative channel", "HUEVIK-SKIN 1\nborder=-1,0,0\n", SkinStatus::bad_entry},
      {"two channels", "HUEVIK-SKIN 1\npanel=1,2\n", SkinStatus::bad_entry},
      {"four channels", "HUEVIK-SKIN 1\ntitle=1,2,3,4\n", SkinStatus::bad_entry},
      {"empty channel", "HUEVIK-SKIN 1\nborder=1,,3\n", SkinStatus::bad_entry},
      {"colour as a word", "HUEVIK-SKIN 1\nborder=blue\n", SkinStatus::bad_entry},
      {"larger than any skin", tooLarge, SkinStatus::cannot_read},
  };
  for (const auto& c : cases) {
    const TempSkinFile file(c.content);
    ASSERT_TRUE(file.written()) << c.what;
    EXPECT_EQ(Attach(file.path()), Status(c.expected)) << c.what;
  }
}

TEST_F(SkinLibrary, SetAeroAcceptsBothSettings) {
  EXPECT_EQ(setAero_(1), 0);
  EXPECT_EQ(setAero_(0), 0);
}

}  // namespace
