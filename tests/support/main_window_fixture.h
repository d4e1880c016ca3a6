// The real main window, built and started in-process as the program does it.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "mainwindow/main_window.h"
#include "support/observe.h"
#include "support/pointer.h"

// Clears the program's stored settings so each test starts as a first run.
void ClearStoredSettings();
// Screen rectangle of a control (drawn or windowed) of the form.
RECT ScreenRectOf(const Control& control);
POINT ScreenCentreOf(const Control& control);

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  MainWindow& form() { return *form_; }

 private:
  std::unique_ptr<MainWindow> form_;
};

// Stops what the startup of a MainWindow left running in this process: the tray icon
// and its window procedure, the hover timer.
void StopMainWindowServices(MainWindow& form);
