// The Win32 dialog windows against the real window manager (under Wine on
// the test machines): captions, track bars, the language list, what is and
// is not reported as the user's action, the tab order and the modal run.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win32/about_window.h"
#include "platform/win32/settings_window.h"
#include "platform/win32/text.h"

namespace {

using platform::ModalResult;
using platform::PictureRow;
using platform::SettingsControl;
using platform::TrackBar;
using namespace platform::win32;

class Recorder : public platform::SettingsEvents, public platform::AboutEvents {
 public:
  void PathEdited(PictureRow row) override { log.push_back("edit " + Name(row)); }
  void CheckClicked(PictureRow row) override { log.push_back("check " + Name(row)); }
  void BrowseClicked(PictureRow row) override {
    log.push_back("browse " + Name(row));
    if (whileBrowsing) whileBrowsing();
    if (failBrowse) throw std::runtime_error("browse failed");
  }
  void AddressClicked() override { log.push_back("address"); }
  static std::string Name(PictureRow row) {
    return row == PictureRow::kBackground ? "background"
           : row == PictureRow::kTopFace  ? "top"
                                          : "bottom";
  }
  std::vector<std::string> log;
  bool failBrowse = false;
  std::function<void()> whileBrowsing;
};

std::wstring TextOf(HWND window) {
  wchar_t buffer[256] = {0};
  GetWindowTextW(window, buffer, 256);
  return buffer;
}

class SettingsWindowTest : public testing::Test {
 protected:
  SettingsWindowTest()
      : window(nullptr, [this](const std::exception& e) { errors.push_back(e.what()); }) {
    window.SetEvents(&events);
  }

  HWND Item(int id) { return GetDlgItem(window.hwnd(), id); }

  Recorder events;
  std::vector<std::string> errors;
  Win32SettingsWindow window;
};

TEST_F(SettingsWindowTest, CaptionsAreWindows1252WhateverTheCodePage) {
  window.SetCaption(SettingsControl::kTitle, "Configuraci\xF3n");
  window.SetCaption(SettingsControl::kOk, "&Aceptar \x80");
  EXPECT_EQ(TextOf(window.hwnd()), L"Configuraci\u00F3n");
  EXPECT_EQ(TextOf(Item(kIdOk)), L"&Aceptar \u20AC");
  EXPECT_EQ(TextOf(Item(kIdCancel)), L"Cancelar");
}

TEST_F(SettingsWindowTest, ALongLabelGrowsToTheLeftOfItsRightEdge) {
  const HWND label = Item(kIdFirstLabel);  // the language label, right-aligned
  RECT before;
  GetWindowRect(label, &before);
  window.SetCaption(SettingsControl::kLanguageLabel, "A much longer caption than designed:");
  RECT after;
  GetWindowRect(label, &after);
  EXPECT_EQ(after.right, before.right);
  EXPECT_LT(after.left, before.left);
  window.SetCaption(SettingsControl::kLanguageLabel, "Idioma:");
  GetWindowRect(label, &after);
  EXPECT_EQ(after.left, before.left);
}

TEST_F(SettingsWindowTest, TrackBarsHaveTheirRangesAndSteps) {
  window.SetTrackPosition(TrackBar::kSpeed, 95);
  EXPECT_EQ(window.TrackPosition(TrackBar::kSpeed), 90);
  window.SetTrackPosition(TrackBar::kSpeed, 3);
  EXPECT_EQ(window.TrackPosition(TrackBar::kSpeed), 20);
  window.SetTrackPosition(TrackBar::kZoom, 101);
  EXPECT_EQ(window.TrackPosition(TrackBar::kZoom), 100);
  window.SetTrackPosition(TrackBar::kZoom, 0);
  EXPECT_EQ(window.TrackPosition(TrackBar::kZoom), 0);
  for (int id : {kIdSpeed, kIdZoom}) {
    EXPECT_EQ(SendMessageW(Item(id), TBM_GETPAGESIZE, 0, 0), 2) << id;
    EXPECT_EQ(SendMessageW(Item(id), TBM_GETLINESIZE, 0, 0), 1) << id;
  }
}

TEST_F(SettingsWindowTest, TheLanguageListKeepsItsOrder) {
  window.AddLanguage("Zulu");
  window.AddLanguage("Alpha");
  EXPECT_EQ(window.SelectedLanguage(), -1);
  window.SelectLanguage(1);
  EXPECT_EQ(window.SelectedLanguage(), 1);
  wchar_t first[16] = {0};
  SendMessageW(Item(kIdLanguage), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
  EXPECT_EQ(std::wstring(first), L"Zulu");
  window.SelectLanguage(-1);
  EXPECT_EQ(window.SelectedLanguage(), -1);
}

TEST_F(SettingsWindowTest, OnlyTheUsersChangesAreReported) {
  window.SetPathText(PictureRow::kTopFace, "C:\\set by the program.png");
  window.SetChecked(PictureRow::kTopFace, true);
  EXPECT_TRUE(events.log.empty());
  EXPECT_EQ(window.PathText(PictureRow::kTopFace), "C:\\set by the program.png");
  EXPECT_TRUE(window.IsChecked(PictureRow::kTopFace));

  SendMessageW(Item(kIdBottomFacePath), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"typed"));
  SendMessageW(Item(kIdBackgroundCheck), BM_CLICK, 0, 0);
  SendMessageW(Item(kIdBrowseTopFace), BM_CLICK, 0, 0);
  EXPECT_EQ(events.log,
            (std::vector<std::string>{"edit bottom", "check background", "browse top"}));
  EXPECT_TRUE(window.IsChecked(PictureRow::kBackground));
  EXPECT_TRUE(errors.empty());
}

TEST_F(SettingsWindowTest, AnErrorOfAnActionGoesToTheErrorHandler) {
  events.failBrowse = true;
  SendMessageW(Item(kIdBrowseBackground), BM_CLICK, 0, 0);
  EXPECT_EQ(errors, std::vector<std::string>{"browse failed"});
}

TEST_F(SettingsWindowTest, TabsFollowTheDesignedOrder) {
  std::vector<int> order;
  HWND at = GetNextDlgTabItem(window.hwnd(), nullptr, FALSE);
  for (int i = 0; i < 14 && at != nullptr; ++i) {
    order.push_back(GetDlgCtrlID(at));
    at = GetNextDlgTabItem(window.hwnd(), at, FALSE);
  }
  EXPECT_EQ(order, (std::vector<int>{kIdZoom, kIdBackgroundPath, kIdBrowseBackground,
                                     kIdBrowseTopFace, kIdTopFacePath, kIdBrowseBottomFace,
                                     kIdBottomFacePath, kIdOk, kIdCancel, kIdLanguage, kIdSpeed,
                                     kIdBackgroundCheck, kIdTopFaceCheck, kIdBottomFaceCheck}));
}

struct ModalCase {
  UINT message;
  WPARAM wParam;
  ModalResult expected;
};

class SettingsModalTest : public SettingsWindowTest,
                          public testing::WithParamInterface<ModalCase> {};

// The program's other dialog, open beneath, takes no input during the run
// and is given back afterwards; the dialog belongs to no window.
TEST_P(SettingsModalTest, ClosesWithItsResultAndGivesTheOtherDialogBack) {
  Win32AboutWindow other(nullptr, nullptr);
  ShowWindow(other.hwnd(), SW_SHOWNOACTIVATE);
  bool otherEnabledDuringTheRun = true;
  events.whileBrowsing = [&] { otherEnabledDuringTheRun = IsWindowEnabled(other.hwnd()) != FALSE; };
  PostMessageW(window.hwnd(), WM_COMMAND, MAKEWPARAM(kIdBrowseTopFace, BN_CLICKED),
               reinterpret_cast<LPARAM>(Item(kIdBrowseTopFace)));
  PostMessageW(window.hwnd(), GetParam().message, GetParam().wParam, 0);
  EXPECT_FALSE(window.IsShowing());
  EXPECT_EQ(window.ShowModal(), GetParam().expected);
  EXPECT_FALSE(window.IsShowing());
  EXPECT_FALSE(otherEnabledDuringTheRun);
  EXPECT_TRUE(IsWindowEnabled(other.hwnd()));
  EXPECT_EQ(GetWindow(window.hwnd(), GW_OWNER), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Endings, SettingsModalTest,
                         testing::Values(ModalCase{WM_COMMAND, IDOK, ModalResult::kOk},
                                         ModalCase{WM_COMMAND, IDCANCEL, ModalResult::kCancel},
                                         ModalCase{WM_CLOSE, 0, ModalResult::kCancel}));

TEST_F(SettingsWindowTest, QuittingEndsTheModalRunAndReachesTheOuterLoop) {
  PostQuitMessage(7);
  EXPECT_EQ(window.ShowModal(), ModalResult::kCancel);
  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 7u);
}

// Moved to a monitor of twice the DPI, the dialog takes the rectangle the
// system suggests, and its controls and their font grow with it.
TEST_F(SettingsWindowTest, FollowsTheDpiOfTheMonitorItMovesTo) {
  const HWND button = Item(kIdBrowseTopFace);
  const auto fontHeight = [button] {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(button, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    return font.lfHeight;
  };
  RECT before;
  GetWindowRect(button, &before);
  const LONG heightBefore = fontHeight();
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  RECT suggested{30, 40, 830, 640};
  SendMessageW(window.hwnd(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(2 * dpi, 2 * dpi),
               reinterpret_cast<LPARAM>(&suggested));
  RECT frame;
  GetWindowRect(window.hwnd(), &frame);
  EXPECT_EQ(frame.left, 30);
  EXPECT_EQ(frame.bottom, 640);
  RECT after;
  GetWindowRect(button, &after);
  EXPECT_NEAR(after.right - after.left, 2 * (before.right - before.left), 1);
  EXPECT_NEAR(after.bottom - after.top, 2 * (before.bottom - before.top), 1);
  EXPECT_NEAR(fontHeight(), 2 * heightBefore, 1);
}

TEST(AboutWindowTest, ShowsItsTextsAndReportsAClickOnTheAddress) {
  Recorder events;
  Win32AboutWindow window(nullptr, nullptr);
  window.SetEvents(&events);
  window.SetCaption(platform::AboutControl::kTitle, "\xC0 propos...");
  window.SetCaption(platform::AboutControl::kAddress, "https://example.org/a&b");
  EXPECT_EQ(TextOf(window.hwnd()), L"\u00C0 propos...");
  const HWND address = GetDlgItem(window.hwnd(), kIdAboutAddress);
  EXPECT_EQ(TextOf(address), L"https://example.org/a&b");
  SendMessageW(address, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  SendMessageW(address, WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(events.log, std::vector<std::string>{"address"});
  PostMessageW(window.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(window.ShowModal(), ModalResult::kCancel);
}

TEST(TextTest, WidensAndNarrowsByCodePage) {
  EXPECT_EQ(Widen("\x80\xE9", kCaptionCodePage), L"\u20AC\u00E9");
  EXPECT_EQ(Widen("", kCaptionCodePage), L"");
  EXPECT_EQ(Narrow(L"\u00E9t\u00E9", kCaptionCodePage), "\xE9t\xE9");
}

}  // namespace
