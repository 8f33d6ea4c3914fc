#include "model/Control.h"

#include <algorithm>
#include <iterator>
#include <memory>

#include "app/AppWindow.h"
#include "app/InputCodes.h"
#include "core/Log.h"
#include "core/StringUtils.h"
#include "math/Vector3.h"
#include "model/EditorServices.h"
#include "model/GameServices.h"
#include "model/ObjectFactory.h"
#include "model/OwnedList.h"
#include "model/XmlDocEx.h"
#include "modifiers/Effect.h"
#include "modifiers/Modifier.h"
#include "properties/PropertyTable.h"
#include "render/IRenderSystem.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlDoc.h"
#include "xml/XmlElement.h"

namespace HLF {

namespace {

// The clip rectangle in force while a subtree draws, so a clipped child
// inside a clipped parent stays inside both, and the parent's clip is back
// once the child is drawn. Null outside any clipped control.
const LLF::Rect* g_enclosingClip = nullptr;

LLF::Rect Intersect(const LLF::Rect& a, const LLF::Rect& b) {
  const int left = std::max(a.x, b.x);
  const int top = std::max(a.y, b.y);
  const int right = std::min(a.x + a.width, b.x + b.width);
  const int bottom = std::min(a.y + a.height, b.y + b.height);
  return LLF::Rect(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

// Sets a clip for the scope's life and puts the enclosing one back after.
class ClipScope {
 public:
  ClipScope(LLF::IRenderSystem* rs, const LLF::Rect& rect)
      : _rs(rs), _outer(g_enclosingClip), _clip(_outer ? Intersect(rect, *_outer) : rect) {
    _rs->SetClipRect(&_clip);
    g_enclosingClip = &_clip;
  }
  ~ClipScope() {
    g_enclosingClip = _outer;
    _rs->SetClipRect(_outer);
  }
  ClipScope(const ClipScope&) = delete;
  ClipScope& operator=(const ClipScope&) = delete;

 private:
  LLF::IRenderSystem* _rs;
  const LLF::Rect* _outer;
  LLF::Rect _clip;
};

bool Contains(const LLF::RectF& r, const LLF::Vector2& p) {
  return r.x <= p.x && p.x <= r.x + r.width && r.y <= p.y && p.y <= r.y + r.height;
}

bool IsFromWindow(const LLF::Message& msg) {
  static const LLF::Object* const window = &LLF::AppWindow::GetInstance();
  return msg.GetSender() == window;
}

LLF::Matrix4 Translation(float x, float y) {
  return LLF::Matrix4::Translation(LLF::Vector3(x, y, 0.0f));
}

}  // namespace

Control::Control() = default;

Control::Control(const std::wstring& name) : _name(name) {}

Control::~Control() {
  // A control deleted while still listed by its parent leaves the list, so
  // the parent keeps no dangling entry.
  if (_parent) {
    std::vector<Control*>& siblings = _parent->_children;
    auto it = std::find(siblings.begin(), siblings.end(), this);
    if (it != siblings.end()) {
      siblings.erase(it);
      _parent->_childrenChanged = true;
    }
  }
  std::vector<Modifier*> modifiers;
  modifiers.swap(_modifiers);
  for (Modifier* modifier : modifiers) {
    delete modifier;
  }
  std::vector<Effect*> effects;
  effects.swap(_effects);
  for (Effect* effect : effects) {
    delete effect;
  }
  std::vector<Control*> children;
  children.swap(_children);
  for (Control* child : children) {
    delete child;
  }
  if (GameServices* shell = GameServices::GetInstance()) {
    shell->ForgetControl(this);
  }
}

std::wstring Control::Dump() const {
  return L"Control: Name: " + _name;
}

// ---------------------------------------------------------------------------
// Tree

Control* Control::GetChild(int index) const {
  if (index < 0 || index >= static_cast<int>(_children.size())) {
    return nullptr;
  }
  return _children[index];
}

Control* Control::GetChildByName(const std::wstring& name) const {
  for (auto it = _children.rbegin(); it != _children.rend(); ++it) {
    if ((*it)->_name == name) {
      return *it;
    }
  }
  return nullptr;
}

Control* Control::FindChild(const std::wstring& name) const {
  for (auto it = _children.rbegin(); it != _children.rend(); ++it) {
    if ((*it)->_name == name) {
      return *it;
    }
    if (Control* found = (*it)->FindChild(name)) {
      return found;
    }
  }
  return nullptr;
}

int Control::IndexOfChild(const Control* child) const {
  auto it = std::find(_children.begin(), _children.end(), child);
  return it == _children.end() ? -1 : static_cast<int>(it - _children.begin());
}

bool Control::CanAdopt(Control* child, const wchar_t* operation) {
  if (!child || child == this) {
    return false;
  }
  // Two lists holding one control would delete it twice.
  if (child->_parent && child->_parent->IndexOfChild(child) >= 0) {
    LLF::Log::GetInstance().WriteFormat(L"Warning: %s - control \"%s\" already has a parent \"%s\".",
                                        operation, child->_name, child->_parent->_name);
    return false;
  }
  if (GameServices::IsDeletePending(child)) {
    LLF::Log::GetInstance().WriteFormat(L"Warning: %s - control \"%s\" is being deleted.", operation,
                                        child->_name);
    return false;
  }
  for (const Control* ancestor = _parent; ancestor; ancestor = ancestor->_parent) {
    if (ancestor == child) {
      LLF::Log::GetInstance().WriteFormat(L"Warning: %s - control \"%s\" contains \"%s\".", operation,
                                          child->_name, _name);
      return false;
    }
  }
  return true;
}

bool Control::InsertChild(Control* child, bool front, const wchar_t* operation) {
  if (!CanAdopt(child, operation)) {
    return false;
  }
  if (!front && !_children.empty()) {
    _children.back()->Deactivate();
  }
  _children.insert(front ? _children.begin() : _children.end(), child);
  _childrenChanged = true;
  child->SetParent(this);
  return true;
}

void Control::SetParent(Control* parent) {
  // A link the lists do not back would leave a dangling entry (or a double
  // delete) once either side is deleted.
  const bool listed = parent ? parent->IndexOfChild(this) >= 0 : !_parent || _parent->IndexOfChild(this) < 0;
  if (!listed) {
    LLF::Log::GetInstance().WriteFormat(
        parent ? L"Warning: Control::SetParent - control \"%s\" is not a child of \"%s\"."
               : L"Warning: Control::SetParent - control \"%s\" is still a child of \"%s\".",
        _name, parent ? parent->_name : _parent->_name);
    return;
  }
  _parent = parent;
}

bool Control::AddChild(Control* child) {
  return InsertChild(child, false, L"Control::AddChild");
}

bool Control::AddChildFront(Control* child) {
  return InsertChild(child, true, L"Control::AddChildFront");
}

void Control::DisposeChild(Control* child) {
  if (IsDispatching()) {
    GameServices::DeleteLater(child);
  } else {
    delete child;
  }
}

bool Control::DeleteChild(int index, bool del) {
  if (index < 0 || index >= static_cast<int>(_children.size())) {
    return false;
  }
  Control* child = _children[index];
  const bool wasTopmost = index + 1 == static_cast<int>(_children.size());
  _children.erase(_children.begin() + index);
  _childrenChanged = true;
  // A control kept after removal must not reach its old parent any more.
  child->SetParent(nullptr);
  if (del) {
    DisposeChild(child);
  }
  if (wasTopmost && !_children.empty()) {
    _children.back()->Activate();
  }
  return true;
}

bool Control::RemoveChild(const std::wstring& name, bool del) {
  for (size_t i = 0; i < _children.size(); ++i) {
    if (_children[i]->_name == name) {
      return DeleteChild(static_cast<int>(i), del);
    }
  }
  return false;
}

bool Control::RemoveChild(Control* child, bool del) {
  const int index = IndexOfChild(child);
  return index >= 0 && DeleteChild(index, del);
}

void Control::BringToFront() {
  Control* parent = _parent;
  if (parent && parent->RemoveChild(this, false)) {
    parent->AddChild(this);
  }
}

void Control::SendToBack() {
  Control* parent = _parent;
  if (parent && parent->RemoveChild(this, false)) {
    parent->AddChildFront(this);
  }
}

void Control::Activate() {
  _active = true;
  SendCode(CTRL_MSG_ACTIVATED);
}

void Control::Deactivate() {
  _active = false;
  SendCode(CTRL_MSG_DEACTIVATED);
}

Control* Control::CreateInstance() const {
  return new Control();
}

// ---------------------------------------------------------------------------
// Modifiers and effects

Effect* Control::GetEffect(int index) const {
  return EntryAt(_effects, index);
}

Modifier* Control::GetModifier(int index) const {
  return EntryAt(_modifiers, index);
}

bool Control::AddModifier(Modifier* modifier, bool keepTarget) {
  // Held twice, it would be deleted twice.
  if (!modifier || Holds(_modifiers, modifier)) {
    return false;
  }
  _modifiers.push_back(modifier);
  if (!keepTarget) {
    modifier->SetTarget(this);
  }
  return true;
}

bool Control::AddAndStartModifier(Modifier* modifier, bool keepTarget) {
  if (!AddModifier(modifier, keepTarget)) {
    return false;
  }
  modifier->Start();
  return true;
}

bool Control::DeleteModifier(Modifier* modifier) {
  if (!Unlist(_modifiers, modifier)) {
    return false;
  }
  delete modifier;
  return true;
}

bool Control::AddEffect(Effect* effect) {
  if (!effect || Holds(_effects, effect)) {
    return false;
  }
  _effects.push_back(effect);
  effect->SetTarget(this);
  return true;
}

bool Control::AddAndStartEffect(Effect* effect) {
  if (!AddEffect(effect)) {
    return false;
  }
  effect->Start();
  return true;
}

bool Control::RemoveEffect(Effect* effect) {
  return Unlist(_effects, effect);
}

void Control::RemoveFinishedEffects() {
  DeleteStopped(_effects);
}

void Control::RemoveFinishedModifiers() {
  DeleteStopped(_modifiers);
}

// ---------------------------------------------------------------------------
// XML

Control* Control::CreateFromXml(LLF::XmlElement& element) {
  return CreateLoaded<Control>(*this, _tag, element);
}

Control* Control::CreateFromXmlText(const std::wstring& text) {
  XmlDocEx doc;
  LLF::XmlElement* element = doc.ParseDocumentElement(text);
  return element ? CreateFromXml(*element) : nullptr;
}

namespace {

const wchar_t kNoStyle[] = L"NoStyleNameDefined";
const wchar_t kControlPage[] = L"Control properties";
const wchar_t kStartEffectFile[] = L"startEffectFile";
const wchar_t kStartEffectName[] = L"startEffectName";

uint8_t ClampedAlpha(int value) {
  return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

}  // namespace

// The relative centre reads back to the centre only while the centre is
// still the one it gave (neither the size nor the centre has changed since);
// otherwise the centre in pixels is what the control shows, and is written.
bool Control::WritesRelativeCentre(const Control& control, const Control& reference) {
  const LLF::Vector2 fromRelative(static_cast<float>(control._size.x) * control._transformCenterRelative.x,
                                  static_cast<float>(control._size.y) * control._transformCenterRelative.y);
  return fromRelative == control._transformCenter &&
         LLF::ToString(control._transformCenterRelative) != LLF::ToString(reference._transformCenterRelative);
}

// In the order the setters run when an element is read: the relative
// transform centre after the size, so it uses the size just read, and after
// the centre in pixels, so it wins over it. The values are the fields as
// they stand (not as the editor's workspace getters answer), each set
// through its virtual setter.
const PropertyTable<Control>& Control::Properties() {
  using P = PropertyTable<Control>;
  static const P table(
      kControlPage,
      {
          P::Typed(L"actionsInvisible", &Control::_actionsInvisible, &Control::SetActionsInvisible)
              .Row(L"Actions invisible")
              .SaveAt(5)
              .PageAt(17),
          P::Typed(L"rotation", &Control::_rotation, &Control::SetRotation)
              .Row(L"Rotation")
              .SaveAt(16)
              .PageAt(12),
          P::Typed(L"defCtrlColor", &Control::_defCtrlColor, &Control::SetDefCtrlColor)
              .Row(L"Default color")
              .SaveAt(15)
              .PageAt(11),
          P::Typed(L"origin", &Control::_origin, &Control::SetOrigin).Row(L"Origin").SaveAt(13).PageAt(9),
          P::Typed(L"transformCenter", &Control::_transformCenter, &Control::SetTransformCenter)
              .Row(L"Transform center")
              .SaveIf([](const Control& c, const Control& ref) { return !WritesRelativeCentre(c, ref); })
              .SaveAt(12)
              .PageAt(7),
          P::Typed(L"passDragToParent", &Control::_passDragToParent, &Control::SetPassDragToParent)
              .Row(L"Drag transparent")
              .SaveAt(6)
              .PageAt(18),
          P::Typed(L"useClipping", &Control::_useClipping, &Control::SetClipping)
              .Row(L"Clipping")
              .SaveAt(10)
              .PageAt(4),
          P::Typed(L"enabled", &Control::_enabled, &Control::SetEnabled).Row(L"Enabled").SaveAt(9).PageAt(6),
          P::Typed(L"renderable", &Control::_renderable, &Control::SetRenderable)
              .Row(L"Renderable")
              .SaveAt(8)
              .PageAt(5),
          P::Typed(L"visible", &Control::_visible, &Control::SetVisible).Row(L"Visible").SaveAt(7).PageAt(19),
          P::Typed(L"draggable", &Control::_draggable, &Control::SetDraggable)
              .Row(L"Draggable")
              .SaveAt(4)
              .PageAt(16),
          P::Typed(
              L"alpha", [](const Control& c) { return static_cast<int>(c._alpha); },
              [](Control& c, int alpha) { c.SetAlpha(ClampedAlpha(alpha)); })
              .Row(L"Alpha")
              .SaveAt(14)
              .PageAt(10),
          P::Typed(L"sidesOffset", &Control::_sidesOffset, &Control::SetSidesOffset)
              .Row(L"Sides offset")
              .SaveAt(17)
              .PageAt(13),
          // An editor workspace element is saved under the name it stands for.
          P::Typed(L"name", &Control::_name, &Control::SetName)
              .Row(L"Name")
              .SaveAs([](const Control& c) {
                return c._name.starts_with(kWorkspaceMarker) ? c._name.substr(std::size(kWorkspaceMarker) - 1)
                                                             : c._name;
              })
              .SaveAt(0)
              .PageAt(0),
          P::Typed(L"size", &Control::_size, [](Control& c, const LLF::Point& size) { c.SetSize(size); })
              .Row(L"Size")
              .Always()
              .SaveAt(1)
              .PageAt(1),
          P::Typed(L"scale", &Control::_scale, &Control::SetScale).Row(L"Scale").SaveAt(3).PageAt(3),
          P::Typed(L"pos", &Control::_position,
                   [](Control& c, const LLF::Vector2& position) { c.SetPosition(position); })
              .Row(L"Position")
              .Always()
              .SaveAt(2)
              .PageAt(2),
          P::Typed(L"transformCenterRelative", &Control::_transformCenterRelative,
                   &Control::SetTransformCenterRelative)
              .Row(L"Transform center rel")
              .SaveIf([](const Control& c, const Control& ref) { return WritesRelativeCentre(c, ref); })
              .SaveAt(11)
              .PageAt(8),
          P::Typed(kStartEffectFile, &Control::_startEffectFile,
                   [](Control& c, const std::wstring& file) { c.SetStartEffect(file, c._startEffectName); })
              .Row(L"Start effect file")
              .SaveAt(18)
              .PageAt(14),
          P::Typed(kStartEffectName, &Control::_startEffectName,
                   [](Control& c, const std::wstring& name) { c.SetStartEffect(c._startEffectFile, name); })
              .Row(L"Start effect name")
              .SaveAt(19)
              .PageAt(15),
      });
  return table;
}

bool Control::LoadFromXml(LLF::XmlElement& element) {
  ApplyStyle(element);
  Properties().Load(*this, element);
  // The names were recorded above, each as present, so a save keeps them.
  const LLF::XmlAttribute* file = element.GetAttribute(std::wstring(kStartEffectFile));
  const LLF::XmlAttribute* name = element.GetAttribute(std::wstring(kStartEffectName));
  if (file && name) {
    AddAndStartEffect(new Effect(file->GetValue(), name->GetValue()));
  }
  return true;
}

void Control::ApplyStyle(LLF::XmlElement& element) {
  const LLF::XmlAttribute* styleAttribute = element.GetAttribute(std::wstring(L"style"));
  if (!styleAttribute || styleAttribute->GetValue() == kNoStyle) {
    return;
  }
  const std::wstring styleName = styleAttribute->GetValue();
  LLF::XmlElement* styles = nullptr;
  if (GameServices* shell = GameServices::GetInstance()) {
    if (LLF::XmlDoc* doc = shell->GetStylesDoc()) {
      styles = doc->GetRoot()->GetChildByPath(L"game/styles");
    }
  }
  const LLF::XmlElement* style = nullptr;
  for (int i = 0; styles && !style && i < styles->GetChildsCount(); ++i) {
    const LLF::XmlElement* candidate = styles->GetChild(i);
    const LLF::XmlAttribute* candidateName =
        candidate->IsComment() ? nullptr : candidate->GetAttribute(std::wstring(L"styleName"));
    if (candidateName && candidateName->GetValue() == styleName) {
      style = candidate;
    }
  }
  if (!style) {
    LLF::Log::GetInstance().Write(L"Warning: Style \"" + styleName + L"\" not found.");
    return;
  }
  for (int i = 0; i < style->GetAttributesCount(); ++i) {
    const LLF::XmlAttribute* attribute = style->GetAttribute(i);
    const std::wstring name(attribute->GetNameView());
    if (name != L"styleName" && !element.GetAttribute(name)) {
      element.AddAttribute(*attribute);
    }
  }
  element.GetAttribute(std::wstring(L"style"))->SetValue(kNoStyle);
}

LLF::XmlElement* Control::SaveToXml() {
  auto element = std::make_unique<LLF::XmlElement>(_tag);
  const std::unique_ptr<Control> fresh(CreateInstance());
  Properties().Save(*this, *fresh, *element);
  for (Control* child : _children) {
    std::unique_ptr<LLF::XmlElement> saved(child->SaveToXml());
    if (saved) {
      *element->AppendChild(std::wstring()) = std::move(*saved);
    }
  }
  return element.release();
}

void Control::FillPropertyGrid(std::vector<PropertyGroup>& groups) {
  groups.push_back(Properties().Page(*this));
}

bool Control::SetPropertyFromEditor(const std::wstring& page, const std::wstring& label,
                                    const std::wstring& value) {
  return page == kControlPage && Properties().Edit(*this, label, value);
}

bool Control::LoadFromXmlText(const std::wstring& text) {
  XmlDocEx doc;
  LLF::XmlElement* element = doc.ParseDocumentElement(text);
  return element && LoadFromXml(*element);
}

// ---------------------------------------------------------------------------
// Geometry and flags

LLF::Vector2 Control::GetAbsolutePosition() const {
  return _parent ? _position + _parent->GetAbsolutePosition() : _position;
}

LLF::Rect Control::GetRect() const {
  return LLF::Rect(static_cast<int>(_position.x), static_cast<int>(_position.y), _size.x, _size.y);
}

LLF::Rect Control::GetAbsoluteRect() const {
  const LLF::Vector2 absolute = GetAbsolutePosition();
  return LLF::Rect(static_cast<int>(absolute.x), static_cast<int>(absolute.y), _size.x, _size.y);
}

bool Control::IsWorkspaceElement() const {
  return _name.find(kWorkspaceMarker) != std::wstring::npos && EditorServices::IsEditorOpen();
}

bool Control::IsActionsInvisible() const {
  return _actionsInvisible && !IsWorkspaceElement();
}

bool Control::IsVisible() const {
  return _visible || IsWorkspaceElement();
}

bool Control::IsDraggable() const {
  return _draggable || IsWorkspaceElement();
}

bool Control::IsPassDragToParent() const {
  return _passDragToParent && !IsWorkspaceElement();
}

bool Control::CanProcessMessages() const {
  return IsEnabled() && IsVisible() && !IsActionsInvisible();
}

void Control::GetStartEffect(std::wstring& file, std::wstring& name) const {
  file = _startEffectFile;
  name = _startEffectName;
}

void Control::SetStartEffect(const std::wstring& file, const std::wstring& name) {
  _startEffectFile = file;
  _startEffectName = name;
}

void Control::SetPosition(float x, float y) {
  _position = LLF::Vector2(x, y);
}

void Control::SetSize(int width, int height) {
  _size = LLF::Point(width, height);
}

void Control::SetAlpha(uint8_t alpha) {
  _alpha = alpha;
  for (Control* child : _children) {
    child->SetAlpha(alpha);
  }
}

void Control::SetTransformCenterRelative(const LLF::Vector2& relative) {
  _transformCenterRelative = relative;
  _transformCenter =
      LLF::Vector2(static_cast<float>(_size.x) * relative.x, static_cast<float>(_size.y) * relative.y);
}

LLF::RectF Control::GetInputRect(const LLF::Vector2& topLeft) const {
  LLF::RectF rect(topLeft.x, topLeft.y, static_cast<float>(_size.x), static_cast<float>(_size.y));
  const LLF::Rect& sides = _sidesOffset;  // x left, y top, width right, height bottom
  if (sides.x != 0 || sides.y != 0 || sides.width != 0 || sides.height != 0) {
    rect.x += static_cast<float>(sides.x);
    rect.y += static_cast<float>(sides.y);
    rect.width = std::max(0.0f, rect.width - static_cast<float>(sides.x + sides.width));
    rect.height = std::max(0.0f, rect.height - static_cast<float>(sides.y + sides.height));
  }
  return rect;
}

bool Control::HitTest(const LLF::Point& p) {
  (void)p;
  return true;
}

// ---------------------------------------------------------------------------
// Messages and input

bool Control::IsMouseMessage(int code) {
  return code == LLF::WMSG_BUTTON_DOWN || code == LLF::WMSG_MOUSE_MOVE || code == LLF::WMSG_BUTTON_UP ||
         code == LLF::WMSG_WHEEL || code == LLF::WMSG_DOUBLE_CLICK;
}

bool Control::ProcessMessage(const LLF::Message& msg) {
  if (!CanProcessMessages()) {
    return false;
  }
  DispatchScope scope;
  return ProcessMessageChilds(msg);
}

bool Control::ProcessMessageChilds(const LLF::Message& msg) {
  const bool fromWindow = IsFromWindow(msg);
  const bool mouse = IsMouseMessage(msg.GetCode());
  const LLF::Vector2 point(static_cast<float>(msg.GetPrimary()), static_cast<float>(msg.GetSecondary()));
  try {
    // Handlers may add, remove or raise children meanwhile: walk a copy, and
    // pass over a child that has left the list since.
    const std::vector<Control*> children = _children;
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
      Control* child = *it;
      if (IndexOfChild(child) < 0) {
        continue;
      }
      if (!fromWindow || !child->IsRenderable() || child->IsActionsInvisible()) {
        // Offered and never consumed: containers let their children compete.
        child->ProcessMessage(msg);
        continue;
      }
      if (!child->IsEnabled() || !child->IsVisible()) {
        continue;
      }
      if (!mouse) {
        child->ProcessMessage(msg);
        continue;
      }
      // In this control's coordinates, taken afresh: a handler may have
      // moved it.
      const LLF::Vector2 p = point - GetAbsolutePosition();
      const bool inside = Contains(child->GetInputRect(child->GetPosition()), p);
      if (!inside && child->IsMouseOpaque()) {
        continue;
      }
      if (!child->HitTest((p - child->GetPosition()).ToPoint())) {
        continue;
      }
      if (child->IsMouseOpaque()) {
        child->ProcessMessage(msg);
        return true;
      }
      if (child->ProcessMessage(msg)) {
        return true;
      }
    }
  } catch (...) {
    LLF::Log::GetInstance().Write(L"Warning: Exception caught in Control::ProcessMessageChilds");
    return true;
  }
  if (!fromWindow) {
    return false;
  }
  const LLF::Vector2 absolute = GetAbsolutePosition();
  if (!Contains(GetInputRect(absolute), point) || !HitTest((point - absolute).ToPoint())) {
    return false;
  }
  switch (msg.GetCode()) {
    case LLF::WMSG_BUTTON_DOWN:
      OnMouseDown(msg);
      break;
    case LLF::WMSG_MOUSE_MOVE:
      OnMouseMove(msg);
      break;
    case LLF::WMSG_BUTTON_UP:
      OnMouseUp(msg);
      break;
    case LLF::WMSG_WHEEL:
      OnMouseWheel(msg);
      break;
    case LLF::WMSG_DOUBLE_CLICK:
      OnMouseDblClick(msg);
      break;
    default:
      break;
  }
  return true;
}

Control* Control::GetChildAtPoint(const LLF::Vector2& p) {
  for (auto it = _children.rbegin(); it != _children.rend(); ++it) {
    Control* child = *it;
    if (!child->IsVisible() || child->IsActionsInvisible()) {
      continue;
    }
    const LLF::Vector2 local = p - child->GetPosition();
    if (!child->IsRenderable()) {
      if (Control* found = child->GetChildAtPoint(local)) {
        return found;
      }
      continue;
    }
    const bool inside = Contains(child->GetInputRect(child->GetPosition()), p);
    if (!inside && child->IsMouseOpaque()) {
      continue;
    }
    if (Control* found = child->GetChildAtPoint(local)) {
      return found;
    }
    if (inside) {
      return child;
    }
  }
  return nullptr;
}

std::vector<Control*> Control::GetChildrenAtPoint(const LLF::Vector2& p) {
  std::vector<Control*> result;
  for (auto it = _children.rbegin(); it != _children.rend(); ++it) {
    Control* child = *it;
    if (!child->IsVisible() || child->IsActionsInvisible()) {
      continue;
    }
    if (child->IsRenderable() && Contains(child->GetInputRect(child->GetPosition()), p)) {
      result.push_back(child);
    }
    const std::vector<Control*> below = child->GetChildrenAtPoint(p - child->GetPosition());
    result.insert(result.end(), below.begin(), below.end());
  }
  return result;
}

void Control::OnMouseEnter() {
  _mouseOver = true;
  SendCode(CTRL_MSG_MOUSE_ENTER);
}

void Control::OnMouseLeave() {
  _mouseOver = false;
  _pressed = false;
  SendCode(CTRL_MSG_MOUSE_LEAVE);
}

void Control::OnMouseDown(const LLF::Message& msg) {
  (void)msg;
  _pressed = true;
  if (_raiseOnPress) {
    BringToFront();
    return;
  }
  for (Control* ancestor = _parent; ancestor; ancestor = ancestor->_parent) {
    if (ancestor->IsKindOf("Dialog")) {
      ancestor->BringToFront();
      return;
    }
  }
}

void Control::OnMouseMove(const LLF::Message& msg) {
  (void)msg;
  _mouseOver = true;
}

void Control::OnMouseUp(const LLF::Message& msg) {
  _pressed = false;
  SendCode(CTRL_MSG_CLICK, msg.GetParam(), msg.GetPrimary(), msg.GetSecondary(), msg.TextRef());
}

bool Control::OnDragStart(const LLF::Point& mouse) {
  _dragging = true;
  _dragGrabOffset = (mouse.ToVector2() - GetAbsolutePosition()).ToPoint();
  SendCode(CTRL_MSG_DRAG_START);
  return true;
}

bool Control::OnDrag(const LLF::Point& mouse, const LLF::Vector2& delta) {
  const LLF::RectF& limits = _dragLimits;
  LLF::Vector2 position = _position;
  if (limits.x == 0.0f && limits.y == 0.0f && limits.width == 0.0f && limits.height == 0.0f) {
    position += delta;
  } else {
    // The control follows only while the mouse is beyond the grab point in
    // the direction it moves, so after a stop at a limit it moves again only
    // once the mouse is back over the grab point.
    const LLF::Point r = (mouse.ToVector2() - GetAbsolutePosition()).ToPoint();
    const LLF::Point& g = _dragGrabOffset;
    if (delta.y > 0.0f && r.y > g.y) {
      position.y += static_cast<float>(r.y - g.y);
    } else if (delta.y < 0.0f && r.y < g.y) {
      position.y -= static_cast<float>(g.y - r.y);
    }
    if (delta.x > 0.0f && r.x > g.x) {
      position.x += static_cast<float>(r.x - g.x);
    } else if (delta.x < 0.0f && r.x < g.x) {
      position.x -= static_cast<float>(g.x - r.x);
    }
    const float width = static_cast<float>(_size.x);
    const float height = static_cast<float>(_size.y);
    if (position.x < limits.x) {
      position.x = limits.x;
    } else if (position.x + width > limits.x + limits.width) {
      position.x = limits.x + limits.width - width;
    }
    if (position.y < limits.y) {
      position.y = limits.y;
    } else if (position.y + height > limits.y + limits.height) {
      position.y = limits.y + limits.height - height;
    }
  }
  SetPosition(position);
  SendCode(CTRL_MSG_DRAG);
  return true;
}

void Control::OnDragEnd() {
  _dragging = false;
  SendCode(CTRL_MSG_DRAG_END);
}

// ---------------------------------------------------------------------------
// Update

void Control::PreUpdate() {
  _updatedThisFrame = false;
  _childrenChanged = false;
  for (Control* child : _children) {
    child->PreUpdate();
  }
}

void Control::Update(unsigned dt) {
  DispatchScope scope;
  try {
    UpdateListed(_modifiers, dt);
    RemoveFinishedModifiers();
    UpdateListed(_effects, dt);
    RemoveFinishedEffects();
    UpdateChilds(dt);
    StateMachine::Update(dt);
  } catch (...) {
    LLF::Log::GetInstance().Write(L"Warning: Exception caught in Control::Update.");
  }
}

void Control::UpdateChilds(unsigned dt) {
  DispatchScope scope;
  try {
    size_t count = _children.size();
    size_t i = 0;
    while (i < _children.size()) {
      Control* child = _children[i];
      if (child->_updatedThisFrame) {
        ++i;
        continue;
      }
      child->_updatedThisFrame = true;
      child->Update(dt);
      if (_children.size() == count && !_childrenChanged) {
        ++i;
      } else {
        // The list changed: start again; children already updated are
        // passed over by their flag.
        _childrenChanged = false;
        count = _children.size();
        i = 0;
      }
    }
  } catch (...) {
    LLF::Log::GetInstance().Write(L"Warning: Exception caught in Control::UpdateChilds.");
  }
}

// ---------------------------------------------------------------------------
// Drawing

LLF::Matrix4 Control::ComputeTransform() const {
  const LLF::Vector2& c = _transformCenter;
  const float radians = _rotation * 3.1415927f / 180.0f;
  return Translation(-c.x, -c.y) * LLF::Matrix4::Scaling(LLF::Vector3(_scale.x, _scale.y, 1.0f)) *
         LLF::Matrix4::RotationZ(radians) * Translation(c.x, c.y) * Translation(-_origin.x, -_origin.y) *
         Translation(_position.x, _position.y);
}

LLF::Transform Control::ComputeContext(const LLF::Transform* parent) const {
  const LLF::Transform own(ComputeTransform(), _alpha);
  return parent ? own.CombinedWith(*parent) : own;
}

void Control::Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) {
  if (!rs || !IsShown()) {
    return;
  }
  const LLF::Transform context = ComputeContext(parent);
  if (IsRenderable()) {
    rs->PushTransform(context.matrix);
    // The fill takes the control's own alpha, not the accumulated one.
    LLF::Color color = _defCtrlColor;
    color.a = static_cast<uint8_t>(_alpha * _defCtrlColor.a / 255);
    if (color.a != 0) {
      rs->FillRect(LLF::RectF(0.0f, 0.0f, static_cast<float>(_size.x), static_cast<float>(_size.y)), color);
    }
    rs->PopTransform();
  }
  RenderChilds(rs, context);
}

void Control::RenderChilds(LLF::IRenderSystem* rs, const LLF::Transform& context) {
  for (size_t i = 0; i < _children.size(); ++i) {
    Control* child = _children[i];
    if (child->IsClipping()) {
      ClipScope clip(rs, child->GetAbsoluteRect());
      child->Render(rs, &context);
    } else {
      child->Render(rs, &context);
    }
  }
}

}  // namespace HLF
