#include "model/ObjectFactory.h"

#include "model/Control.h"
#include "model/XmlDocEx.h"
#include "modifiers/Modifier.h"
#include "modifiers/TimeWarp.h"

namespace HLF {

template <class T>
ObjectFactory<T>::~ObjectFactory() {
  ObjectFactory<T>::Clear();
}

template <class T>
void ObjectFactory<T>::Clear() {
  std::vector<T*> prototypes;
  prototypes.swap(_prototypes);
  for (T* prototype : prototypes) {
    delete prototype;
  }
}

template <class T>
bool ObjectFactory<T>::Register(T* prototype) {
  if (!prototype) {
    return false;
  }
  _prototypes.push_back(prototype);
  return true;
}

template <class T>
T* ObjectFactory<T>::GetPrototype(int index) const {
  if (index < 0 || index >= static_cast<int>(_prototypes.size())) {
    return nullptr;
  }
  return _prototypes[index];
}

template <class T>
T* ObjectFactory<T>::AskPrototypes(LLF::XmlElement& element) {
  for (auto it = _prototypes.rbegin(); it != _prototypes.rend(); ++it) {
    if (T* made = (*it)->CreateFromXml(element)) {
      return made;
    }
  }
  return nullptr;
}

template <class T>
T* ObjectFactory<T>::LoadObjectFromXml(const std::wstring& file, const std::wstring& path) {
  XmlDocEx doc;
  if (!doc.LoadFromFile(file)) {
    return nullptr;
  }
  LLF::XmlElement* element = doc.GetRoot()->GetChildByPath(path);
  return element ? CreateFrom(*element) : nullptr;
}

template <class T>
T* ObjectFactory<T>::LoadNamedObjectFromXml(const std::wstring& file, const std::wstring& path,
                                            const std::wstring& name) {
  XmlDocEx doc;
  if (!doc.LoadFromFile(file)) {
    return nullptr;
  }
  LLF::XmlElement* section = doc.GetRoot()->GetChildByPath(path);
  LLF::XmlElement* element = section ? XmlDocEx::FindNamedChild(*section, name) : nullptr;
  return element ? CreateFrom(*element) : nullptr;
}

template <class T>
T* ObjectFactory<T>::LoadObjectFromXmlText(const std::wstring& text) {
  XmlDocEx doc;
  if (!doc.Parse(text)) {
    return nullptr;
  }
  LLF::XmlElement* element = doc.GetDocumentElement();
  return element ? CreateFrom(*element) : nullptr;
}

template class ObjectFactory<Control>;
template class ObjectFactory<Modifier>;
template class ObjectFactory<TimeWarp>;

}  // namespace HLF
