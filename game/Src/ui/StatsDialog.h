#pragma once
// The results dialog, the XML element "statsdlg": at the end of a level it
// shows the level's time, the fastest and the longest time between two
// finds, the hints used, the level's score and the overall score, each
// after its label's layout text (the caption). Its layout holds the labels
// "LevelTimeLabel", "FastestLabel", "LongestLabel", "HintsLabel",
// "ScoreLabel", "OverallScoreLabel" and the button "OkButton"; without one
// of them the dialog is not made.
//
// An OK (the button or Enter) while a label still runs its entrance effect
// only ends those effects; the next OK closes the dialog.
#include <string>

#include "dialogs/Dialog.h"

namespace HLF {
class Label;
}

class StatsDialog : public HLF::Dialog {
 public:
  // The record a play mode hands over, in the order it keeps the fields.
  struct Stats {
    int elapsedMs = 0;
    int fastestFindMs = 0;
    int longestFindMs = 0;
    int hintsUsed = 0;
    int levelScore = 0;
    int totalScore = 0;
  };

  static constexpr int kLabelsCount = 6;

  StatsDialog();
  explicit StatsDialog(const std::wstring& name);

  LLF_KIND_OF(StatsDialog, HLF::Dialog)
  ~StatsDialog() override = default;
  // A new dialog named "StatsDialog".
  HLF::Control* CreateInstance() const override;
  // Finds the six labels and the OK button and keeps the captions; false,
  // with a line for each missing one, when one is not there.
  bool OnCreated() override;
  void OnOk() override;
  virtual void FillLabels(const Stats& stats);

  const Stats& GetStats() const { return _stats; }
  HLF::Label* GetLabel(int index) const;

  // The dialog of the layout (file, section, control name), or null with
  // the line "Error: Can't create StatsDialog from file ...".
  static StatsDialog* CreateFromLayout(const std::wstring& file, const std::wstring& section,
                                       const std::wstring& name);
  // Minutes and seconds, both at least two digits. A whole minute keeps
  // ":00"; a time under one second shows "00:01", so a result never reads
  // as no time at all.
  static std::wstring FormatTime(long long ms);

 private:
  void InitDefaults();
  // Whether the label runs an effect that will end by itself.
  static bool RunsEntranceEffect(const HLF::Control& label);

  Stats _stats;
  HLF::Label* _labels[kLabelsCount] = {};
  std::wstring _captions[kLabelsCount];
};
