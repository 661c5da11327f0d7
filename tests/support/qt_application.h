#pragma once
// The one QApplication of a window test or benchmark program, made on first
// use and kept until the process ends.

#include <QApplication>

inline QApplication* application() {
  static int argc = 1;
  static char name[] = "korvale";
  static char* argv[] = {name, nullptr};
  static auto* app = new QApplication(argc, argv);
  return app;
}
