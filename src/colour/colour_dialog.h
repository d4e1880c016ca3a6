// The system colour dialog.
#pragma once
#include <windows.h>

#include <optional>

namespace ColourDialog {
// Shows the dialog owned by the window, starting at black with 16 black custom
// colours; the chosen colour, or nothing when the user cancels.
std::optional<COLORREF> OpenColourDialog(HWND owner);
}  // namespace ColourDialog
