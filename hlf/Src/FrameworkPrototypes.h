#pragma once
// Fills the three factories with the framework's prototypes, in the order
// the game shell registers them: controls, then modifiers, then easing
// curves. Called once at start-up, before any layout is read; the game's
// own classes are registered after it.
namespace HLF {

void RegisterFrameworkPrototypes();

}  // namespace HLF
