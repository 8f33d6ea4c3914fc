#include "FrameworkPrototypes.h"

#include "dialogs/AudioFileDialog.h"
#include "dialogs/Dialog.h"
#include "dialogs/EnterNameDialog.h"
#include "dialogs/FileDialog.h"
#include "dialogs/ImageFileDialog.h"
#include "dialogs/MessageDialog.h"
#include "dialogs/OptionsDialog.h"
#include "dialogs/PopupMenu.h"
#include "dialogs/ProfileNewDialog.h"
#include "dialogs/ProfilesDialog.h"
#include "dialogs/TutorialDialog.h"
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
#include "widgets/Button.h"
#include "widgets/Checkbox.h"
#include "widgets/Edit.h"
#include "widgets/HyperLabel.h"
#include "widgets/Label.h"
#include "widgets/Listbox.h"
#include "widgets/Progress.h"
#include "widgets/Scroll.h"
#include "widgets/Slider.h"
#include "widgets/StaticImage.h"

namespace HLF {

void RegisterFrameworkPrototypes() {
  // Controls, in their final order: each class takes its numbered line as
  // it is built (a later registration of a tag wins, so the order counts).
  ControlFactory& controls = ControlFactory::GetInstance();
  controls.Register(new Control());           // 1 "control"
  controls.Register(new Dialog());            // 2 "dialog"
  controls.Register(new Button());            // 3 "button"
  controls.Register(new Edit());              // 4 "edit"
  controls.Register(new Label());             // 5 "label"
  controls.Register(new Listbox());           // 6 "listbox"
  controls.Register(new Scroll());            // 7 "scroll"
  controls.Register(new Slider());            // 8 "slider"
  controls.Register(new PopupMenu());         // 9 "popupmenu"
  controls.Register(new StaticImage());       // 10 "staticimage"
  controls.Register(new Progress());          // 11 "progress"
  controls.Register(new Checkbox());          // 12 "checkbox"
  controls.Register(new EnterNameDialog());   // 13 "enternamedlg"
  controls.Register(new MessageDialog());     // 14 "messagedlg"
  controls.Register(new FileDialog());        // 15 "filedlg"
  controls.Register(new OptionsDialog());     // 16 "optionsdlg"
  controls.Register(new ProfilesDialog());    // 17 "profilesdlg"
  controls.Register(new ProfileNewDialog());  // 18 "profilenewdlg"
  controls.Register(new ImageFileDialog());   // 19 "imagefiledlg"
  controls.Register(new AudioFileDialog());   // 20 "audiofiledlg"
  controls.Register(new Emitter());           // 21 "emitter"
  controls.Register(new TutorialDialog());    // 22 "tutorialdlg"
  controls.Register(new HyperLabel());        // 23 "hyperlabel"

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
