#include "colour/recent_colours.h"

#include <algorithm>

#include "colour/colour_value.h"
#include "settings/settings_store.h"
#include "settings/window_position.h"

namespace RecentColours {

namespace {

std::vector<COLORREF> g_list;

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  return -1;
}

// "#RRGGBB" as a colour value; -1 for anything else.
long ParseEntry(std::wstring_view entry) {
  if (entry.size() != 7 || entry[0] != L'#') return -1;
  long rgb = 0;
  for (wchar_t c : entry.substr(1)) {
    int digit = HexDigit(c);
    if (digit < 0) return -1;
    rgb = rgb * 16 + digit;
  }
  return static_cast<long>(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
}

// Whatever the list holds now goes to the store; a store that cannot be written keeps the
// list for this run only.
void Save() { WriteSetting(SavedPosition::kApplication, SavedPosition::kSection, kKey, Text(g_list)); }

}  // namespace

std::vector<COLORREF> Parse(std::wstring_view text) {
  std::vector<COLORREF> colours;
  while (!text.empty() && colours.size() < kMost) {
    const std::size_t end = std::min(text.find(L' '), text.size());
    const long colour = ParseEntry(text.substr(0, end));
    if (colour >= 0 && std::find(colours.begin(), colours.end(), static_cast<COLORREF>(colour)) == colours.end())
      colours.push_back(static_cast<COLORREF>(colour));
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return colours;
}

std::wstring Text(std::span<const COLORREF> colours) {
  std::wstring text;
  for (COLORREF colour : colours) {
    if (!text.empty()) text += L' ';
    text += FormatColour(static_cast<std::int32_t>(colour & 0xFFFFFF), TextForm::Web);
  }
  return text;
}

bool PutFirst(std::vector<COLORREF>& colours, COLORREF colour) {
  if (!colours.empty() && colours.front() == colour) return false;
  colours.erase(std::remove(colours.begin(), colours.end(), colour), colours.end());
  colours.insert(colours.begin(), colour);
  if (colours.size() > kMost) colours.resize(kMost);
  return true;
}

const std::vector<COLORREF>& List() { return g_list; }

void Load() { g_list = Parse(ReadSetting(SavedPosition::kApplication, SavedPosition::kSection, kKey)); }

void Take(COLORREF colour) {
  if (PutFirst(g_list, colour & 0xFFFFFF)) Save();
}

void Clear() {
  if (g_list.empty()) return;
  g_list.clear();
  Save();
}

}  // namespace RecentColours
