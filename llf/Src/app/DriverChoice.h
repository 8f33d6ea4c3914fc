#pragma once
// The start-up choice of the sound driver, and the rule it shares with the
// choice of the render system: first the registered candidates of the
// preferred kind, in registration order, then the others; the first whose
// start succeeds becomes current. A warning is logged when no candidate of
// the preferred kind starts, an error between two star lines when none does.
#include <functional>

#include "sound/SoundSettings.h"

namespace LLF {

struct CandidateChoice {
  // The number of candidates, read again before each step.
  std::function<unsigned()> count;
  // Whether the candidate at the index exists and is of the kind asked for.
  std::function<bool(unsigned index, bool kind)> isKind;
  // Starts the candidate (its Init).
  std::function<bool(unsigned index)> start;
  // Makes the started candidate current in its manager.
  std::function<bool(unsigned index)> makeCurrent;
  const wchar_t* notPreferred;  // the warning
  const wchar_t* none;          // the error
};

bool ChooseCandidate(bool preferredKind, const CandidateChoice& choice);

// The rule over a manager's registered candidates: counted, fetched and made
// current through the manager's operations, of a kind by the candidate's
// operation, started with Init(settings).
template <class Manager, class Candidate, class Settings>
bool ChooseRegistered(Manager& manager, unsigned (Manager::*count)() const,
                      Candidate* (Manager::*get)(unsigned) const, bool (Manager::*makeCurrent)(unsigned),
                      bool (Candidate::*kindOf)() const, const Settings& settings, bool preferredKind,
                      const wchar_t* notPreferred, const wchar_t* none) {
  CandidateChoice choice;
  choice.count = [&] { return (manager.*count)(); };
  choice.isKind = [&](unsigned index, bool kind) {
    Candidate* candidate = (manager.*get)(index);
    return candidate && (candidate->*kindOf)() == kind;
  };
  choice.start = [&](unsigned index) {
    Candidate* candidate = (manager.*get)(index);
    return candidate && candidate->Init(settings);
  };
  choice.makeCurrent = [&](unsigned index) { return (manager.*makeCurrent)(index); };
  choice.notPreferred = notPreferred;
  choice.none = none;
  return ChooseCandidate(preferredKind, choice);
}

// The sound system's drivers by that rule: real drivers first when the
// settings prefer them, else the silent one first; each tried with
// Init(settings).
bool ChooseSoundDriver(const SoundSettings& settings);

}  // namespace LLF
