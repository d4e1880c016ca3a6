// Huevik with a fault to inject, for the tests alone: its main window's handler throws when it is
// sent the message below. The shipped program is built without this file and has no such way in.
#include <windows.h>

#include <new>

#include "mainwindow/main_window.h"
#include "process/program.h"

class FaultyMainWindow : public MainWindow {
 public:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == ::RegisterWindowMessageW(L"HuevikTest.InjectFault")) throw std::bad_alloc();
    return MainWindow::OnMessage(msg, wp, lp);
  }
};

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return RunProgram([]() -> std::unique_ptr<MainWindow> { return std::make_unique<FaultyMainWindow>(); });
}
