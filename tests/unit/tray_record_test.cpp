#include "tray/tray_record.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

namespace {

const HWND kWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
const HICON kIcon = reinterpret_cast<HICON>(static_cast<INT_PTR>(0x5678));
const UINT kGbk = 936;

#ifndef _WIN64
TEST(TrayRecord, ThirtyTwoBitLayoutEndsWithInfoFlags) {
  EXPECT_EQ(488u, kTrayRecordSize);
  EXPECT_EQ(24u, offsetof(NOTIFYICONDATAA, szTip));
  EXPECT_EQ(152u, offsetof(NOTIFYICONDATAA, dwState));
  EXPECT_EQ(160u, offsetof(NOTIFYICONDATAA, szInfo));
  EXPECT_EQ(416u, offsetof(NOTIFYICONDATAA, uTimeout));
  EXPECT_EQ(420u, offsetof(NOTIFYICONDATAA, szInfoTitle));
  EXPECT_EQ(484u, offsetof(NOTIFYICONDATAA, dwInfoFlags));
}
#endif

// The field must read: exactly `text`, one NUL, then blanks to its end.
template <std::size_t N>
testing::AssertionResult FieldHolds(const char (&field)[N], const std::string& text) {
  std::string expected = text;
  expected += '\0';
  expected.resize(N, ' ');
  const std::string actual(field, N);
  if (actual == expected) return testing::AssertionSuccess();
  std::size_t at = 0;
  while (actual[at] == expected[at]) ++at;
  return testing::AssertionFailure() << "first difference at byte " << at << ": expected 0x" << std::hex
                                     << int(static_cast<unsigned char>(expected[at])) << ", actual 0x"
                                     << int(static_cast<unsigned char>(actual[at]));
}

template <std::size_t N>
bool AllZero(const char (&field)[N]) {
  return std::string(field, N) == std::string(N, '\0');
}

TEST(TrayRecord, AddOrModifyRecordHead) {
  const NOTIFYICONDATAA record =
      BuildTrayRecord(kWindow, kIcon, L"Huevik Version1.0.0 (Zentrik)", L"", NIIF_INFO, 5000);
  EXPECT_EQ(kTrayRecordSize, record.cbSize);
  EXPECT_EQ(kWindow, record.hWnd);
  EXPECT_EQ(0u, record.uID);
  EXPECT_EQ(31u, record.uFlags);
  EXPECT_EQ(1025u, record.uCallbackMessage);
  EXPECT_EQ(kIcon, record.hIcon);
  EXPECT_EQ(0u, record.dwState);
  EXPECT_EQ(0u, record.dwStateMask);
  EXPECT_EQ(5000u, record.uTimeout);
  EXPECT_EQ(1u, record.dwInfoFlags);
  EXPECT_TRUE(FieldHolds(record.szTip, "Huevik Version1.0.0 (Zentrik)"));
  EXPECT_TRUE(FieldHolds(record.szInfo, ""));
  EXPECT_TRUE(FieldHolds(record.szInfoTitle, "Huevik Version1.0.0 (Zentrik)"));
}

TEST(TrayRecord, ReminderInTheChineseCodePage) {
  const NOTIFYICONDATAA record =
      BuildTrayRecord(kWindow, kIcon, L"主人我在这里", L"想起我来点一下我哦!", NIIF_INFO, 5000, kGbk);
  const std::string tip = "\xD6\xF7\xC8\xCB\xCE\xD2\xD4\xDA\xD5\xE2\xC0\xEF";
  const std::string balloon = "\xCF\xEB\xC6\xF0\xCE\xD2\xC0\xB4\xB5\xE3\xD2\xBB\xCF\xC2\xCE\xD2\xC5\xB6!";
  EXPECT_TRUE(FieldHolds(record.szTip, tip));
  EXPECT_TRUE(FieldHolds(record.szInfo, balloon));
  EXPECT_TRUE(FieldHolds(record.szInfoTitle, tip));
}

TEST(TrayRecord, LongTextsAreCutLeavingTheNul) {
  const std::wstring main = L"\u4E3B";  // 主, two bytes in GBK
  const std::string mainBytes = "\xD6\xF7";
  auto repeat = [](const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
  };
  auto repeatWide = [](const std::wstring& s, int n) {
    std::wstring out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
  };
  struct Case {
    const char* what;
    std::wstring tip, balloon;
    UINT codePage;
    std::string tipBytes, balloonBytes, titleBytes;
  };
  const Case cases[] = {
      {"200-character tip", std::wstring(200, L't'), L"", CP_ACP, std::string(127, 't'), "", std::string(63, 't')},
      {"tip of exactly the room", std::wstring(127, L't'), std::wstring(255, L'b'), CP_ACP, std::string(127, 't'),
       std::string(255, 'b'), std::string(63, 't')},
      {"one character too many", std::wstring(128, L't'), std::wstring(256, L'b'), CP_ACP, std::string(127, 't'),
       std::string(255, 'b'), std::string(63, 't')},
      {"300-character balloon", L"x", std::wstring(300, L'b'), CP_ACP, "x", std::string(255, 'b'), "x"},
      {"double-byte character across the cut", std::wstring(126, L'a') + main, L"", kGbk, std::string(126, 'a'), "",
       std::string(63, 'a')},
      {"double-byte character just fitting", std::wstring(125, L'a') + main, std::wstring(253, L'b') + main, kGbk,
       std::string(125, 'a') + mainBytes, std::string(253, 'b') + mainBytes, std::string(63, 'a')},
      {"double-byte text longer than the title", repeatWide(main, 40), L"", kGbk, repeat(mainBytes, 40), "",
       repeat(mainBytes, 31)},
      {"odd start before double-byte text", L"a" + repeatWide(main, 70), L"", kGbk,
       std::string(1, 'a') + repeat(mainBytes, 63), "", std::string(1, 'a') + repeat(mainBytes, 31)},
      {"UTF-8 code page", repeatWide(L"\u00E9", 70), L"", CP_UTF8, repeat("\xC3\xA9", 63), "", repeat("\xC3\xA9", 31)},
      {"Western code page", L"caf\u00E9 \u4E3B", L"", 1252, "caf\xE9 ?", "", "caf\xE9 ?"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const NOTIFYICONDATAA record = BuildTrayRecord(kWindow, kIcon, c.tip, c.balloon, NIIF_INFO, 5000, c.codePage);
    EXPECT_TRUE(FieldHolds(record.szTip, c.tipBytes));
    EXPECT_TRUE(FieldHolds(record.szInfo, c.balloonBytes));
    EXPECT_TRUE(FieldHolds(record.szInfoTitle, c.titleBytes));
  }
}

TEST(TrayRecord, DeleteRecord) {
  const NOTIFYICONDATAA record = BuildTrayDeleteRecord(kWindow, kIcon);
  EXPECT_EQ(kTrayRecordSize, record.cbSize);
  EXPECT_EQ(kWindow, record.hWnd);
  EXPECT_EQ(0u, record.uID);
  EXPECT_EQ(7u, record.uFlags);
  EXPECT_EQ(1025u, record.uCallbackMessage);
  EXPECT_EQ(kIcon, record.hIcon);
  EXPECT_EQ(0u, record.dwState);
  EXPECT_EQ(0u, record.dwStateMask);
  EXPECT_EQ(0u, record.uTimeout);
  EXPECT_EQ(0u, record.dwInfoFlags);
  EXPECT_TRUE(FieldHolds(record.szTip, std::string(127, ' ')));
  EXPECT_TRUE(AllZero(record.szInfo));
  EXPECT_TRUE(AllZero(record.szInfoTitle));
}

}  // namespace
