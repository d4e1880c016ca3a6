// How the pen copies the screen so that it gets what the screen shows.
#pragma once
#include <windows.h>

// The raster operation for a copy from the screen's device context. Where the desktop is
// composed (always from Windows 8 on) every window, layered ones included, is in the screen,
// and a copy that asks for layered windows besides (CAPTUREBLT) makes the cursor blink at every
// copy. Without composition (Windows 7 with the basic or classic theme) layered windows, this
// program's own colour-keyed one among them, are only read with it.
DWORD ScreenCopyRop();
