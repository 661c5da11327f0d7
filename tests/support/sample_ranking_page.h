#pragma once
// A made-up ranking page in the live page's markup, as UTF-8 bytes, for tests,
// benchmarks and local demonstrations. Entry k (from 1) links to
// "//www.bilibili.com/bangumi/play/ss<10000 + k>", and its title is one of
// eight Chinese titles followed by " <k>"; every eighth title holds an HTML
// character reference (&amp;) and every sixteenth a character beyond the
// Basic Multilingual Plane, which code page 936 lacks.

#include <string>

inline std::string sampleRankingEntry(int k) {
  // 星辰旅人, 海风与少女, 魔法学园的日常, 银河铁道之夜, 剑与远方, 夏目的日常,
  // 新番剧场, 星辰 &amp; 夏目
  static const char* const titles[] = {
      "\xE6\x98\x9F\xE8\xBE\xB0\xE6\x97\x85\xE4\xBA\xBA",
      "\xE6\xB5\xB7\xE9\xA3\x8E\xE4\xB8\x8E\xE5\xB0\x91\xE5\xA5\xB3",
      "\xE9\xAD\x94\xE6\xB3\x95\xE5\xAD\xA6\xE5\x9B\xAD\xE7\x9A\x84\xE6\x97\xA5\xE5\xB8\xB8",
      "\xE9\x93\xB6\xE6\xB2\xB3\xE9\x93\x81\xE9\x81\x93\xE4\xB9\x8B\xE5\xA4\x9C",
      "\xE5\x89\x91\xE4\xB8\x8E\xE8\xBF\x9C\xE6\x96\xB9",
      "\xE5\xA4\x8F\xE7\x9B\xAE\xE7\x9A\x84\xE6\x97\xA5\xE5\xB8\xB8",
      "\xE6\x96\xB0\xE7\x95\xAA\xE5\x89\xA7\xE5\x9C\xBA",
      "\xE6\x98\x9F\xE8\xBE\xB0 &amp; \xE5\xA4\x8F\xE7\x9B\xAE",
  };
  const std::string n = std::to_string(k);
  const std::string link = "//www.bilibili.com/bangumi/play/ss" + std::to_string(10000 + k);
  std::string title = std::string(titles[(k - 1) % 8]) + " " + n;
  if (k % 16 == 0) title += " \xF0\x9F\x8C\xB8";  // a cherry blossom, U+1F338
  const std::string tenths = std::to_string(k % 10);
  return "<li class=\"rank-item\"><div class=\"num\">" + n +
         "</div><div class=\"content\"><div class=\"img\"><a href=\"" + link +
         "\" target=\"_blank\"><div class=\"lazy-img cover\"><img alt=\"" + title +
         "\" src=\"//i0.static.bilibili.com/bfs/bangumi/image/cover" + n +
         ".png@90w_120h_1c.webp\"></div></a><!----></div><div class=\"info\"><a href=\"" + link +
         "\" target=\"_blank\" class=\"title\">" + title +
         "</a><div class=\"bangumi-info\">\xE6\x9B\xB4\xE6\x96\xB0\xE8\x87\xB3\xE7\xAC\xAC" +
         std::to_string(k % 24 + 1) +
         "\xE8\xAF\x9D</div>"  // 更新至第…话
         "<div class=\"detail\"><span class=\"data-box\"><i class=\"b-icon play\"></i>" +
         std::to_string(9000 - k % 9000) + "." + tenths +
         "\xE4\xB8\x87</span>"  // 万
         "<span class=\"data-box\"><i class=\"b-icon view\"></i>" +
         std::to_string(500 - k % 500) + "." + tenths +
         "\xE4\xB8\x87</span>"
         "<span class=\"data-box\"><i class=\"fav\"></i>" +
         std::to_string(3000 - k % 3000) + "." + tenths +
         "\xE4\xB8\x87</span></div><div class=\"pts\"><div>" + std::to_string(1000000 - k) +
         "</div>\xE7\xBB\xBC\xE5\x90\x88\xE5\xBE\x97\xE5\x88\x86\n"  // 综合得分
         "          </div></div><!----></div></li>";
}

inline std::string sampleRankingPage(int entries) {
  std::string page =
      "<!DOCTYPE html><html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
      "<title>\xE7\x95\xAA\xE5\x89\xA7\xE6\x8E\x92\xE8\xA1\x8C\xE6\xA6\x9C</title>"  // 番剧排行榜
      "<link rel=\"stylesheet\" href=\"//s1.static.bilibili.com/bfs/static/rank.css\"></head><body>"
      "<div id=\"app\"><div class=\"rank-container\"><div class=\"rank-tab-wrap\">"
      "<ul class=\"rank-tab\"><li class=\"active\">\xE6\x96\xB0\xE7\x95\xAA</li></ul></div>"  // 新番
      "<div class=\"rank-body\"><div class=\"rank-list-wrap\"><ul class=\"rank-list\">";
  page.reserve(page.size() + static_cast<std::size_t>(entries > 0 ? entries : 0) * 1200);
  for (int k = 1; k <= entries; ++k) page += sampleRankingEntry(k);
  // The last entry closes with the list: the parser's end marker.
  page +=
      "</ul><!----><!----></div></div></div></div>"
      "<div class=\"footer\"><p>&copy; bilibili</p></div>"
      "<script src=\"//s1.static.bilibili.com/bfs/static/rank.js\"></script></body></html>\n";
  return page;
}
