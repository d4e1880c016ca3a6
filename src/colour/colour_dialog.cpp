#include "colour/colour_dialog.h"

#include <commdlg.h>

#include <string>

#include "win32/this_program.h"
#include "win32/library_search.h"

namespace ColourDialog {

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

std::optional<COLORREF> OpenColourDialog(HWND owner) {
  COLORREF customColours[16] = {};  // lives for this call only: always 16 blacks
  CHOOSECOLORA record{};
  record.lStructSize = sizeof record;
  record.hwndOwner = owner;
  record.hInstance = reinterpret_cast<HWND>(ThisProgram::Instance());
  record.rgbResult = 0;
  record.lpCustColors = customColours;
  record.Flags = 0;
  if (ChooseColour(&record) >= 1) return record.rgbResult & 0xFFFFFF;
  return std::nullopt;
}

}  // namespace ColourDialog
