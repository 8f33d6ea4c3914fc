#pragma once
// A label that opens a web address or document with the desktop's program
// for it when clicked, the XML element "hyperlabel". Its text is blue,
// lighter under the mouse, violet while pressed and grey when disabled;
// once followed, a link keeps the pressed colour. The click also sends
// code 10 with its name and plays "soundName", as a label's does.
//
// XML attributes: a label's, with "url" read before the text's; a missing
// or empty url is logged as a warning and the label works without one.
// Saved, "url" is written when set.
//
// Editor: a label's pages, then "HyperLabel properties" ("URL").
#include <string>
#include <vector>

#include "widgets/Label.h"

namespace HLF {

class HyperLabel : public Label {
 public:
  HyperLabel();

  LLF_KIND_OF(HyperLabel, Label)
  ~HyperLabel() override = default;
  // "HyperLabel: Name: " name " Text: " text.
  std::wstring Dump() const override;
  // After a press on it: the url opened, the pressed colour kept, code 10
  // and the click sound; then Control's handling (code 7).
  void OnMouseUp(const LLF::Message& msg) override;
  LLF::XmlElement* SaveToXml() override;
  void FillPropertyGrid(std::vector<PropertyGroup>& groups) override;
  bool SetPropertyFromEditor(const std::wstring& page, const std::wstring& label,
                             const std::wstring& value) override;
  Control* CreateInstance() const override;
  // "url" first, then the text's attributes.
  bool LoadTextProps(LLF::XmlElement& element) override;

  virtual std::wstring GetUrl() const { return _url; }
  // An empty url is refused (false).
  virtual bool SetUrl(const std::wstring& url);

 private:
  static const PropertyTable<HyperLabel>& Properties();

  std::wstring _url;
};

}  // namespace HLF
