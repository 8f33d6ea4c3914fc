#include "ui/StatsDialog.h"

#include "core/Log.h"
#include "core/StringUtils.h"
#include "model/ControlFactory.h"
#include "modifiers/Effect.h"
#include "shell/Game.h"
#include "widgets/Button.h"
#include "widgets/Label.h"

namespace {

const wchar_t kDialogName[] = L"StatsDialog";
const wchar_t* const kLabelNames[StatsDialog::kLabelsCount] = {
    L"LevelTimeLabel", L"FastestLabel", L"LongestLabel", L"HintsLabel", L"ScoreLabel", L"OverallScoreLabel",
};

std::wstring TwoDigits(long long value) {
  std::wstring text = std::to_wstring(value);
  return value < 10 ? L"0" + text : text;
}

wchar_t Separator() {
  HLF::Game* game = HLF::Game::GetInstance();
  return game ? game->GetSeparator() : L',';
}

}  // namespace

StatsDialog::StatsDialog() {
  InitDefaults();
}

StatsDialog::StatsDialog(const std::wstring& name) : HLF::Dialog(name) {
  InitDefaults();
}

void StatsDialog::InitDefaults() {
  _tag = L"statsdlg";
}

HLF::Control* StatsDialog::CreateInstance() const {
  return new StatsDialog(kDialogName);
}

bool StatsDialog::OnCreated() {
  bool complete = true;
  for (int i = 0; i < kLabelsCount; ++i) {
    complete = RequireChild(_labels[i], kDialogName, kLabelNames[i], "Label") && complete;
    _captions[i] = _labels[i] ? _labels[i]->GetFullText() : std::wstring();
  }
  HLF::Button* ok = nullptr;
  complete = RequireChild(ok, kDialogName, L"OkButton", "Button") && complete;
  return HLF::Dialog::OnCreated() && complete;
}

HLF::Label* StatsDialog::GetLabel(int index) const {
  return index >= 0 && index < kLabelsCount ? _labels[index] : nullptr;
}

std::wstring StatsDialog::FormatTime(long long ms) {
  if (ms < 1000) {
    return L"00:01";
  }
  const long long seconds = ms / 1000;
  return TwoDigits(seconds / 60) + L":" + TwoDigits(seconds % 60);
}

void StatsDialog::FillLabels(const Stats& stats) {
  _stats = stats;
  // The find intervals are measured unsigned: an interval never measured
  // keeps its start value, and a wrapped one reads as a long time.
  const std::wstring values[kLabelsCount] = {
      FormatTime(stats.elapsedMs),
      FormatTime(static_cast<unsigned>(stats.fastestFindMs)),
      FormatTime(static_cast<unsigned>(stats.longestFindMs)),
      LLF::ToString(stats.hintsUsed),
      LLF::ToString(stats.levelScore, Separator()),
      LLF::ToString(stats.totalScore, Separator()),
  };
  for (int i = 0; i < kLabelsCount; ++i) {
    if (_labels[i]) {
      _labels[i]->SetText(_captions[i] + values[i]);
    }
  }
}

bool StatsDialog::RunsEntranceEffect(const HLF::Control& label) {
  for (int i = 0; i < label.GetEffectsCount(); ++i) {
    const HLF::Effect* effect = label.GetEffect(i);
    // A looping effect never ends, and stopping it starts it again: it
    // must not keep the dialog open.
    if (effect && effect->IsRunning() && !effect->IsInfiniteLoop()) {
      return true;
    }
  }
  return false;
}

void StatsDialog::OnOk() {
  bool animating = false;
  for (HLF::Label* label : _labels) {
    if (!label || !RunsEntranceEffect(*label)) {
      continue;
    }
    animating = true;
    for (int i = 0; i < label->GetEffectsCount(); ++i) {
      HLF::Effect* effect = label->GetEffect(i);
      if (effect && effect->IsRunning() && !effect->IsInfiniteLoop()) {
        effect->Stop(false);
      }
    }
  }
  if (!animating) {
    HLF::Dialog::OnOk();
  }
}

StatsDialog* StatsDialog::CreateFromLayout(const std::wstring& file, const std::wstring& section,
                                           const std::wstring& name) {
  HLF::Control* control = HLF::ControlFactory::GetInstance().LoadNamedObjectFromXml(file, section, name);
  StatsDialog* dialog = dynamic_cast<StatsDialog*>(control);
  if (!dialog) {
    delete control;
    LLF::Log::GetInstance().Write(L"Error: Can't create StatsDialog from file " + file + L", section " +
                                  section + L", control name " + name);
  }
  return dialog;
}
