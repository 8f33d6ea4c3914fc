#include "XmlElement.h"

#include <utility>

#include "StringUtils.h"
#include "XmlText.h"

namespace LLF {

namespace {

template <class T>
bool InRange(const std::vector<T>& v, int index) {
  return index >= 0 && static_cast<size_t>(index) < v.size();
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
  return GetAttribute(name, ToString(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& name, const Rect& def) const {
  return GetAttribute(name, ToString(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& name, const Color& def) const {
  return GetAttribute(name, ToString(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& name, const Vector2& def) const {
  return GetAttribute(name, ToString(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& name, const Point& def) const {
  return GetAttribute(name, ToString(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& name, bool def) const {
  return GetAttribute(name, BoolToStr(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& name, float def) const {
  return GetAttribute(name, ToString(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& name, int def) const {
  return GetAttribute(name, ToString(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& name, double def) const {
  return GetAttribute(name, ToString(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& name, const wchar_t* def) const {
  return GetAttribute(name, std::wstring(def ? def : L""));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& name, unsigned def) const {
  return GetAttribute(name, ToString(def));
}

XmlAttribute XmlElement::GetAttribute(const std::wstring& name, const std::wstring& def) const {
  const XmlAttribute* found = GetAttribute(name);
  return XmlAttribute(name, found ? found->GetValue() : def);
}

XmlAttribute* XmlElement::GetAttribute(const std::wstring& name) {
  return const_cast<XmlAttribute*>(std::as_const(*this).GetAttribute(name));
}

const XmlAttribute* XmlElement::GetAttribute(const std::wstring& name) const {
  for (const auto& a : _attributes) {
    if (a->GetName() == name) return a.get();
  }
  return nullptr;
}

XmlAttribute* XmlElement::GetAttribute(int index) {
  return InRange(_attributes, index) ? _attributes[index].get() : nullptr;
}

const XmlAttribute* XmlElement::GetAttribute(int index) const {
  return InRange(_attributes, index) ? _attributes[index].get() : nullptr;
}

XmlAttribute* XmlElement::AddAttribute(const std::wstring& name, const RectF& value, int index) {
  return AddAttribute(name, ToString(value), index);
}
XmlAttribute* XmlElement::AddAttribute(const std::wstring& name, const Rect& value, int index) {
  return AddAttribute(name, ToString(value), index);
}
XmlAttribute* XmlElement::AddAttribute(const std::wstring& name, const Color& value, int index) {
  return AddAttribute(name, ToString(value), index);
}
XmlAttribute* XmlElement::AddAttribute(const std::wstring& name, const Vector2& value, int index) {
  return AddAttribute(name, ToString(value), index);
}
XmlAttribute* XmlElement::AddAttribute(const std::wstring& name, const Point& value, int index) {
  return AddAttribute(name, ToString(value), index);
}
XmlAttribute* XmlElement::AddAttribute(const std::wstring& name, bool value, int index) {
  return AddAttribute(name, BoolToStr(value), index);
}
XmlAttribute* XmlElement::AddAttribute(const std::wstring& name, float value, int index) {
  return AddAttribute(name, ToString(value), index);
}
XmlAttribute* XmlElement::AddAttribute(const std::wstring& name, int value, int index) {
  return AddAttribute(name, ToString(value), index);
}
XmlAttribute* XmlElement::AddAttribute(const std::wstring& name, double value, int index) {
  return AddAttribute(name, ToString(value), index);
}
XmlAttribute* XmlElement::AddAttribute(const std::wstring& name, const wchar_t* value, int index) {
  return AddAttribute(name, std::wstring(value ? value : L""), index);
}
XmlAttribute* XmlElement::AddAttribute(const std::wstring& name, unsigned value, int index) {
  return AddAttribute(name, ToString(value), index);
}

XmlAttribute* XmlElement::AddAttribute(const std::wstring& name, const std::wstring& value, int index) {
  return InsertAttribute(std::make_unique<XmlAttribute>(name, value), index);
}

XmlAttribute* XmlElement::AddAttribute(const XmlAttribute& attribute, int /*index*/) {
  return InsertAttribute(std::make_unique<XmlAttribute>(attribute.GetName(), attribute.GetValue()), -1);
}

XmlAttribute* XmlElement::AddAttribute(const XmlAttribute* attribute, int index) {
  return attribute ? AddAttribute(*attribute, index) : nullptr;
}

XmlAttribute* XmlElement::AppendAttribute(std::wstring&& name, std::wstring&& value) {
  _attributes.push_back(std::make_unique<XmlAttribute>(std::move(name), std::move(value)));
  return _attributes.back().get();
}

XmlAttribute* XmlElement::InsertAttribute(std::unique_ptr<XmlAttribute> attribute, int index) {
  XmlAttribute* raw = attribute.get();
  if (InRange(_attributes, index)) {
    _attributes.insert(_attributes.begin() + index, std::move(attribute));
  } else {
    _attributes.push_back(std::move(attribute));
  }
  return raw;
}

XmlAttribute* XmlElement::GetFirstAttribute() {
  _attributeCursor = 0;
  return _attributes.empty() ? nullptr : _attributes[0].get();
}

XmlAttribute* XmlElement::GetNextAttribute() {
  if (static_cast<size_t>(_attributeCursor) + 1 >= _attributes.size()) return nullptr;
  return _attributes[++_attributeCursor].get();
}

XmlElement* XmlElement::FindChild(const std::wstring& name) {
  return const_cast<XmlElement*>(std::as_const(*this).FindChild(name));
}

const XmlElement* XmlElement::FindChild(const std::wstring& name) const {
  for (const auto& c : _children) {
    if (c->_name == name) return c.get();
  }
  return nullptr;
}

XmlElement* XmlElement::GetChild(int index) {
  return InRange(_children, index) ? _children[index].get() : nullptr;
}

const XmlElement* XmlElement::GetChild(int index) const {
  return InRange(_children, index) ? _children[index].get() : nullptr;
}

XmlElement* XmlElement::AddChild(const std::wstring& name, int /*index*/) {
  return InsertChild(std::make_unique<XmlElement>(name), -1);
}

XmlElement* XmlElement::AddChild(const XmlElement& element, int /*index*/) {
  return AddChild(&element, -1);
}

XmlElement* XmlElement::AddChild(const XmlElement* element, int index) {
  return element ? InsertChild(std::make_unique<XmlElement>(*element), index) : nullptr;
}

XmlElement* XmlElement::AppendChild(std::wstring&& name) {
  auto child = std::make_unique<XmlElement>();
  child->_name = std::move(name);
  _children.push_back(std::move(child));
  return _children.back().get();
}

XmlElement* XmlElement::InsertChild(std::unique_ptr<XmlElement> child, int index) {
  XmlElement* raw = child.get();
  if (InRange(_children, index)) {
    _children.insert(_children.begin() + index, std::move(child));
  } else {
    _children.push_back(std::move(child));
  }
  return raw;
}

XmlElement* XmlElement::GetFirstChild() {
  _childCursor = 0;
  return _children.empty() ? nullptr : _children[0].get();
}

XmlElement* XmlElement::GetNextChild() {
  if (static_cast<size_t>(_childCursor) + 1 >= _children.size()) return nullptr;
  return _children[++_childCursor].get();
}

bool XmlElement::RemoveChild(const std::wstring& name) {
  for (size_t i = 0; i < _children.size(); ++i) {
    if (_children[i]->_name == name) {
      _children.erase(_children.begin() + i);
      break;
    }
  }
  return true;
}

bool XmlElement::RemoveChild(int index) {
  if (!InRange(_children, index)) return false;
  _children.erase(_children.begin() + index);
  return true;
}

bool XmlElement::RemoveAttribute(const std::wstring& name) {
  for (size_t i = 0; i < _attributes.size(); ++i) {
    if (_attributes[i]->GetName() == name) {
      _attributes.erase(_attributes.begin() + i);
      break;
    }
  }
  return true;
}

bool XmlElement::RemoveAttribute(int index) {
  if (!InRange(_attributes, index)) return false;
  _attributes.erase(_attributes.begin() + index);
  return true;
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
  return GetAttribute(path, name, ToString(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& path, const std::wstring& name, const Rect& def) {
  return GetAttribute(path, name, ToString(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& path, const std::wstring& name, const Color& def) {
  return GetAttribute(path, name, ToString(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& path, const std::wstring& name,
                                      const Vector2& def) {
  return GetAttribute(path, name, ToString(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& path, const std::wstring& name, const Point& def) {
  return GetAttribute(path, name, ToString(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& path, const std::wstring& name, bool def) {
  return GetAttribute(path, name, BoolToStr(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& path, const std::wstring& name, float def) {
  return GetAttribute(path, name, ToString(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& path, const std::wstring& name, int def) {
  return GetAttribute(path, name, ToString(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& path, const std::wstring& name, double def) {
  return GetAttribute(path, name, ToString(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& path, const std::wstring& name, unsigned def) {
  return GetAttribute(path, name, ToString(def));
}
XmlAttribute XmlElement::GetAttribute(const std::wstring& path, const std::wstring& name,
                                      const wchar_t* def) {
  return GetAttribute(path, name, std::wstring(def ? def : L""));
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
