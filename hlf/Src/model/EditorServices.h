#pragma once
// What the object model needs from the developer editor: whether it is open
// (controls named "WSELEMENT_..." are then workspace elements), whether it
// is loaded, loading it, and its font. The editor derives from this class
// and installs a provider that creates it on first use; until one is
// installed GetInstance answers null, which callers take as an editor that
// is closed, not loaded, cannot load and has no font. An editor that is also
// a Singleton says which GetInstance its own name means (a using
// declaration), since both bases offer one.
#include "core/Object.h"

namespace LLF {
class Font;
}

namespace HLF {

class EditorServices : public virtual LLF::Object {
 public:
  using Provider = EditorServices* (*)();

  LLF_KIND_OF(EditorServices, LLF::Object)
  ~EditorServices() override = default;

  // Whether the editor has been loaded (its resources, its font among
  // them, are ready). False here.
  virtual bool IsInitialized();
  // The editor's own font, null before it is loaded. Null here.
  virtual LLF::Font* GetFont();
  // Whether the editor is open. False here.
  virtual bool IsOpen();
  // Loads the editor; false when that fails. False here.
  virtual bool Init();

  // The editor through the installed provider, or null while none is.
  static EditorServices* GetInstance();
  // Null removes the provider.
  static void SetProvider(Provider provider);
  static Provider GetProvider();

  // The editor's answers with no editor taken as closed and not loaded.
  static bool IsEditorOpen();
  // The editor's font, loading the editor first when it is not yet loaded;
  // null when there is no editor or it cannot load.
  static LLF::Font* GetEditorFont();

 protected:
  EditorServices() = default;
};

}  // namespace HLF
