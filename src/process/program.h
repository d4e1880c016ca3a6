// The program's course from its start to its end.
#pragma once
#include <memory>

class MainWindow;

// Makes the main window: a MainWindow, or a test's own kind of it.
using MainWindowMaker = std::unique_ptr<MainWindow> (*)();

// Starts the program, unless a copy already runs in this session: that copy brings its window
// back and this start ends with 0. Else the main window shows, and the program runs until Exit or
// the end of the session end it, or a fault. 1 when no window could be made.
int RunProgram(MainWindowMaker makeMainWindow);
