#include "colour/recent_colours.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Colours = std::vector<COLORREF>;

// Whatever the store holds, the well-formed entries come back in order, each once, at most ten;
// written again, they read as the same list.
TEST(RecentColours, StoredTextKeepsTheWellFormedEntriesInOrder) {
  const struct {
    const wchar_t* stored;
    Colours read;
    const wchar_t* written;
  } kRows[] = {
      {L"", {}, L""},
      {L"#102030 #A0B0C0", {RGB(0x10, 0x20, 0x30), RGB(0xA0, 0xB0, 0xC0)}, L"#102030 #A0B0C0"},
      {L"#abcdef #ABCDEF #102030", {RGB(0xAB, 0xCD, 0xEF), RGB(0x10, 0x20, 0x30)}, L"#ABCDEF #102030"},
      {L"  #102030   junk #12345 #1234567 #GG0000 102030 #00000g #0000FF ",
       {RGB(0x10, 0x20, 0x30), RGB(0, 0, 0xFF)}, L"#102030 #0000FF"},
      {L"#000001 #000002 #000003 #000004 #000005 #000006 #000007 #000008 #000009 #00000A #00000B",
       {RGB(0, 0, 1), RGB(0, 0, 2), RGB(0, 0, 3), RGB(0, 0, 4), RGB(0, 0, 5), RGB(0, 0, 6), RGB(0, 0, 7),
        RGB(0, 0, 8), RGB(0, 0, 9), RGB(0, 0, 10)},
       L"#000001 #000002 #000003 #000004 #000005 #000006 #000007 #000008 #000009 #00000A"},
  };
  for (const auto& row : kRows) {
    const Colours read = RecentColours::Parse(row.stored);
    EXPECT_EQ(read, row.read) << testing::PrintToString(std::wstring(row.stored));
    EXPECT_EQ(RecentColours::Text(read), row.written);
  }
  EXPECT_EQ(RecentColours::Parse(std::wstring(1 << 20, L'#')), Colours{}) << "a megabyte of garbage";
}

TEST(RecentColours, ATakenColourGoesFirstOnceAndTheOldestFallsOff) {
  Colours list = RecentColours::Parse(L"#000001 #000002 #000003 #000004 #000005 #000006 #000007 #000008 #000009");
  EXPECT_FALSE(RecentColours::PutFirst(list, RGB(0, 0, 1))) << "first already: nothing to write";
  EXPECT_TRUE(RecentColours::PutFirst(list, RGB(0, 0, 5)));
  EXPECT_EQ(RecentColours::Text(list), L"#000005 #000001 #000002 #000003 #000004 #000006 #000007 #000008 #000009");
  EXPECT_TRUE(RecentColours::PutFirst(list, RGB(1, 0, 0)));
  EXPECT_TRUE(RecentColours::PutFirst(list, RGB(2, 0, 0)));
  EXPECT_EQ(RecentColours::Text(list),
            L"#020000 #010000 #000005 #000001 #000002 #000003 #000004 #000006 #000007 #000008");
}

}  // namespace
