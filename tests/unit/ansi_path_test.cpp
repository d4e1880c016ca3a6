// Paths handed to an ANSI-only library: exact, or short, or none, in the code pages users have.
#include "win32/ansi_path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring TempFolder() {
  wchar_t path[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, path);
  return path;
}

std::wstring FromCodePage(const std::string& bytes, UINT codePage) {
  std::wstring text(bytes.size(), L'\0');
  text.resize(static_cast<std::size_t>(::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                             text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring LongForm(const std::wstring& path) {
  wchar_t buffer[MAX_PATH] = {};
  ::GetLongPathNameW(path.c_str(), buffer, MAX_PATH);
  return buffer;
}

// A folder under the temp folder, gone when the test ends.
class TempFolderNamed {
 public:
  explicit TempFolderNamed(const std::wstring& name)
      : path_(TempFolder() + name), made_(::CreateDirectoryW(path_.c_str(), nullptr) != FALSE) {}
  TempFolderNamed(const TempFolderNamed&) = delete;
  TempFolderNamed& operator=(const TempFolderNamed&) = delete;
  ~TempFolderNamed() { ::RemoveDirectoryW(path_.c_str()); }
  const std::wstring& path() const { return path_; }
  bool made() const { return made_; }

 private:
  std::wstring path_;
  bool made_;
};

TEST(ExactAnsiPath, LongFormWhenExactShortFormWhenNotNeverLossy) {
  const TempFolderNamed plain(L"huevik plain folder"), chinese(L"调色板 文件夹"), western(L"huevik café");
  // Wine spells file names in the Linux locale's character set: with an ungenerated locale that is
  // ASCII, and no folder with these names can exist in that session.
  if (!chinese.made() || !western.made()) GTEST_SKIP() << "this session cannot make non-ASCII file names";
  ASSERT_TRUE(plain.made());
  const std::wstring missing = TempFolder() + L"调色板 不存在";
  enum class Form { Long, Short, None };
  const struct {
    const char* what;
    std::wstring folder;
    UINT codePage;
    Form expected;
  } cases[] = {
      {"ASCII folder, Western", plain.path(), 1252, Form::Long},
      {"Chinese folder, Chinese", chinese.path(), 936, Form::Long},
      {"Chinese folder, UTF-8", chinese.path(), CP_UTF8, Form::Long},
      {"Chinese folder, Western", chinese.path(), 1252, Form::Short},
      {"simplified Chinese folder, Japanese", chinese.path(), 932, Form::Short},
      {"accented folder, Western", western.path(), 1252, Form::Long},
      {"accented folder, Japanese (best fit would drop the accent)", western.path(), 932, Form::Short},
      {"missing Chinese folder, Western", missing, 1252, Form::None},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::optional<std::string> path = ExactAnsiPath(c.folder, L"\\she.she", c.codePage);
    if (c.expected == Form::None) {
      EXPECT_FALSE(path.has_value()) << *path;
      continue;
    }
    ASSERT_TRUE(path.has_value());
    const std::wstring spelled = FromCodePage(*path, c.codePage);
    if (c.expected == Form::Long) {
      EXPECT_EQ(spelled, c.folder + L"\\she.she");
    } else {
      ASSERT_NE(spelled, c.folder + L"\\she.she");
      const std::wstring folder = spelled.substr(0, spelled.size() - 8);
      EXPECT_EQ(spelled.substr(folder.size()), L"\\she.she");
      EXPECT_EQ(LongForm(folder), c.folder) << "the short form names another folder";
    }
  }
}

}  // namespace
