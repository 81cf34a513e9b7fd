#include "settings/Unit2.h"

#include "lang/interface_texts.h"
#include "lang/lang_text.h"
#include "settings/picture_filter.h"
#include "settings/track_values.h"

namespace settings {

namespace {
constexpr const char* kAnyName = "*";
constexpr int kNoSelection = -1;
}  // namespace

TfrmOpciones::TfrmOpciones(platform::SettingsWindow& window, platform::FileSystem& files,
                           platform::PictureDialog& dlgAbrir)
    : window_(window), files_(files), dlgAbrir_(dlgAbrir) {
  window_.SetEvents(this);
}

TfrmOpciones::~TfrmOpciones() { window_.SetEvents(nullptr); }

std::string WithoutLastExtension(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

void TfrmOpciones::FormCreate() {
  // Files added later are listed at the next start; their texts, though,
  // are read afresh at every use.
  for (const std::string& entry :
       files_.FindFiles(files_.ExecutableDirectory() + kAnyName + lang::kLanguageFileExtension)) {
    languages_.push_back(WithoutLastExtension(entry));
    window_.AddLanguage(languages_.back());
  }
}

void TfrmOpciones::SetCaption(platform::SettingsControl control, const std::string& text) {
  window_.SetCaption(control, text);
}

void TfrmOpciones::Fill(const Settings& from) {
  int selected = kNoSelection;
  for (std::size_t i = 0; i < languages_.size(); ++i) {
    if (lang::SameTextIgnoringCase(languages_[i], from.languageName)) {
      selected = static_cast<int>(i);
      break;
    }
  }
  window_.SelectLanguage(selected);
  window_.SetTrackPosition(platform::TrackBar::kZoom, TrackPosition(from.zoom, kZoomRange));
  window_.SetTrackPosition(platform::TrackBar::kSpeed, TrackPosition(from.speed, kSpeedRange));
  const std::array<std::pair<platform::PictureRow, const std::string*>, 3> rows = {{
      {platform::PictureRow::kBackground, &from.backgroundPath},
      {platform::PictureRow::kTopFace, &from.topPath},
      {platform::PictureRow::kBottomFace, &from.bottomPath},
  }};
  for (const auto& [row, path] : rows) {
    SetPath(row, *path);
    SetCheck(row, !path->empty());
  }
}

platform::ModalResult TfrmOpciones::ShowModal() { return window_.ShowModal(); }

void TfrmOpciones::Apply(Settings* to) {
  const int selected = window_.SelectedLanguage();
  if (selected >= 0 && static_cast<std::size_t>(selected) < languages_.size()) {
    to->languageName = languages_[static_cast<std::size_t>(selected)];
  }
  to->zoom = TrackValue(window_.TrackPosition(platform::TrackBar::kZoom));
  to->speed = TrackValue(window_.TrackPosition(platform::TrackBar::kSpeed));
  // Paths go back exactly as typed or picked: neither checked nor normalised.
  to->backgroundPath = window_.PathText(platform::PictureRow::kBackground);
  to->topPath = window_.PathText(platform::PictureRow::kTopFace);
  to->bottomPath = window_.PathText(platform::PictureRow::kBottomFace);
}

bool TfrmOpciones::IsShowing() { return window_.IsShowing(); }

void TfrmOpciones::BringToFront() { window_.BringToFront(); }

void TfrmOpciones::txtChange(platform::PictureRow row) {
  SetCheck(row, !window_.PathText(row).empty());
}

void TfrmOpciones::chkClick(platform::PictureRow row) {
  // The box only clears a path; checking it puts nothing in.
  if (!window_.IsChecked(row)) SetPath(row, std::string());
}

void TfrmOpciones::ButtonClick(platform::PictureRow row) {
  std::string chosen;
  if (!dlgAbrir_.Run(PictureFilters(), lastPicture_, &chosen)) return;
  lastPicture_ = chosen;
  SetPath(row, chosen);
}

void TfrmOpciones::SetPath(platform::PictureRow row, const std::string& text) {
  window_.SetPathText(row, text);
  txtChange(row);
}

void TfrmOpciones::SetCheck(platform::PictureRow row, bool checked) {
  if (window_.IsChecked(row) == checked) return;
  window_.SetChecked(row, checked);
  chkClick(row);
}

}  // namespace settings
