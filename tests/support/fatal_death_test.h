#pragma once
// A fixture for death tests of fatalError: the report goes to standard error,
// where EXPECT_EXIT reads it, instead of a message box that would wait for a
// click.

#include <gtest/gtest.h>

#include <cstdio>

#include "text/fatal_error.h"

class FatalDeathTest : public ::testing::Test {
 protected:
  static void reportToStderr(const Text& report) {
    std::fwrite(report.view().data(), 1, report.view().size(), stderr);
    std::fflush(stderr);
  }
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    setFatalErrorDisplay(reportToStderr);
  }
  void TearDown() override { setFatalErrorDisplay(nullptr); }
};

// The exit code -1 reads as 255 on Linux and as -1 on Windows.
#ifdef _WIN32
constexpr int kFatalExit = -1;
#else
constexpr int kFatalExit = 255;
#endif
