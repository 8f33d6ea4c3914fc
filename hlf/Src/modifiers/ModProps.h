#pragma once
// Applies its own XML element to its target as control attributes once its
// start delay has passed, through the target's LoadFromXml (so the
// target's class reads every attribute it knows), and then ends. It has no
// curve and a duration of 0.
//
// XML: the whole element is kept; of the modifier attributes only
// "startDelay" is read.
#include "modifiers/Modifier.h"
#include "xml/XmlElement.h"

namespace HLF {

class ModProps : public Modifier {
 public:
  explicit ModProps(Control* target = nullptr, unsigned startDelay = 0);

  LLF_KIND_OF(ModProps, Modifier)
  ~ModProps() override = default;

  // Waits out the start delay itself, then runs the base update, which
  // ends at once.
  bool Update(unsigned dt) override;
  // At the end (p exactly 1): the target loads the kept element.
  void Apply(float p, float dt) override;
  // Keeps a copy of the element and reads "startDelay". True.
  bool LoadFromXml(LLF::XmlElement& element) override;
  void CopyFrom(const Modifier& other) override;
  Modifier* CreateInstance() const override;

  virtual const LLF::XmlElement& GetElement() const { return _element; }
  // Keeps a copy.
  virtual void SetElement(const LLF::XmlElement& element) { _element = element; }

 private:
  static const PropertyTable<ModProps>& Properties();

  LLF::XmlElement _element;
};

}  // namespace HLF
