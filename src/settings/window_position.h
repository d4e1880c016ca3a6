// The main window's position, remembered in the per-user settings store.
#pragma once
#include "controls/form.h"

namespace SavedPosition {
inline constexpr const wchar_t* kApplication = L"QevSoft_Color";
inline constexpr const wchar_t* kSection = L"Soft_Stat";

// Writes Left, Top, Width and Height in twips unless the store holds them already; stops at the
// first write that fails.
void SaveWindowPos(const Form& form);
// Moves the window to the stored place, or centres it when no place is stored, the stored size
// is another, or the place is on no monitor; leaves it where it is when a stored text is no
// number.
void RestoreWindowPos(Form& form);
}  // namespace SavedPosition
