#pragma once
// The vendor pictures shown at start-up, one after the other: each fades in
// from the fade colour, stays for its show time and fades out again; a key
// or mouse release cuts a picture short unless it says it cannot be
// skipped. When the last one is done the splash leaves the screen, puts the
// shell's clear settings back and sends its receivers code 0.
//
// It is a state machine, not a control: its owner updates it every frame
// and hands it the application window's messages. The picture is a static
// image "SplashScreenVendorImg" that it adds to the game layer.
//
// Script: the shell's splash document, whose first element must be
// "splash". Its attributes "fadeOutTime" (the length of each fade in, in
// seconds, default 1), "fadeInTime" (of each fade out, default 1),
// "fadeColor" ("r,g,b", default black) and "noLastFadeIn" (the last
// picture is cut at the end of its show time, default false); every child,
// whatever its name, is one picture: "image" (file name), "showTime"
// (seconds, default 2) and "canBeSkipped" (default true). Pictures are
// loaded privately (neither kept by the images manager nor uploaded at
// once); one that does not load leaves its fades on an empty screen.
//
// States: 0 a picture fades in and shows, 1 it fades out.
#include <string>

#include "math/Color.h"
#include "model/StateMachine.h"
#include "xml/XmlElement.h"

namespace HLF {

class Fader;
class StaticImage;

class SplashScreen : public StateMachine {
 public:
  enum State { SPLASH_STATE_SHOW = 0, SPLASH_STATE_HIDE = 1 };

  // Keeps a copy of the splash script.
  explicit SplashScreen(LLF::MessageReceiver* receiver);
  SplashScreen(const SplashScreen&) = delete;
  SplashScreen& operator=(const SplashScreen&) = delete;

  LLF_KIND_OF(SplashScreen, StateMachine)
  // The picture and its control go; the shell's clear settings are left as
  // they are (Finish puts them back).
  ~SplashScreen() override;

  void DoState() override;
  // Starts the splash: false, with a log line, when the script is not a
  // "splash". The first picture starts at once; a script without pictures
  // finishes within this call.
  bool SetState(int state) override;
  // Input from the window (key or mouse release) and the fades' reports.
  bool OnMessage(LLF::Message* msg) override;
  // The picture leaves the screen, the clear settings are restored, and
  // code 0 goes to the receivers.
  virtual void Finish();

  unsigned GetVendorIndex() const { return vendorIndex; }
  StaticImage* GetImageControl() const { return image; }
  Fader* GetFader() const { return fader; }

  static constexpr wchar_t kImageName[] = L"SplashScreenVendorImg";

 private:
  unsigned VendorsCount();
  LLF::XmlElement* Vendor(unsigned index);
  bool IsLastVendor();
  bool NoLastFadeIn();
  // Seconds of an attribute as whole milliseconds, rounded.
  static unsigned Ms(const LLF::XmlElement& element, const wchar_t* name, float def);
  void ShowVendor();
  void StartFade(int type, unsigned duration);
  void ForgetFader();
  // Takes the picture off its control and deletes it.
  void DropPicture();
  void RemoveImage();

  LLF::XmlElement config;
  unsigned vendorIndex = 0;
  bool savedClear = true;
  LLF::Color savedClearColor;
  bool clearSaved = false;
  StaticImage* image = nullptr;  // owned through the game layer
  Fader* fader = nullptr;        // owned by the image control while it runs
};

}  // namespace HLF
