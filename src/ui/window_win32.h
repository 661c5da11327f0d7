#pragma once
// RankingWindow over Win32: a fixed frame on the button-face background with
// the ranking table (a comctl32 list view in report view), the refresh button
// and the hint label, all in DEFAULT_GUI_FONT.

#include <windows.h>

#include "ui/ranking_window.h"

// Creates the window hidden, with its controls; its creation runs the first
// refresh, so the table is filled before the window is ever shown. Null when
// the window cannot be created.
HWND createRankingWindow(HINSTANCE instance, const RankingWindowOptions& options = {});

// Shows the window centred on the primary screen.
void showRankingWindow(HWND window);

// Delivers messages, with Tab, Shift+Tab and Esc handled as in a dialog, until
// WM_QUIT, which the window posts when it is destroyed. Returns WM_QUIT's code.
int runEventLoop(HWND window);
