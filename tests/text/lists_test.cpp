#include "text/lists.h"

#include <gtest/gtest.h>

#include "support/fatal_death_test.h"
#include "support/print.h"
#include "text/fatal_error.h"  // fatalErrorReport
#include "text/text.h"

using lists_death_test = FatalDeathTest;

TEST(lists_test, members_are_copies) {
  TextList list;
  Text value = "abc";
  listAppend(&list, value);
  value = "changed";
  listAppend(&list, Text());
  EXPECT_EQ(listSize(list), 2);
  EXPECT_EQ(listGet(list, 1), "abc");
  EXPECT_EQ(listGet(list, 2), "");
  EXPECT_EQ(listSize(TextList()), 0);
}

TEST(lists_test, fatal_error_report) {
  EXPECT_EQ(fatalErrorReport(1, "m"),
            "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n"
            "\xB4\xED\xCE\xF3\xB4\xFA\xC2\xEB\xA3\xBA"
            "1\r\n\r\n"
            "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBAm\r\n");
  EXPECT_EQ(fatalErrorReport(0, ""), "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n");
  EXPECT_EQ(fatalErrorReport(-7, ""),
            "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n"
            "\xB4\xED\xCE\xF3\xB4\xFA\xC2\xEB\xA3\xBA-7\r\n\r\n");
}

TEST_F(lists_death_test, get_outside_the_list_ends_the_program) {
  TextList two;
  listAppend(&two, Text("a"));
  listAppend(&two, Text("b"));
  // Code 4 below 1, tested before the size, even on an empty list.
  EXPECT_EXIT(listGet(TextList(), 0), ::testing::ExitedWithCode(kFatalExit),
              "\xB4\xFA\xC2\xEB\xA3\xBA"
              "4\r\n\r\n.*\xB4\xF3\xD3\xDA\xB5\xC8\xD3\xDA"
              "1");
  EXPECT_EXIT(listGet(two, -100), ::testing::ExitedWithCode(kFatalExit),
              "\xA3\xBA"
              "4\r\n");
  EXPECT_EXIT(listGet(TextList(), 1), ::testing::ExitedWithCode(kFatalExit),
              "\xA3\xBA"
              "1\r\n\r\n.*\xB3\xAC\xB3\xF6\xB6\xA8\xD2\xE5\xB7\xB6\xCE\xA7\r\n");
  EXPECT_EXIT(listGet(two, 3), ::testing::ExitedWithCode(kFatalExit),
              "\xA3\xBA"
              "1\r\n");
  BytesList bytes;
  EXPECT_EXIT(listGet(bytes, 1), ::testing::ExitedWithCode(kFatalExit),
              "\xA3\xBA"
              "1\r\n");
}

TEST_F(lists_death_test, memory_that_cannot_be_had_ends_the_program) {
  EXPECT_EXIT(FatalAllocator<char>().allocate(static_cast<std::size_t>(-1) / 2),
              ::testing::ExitedWithCode(kFatalExit),
              "\xB7\xD6\xC5\xE4 9223372036854775807 \xD7\xD6\xBD\xDA");
  EXPECT_EXIT(FatalAllocator<int>().allocate(static_cast<std::size_t>(-1) / 2),
              ::testing::ExitedWithCode(kFatalExit), "\xB7\xD6\xC5\xE4 18446744073709551615 ");
}
