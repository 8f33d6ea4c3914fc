#pragma once
// The files one builder run writes into its folder. Every output is named
// before anything changes, so a run that would replace a file (an earlier
// run's result, a layer named like an output) stops untouched. Images are
// written beside their name ("~<name>") and put in place when complete; a
// temporary a killed run left is written over. Layers are deleted only once
// every output of the run stands.
#include <string>
#include <vector>

#include "image/Image.h"
#include "xml/XmlDoc.h"

class BuildOutputs {
 public:
  // folder ends with a separator.
  explicit BuildOutputs(std::wstring folder) : _folder(std::move(folder)) {}

  const std::wstring& Folder() const { return _folder; }
  std::wstring Path(const std::wstring& name) const { return _folder + name; }

  // A file (name in the folder) the run will write.
  void Plan(const std::wstring& name) { _planned.push_back(name); }
  // False, with the error line, when a planned file already stands in the
  // folder.
  bool CheckNothingExists() const;

  // Writes the image beside path and moves it in place; false, with one
  // error line, when either step fails (the temporary is removed).
  static bool SaveImage(LLF::Image& image, const std::wstring& path);
  // SaveImage into folder + name, remembered as written.
  bool Save(LLF::Image& image, const std::wstring& name);
  // The document as UTF-8 with its mark at folder + name, remembered as
  // written; one error line on failure.
  bool WriteXml(const LLF::XmlDoc& doc, const std::wstring& name);
  // An output (name in the folder) written by other means.
  void Wrote(const std::wstring& name) { _written.push_back(name); }
  // A failed run takes back what it wrote, so the folder is as it was and
  // the run can be repeated. Only files that did not exist before the run
  // are on this list.
  void RemoveWritten();

  // A layer file (name in the folder) to delete once the run succeeded.
  void Consume(const std::wstring& name) { _consumed.push_back(name); }
  // Deletes the consumed layers; call only when every output is written.
  void DeleteConsumed() const;

  // An "image" entry of an asset group: name, src, one cell, one loop.
  static void AddImageAsset(LLF::XmlElement& group, const std::wstring& name, const std::wstring& src);

  // The temporary an image is written to before it takes path's place.
  static std::wstring TemporaryOf(const std::wstring& path);
  static bool Exists(const std::wstring& path);

 private:
  std::wstring _folder;
  std::vector<std::wstring> _planned;
  std::vector<std::wstring> _consumed;
  std::vector<std::wstring> _written;
};
