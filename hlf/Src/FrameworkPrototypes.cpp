#include "FrameworkPrototypes.h"

#include "model/Control.h"
#include "model/ControlFactory.h"
#include "modifiers/AudioFader.h"
#include "modifiers/Blinker.h"
#include "modifiers/Cycler.h"
#include "modifiers/Fader.h"
#include "modifiers/ModProps.h"
#include "modifiers/Modifier.h"
#include "modifiers/ModifierFactory.h"
#include "modifiers/Mover.h"
#include "modifiers/MoverTo.h"
#include "modifiers/Rotator.h"
#include "modifiers/Scaler.h"
#include "modifiers/TimeWarp.h"
#include "modifiers/TimeWarpAccDec.h"
#include "modifiers/TimeWarpAccelerate.h"
#include "modifiers/TimeWarpDecAcc.h"
#include "modifiers/TimeWarpDecelerate.h"
#include "modifiers/TimeWarpFactory.h"
#include "particles/Emitter.h"
#include "widgets/StaticImage.h"

namespace HLF {

void RegisterFrameworkPrototypes() {
  // Controls: "control", "dialog", "button", "edit", "label", "listbox",
  // "scroll", "slider", "popupmenu", "staticimage", "progress", "checkbox",
  // the dialogs, "emitter", "tutorialdlg", "hyperlabel"; the widgets,
  // dialogs and hyperlink label take their places as they are built.
  ControlFactory& controls = ControlFactory::GetInstance();
  controls.Register(new Control());
  controls.Register(new StaticImage());
  controls.Register(new Emitter());

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
