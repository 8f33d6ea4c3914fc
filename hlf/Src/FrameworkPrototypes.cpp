#include "FrameworkPrototypes.h"

#include "AudioFader.h"
#include "Blinker.h"
#include "Control.h"
#include "ControlFactory.h"
#include "Cycler.h"
#include "Fader.h"
#include "Modifier.h"
#include "ModifierFactory.h"
#include "ModProps.h"
#include "Mover.h"
#include "MoverTo.h"
#include "Rotator.h"
#include "Scaler.h"
#include "StaticImage.h"
#include "TimeWarp.h"
#include "TimeWarpAccDec.h"
#include "TimeWarpAccelerate.h"
#include "TimeWarpDecAcc.h"
#include "TimeWarpDecelerate.h"
#include "TimeWarpFactory.h"

namespace HLF {

void RegisterFrameworkPrototypes() {
  // Controls: "control", "dialog", "button", "edit", "label", "listbox",
  // "scroll", "slider", "popupmenu", "staticimage", "progress", "checkbox",
  // the dialogs, "emitter", "tutorialdlg", "hyperlabel"; the widgets,
  // dialogs, emitter and hyperlink label take their places as they are
  // built.
  ControlFactory& controls = ControlFactory::GetInstance();
  controls.Register(new Control());
  controls.Register(new StaticImage());

  ModifierFactory& modifiers = ModifierFactory::GetInstance();
  modifiers.Register(new Modifier());
  modifiers.Register(new Blinker());
  modifiers.Register(new Fader());
  modifiers.Register(new AudioFader());
  modifiers.Register(new Mover());
  modifiers.Register(new MoverTo());
  modifiers.Register(new Scaler());
  modifiers.Register(new Rotator());
  modifiers.Register(new ModProps());
  modifiers.Register(new Cycler());

  TimeWarpFactory& curves = TimeWarpFactory::GetInstance();
  curves.Register(new TimeWarp());
  curves.Register(new TimeWarpAccelerate());
  curves.Register(new TimeWarpDecelerate());
  curves.Register(new TimeWarpAccDec());
  curves.Register(new TimeWarpDecAcc());
}

}  // namespace HLF
