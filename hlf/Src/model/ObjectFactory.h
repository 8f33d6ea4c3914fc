#pragma once
// A table of prototypes that makes objects from XML elements: one
// default-constructed object per class, each deciding itself whether an
// element is its own. The prototypes are asked from the last registered to
// the first, so a later registration of a tag wins over an earlier one.
// The factory owns its prototypes; callers own what it creates.
//
// Built for HLF::Control, HLF::Modifier and HLF::TimeWarp; each has its own
// singleton factory deriving from this class.
#include <string>
#include <vector>

#include "core/Object.h"
#include "xml/XmlElement.h"

namespace HLF {

// What a prototype does with an element: a new object of its class loaded
// from the element when the element's name is the class's tag; null when
// it is not, or when the load fails (the new object is deleted).
template <class T>
T* CreateLoaded(const T& prototype, const std::wstring& tag, LLF::XmlElement& element) {
  if (element.GetName() != tag) {
    return nullptr;
  }
  T* object = prototype.CreateInstance();
  if (!object->LoadFromXml(element)) {
    delete object;
    return nullptr;
  }
  return object;
}

template <class T>
class ObjectFactory : public virtual LLF::Object {
 public:
  ObjectFactory() = default;
  ObjectFactory(const ObjectFactory&) = delete;
  ObjectFactory& operator=(const ObjectFactory&) = delete;

  LLF_KIND_OF(ObjectFactory, LLF::Object)
  ~ObjectFactory() override;

  // Deletes every prototype.
  virtual void Clear();
  // The factory's own rule for making an object from the element; null
  // when none is made.
  virtual T* CreateFromXml(LLF::XmlElement& element) = 0;

  // Appends the prototype and takes it over; duplicates are not checked.
  // True (false only for null).
  bool Register(T* prototype);
  // CreateFromXml; the caller owns the result.
  T* CreateFrom(LLF::XmlElement& element) { return CreateFromXml(element); }
  int GetPrototypesCount() const { return static_cast<int>(_prototypes.size()); }
  // Null for an index out of range.
  T* GetPrototype(int index) const;

  // Loaders over an HLF::XmlDocEx, so variables apply; each gives the new
  // object or null.
  // The element at path from the document's root (the path starts with
  // the top-level element's name).
  T* LoadObjectFromXml(const std::wstring& file, const std::wstring& path);
  // The first child of the element at path whose "name" is name.
  T* LoadNamedObjectFromXml(const std::wstring& file, const std::wstring& path, const std::wstring& name);
  // The text's top-level element.
  T* LoadObjectFromXmlText(const std::wstring& text);

 protected:
  // Offers the element to the prototypes from the last registered to the
  // first: the first object made, or null.
  T* AskPrototypes(LLF::XmlElement& element);

 private:
  std::vector<T*> _prototypes;
};

class Control;
class Modifier;
class TimeWarp;
extern template class ObjectFactory<Control>;
extern template class ObjectFactory<Modifier>;
extern template class ObjectFactory<TimeWarp>;

}  // namespace HLF
