// Huevik with a fault to inject, for the tests alone. Sent "HuevikTest.InjectFault", its main
// window's handler throws; sent "HuevikTest.ArmFault", the value field's refresh throws from then
// on, so the next pen move or menu item that shows a new colour fails inside its own handler; sent
// "HuevikTest.ArmLeak", each new colour leaves one brush behind. The shipped program is built
// without this file and has no such way in.
#include <windows.h>

#include <new>

#include "mainwindow/main_window.h"
#include "process/program.h"

class FaultyMainWindow : public MainWindow {
 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == ::RegisterWindowMessageW(L"HuevikTest.InjectFault")) throw std::bad_alloc();
    if (msg == ::RegisterWindowMessageW(L"HuevikTest.ArmFault")) {
      ValueField.Change = [] { throw std::bad_alloc(); };
      return 0;
    }
    if (msg == ::RegisterWindowMessageW(L"HuevikTest.ArmLeak")) {
      ValueField.Change = [refresh = ValueField.Change] {
        ::CreateSolidBrush(0);
        if (refresh) refresh();
      };
      return 0;
    }
    return MainWindow::OnMessage(msg, wp, lp);
  }
};

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return RunProgram([]() -> std::unique_ptr<MainWindow> { return std::make_unique<FaultyMainWindow>(); });
}
