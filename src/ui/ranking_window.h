#pragma once
// RankingWindow as both ports build it: its texts (code page 936), its pixel
// geometry at 96 DPI, and what its events run.

#include "ui/ranking_handlers.h"

struct RankingWindowOptions {
  RankingSource source = scrapeRanking;  // for refreshRanking
  UrlOpener opener = openUrl;            // for openEntryPage
};

inline constexpr char kWindowTitle[] = "Korvale V1.0";
// Outer size, frame included; the window opens centred on the screen.
inline constexpr int kWindowWidth = 942;
inline constexpr int kWindowHeight = 705;

// Positions count from the top-left corner of the client area. The table
// starts 4 pixels left of it, so its left border is hidden.
struct Placement {
  int left, top, width, height;
};
inline constexpr Placement kRankingListPlace = {-4, 16, 936, 600};
inline constexpr Placement kRefreshButtonPlace = {145, 631, 88, 32};
inline constexpr Placement kHintLabelPlace = {455, 636, 208, 24};

inline constexpr char kRefreshCaption[] = "\xCB\xA2  \xD0\xC2";  // 刷  新
inline constexpr char kHintText[] =
    "\xCB\xAB\xBB\xF7\xD6\xB8\xB6\xA8\xCF\xEE\xC4\xBF\xBB\xE1\xD7\xD4\xB6\xAF\xB4\xF2\xBF\xAA"
    "B\xD5\xBE\xB7\xAC\xBE\xE7\xC1\xB4\xBD\xD3";  // 双击指定项目会自动打开B站番剧链接

struct RankingColumn {
  const char* header;
  int width;
  bool centred;  // else left-aligned
};
inline constexpr RankingColumn kRankingColumns[7] = {
    {" \xC5\xC5\xC3\xFB", 55, false},                 //  排名
    {"\xC3\xFB\xB3\xC6", 350, true},                  // 名称
    {"\xBC\xAF\xCA\xFD", 120, true},                  // 集数
    {"\xB2\xA5\xB7\xC5\xC1\xBF", 95, true},           // 播放量
    {"\xD7\xB7\xB7\xAC\xC8\xCB\xCA\xFD", 95, true},   // 追番人数
    {"\xB5\xAF\xC4\xBB\xD7\xDC\xCA\xFD", 99, true},   // 弹幕总数
    {"\xD7\xDB\xBA\xCF\xC6\xC0\xB7\xD6", 100, true},  // 综合评分
};
