#pragma once
// The about dialog: the product, a rights notice, the version and the web
// address, which opens in the browser when clicked.
#include <string>

#include "platform/dialogs.h"

namespace settings {

inline constexpr const char* kProductTitle = "Rombo Desktop";
inline constexpr const char* kRightsLine1 = "Copyright (C) 2007 Rombo Desktop";
inline constexpr const char* kRightsLine2 = "All rights reserved.";
inline constexpr const char* kVersionLine = "Version 2007-11-07 (beta)";
inline constexpr const char* kWebAddress = "https://rombodesktop.example.org/";

class TfrmAcercaDe : public platform::AboutEvents {
 public:
  TfrmAcercaDe(platform::AboutWindow& window, platform::Browser& browser);
  ~TfrmAcercaDe() override;
  TfrmAcercaDe(const TfrmAcercaDe&) = delete;
  TfrmAcercaDe& operator=(const TfrmAcercaDe&) = delete;

  // Puts the texts that never change on the dialog.
  void FormCreate();
  void SetCaption(platform::AboutControl control, const std::string& text);
  platform::ModalResult ShowModal();
  bool IsShowing();
  void BringToFront();
  // The web address was clicked; the dialog stays open.
  void Label3Click();

 private:
  void AddressClicked() override { Label3Click(); }

  platform::AboutWindow& window_;
  platform::Browser& browser_;
};

}  // namespace settings
