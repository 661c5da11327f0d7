#include "ui/window_win32.h"

#include <commctrl.h>

#include <memory>
#include <string>
#include <type_traits>

#include "ui/utf16_text.h"

namespace {

constexpr wchar_t kClassName[] = L"RankingWindow";
// Clear of IDOK and IDCANCEL, which the dialog keys send.
enum ControlId : int { kRankingListId = 100, kRefreshButtonId, kHintLabelId };

std::wstring wideText(const Text& text) {
  const std::u16string units = utf16Text(text);
  return std::wstring(units.begin(), units.end());
}

// The four table operations on the list view. New rows go in with its
// redrawing off, and it is redrawn once when the table is done with: redrawn
// for each new row, it takes minutes for thousands of rows.
class ListViewTable final : public RankingTable {
 public:
  explicit ListViewTable(HWND list) : list_(list) {}
  ~ListViewTable() {
    if (!filling_) return;
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(list_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
  ListViewTable(const ListViewTable&) = delete;
  ListViewTable& operator=(const ListViewTable&) = delete;

  void deleteAllRows() override { SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0); }
  int insertRow(int position, const Text& label) override {
    if (!filling_) {
      SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
      filling_ = true;
    }
    std::wstring text = wideText(label);
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = position;  // past the end appends
    item.pszText = text.data();
    return static_cast<int>(
        SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  }
  void setCellText(int row, int column, const Text& text) override {
    std::wstring wide = wideText(text);
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = wide.data();
    SendMessageW(list_, LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
  }
  int selectedRow() const override {
    return static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                         MAKELPARAM(LVNI_SELECTED, 0)));
  }

 private:
  HWND list_;
  bool filling_ = false;  // redrawing is off
};

struct FontDeleter {
  void operator()(HFONT font) const { DeleteObject(font); }
};
using OwnedFont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

struct WindowState {
  RankingWindowOptions options;
  HWND rankingList = nullptr;
  HWND refreshButton = nullptr;
  HWND hintLabel = nullptr;
  HWND lastFocus = nullptr;  // the control to give the focus back to on activation
  UINT dpi = USER_DEFAULT_SCREEN_DPI;
  OwnedFont scaledFont;  // DEFAULT_GUI_FONT resized, on a screen of another DPI
};

int scaled(int pixels, UINT dpi) {
  return MulDiv(pixels, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

void place(HWND control, const Placement& at, UINT dpi) {
  MoveWindow(control, scaled(at.left, dpi), scaled(at.top, dpi), scaled(at.width, dpi),
             scaled(at.height, dpi), TRUE);
}

// The design's pixels are for 96 DPI; the window is per-monitor DPI aware, so
// they are scaled to the DPI of the screen it is on, and so is the font when
// that differs from the DPI that DEFAULT_GUI_FONT was made for.
void layOut(WindowState* state) {
  const UINT dpi = state->dpi;
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  state->scaledFont.reset();
  if (dpi != GetDpiForSystem()) {
    LOGFONTW design = {};
    GetObjectW(font, sizeof design, &design);
    design.lfHeight =
        MulDiv(design.lfHeight, static_cast<int>(dpi), static_cast<int>(GetDpiForSystem()));
    state->scaledFont.reset(CreateFontIndirectW(&design));
    if (state->scaledFont) font = state->scaledFont.get();
  }
  for (HWND control : {state->rankingList, state->refreshButton, state->hintLabel}) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  place(state->rankingList, kRankingListPlace, dpi);
  place(state->refreshButton, kRefreshButtonPlace, dpi);
  place(state->hintLabel, kHintLabelPlace, dpi);
  for (int column = 0; column < 7; ++column) {
    SendMessageW(state->rankingList, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
                 scaled(kRankingColumns[column].width, dpi));
  }
}

HWND createControl(HWND window, DWORD exStyle, const wchar_t* className, const Text& text,
                   DWORD style, ControlId id) {
  return CreateWindowExW(exStyle, className, wideText(text).c_str(), WS_CHILD | WS_VISIBLE | style,
                         0, 0, 0, 0, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)),
                         nullptr);
}

// Creation order is also the focus order: the table, then the button.
bool createControls(HWND window, WindowState* state) {
  state->rankingList =
      createControl(window, WS_EX_CLIENTEDGE, WC_LISTVIEWW, "",
                    WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_NOSORTHEADER, kRankingListId);
  state->refreshButton =
      createControl(window, 0, WC_BUTTONW, kRefreshCaption,
                    WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER, kRefreshButtonId);
  state->hintLabel = createControl(window, 0, WC_STATICW, kHintText, SS_LEFT, kHintLabelId);
  if (!state->rankingList || !state->refreshButton || !state->hintLabel) return false;

  SendMessageW(state->rankingList, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  for (int column = 0; column < 7; ++column) {
    std::wstring header = wideText(kRankingColumns[column].header);
    LVCOLUMNW settings = {};
    settings.mask = LVCF_FMT | LVCF_TEXT | LVCF_SUBITEM;
    settings.fmt = kRankingColumns[column].centred ? LVCFMT_CENTER : LVCFMT_LEFT;
    settings.pszText = header.data();
    settings.iSubItem = column;
    SendMessageW(state->rankingList, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column),
                 reinterpret_cast<LPARAM>(&settings));
  }
  state->dpi = GetDpiForWindow(window);
  layOut(state);
  return true;
}

// The window takes no input while a refresh downloads; the cursor says why.
class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

void refresh(const WindowState& state) {
  const WaitCursor wait;
  ListViewTable table(state.rankingList);
  refreshRanking(&table, state.options.source);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    // The window takes the state over from createRankingWindow.
    auto* holder = static_cast<std::unique_ptr<WindowState>*>(
        reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(holder->release()));
    return DefWindowProcW(window, message, wParam, lParam);
  }
  auto* state = reinterpret_cast<WindowState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (state == nullptr) return DefWindowProcW(window, message, wParam, lParam);

  switch (message) {
    case WM_CREATE:  // the window-created event
      if (!createControls(window, state)) return -1;
      refresh(*state);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kRefreshButtonId && HIWORD(wParam) == BN_CLICKED) refresh(*state);
      // Esc, whichever control has the focus. IDOK (Enter) is left unanswered:
      // the window has no default button.
      if (LOWORD(wParam) == IDCANCEL) SendMessageW(window, WM_CLOSE, 0, 0);
      return 0;
    case WM_NOTIFY: {
      const auto* notice = reinterpret_cast<const NMHDR*>(lParam);
      if (notice->hwndFrom == state->rankingList && notice->code == LVN_ITEMACTIVATE) {
        openEntryPage(ListViewTable(state->rankingList), state->options.opener);
      }
      return 0;
    }
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) == state->hintLabel) {
        // Black text with the window's background showing through.
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
      }
      break;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window, focus)) state->lastFocus = focus;
      }
      break;
    case WM_SETFOCUS:
      SetFocus(state->lastFocus != nullptr ? state->lastFocus : state->rankingList);
      return 0;
    case WM_DPICHANGED: {
      state->dpi = HIWORD(wParam);
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      layOut(state);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      delete state;  // after the controls, which are destroyed first
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

HWND createRankingWindow(HINSTANCE instance, const RankingWindowOptions& options) {
  const INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);

  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);  // fails harmlessly when already registered

  auto state = std::make_unique<WindowState>();
  state->options = options;
  const UINT dpi = GetDpiForSystem();
  // A fixed frame: caption, system menu, close and minimise; no maximise.
  return CreateWindowExW(0, kClassName, wideText(kWindowTitle).c_str(),
                         WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT, CW_USEDEFAULT,
                         scaled(kWindowWidth, dpi), scaled(kWindowHeight, dpi), nullptr, nullptr,
                         instance, &state);
}

void showRankingWindow(HWND window) {
  RECT frame = {};
  GetWindowRect(window, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(window, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
}

int runEventLoop(HWND window) {
  MSG message = {};
  int got = 0;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
    // Enter goes to the control with the focus as it is: the dialog keys would
    // turn it into a press of the button that has the focus. In the table it
    // activates the selected row.
    const bool enter = (message.message == WM_KEYDOWN || message.message == WM_KEYUP ||
                        message.message == WM_CHAR) &&
                       message.wParam == VK_RETURN;
    if (enter) {
      DispatchMessageW(&message);
      continue;
    }
    if (IsWindow(window) && IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return got == 0 ? static_cast<int>(message.wParam) : 1;
}
