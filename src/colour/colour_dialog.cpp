#include "colour/colour_dialog.h"

#include <commdlg.h>

#include <string>

#include "colour/recent_colours.h"
#include "formlayer/runtime.h"
#include "mainwindow/form1.h"
#include "win32/library_search.h"

namespace 调色板 {

#ifndef _WIN64
// The dialog is told the record's size; the 32-bit ANSI record is 36 bytes.
static_assert(sizeof(CHOOSECOLORA) == 36);
#endif

namespace {
// The dialog library (and the printing libraries it brings) loads when the dialog
// is first wanted, not at every start of the program.
BOOL ChooseColour(CHOOSECOLORA* record) {
  using ChooseColorFn = BOOL(WINAPI*)(CHOOSECOLORA*);
  static HMODULE library = LibrarySearch::LoadSystemLibrary(L"comdlg32.dll");
  static auto choose = reinterpret_cast<ChooseColorFn>(
      reinterpret_cast<void*>(library ? ::GetProcAddress(library, "ChooseColorA") : nullptr));
  return choose ? choose(record) : FALSE;
}
}  // namespace

std::optional<std::int32_t> OpenColourDialog(HWND owner) {
  COLORREF customColours[16] = {};  // lives for this call only: always 16 blacks
  CHOOSECOLORA record{};
  record.lStructSize = sizeof record;
  record.hwndOwner = owner;
  record.hInstance = reinterpret_cast<HWND>(App::Instance());
  record.rgbResult = 0;
  record.lpCustColors = customColours;
  record.Flags = 0;
  if (ChooseColour(&record) >= 1) return static_cast<std::int32_t>(record.rgbResult);
  return std::nullopt;
}

}  // namespace 调色板

void Form1::Command1_Click() {
  std::optional<std::int32_t> chosen = 调色板::OpenColourDialog(hWnd());
  if (!chosen) return;
  Components c = SplitColour(*chosen);
  Text1.SetText(DecimalText(c.red));
  Text2.SetText(DecimalText(c.green));
  Text3.SetText(DecimalText(c.blue));
  txthex.SetText(ValueFieldText());
  ShowSwatch();
  RecentColours::Take(static_cast<COLORREF>(CurrentColour()));
}
