#include "tray/tray_record.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

namespace {

const HWND kWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
const HICON kIcon = reinterpret_cast<HICON>(static_cast<INT_PTR>(0x5678));

// Where the shell looks for each field: the second-version wide layout, ending with dwInfoFlags.
TEST(TrayRecord, WideLayoutEndsWithInfoFlags) {
  struct Layout {
    std::size_t szTip, dwState, szInfo, uTimeout, szInfoTitle, dwInfoFlags, size;
  };
#ifdef _WIN64
  const Layout expected{40, 296, 304, 816, 820, 948, 952};
#else
  const Layout expected{24, 280, 288, 800, 804, 932, 936};
#endif
  EXPECT_EQ(expected.szTip, offsetof(NOTIFYICONDATAW, szTip));
  EXPECT_EQ(expected.dwState, offsetof(NOTIFYICONDATAW, dwState));
  EXPECT_EQ(expected.szInfo, offsetof(NOTIFYICONDATAW, szInfo));
  EXPECT_EQ(expected.uTimeout, offsetof(NOTIFYICONDATAW, uTimeout));
  EXPECT_EQ(expected.szInfoTitle, offsetof(NOTIFYICONDATAW, szInfoTitle));
  EXPECT_EQ(expected.dwInfoFlags, offsetof(NOTIFYICONDATAW, dwInfoFlags));
  EXPECT_EQ(expected.size, kTrayRecordSize);
}

// The field must read: exactly `text`, one NUL, then blanks to its end.
template <std::size_t N>
testing::AssertionResult FieldHolds(const wchar_t (&field)[N], const std::wstring& text) {
  std::wstring expected = text;
  expected += L'\0';
  expected.resize(N, L' ');
  const std::wstring actual(field, N);
  if (actual == expected) return testing::AssertionSuccess();
  std::size_t at = 0;
  while (actual[at] == expected[at]) ++at;
  return testing::AssertionFailure() << "first difference at unit " << at << ": expected U+" << std::hex
                                     << int(expected[at]) << ", actual U+" << int(actual[at]);
}

template <std::size_t N>
bool AllZero(const wchar_t (&field)[N]) {
  return std::wstring(field, N) == std::wstring(N, L'\0');
}

TEST(TrayRecord, AddOrModifyRecord) {
  const NOTIFYICONDATAW record = BuildTrayRecord(kWindow, kIcon, L"主人我在这里", L"想起我来点一下我哦!", NIIF_INFO, 5000);
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
  EXPECT_TRUE(FieldHolds(record.szTip, L"主人我在这里"));
  EXPECT_TRUE(FieldHolds(record.szInfo, L"想起我来点一下我哦!"));
  EXPECT_TRUE(FieldHolds(record.szInfoTitle, L"主人我在这里"));
}

TEST(TrayRecord, LongTextsAreCutInUtf16UnitsLeavingTheNul) {
  const std::wstring pair = L"\U0001F3A8";  // one character, two UTF-16 units
  auto times = [](const std::wstring& s, std::size_t n) {
    std::wstring out;
    for (std::size_t i = 0; i < n; ++i) out += s;
    return out;
  };
  struct Case {
    const char* what;
    std::wstring tip, balloon;
    std::wstring tipField, balloonField, titleField;
  };
  const Case cases[] = {
      {"200-unit tip", std::wstring(200, L't'), L"", std::wstring(127, L't'), L"", std::wstring(63, L't')},
      {"texts of exactly the room", std::wstring(127, L'主'), std::wstring(255, L'想'), std::wstring(127, L'主'),
       std::wstring(255, L'想'), std::wstring(63, L'主')},
      {"one unit too many", std::wstring(128, L't'), std::wstring(256, L'b'), std::wstring(127, L't'),
       std::wstring(255, L'b'), std::wstring(63, L't')},
      {"pair across every cut", times(pair, 100), times(pair, 200), times(pair, 63), times(pair, 127),
       times(pair, 31)},
      {"pair just before every NUL", L"a" + times(pair, 100), L"b" + times(pair, 200), L"a" + times(pair, 63),
       L"b" + times(pair, 127), L"a" + times(pair, 31)},
      {"short text with a pair", L"x" + pair, pair, L"x" + pair, pair, L"x" + pair},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const NOTIFYICONDATAW record = BuildTrayRecord(kWindow, kIcon, c.tip, c.balloon, NIIF_INFO, 5000);
    EXPECT_TRUE(FieldHolds(record.szTip, c.tipField));
    EXPECT_TRUE(FieldHolds(record.szInfo, c.balloonField));
    EXPECT_TRUE(FieldHolds(record.szInfoTitle, c.titleField));
  }
}

TEST(TrayRecord, DeleteRecord) {
  const NOTIFYICONDATAW record = BuildTrayDeleteRecord(kWindow, kIcon);
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
  EXPECT_TRUE(FieldHolds(record.szTip, std::wstring(127, L' ')));
  EXPECT_TRUE(AllZero(record.szInfo));
  EXPECT_TRUE(AllZero(record.szInfoTitle));
}

}  // namespace
