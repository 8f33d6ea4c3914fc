#pragma once
// The in-game editor's core: its font (which the console and every control
// whose font is "##font_editor;" draw with), the editor dialogs' prototypes,
// the main editor dialog on the game's "EDITOR" layer, the switch between
// editor and game, and the game's string, image and sound registries kept
// in their documents and files.
//
// Registries are written whole, beside the file and put in place only when
// complete; a failed write is logged. A registry the game shell holds as
// defaults because its file does not parse is never written over that file.
// The strings go back to "scripts/strings.xml", the file the shell reads
// them from.
#include <string>

#include "core/Singleton.h"
#include "model/EditorServices.h"

namespace LLF {
class Font;
class XmlDoc;
}  // namespace LLF

namespace HLF {

class Editor : public EditorServices, public LLF::Singleton<Editor> {
  LLF_SINGLETON(Editor)

 public:
  // The editor's font is loaded with these characters (the tools that
  // make its font file use them too).
  static constexpr const wchar_t* kFontCharacters =
      L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789'`\"!?@#~%_&*(){}[]=\\+|-<>,./;:"
      L"\u00A9\u00AE\u2122";
  // Where the font comes from, tried in this order.
  static constexpr const wchar_t* kFontFile = L"editor/FontSystem.xml";
  static constexpr const wchar_t* kFallbackFontFile = L"Fonts/arial.ttf";
  static constexpr const wchar_t* kStringsFile = L"scripts/strings.xml";
  static constexpr const wchar_t* kImagesFile = L"scripts/images.xml";
  static constexpr const wchar_t* kSoundsFile = L"scripts/sounds.xml";

  using LLF::Singleton<Editor>::GetInstance;

  LLF_KIND_OF(Editor, EditorServices)
  // The font is released by Shutdown; at exit it is released here when the
  // shell did not.
  ~Editor() override;

  bool IsInitialized() override { return _initialized; }
  LLF::Font* GetFont() override { return _font; }
  // No operation changes it.
  virtual bool GetFlag() const { return _flag; }
  bool IsOpen() override { return _open; }
  // The font (editor/FontSystem.xml at 14, else Fonts/arial.ttf at 10, else
  // the system's sans font at 10), the dialog prototypes and the main
  // dialog on the EDITOR layer. False, changing nothing, without a font.
  bool Init() override;
  // Frees the font; the editor may be loaded again.
  virtual void Shutdown();
  // Shows the EDITOR layer and hides the GAME layer.
  virtual void Open();
  virtual void Close();
  // Sets (renaming when newName is not empty) or adds one string and saves
  // the strings. False without a strings document or its "game/vars".
  virtual bool SetStringVar(const std::wstring& name, const std::wstring& value, const std::wstring& newName);
  virtual void SaveStrings();
  virtual bool SetImage(const std::wstring& asset, const std::wstring& name, const std::wstring& newName,
                        const std::wstring& src, const std::wstring& cells, const std::wstring& loops);
  virtual void SaveImages();
  virtual bool SetSound(const std::wstring& asset, const std::wstring& name, const std::wstring& newName,
                        const std::wstring& src, float volume, bool looped);
  virtual void SaveSounds();

  // The provider the game shell installs, so the object model reaches this
  // editor.
  static EditorServices* Provide();

 private:
  Editor() = default;

  LLF::Font* LoadFont(const std::wstring& file, int size) const;
  void RegisterPrototypes();
  void CreateMainDialog();
  // Writes a registry document to its file; false, with an error line, when
  // the document stands in for a file that does not parse or the write
  // fails.
  bool SaveDoc(LLF::XmlDoc* doc, const std::wstring& file);

  bool _open = false;
  bool _flag = false;
  bool _initialized = false;
  LLF::Font* _font = nullptr;
};

}  // namespace HLF
