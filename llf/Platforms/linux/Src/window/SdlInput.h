#pragma once
// Turns SDL's events into the window procedure's message records, one
// message per call, the way the desktop's message queue hands them out:
// consecutive mouse moves are merged into the last one, a key press carries
// the text that SDL reports for it in the text event right behind it, keys
// carry virtual-key codes and a key data word, Alt combinations and F10 come
// as system keys, and positions are mapped into the back buffer.
#include <SDL.h>

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "app/Letterbox.h"
#include "app/OsMessage.h"
#include "core/Object.h"

namespace LLF {

class SdlInput : public virtual Object {
 public:
  // What the window tells the translator about itself for one pump.
  struct View {
    SDL_Window* window = nullptr;
    Letterbox pointer;         // window units -> back-buffer pixels
    bool fullScreen = false;   // the client size is then the back buffer's
    unsigned clientWidth = 0;  // the size the window procedure last stored
    unsigned clientHeight = 0;
  };

  // RAISE: another copy of the program asked this one to come forward.
  enum class Result { NONE, MESSAGE, QUIT, RAISE };

  LLF_KIND_OF(SdlInput, Object)
  ~SdlInput() override = default;
  std::wstring Dump() const override { return L"SdlInput"; }

  // Takes events from SDL's queue until one becomes a message (stored in
  // out), the queue is empty, SDL asks the program to quit, or a raise
  // request (RaiseEventType) comes. With wait,
  // blocks for the first event. Events that mean nothing to the window
  // procedure are passed over in the same call.
  Result Next(bool wait, const View& view, OsMessage& out);

  // The window became active without a focus event (it shows itself active).
  void SetFocused(bool focused) { _focused = focused; }
  bool IsFocused() const { return _focused; }
  // Forgets remembered key texts and a pending message (window destroyed).
  void Reset();

  // The SDL event type of a raise request; any thread may push one.
  static Uint32 RaiseEventType();

  // The virtual-key code of a key (0 for keys without one): letters follow
  // the keyboard layout where it gives a Latin letter, everything else goes
  // by the key's position; keypad keys give navigation codes while Num Lock
  // is off.
  static unsigned ToVirtualKey(const SDL_Keysym& key);
  // The key data word: repeat count 1, the scan code, the extended-key flag
  // and the context, previous-state and transition bits.
  static uint32_t ToKeyData(const SDL_Keysym& key, bool released, bool repeat, bool system);
  // True for keys the desktop reports as system keys (Alt held without
  // Ctrl, the left Alt key itself, F10): they make no framework message.
  static bool IsSystemKey(const SDL_Keysym& key, unsigned virtualKey);
  // At most five UTF-16 units of text, cut between characters.
  static std::wstring LimitKeyText(const std::wstring& text);

 private:
  bool Translate(SDL_Event& event, const View& view, OsMessage& out);
  bool TranslateKey(const SDL_KeyboardEvent& key, OsMessage& out);
  bool TranslateWindowEvent(const SDL_WindowEvent& event, const View& view, OsMessage& out);
  static uint32_t MapPosition(const View& view, int x, int y);

  bool _focused = false;
  // Message owed from an event that stands for two desktop messages.
  std::optional<OsMessage> _pending;
  // Text each held key produced at its press, repeated on its release.
  std::unordered_map<int, std::wstring> _keyTexts;
};

}  // namespace LLF
