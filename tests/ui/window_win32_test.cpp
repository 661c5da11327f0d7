#include "ui/window_win32.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/print.h"
#include "ui/fake_ranking.h"

namespace {

std::wstring windowText(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

std::wstring cellText(HWND list, int row, int column) {
  wchar_t text[256] = {};
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 256;
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return text;
}

int rowCount(HWND list) {
  return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

int selectedRow(HWND list) {
  return static_cast<int>(
      SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

struct Place {
  LONG left, top, width, height;
  friend bool operator==(const Place&, const Place&) = default;
  friend void PrintTo(const Place& p, std::ostream* os) {
    *os << '{' << p.left << ',' << p.top << ',' << p.width << ',' << p.height << '}';
  }
};

// A control's place in its parent's client area.
Place placeOf(HWND control) {
  RECT r = {};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// Runs the program's event loop until `done` holds or `ms` milliseconds have
// passed; says whether `done` held.
std::function<bool()> stopWhen;
DWORD stopAt = 0;
bool runUntil(HWND window, std::function<bool()> done, DWORD ms) {
  stopWhen = std::move(done);
  stopAt = GetTickCount() + ms;
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
    if (stopWhen() || GetTickCount() >= stopAt) PostQuitMessage(0);
  });
  runEventLoop(window);
  KillTimer(nullptr, timer);
  return stopWhen();
}

void settle(HWND window) {
  runUntil(
      window, [] { return false; }, 200);
}

// Real input, through the system's input queue, as a user would give it.
void send(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}
INPUT mouse(DWORD flags) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  return input;
}
INPUT key(WORD virtualKey, bool up = false) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}
void press(WORD virtualKey) {
  send({key(virtualKey), key(virtualKey, true)});
}
void pressShifted(WORD virtualKey) {
  send({key(VK_SHIFT), key(virtualKey), key(virtualKey, true), key(VK_SHIFT, true)});
}
void clickAt(POINT screen, int clicks) {
  SetCursorPos(screen.x, screen.y);
  std::vector<INPUT> inputs;
  for (int i = 0; i < clicks; ++i) {
    inputs.push_back(mouse(MOUSEEVENTF_LEFTDOWN));
    inputs.push_back(mouse(MOUSEEVENTF_LEFTUP));
  }
  send(inputs);
}

// The centre of a cell of the list view, on the screen.
POINT cellCentre(HWND list, int row, int column) {
  RECT r = {};
  r.top = column;
  r.left = LVIR_BOUNDS;
  SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
  POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(list, &p);
  return p;
}

class window_win32_test : public ::testing::Test {
 protected:
  void SetUp() override {
    resetFakeRanking();
    window = createRankingWindow(GetModuleHandleW(nullptr), kFakeRanking);
    ASSERT_NE(window, nullptr);
    rankingList = GetWindow(window, GW_CHILD);
    refreshButton = GetWindow(rankingList, GW_HWNDNEXT);
    hintLabel = GetWindow(refreshButton, GW_HWNDNEXT);
  }
  void TearDown() override {
    if (IsWindow(window)) DestroyWindow(window);
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // posted by the destruction
  }
  void showInFront() {
    showRankingWindow(window);
    SetForegroundWindow(window);
    settle(window);
  }

  HWND window = nullptr;
  HWND rankingList = nullptr;
  HWND refreshButton = nullptr;
  HWND hintLabel = nullptr;
};

}  // namespace

TEST_F(window_win32_test, created_hidden_with_the_rows_then_shown_centred) {
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(downloads, 1);
  ASSERT_EQ(rowCount(rankingList), 3);
  EXPECT_EQ(cellText(rankingList, 0, 0), L"    01");
  EXPECT_EQ(cellText(rankingList, 2, 0), L"    03");
  EXPECT_EQ(cellText(rankingList, 2, 1), L"3\u53F7");  // 3号
  EXPECT_EQ(cellText(rankingList, 1, 6), L"6/2");
  EXPECT_EQ(selectedRow(rankingList), -1);

  showInFront();
  RECT frame = {};
  GetWindowRect(window, &frame);
  EXPECT_EQ(frame.right - frame.left, 942);
  EXPECT_EQ(frame.bottom - frame.top, 705);
  EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - 942) / 2);
  EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - 705) / 2);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(GetFocus(), rankingList);
}

TEST_F(window_win32_test, a_wait_cursor_shows_while_a_refresh_runs) {
  std::vector<HCURSOR> cursors;
  duringDownload = [&] { cursors.push_back(GetCursor()); };
  showInFront();
  SendMessageW(refreshButton, BM_CLICK, 0, 0);
  const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
  EXPECT_EQ(cursors, std::vector<HCURSOR>{wait});
  EXPECT_NE(GetCursor(), wait);
}

TEST_F(window_win32_test, window_and_controls) {
  EXPECT_EQ(windowText(window), L"Korvale V1.0");
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME |
                     WS_CHILD | WS_POPUP),
            WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  EXPECT_EQ(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_EQ(GetClassLongPtrW(window, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
  const auto guiFont = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));

  // The controls in creation order, which is the focus order.
  const struct {
    HWND control;
    const wchar_t* className;
    Place place;
    const wchar_t* text;
    bool tabStop;
  } controls[] = {
      {rankingList, L"SysListView32", {-4, 16, 936, 600}, L"", true},
      {refreshButton, L"Button", {145, 631, 88, 32}, L"\u5237  \u65B0", true},  // 刷  新
      {hintLabel,
       L"Static",
       {455, 636, 208, 24},  // 双击指定项目会自动打开B站番剧链接
       L"\u53CC\u51FB\u6307\u5B9A\u9879\u76EE\u4F1A\u81EA\u52A8\u6253\u5F00B\u7AD9\u756A\u5267"
       L"\u94FE\u63A5",
       false},
  };
  for (const auto& c : controls) {
    SCOPED_TRACE(c.className);
    wchar_t className[64] = {};
    GetClassNameW(c.control, className, 64);
    EXPECT_EQ(std::wstring(className), c.className);
    EXPECT_EQ(placeOf(c.control), c.place);
    EXPECT_EQ(windowText(c.control), c.text);
    EXPECT_EQ((GetWindowLongPtrW(c.control, GWL_STYLE) & WS_TABSTOP) != 0, c.tabStop);
    EXPECT_EQ(SendMessageW(c.control, WM_GETFONT, 0, 0), static_cast<LRESULT>(guiFont));
  }
  EXPECT_EQ(GetWindow(hintLabel, GW_HWNDNEXT), nullptr);

  // An ordinary push button, not the default one.
  const LONG_PTR buttonStyle = GetWindowLongPtrW(refreshButton, GWL_STYLE);
  EXPECT_EQ(buttonStyle & BS_TYPEMASK, BS_PUSHBUTTON);
  EXPECT_EQ(buttonStyle & (BS_CENTER | BS_VCENTER), BS_CENTER | BS_VCENTER);
  EXPECT_EQ(SendMessageW(window, DM_GETDEFID, 0, 0), 0);

  // The label: left-aligned, black text, the window's background showing through.
  EXPECT_EQ(GetWindowLongPtrW(hintLabel, GWL_STYLE) & SS_TYPEMASK, SS_LEFT);
  HDC dc = CreateCompatibleDC(nullptr);
  SetTextColor(dc, RGB(1, 2, 3));
  const LRESULT brush = SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(hintLabel));
  EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  DeleteDC(dc);
}

TEST_F(window_win32_test, ranking_table) {
  const LONG_PTR style = GetWindowLongPtrW(rankingList, GWL_STYLE);
  EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_EQ(style & (LVS_SINGLESEL | LVS_NOSORTHEADER | LVS_SHOWSELALWAYS | LVS_EDITLABELS |
                     LVS_NOCOLUMNHEADER | LVS_OWNERDATA),
            LVS_SINGLESEL | LVS_NOSORTHEADER);
  EXPECT_EQ(GetWindowLongPtrW(rankingList, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
  EXPECT_EQ(SendMessageW(rankingList, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0),
            LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);

  const struct {
    const wchar_t* header;
    int width;
    int format;
  } columns[] = {
      {L" \u6392\u540D", 55, LVCFMT_LEFT},                //  排名
      {L"\u540D\u79F0", 350, LVCFMT_CENTER},              // 名称
      {L"\u96C6\u6570", 120, LVCFMT_CENTER},              // 集数
      {L"\u64AD\u653E\u91CF", 95, LVCFMT_CENTER},         // 播放量
      {L"\u8FFD\u756A\u4EBA\u6570", 95, LVCFMT_CENTER},   // 追番人数
      {L"\u5F39\u5E55\u603B\u6570", 99, LVCFMT_CENTER},   // 弹幕总数
      {L"\u7EFC\u5408\u8BC4\u5206", 100, LVCFMT_CENTER},  // 综合评分
  };
  HWND header = reinterpret_cast<HWND>(SendMessageW(rankingList, LVM_GETHEADER, 0, 0));
  EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 7);
  for (int c = 0; c < 7; ++c) {
    SCOPED_TRACE(c);
    wchar_t text[64] = {};
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.pszText = text;
    column.cchTextMax = 64;
    ASSERT_TRUE(SendMessageW(rankingList, LVM_GETCOLUMNW, static_cast<WPARAM>(c),
                             reinterpret_cast<LPARAM>(&column)));
    EXPECT_EQ(std::wstring(text), columns[c].header);
    EXPECT_EQ(column.cx, columns[c].width);
    EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, columns[c].format);
  }
}

TEST_F(window_win32_test, a_double_click_opens_the_rows_entry_and_a_single_click_nothing) {
  showInFront();
  clickAt(cellCentre(rankingList, 1, 3), 1);
  EXPECT_FALSE(runUntil(
      window, [] { return !opened.empty(); }, 1000));
  EXPECT_EQ(selectedRow(rankingList), 1);

  Sleep(GetDoubleClickTime() + 100);  // the next click is no double-click with this one
  clickAt(cellCentre(rankingList, 2, 1), 2);
  EXPECT_TRUE(runUntil(
      window, [] { return !opened.empty(); }, 3000));
  EXPECT_EQ(opened, std::vector<Text>{"http://site/3"});
  EXPECT_EQ(selectedRow(rankingList), 2);
}

TEST_F(window_win32_test, the_button_refreshes) {
  showInFront();
  LVITEMW selected = {};
  selected.stateMask = selected.state = LVIS_SELECTED;
  SendMessageW(rankingList, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&selected));
  ASSERT_EQ(selectedRow(rankingList), 1);
  entriesServed = 12;
  RECT r = {};
  GetWindowRect(refreshButton, &r);
  clickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2}, 1);
  EXPECT_TRUE(runUntil(
      window, [] { return downloads == 2; }, 3000));
  settle(window);
  EXPECT_EQ(downloads, 2);
  ASSERT_EQ(rowCount(rankingList), 12);
  EXPECT_EQ(cellText(rankingList, 9, 0), L"    10");
  EXPECT_EQ(selectedRow(rankingList), -1);
}

TEST_F(window_win32_test, keyboard) {
  showInFront();
  ASSERT_EQ(GetFocus(), rankingList);

  // Tab and Shift+Tab move between the table and the button; Enter never
  // presses the button.
  const struct {
    WORD key;
    bool shift;
    HWND focus;
  } keys[] = {{VK_TAB, false, refreshButton},
              {VK_TAB, false, rankingList},
              {VK_TAB, true, refreshButton},
              {VK_RETURN, false, refreshButton},
              {VK_TAB, true, rankingList}};
  for (const auto& [virtualKey, shift, focus] : keys) {
    shift ? pressShifted(virtualKey) : press(virtualKey);
    settle(window);
    EXPECT_EQ(GetFocus(), focus) << virtualKey << ' ' << shift;
  }
  EXPECT_EQ(downloads, 1);

  // Enter in the table opens the selected row.
  press(VK_DOWN);
  settle(window);
  ASSERT_EQ(selectedRow(rankingList), 0);
  press(VK_RETURN);
  EXPECT_TRUE(runUntil(
      window, [] { return !opened.empty(); }, 2000));
  EXPECT_EQ(opened, std::vector<Text>{"http://site/1"});
  EXPECT_EQ(downloads, 1);

  // Esc closes the window, and the event loop ends.
  press(VK_ESCAPE);
  EXPECT_TRUE(runUntil(
      window, [&] { return !IsWindow(window); }, 2000));
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(window_win32_test, a_screen_of_another_dpi_scales_the_layout) {
  showInFront();
  // 120 DPI: everything a quarter larger, rounded to the nearest pixel.
  RECT suggested = {20, 20, 20 + 1178, 20 + 881};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(120, 120), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(placeOf(window), (Place{20, 20, 1178, 881}));
  EXPECT_EQ(placeOf(rankingList), (Place{-5, 20, 1170, 750}));
  EXPECT_EQ(placeOf(refreshButton), (Place{181, 789, 110, 40}));
  EXPECT_EQ(placeOf(hintLabel), (Place{569, 795, 260, 30}));
  EXPECT_EQ(SendMessageW(rankingList, LVM_GETCOLUMNWIDTH, 1, 0), 438);
  // DEFAULT_GUI_FONT, a quarter higher.
  LOGFONTW design = {}, scaled = {};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof design, &design);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(refreshButton, WM_GETFONT, 0, 0));
  ASSERT_NE(font, GetStockObject(DEFAULT_GUI_FONT));
  GetObjectW(font, sizeof scaled, &scaled);
  EXPECT_EQ(scaled.lfHeight, MulDiv(design.lfHeight, 5, 4));
  EXPECT_EQ(std::wstring(scaled.lfFaceName), design.lfFaceName);
}

TEST_F(window_win32_test, esc_closes_from_the_button_too) {
  showInFront();
  SetFocus(refreshButton);
  press(VK_ESCAPE);
  EXPECT_TRUE(runUntil(
      window, [&] { return !IsWindow(window); }, 2000));
}
