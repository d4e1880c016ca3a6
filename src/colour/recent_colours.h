// The colours the user took last, newest first, kept in the settings store beside the window
// position as one text value: "#RRGGBB" texts separated by single spaces.
#pragma once
#include <windows.h>

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace RecentColours {
inline constexpr const wchar_t* kKey = L"Recent";
inline constexpr std::size_t kMost = 10;

// The well-formed "#RRGGBB" entries of a stored text (either case of digit), in order, each
// colour once, at most kMost; anything else in it is passed over.
std::vector<COLORREF> Parse(std::wstring_view text);
// The text that Parse reads back as the same list.
std::wstring Text(std::span<const COLORREF> colours);
// The colour first, once, and no more than kMost in all. False where nothing changed.
bool PutFirst(std::vector<COLORREF>& colours, COLORREF colour);

// The list as the store held it at start, and as the user changed it since.
const std::vector<COLORREF>& List();
void Load();
// A colour taken: first in the list; the store is written only when the list changed.
void Take(COLORREF colour);
void Clear();
}  // namespace RecentColours
