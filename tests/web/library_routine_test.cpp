#include "web/library_routine.h"

#include <gtest/gtest.h>

#include "support/fatal_death_test.h"

using library_routine_death_test = FatalDeathTest;

TEST(library_routine_test, binds_by_name) {
  EXPECT_NE(bindLibraryRoutine("wininet.dll", "InternetOpenA"), nullptr);
  EXPECT_NE(bindLibraryRoutine("wininet.dll", "InternetCloseHandle"), nullptr);
}

TEST_F(library_routine_death_test, a_routine_that_cannot_be_bound_ends_the_program) {
  // Code 0 leaves the code line out; the message names library and routine.
  EXPECT_EXIT(
      bindLibraryRoutine("wininet.dll", "NoSuchRoutine"), ::testing::ExitedWithCode(kFatalExit),
      "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA"
      "\xCE\xDE\xB7\xA8\xD5\xD2\xB5\xBD\xD6\xB8\xB6\xA8"
      "DLL\xBF\xE2\xCE\xC4\xBC\xFE\xA1\xB0wininet\\.dll\xA1\xB1\xD6\xD0\xB5\xC4\xCA\xE4\xB3\xF6"
      "\xC3\xFC\xC1\xEE\xA1\xB0NoSuchRoutine\xA1\xB1\r\n");
  EXPECT_EXIT(bindLibraryRoutine("no-such-library.dll", "InternetOpenA"),
              ::testing::ExitedWithCode(kFatalExit),
              "\xA1\xB0no-such-library\\.dll\xA1\xB1.*\xA1\xB0InternetOpenA\xA1\xB1\r\n");
}
