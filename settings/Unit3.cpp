#include "settings/Unit3.h"

namespace settings {

TfrmAcercaDe::TfrmAcercaDe(platform::AboutWindow& window, platform::Browser& browser)
    : window_(window), browser_(browser) {
  window_.SetEvents(this);
}

TfrmAcercaDe::~TfrmAcercaDe() { window_.SetEvents(nullptr); }

void TfrmAcercaDe::FormCreate() {
  window_.SetCaption(platform::AboutControl::kProduct, kProductTitle);
  window_.SetCaption(platform::AboutControl::kRightsLine1, kRightsLine1);
  window_.SetCaption(platform::AboutControl::kRightsLine2, kRightsLine2);
  window_.SetCaption(platform::AboutControl::kVersion, kVersionLine);
  window_.SetCaption(platform::AboutControl::kAddress, kWebAddress);
}

void TfrmAcercaDe::SetCaption(platform::AboutControl control, const std::string& text) {
  window_.SetCaption(control, text);
}

platform::ModalResult TfrmAcercaDe::ShowModal() { return window_.ShowModal(); }

bool TfrmAcercaDe::IsShowing() { return window_.IsShowing(); }

void TfrmAcercaDe::BringToFront() { window_.BringToFront(); }

void TfrmAcercaDe::Label3Click() { browser_.Open(kWebAddress); }

}  // namespace settings
