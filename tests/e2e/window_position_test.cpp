// Where the real program puts its window at start, from what the settings store holds, and what
// it writes back once the pointer passes over the window.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/huevik_process.h"
#include "support/pointer.h"

namespace {

constexpr int kTwipsPerPixel = 15;  // the test display runs at 96 dpi
constexpr int kDesignWidth = 300, kDesignHeight = 263;

// One stored value as the test puts it in the registry; kAbsent leaves the key out.
struct Value {
  DWORD type;
  std::wstring text;
};
const Value kAbsent{REG_NONE, L""};
Value Text(std::wstring text) { return {REG_SZ, std::move(text)}; }
Value Dword(std::wstring digits) { return {REG_DWORD, std::move(digits)}; }
Value Binary(std::wstring bytes) { return {REG_BINARY, std::move(bytes)}; }

void Put(const wchar_t* key, const Value& value) {
  if (value.type == REG_SZ) stored::Write(key, value.text.c_str());
  if (value.type == REG_DWORD) {
    DWORD number = std::stoul(value.text);
    ::RegSetKeyValueW(HKEY_CURRENT_USER, stored::KeyPath().c_str(), key, REG_DWORD, &number, sizeof number);
  }
  if (value.type == REG_BINARY) {
    std::string bytes(value.text.begin(), value.text.end());
    ::RegSetKeyValueW(HKEY_CURRENT_USER, stored::KeyPath().c_str(), key, REG_BINARY, bytes.data(),
                      static_cast<DWORD>(bytes.size()));
  }
}

std::wstring Twips(long pixels) { return std::to_wstring(pixels * kTwipsPerPixel); }

wchar_t DecimalSeparator() {
  wchar_t separator[8] = {};
  ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
  return separator[0];
}

enum class Place { Centred, Stored, Untouched };

// Centring works in single-precision twips; the window lands on the pixel that the form layer
// rounds to, halves away from zero.
POINT CentredPlace() {
  const float left = (::GetSystemMetrics(SM_CXSCREEN) * 15.0f - kDesignWidth * 15.0f) / 2;
  const float top = (::GetSystemMetrics(SM_CYSCREEN) * 15.0f - kDesignHeight * 15.0f) / 2;
  return {std::lround(left / kTwipsPerPixel), std::lround(top / kTwipsPerPixel)};
}

struct StartCase {
  std::string name;
  Value left, top, width, height;
  Place place;
  POINT stored{};  // pixels, for Place::Stored
};

std::vector<StartCase> StartCases() {
  const Value width = Text(L"4500"), height = Text(L"3945"), left = Text(L"1500"), top = Text(L"750");
  const wchar_t separator = DecimalSeparator(), otherSeparator = separator == L'.' ? L',' : L'.';
  const long screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  using P = Place;
  return {
      {"nothing stored", kAbsent, kAbsent, kAbsent, kAbsent, P::Centred},
      {"left without top", left, kAbsent, width, height, P::Centred},
      {"top without left", kAbsent, top, width, height, P::Centred},
      {"empty left", Text(L""), top, width, height, P::Centred},
      {"other width", left, top, Text(L"4515"), height, P::Centred},
      {"other height", left, top, width, Text(L"3930"), P::Centred},
      {"all four matching", left, top, width, height, P::Stored, {100, 50}},
      {"size spelt otherwise", left, top, Text(L"4.5E+03"), Text(std::wstring(L"3945") + separator + L"0"), P::Stored,
       {100, 50}},
      {"fractional left", Text(std::wstring(L"7905") + separator + L"5"), top, width, height, P::Stored, {527, 50}},
      {"minus zero left", Text(L"-0"), top, width, height, P::Stored, {0, 50}},
      {"leading zeros over 10,000 characters", Text(std::wstring(9996, L'0') + L"1500"), top, width, height, P::Stored,
       {100, 50}},
      // Garbage where a number is read: the start goes on with the window where it stood.
      {"left with the other decimal separator", Text(std::wstring(L"7905") + otherSeparator + L"5"), top, width,
       height, P::Untouched},
      {"left not a number", Text(L"abc"), top, width, height, P::Untouched},
      {"top beyond single precision", left, Text(L"1e40"), width, height, P::Untouched},
      {"10,000 nines as left", Text(std::wstring(10000, L'9')), top, width, height, P::Untouched},
      {"empty height", left, top, width, Text(L""), P::Untouched},
      {"height as a DWORD", left, top, width, Dword(L"3945"), P::Untouched},
      {"other height, width not a number", left, top, Text(L"abc"), Text(L"3930"), P::Untouched},
      // A number that is no size is merely another size.
      {"width beyond single precision", left, top, Text(L"1e40"), height, P::Centred},
      // Values of another type read as absent.
      {"left as a DWORD", Dword(L"1500"), top, width, height, P::Centred},
      {"left as binary", Binary(L"1500"), top, width, height, P::Centred},
      // A place on no screen is mended; a place partly on one is kept.
      {"far left of every screen", Text(L"-100000"), top, width, height, P::Centred},
      {"beyond any pixel count", Text(L"1E+30"), top, width, height, P::Centred},
      {"partly off the left edge", Text(L"-1500"), top, width, height, P::Stored, {-100, 50}},
      {"one column on screen at the right", Text(Twips(screenWidth - 1)), top, width, height, P::Stored,
       {screenWidth - 1, 50}},
      {"just off the right edge", Text(Twips(screenWidth)), top, width, height, P::Centred},
      {"one row on screen at the top", left, Text(Twips(-(kDesignHeight - 1))), width, height, P::Stored,
       {100, -(kDesignHeight - 1)}},
      {"just above the top edge", left, Text(Twips(-kDesignHeight)), width, height, P::Centred},
  };
}

class WindowPositionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    stored::Clear();
    // Away from every place the window may take, so that no pointer move reaches it.
    pointer::MoveTo(::GetSystemMetrics(SM_CXSCREEN) - 3, ::GetSystemMetrics(SM_CYSCREEN) - 3);
  }
  void TearDown() override { stored::Clear(); }
  static void Store(const StartCase& c) {
    Put(L"Left", c.left);
    Put(L"Top", c.top);
    Put(L"Width", c.width);
    Put(L"Height", c.height);
  }
};

TEST_F(WindowPositionTest, StartPlacesTheWindowFromWhatIsStored) {
  const POINT centred = CentredPlace();
  for (const StartCase& c : StartCases()) {
    SCOPED_TRACE(c.name);
    stored::Clear();
    Store(c);
    HuevikProcess huevik;
    RECT r{};
    ::GetWindowRect(huevik.Window(), &r);
    const POINT expected = c.place == Place::Centred ? centred : c.place == Place::Stored ? c.stored : POINT{0, 0};
    EXPECT_EQ(r.left, expected.x);
    EXPECT_EQ(r.top, expected.y);
    EXPECT_EQ(r.right - r.left, kDesignWidth) << "the size changed";
    EXPECT_EQ(r.bottom - r.top, kDesignHeight) << "the size changed";
  }
}

TEST_F(WindowPositionTest, APointerMoveOverTheSurfaceWritesGoodValuesBack) {
  const StartCase cases[] = {
      {"garbage left", Text(L"abc"), Text(L"750"), Text(L"4500"), Text(L"3945"), Place::Untouched},
      {"DWORD left", Dword(L"1500"), Text(L"750"), Text(L"4500"), Text(L"3945"), Place::Centred},
      {"height beyond range", Text(L"1500"), Text(L"750"), Text(L"4500"), Text(L"1e40"), Place::Centred},
  };
  for (const StartCase& c : cases) {
    SCOPED_TRACE(c.name);
    stored::Clear();
    Store(c);
    HuevikProcess huevik;
    RECT r{};
    ::GetWindowRect(huevik.Window(), &r);
    pointer::MoveTo(r.left + 120, r.top + 25);  // bare surface below the caption buttons
    const bool written = PumpUntil([&] { return stored::Read(L"Left") == Twips(r.left); }, 3000);
    EXPECT_TRUE(written) << "Left reads " << ::testing::PrintToString(stored::Read(L"Left"));
    EXPECT_EQ(stored::Read(L"Top"), Twips(r.top));
    EXPECT_EQ(stored::Read(L"Width"), Twips(kDesignWidth));
    EXPECT_EQ(stored::Read(L"Height"), Twips(kDesignHeight));
    pointer::MoveTo(::GetSystemMetrics(SM_CXSCREEN) - 3, ::GetSystemMetrics(SM_CYSCREEN) - 3);
  }
}

}  // namespace
