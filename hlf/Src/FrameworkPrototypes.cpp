#include "FrameworkPrototypes.h"

#include "AudioFader.h"
#include "Control.h"
#include "ControlFactory.h"
#include "Emitter.h"
#include "Fader.h"
#include "Modifier.h"
#include "ModifierFactory.h"
#include "Mover.h"
#include "MoverTo.h"
#include "Rotator.h"
#include "Scaler.h"
#include "TimeWarp.h"
#include "TimeWarpAccDec.h"
#include "TimeWarpAccelerate.h"
#include "TimeWarpDecAcc.h"
#include "TimeWarpDecelerate.h"
#include "TimeWarpFactory.h"

namespace HLF {

void RegisterFrameworkPrototypes() {
  // Controls: "control", then the widgets, dialogs, static image, emitter
  // and hyperlink label in their turn as they are built.
  ControlFactory& controls = ControlFactory::GetInstance();
  controls.Register(new Control());
  controls.Register(new Emitter());

  // Modifiers: "modifier", "blinker", "fader", "audiofader", "mover",
  // "moverto", "scaler", "rotator", "modprops", "cycler"; the blinker, the
  // property modifier and the cycler take their places as they are built.
  ModifierFactory& modifiers = ModifierFactory::GetInstance();
  modifiers.Register(new Modifier());
  modifiers.Register(new Fader());
  modifiers.Register(new AudioFader());
  modifiers.Register(new Mover());
  modifiers.Register(new MoverTo());
  modifiers.Register(new Scaler());
  modifiers.Register(new Rotator());

  TimeWarpFactory& curves = TimeWarpFactory::GetInstance();
  curves.Register(new TimeWarp());
  curves.Register(new TimeWarpAccelerate());
  curves.Register(new TimeWarpDecelerate());
  curves.Register(new TimeWarpAccDec());
  curves.Register(new TimeWarpDecAcc());
}

}  // namespace HLF
