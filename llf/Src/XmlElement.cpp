#include "XmlElement.h"

#include <utility>

#include "StringUtils.h"
#include "XmlText.h"

namespace LLF {

namespace {

// The attribute and child lists share their handling: owned entries,
// range-checked indexes and a cursor for first/next walks.
template <class T>
using List = std::vector<std::unique_ptr<T>>;

template <class T>
bool InRange(const List<T>& list, int index) {
  return index >= 0 && static_cast<size_t>(index) < list.size();
}

template <class T>
T* EntryAt(const List<T>& list, int index) {
  return InRange(list, index) ? list[index].get() : nullptr;
}

// Inserts before index when it is in range, else appends.
template <class T>
T* InsertAt(List<T>& list, std::unique_ptr<T> entry, int index) {
  T* raw = entry.get();
  if (InRange(list, index)) {
    list.insert(list.begin() + index, std::move(entry));
  } else {
    list.push_back(std::move(entry));
  }
  return raw;
}

template <class T>
T* First(const List<T>& list, unsigned& cursor) {
  cursor = 0;
  return list.empty() ? nullptr : list[0].get();
}

// The next entry, or null at the end with the cursor left on the last one.
template <class T>
T* Next(const List<T>& list, unsigned& cursor) {
  if (static_cast<size_t>(cursor) + 1 >= list.size()) return nullptr;
  return list[++cursor].get();
}

template <class T>
bool EraseAt(List<T>& list, int index) {
  if (!InRange(list, index)) return false;
  list.erase(list.begin() + index);
  return true;
}

// Deletes the first entry with that name; true whether or not there was one.
template <class T>
bool EraseFirstNamed(List<T>& list, const std::wstring& name) {
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i]->GetName() == name) {
      list.erase(list.begin() + i);
      break;
    }
  }
  return true;
}

template <class T>
const T* FindNamed(const List<T>& list, const std::wstring& name) {
  for (const auto& entry : list) {
    if (entry->GetName() == name) return entry.get();
  }
  return nullptr;
}

// A comment's text with every "-->" broken by a blank, so the comment ends
// where it should when read back.
void AppendCommentText(std::wstring& out, const std::wstring& text) {
  size_t start = 0;
  for (size_t hit; (hit = text.find(L"-->", start)) != std::wstring::npos; start = hit + 2) {
    out.append(text, start, hit + 2 - start);
    out.push_back(L' ');
  }
  out.append(text, start, std::wstring::npos);
}

// The text form of a typed value.
template <class T>
std::wstring ValueText(const T& value) {
  return ToString(value);
}
std::wstring ValueText(bool value) {
  return BoolToStr(value);
}
std::wstring ValueText(const wchar_t* value) {
  return value ? value : L"";
}

}  // namespace

XmlElement::XmlElement() : _name(L"NoName") {}

XmlElement::XmlElement(const std::wstring& name, const std::wstring& text) : _name(name), _text(text) {}

XmlElement::XmlElement(const XmlElement& other) : Object(other) {
  CopyFrom(other);
}

XmlElement& XmlElement::operator=(const XmlElement& other) {
  if (this != &other) {
    XmlElement copy(other);  // built first: other may live inside this tree
    *this = std::move(copy);
  }
  return *this;
}

XmlElement::XmlElement(XmlElement&& other) noexcept
    : Object(other),
      _name(std::move(other._name)),
      _text(std::move(other._text)),
      _attributes(std::move(other._attributes)),
      _children(std::move(other._children)),
      _isComment(other._isComment) {}

XmlElement& XmlElement::operator=(XmlElement&& other) noexcept {
  if (this != &other) {
    _name = std::move(other._name);
    _text = std::move(other._text);
    _attributes = std::move(other._attributes);
    _children = std::move(other._children);
    _attributeCursor = 0;
    _childCursor = 0;
    _isComment = other._isComment;
  }
  return *this;
}

void XmlElement::CopyFrom(const XmlElement& other) {
  _name = other._name;
  _text = other._text;
  // A copied comment stays a comment; otherwise it would be written back as
  // an element named COMMENT.
  _isComment = other._isComment;
  _attributes.reserve(other._attributes.size());
  for (const auto& a : other._attributes) _attributes.push_back(std::make_unique<XmlAttribute>(*a));
  _children.reserve(other._children.size());
  for (const auto& c : other._children) _children.push_back(std::make_unique<XmlElement>(*c));
}

XmlElement::~XmlElement() {
  XmlElement::Clear();
}

std::wstring XmlElement::Dump() const {
  return L"XmlElement: Attributes: " + ToString(GetAttributesCount()) + L" Childs: " +
         ToString(GetChildsCount());
}

XmlAttribute XmlElement::GetAttribute(const std::wstring& name, const RectF& def) const {
  return GetAttribute(name, ValueText(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& name, const Rect& def) const {
  return GetAttribute(name, ValueText(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& name, const Color& def) const {
  return GetAttribute(name, ValueText(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& name, const Vector2& def) const {
  return GetAttribute(name, ValueText(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& name, const Point& def) const {
  return GetAttribute(name, ValueText(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& name, bool def) const {
  return GetAttribute(name, ValueText(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& name, float def) const {
  return GetAttribute(name, ValueText(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& name, int def) const {
  return GetAttribute(name, ValueText(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& name, double def) const {
  return GetAttribute(name, ValueText(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& name, const wchar_t* def) const {
  return GetAttribute(name, ValueText(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& name, unsigned def) const {
  return GetAttribute(name, ValueText(def));
}

XmlAttribute XmlElement::GetAttribute(const std::wstring& name, const std::wstring& def) const {
  const XmlAttribute* found = GetAttribute(name);
  return XmlAttribute(name, found ? found->GetValue() : def);
}

XmlAttribute* XmlElement::GetAttribute(const std::wstring& name) {
  return const_cast<XmlAttribute*>(std::as_const(*this).GetAttribute(name));
}

const XmlAttribute* XmlElement::GetAttribute(const std::wstring& name) const {
  return FindNamed(_attributes, name);
}

XmlAttribute* XmlElement::GetAttribute(int index) {
  return EntryAt(_attributes, index);
}

const XmlAttribute* XmlElement::GetAttribute(int index) const {
  return EntryAt(_attributes, index);
}

XmlAttribute* XmlElement::AddAttribute(const std::wstring& name, const RectF& value, int index) {
  return AddAttribute(name, ValueText(value), index);
}
XmlAttribute* XmlElement::AddAttribute(const std::wstring& name, const Rect& value, int index) {
  return AddAttribute(name, ValueText(value), index);
}
XmlAttribute* XmlElement::AddAttribute(const std::wstring& name, const Color& value, int index) {
  return AddAttribute(name, ValueText(value), index);
}
XmlAttribute* XmlElement::AddAttribute(const std::wstring& name, const Vector2& value, int index) {
  return AddAttribute(name, ValueText(value), index);
}
XmlAttribute* XmlElement::AddAttribute(const std::wstring& name, const Point& value, int index) {
  return AddAttribute(name, ValueText(value), index);
}
XmlAttribute* XmlElement::AddAttribute(const std::wstring& name, bool value, int index) {
  return AddAttribute(name, ValueText(value), index);
}
XmlAttribute* XmlElement::AddAttribute(const std::wstring& name, float value, int index) {
  return AddAttribute(name, ValueText(value), index);
}
XmlAttribute* XmlElement::AddAttribute(const std::wstring& name, int value, int index) {
  return AddAttribute(name, ValueText(value), index);
}
XmlAttribute* XmlElement::AddAttribute(const std::wstring& name, double value, int index) {
  return AddAttribute(name, ValueText(value), index);
}
XmlAttribute* XmlElement::AddAttribute(const std::wstring& name, const wchar_t* value, int index) {
  return AddAttribute(name, ValueText(value), index);
}
XmlAttribute* XmlElement::AddAttribute(const std::wstring& name, unsigned value, int index) {
  return AddAttribute(name, ValueText(value), index);
}

XmlAttribute* XmlElement::AddAttribute(const std::wstring& name, const std::wstring& value, int index) {
  return InsertAt(_attributes, std::make_unique<XmlAttribute>(name, value), index);
}

XmlAttribute* XmlElement::AddAttribute(const XmlAttribute& attribute, int /*index*/) {
  return InsertAt(_attributes, std::make_unique<XmlAttribute>(attribute.GetName(), attribute.GetValue()), -1);
}

XmlAttribute* XmlElement::AddAttribute(const XmlAttribute* attribute, int index) {
  return attribute ? AddAttribute(*attribute, index) : nullptr;
}

XmlAttribute* XmlElement::AppendAttribute(std::wstring&& name, std::wstring&& value) {
  _attributes.push_back(std::make_unique<XmlAttribute>(std::move(name), std::move(value)));
  return _attributes.back().get();
}

XmlAttribute* XmlElement::GetFirstAttribute() {
  return First(_attributes, _attributeCursor);
}

XmlAttribute* XmlElement::GetNextAttribute() {
  return Next(_attributes, _attributeCursor);
}

XmlElement* XmlElement::FindChild(const std::wstring& name) {
  return const_cast<XmlElement*>(std::as_const(*this).FindChild(name));
}

const XmlElement* XmlElement::FindChild(const std::wstring& name) const {
  return FindNamed(_children, name);
}

XmlElement* XmlElement::GetChild(int index) {
  return EntryAt(_children, index);
}

const XmlElement* XmlElement::GetChild(int index) const {
  return EntryAt(_children, index);
}

XmlElement* XmlElement::AddChild(const std::wstring& name, int /*index*/) {
  return InsertAt(_children, std::make_unique<XmlElement>(name), -1);
}

XmlElement* XmlElement::AddChild(const XmlElement& element, int /*index*/) {
  return AddChild(&element, -1);
}

XmlElement* XmlElement::AddChild(const XmlElement* element, int index) {
  return element ? InsertAt(_children, std::make_unique<XmlElement>(*element), index) : nullptr;
}

XmlElement* XmlElement::AppendChild(std::wstring&& name) {
  auto child = std::make_unique<XmlElement>();
  child->_name = std::move(name);
  _children.push_back(std::move(child));
  return _children.back().get();
}

XmlElement* XmlElement::GetFirstChild() {
  return First(_children, _childCursor);
}

XmlElement* XmlElement::GetNextChild() {
  return Next(_children, _childCursor);
}

bool XmlElement::RemoveChild(const std::wstring& name) {
  return EraseFirstNamed(_children, name);
}

bool XmlElement::RemoveChild(int index) {
  return EraseAt(_children, index);
}

bool XmlElement::RemoveAttribute(const std::wstring& name) {
  return EraseFirstNamed(_attributes, name);
}

bool XmlElement::RemoveAttribute(int index) {
  return EraseAt(_attributes, index);
}

XmlElement* XmlElement::GetChildByPath(const std::wstring& path) {
  if (path.empty()) return nullptr;
  XmlElement* current = this;
  bool failed = false;
  size_t pos = 0;
  while (pos < path.size()) {
    size_t end = path.find_first_of(L"\\/", pos);
    if (end == std::wstring::npos) end = path.size();
    XmlElement* found = nullptr;
    if (end > pos) {
      for (XmlElement* c = current->GetFirstChild(); c; c = current->GetNextChild()) {
        if (c->_name.compare(0, std::wstring::npos, path, pos, end - pos) == 0) {
          found = c;
          break;
        }
      }
    }
    if (found) {
      current = found;
    } else {
      failed = true;
    }
    pos = end + 1;
  }
  return failed || current == this ? nullptr : current;
}

XmlAttribute XmlElement::GetAttribute(const std::wstring& path, const std::wstring& name, const RectF& def) {
  return GetAttribute(path, name, ValueText(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& path, const std::wstring& name, const Rect& def) {
  return GetAttribute(path, name, ValueText(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& path, const std::wstring& name, const Color& def) {
  return GetAttribute(path, name, ValueText(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& path, const std::wstring& name,
                                      const Vector2& def) {
  return GetAttribute(path, name, ValueText(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& path, const std::wstring& name, const Point& def) {
  return GetAttribute(path, name, ValueText(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& path, const std::wstring& name, bool def) {
  return GetAttribute(path, name, ValueText(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& path, const std::wstring& name, float def) {
  return GetAttribute(path, name, ValueText(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& path, const std::wstring& name, int def) {
  return GetAttribute(path, name, ValueText(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& path, const std::wstring& name, double def) {
  return GetAttribute(path, name, ValueText(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& path, const std::wstring& name, unsigned def) {
  return GetAttribute(path, name, ValueText(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& path, const std::wstring& name,
                                      const wchar_t* def) {
  return GetAttribute(path, name, ValueText(def));
}

XmlAttribute XmlElement::GetAttribute(const std::wstring& path, const std::wstring& name,
                                      const std::wstring& def) {
  XmlElement* element = GetChildByPath(path);
  return element ? element->GetAttribute(name, def) : XmlAttribute(name, def);
}

void XmlElement::Clear() {
  _attributes.clear();
  _children.clear();
  _attributeCursor = 0;
  _childCursor = 0;
}

void XmlElement::SetComment(const std::wstring& text) {
  Clear();
  _name = L"COMMENT";
  _text = text;
  _isComment = true;
}

std::wstring XmlElement::Serialize(const std::wstring& indent) const {
  std::wstring out;
  Serialize(indent, out);
  return out;
}

void XmlElement::Serialize(const std::wstring& indent, std::wstring& out) const {
  out += indent;
  if (_isComment) {
    out += L"<!--";
    AppendCommentText(out, _text);
    out += L"-->\r\n";
    return;
  }
  out += L'<';
  out += _name;
  for (const auto& a : _attributes) {
    out += L' ';
    out += a->GetName();
    out += L"=\"";
    AppendEscapedText(out, a->GetValue());
    out += L'"';
  }
  if (_text.empty() && _children.empty()) {
    out += L" />\r\n";
    return;
  }
  out += L" >";
  AppendEscapedText(out, _text);
  if (!_children.empty()) {
    // Children of an element with text follow the text directly: a line
    // break there would become part of the text when read back, and the
    // text would grow by one with every save.
    if (_text.empty()) out += L"\r\n";
    const std::wstring childIndent = _text.empty() ? indent + L'\t' : std::wstring();
    for (const auto& c : _children) c->Serialize(childIndent, out);
    out += indent;
  }
  out += L"</";
  out += _name;
  out += L">\r\n";
}

}  // namespace LLF
