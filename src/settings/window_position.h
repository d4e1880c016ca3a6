// The main window's position, remembered in the per-user settings store.
#pragma once
#include "controls/form.h"

namespace SavedPosition {
inline constexpr const wchar_t* kApplication = L"QevSoft_Color";
inline constexpr const wchar_t* kSection = L"Soft_Stat";

// Writes Left, Top, Width and Height in twips unless the store holds them already; stops
// silently at the first failure.
void SaveWindowPos(const Form& form) noexcept;
// Moves the window to the stored place, or centres it when nothing usable is stored.
void RestoreWindowPos(Form& form);
}  // namespace SavedPosition
