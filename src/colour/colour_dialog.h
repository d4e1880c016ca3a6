// The system colour dialog.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>

namespace ColourDialog {
// Shows the dialog owned by the window, starting at black with 16 black custom
// colours; the chosen colour, or nothing when the user cancels.
std::optional<std::int32_t> OpenColourDialog(HWND owner);
}  // namespace ColourDialog
