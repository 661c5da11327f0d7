#include "cli/display_width.h"

#include <gtest/gtest.h>

TEST(display_width_test, code_points) {
  struct Case {
    char32_t c;
    int width;
  } cases[] = {
      {U'a', 1},     {U' ', 1},    {0x00E9, 1},  {0x0301, 0},  {0x200B, 0},  {0xFEFF, 0},
      {0x2500, 1},   {0x1100, 2},  {0x115F, 2},  {0x1160, 1},  {0x2E7F, 1},  {0x2E80, 2},
      {0x3000, 2},   {0x3001, 2},  {0x303E, 2},  {0x303F, 1},  {0x30FC, 2},  {0x3400, 2},
      {0x4DBF, 2},   {0x4E00, 2},  {0x9FFF, 2},  {0xA48C, 2},  {0xA48D, 1},  {0xAC00, 2},
      {0xD7A3, 2},   {0xD7A4, 1},  {0xF900, 2},  {0xFE30, 2},  {0xFE53, 1},  {0xFF01, 2},
      {0xFF60, 2},   {0xFF61, 1},  {0xFF9E, 1},  {0xFFE0, 2},  {0xFFE6, 2},  {0xFFE7, 1},
      {0xFFFD, 1},   {0x1F600, 2}, {0x1F321, 1}, {0x20000, 2}, {0x2FFFD, 2}, {0x3FFFE, 1},
      {0x10FFFF, 1}, {0xE0100, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(codePointWidth(c.c), c.width) << std::hex << static_cast<unsigned>(c.c);
}

TEST(display_width_test, texts) {
  EXPECT_EQ(displayWidth(""), 0);
  EXPECT_EQ(displayWidth("    01"), 6);
  EXPECT_EQ(displayWidth(" \xE6\x8E\x92\xE5\x90\x8D"), 5);  // " 排名"
  EXPECT_EQ(displayWidth("\xE7\xAC\xAC"
                         "12\xE8\xAF\x9D"),
            6);                                            // 第12话
  EXPECT_EQ(displayWidth("\xEF\xBC\xA1\xEF\xBD\xB1"), 3);  // fullwidth A, halfwidth katakana A
  EXPECT_EQ(displayWidth("e\xCC\x81"), 1);                 // e and a combining accent
  EXPECT_EQ(displayWidth("\xFF\xFE"), 2);                  // each bad byte one cell
}
