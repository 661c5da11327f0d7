#include "web/library_routine.h"

#include <gtest/gtest.h>

#include <string>

#include "support/fatal_death_test.h"

namespace {

// The port's own internet library, two routines the port binds from it, and
// the library's name as a pattern of EXPECT_EXIT.
#ifdef _WIN32
constexpr const char* kLibrary = "wininet.dll";
constexpr const char* kRoutines[] = {"InternetOpenA", "InternetCloseHandle"};
constexpr const char* kLibraryPattern = "wininet\\.dll";
#else
constexpr const char* kLibrary = "libcurl.so.4";
constexpr const char* kRoutines[] = {"curl_easy_init", "curl_multi_poll"};
constexpr const char* kLibraryPattern = "libcurl\\.so\\.4";
#endif

}  // namespace

using library_routine_death_test = FatalDeathTest;

TEST(library_routine_test, binds_by_name) {
  for (const char* routine : kRoutines) {
    EXPECT_NE(bindLibraryRoutine(kLibrary, routine), nullptr) << routine;
  }
  // Bound again, the same routine.
  EXPECT_EQ(bindLibraryRoutine(kLibrary, kRoutines[0]), bindLibraryRoutine(kLibrary, kRoutines[0]));
}

TEST_F(library_routine_death_test, a_routine_that_cannot_be_bound_ends_the_program) {
  // Code 0 leaves the code line out; the message names library and routine,
  // in the same words on every port.
  EXPECT_EXIT(
      bindLibraryRoutine(kLibrary, "NoSuchRoutine"), ::testing::ExitedWithCode(kFatalExit),
      "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA"
      "\xCE\xDE\xB7\xA8\xD5\xD2\xB5\xBD\xD6\xB8\xB6\xA8"
      "DLL\xBF\xE2\xCE\xC4\xBC\xFE\xA1\xB0" +
          std::string(kLibraryPattern) +
          "\xA1\xB1\xD6\xD0\xB5\xC4\xCA\xE4\xB3\xF6\xC3\xFC\xC1\xEE\xA1\xB0NoSuchRoutine\xA1\xB1\r"
          "\n");
  EXPECT_EXIT(bindLibraryRoutine("no-such-library.dll", kRoutines[0]),
              ::testing::ExitedWithCode(kFatalExit),
              "\xA1\xB0no-such-library\\.dll\xA1\xB1.*\xA1\xB0" + std::string(kRoutines[0]) +
                  "\xA1\xB1\r\n");
}
