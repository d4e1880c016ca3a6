// The display resolution the program's windows are laid out at, and the newer
// resolution functions of the system, loaded at run time so the program still
// starts where they are missing.
#pragma once
#include <windows.h>

namespace Display {
// The system's resolution, read once: what screen positions in twips are measured by.
int SystemDpi();
// The resolution windows are laid out at now: the system's at start, then that of
// the monitor the main window is on.
int Dpi();
void SetDpi(int dpi);
float TwipsPerPixel();
// The resolution of the monitor the window is on, where the system can tell; else Dpi().
int DpiOfWindow(HWND window);
// The resolution of the monitor at (or nearest) a point in physical pixels, where the system can
// tell; else the system's.
int DpiAt(POINT screen);
// The font the system shows its messages in, at a resolution.
LOGFONTW MessageFontAt(int dpi);
// Settles, once, how the calling thread's windows see the resolution: as the process
// was declared (per monitor), except on a platform that never virtualises coordinates
// nor changes a running program's resolution, where the system's resolution is all.
void SettleThreadAwareness();
}  // namespace Display

// Runs its scope with the calling thread in per-monitor awareness, so pointer
// positions and pixel reads are physical pixels on every monitor, whatever the
// process was declared as. Where the system has no such setting it changes nothing:
// the process's own awareness then already decides.
class PhysicalPixelScope {
 public:
  PhysicalPixelScope();
  ~PhysicalPixelScope();
  PhysicalPixelScope(const PhysicalPixelScope&) = delete;
  PhysicalPixelScope& operator=(const PhysicalPixelScope&) = delete;

 private:
  void* previous_ = nullptr;
};
