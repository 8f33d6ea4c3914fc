#pragma once
// The base of every GUI element, every scene drawn on screen and every
// play-mode manager: a node of a tree that owns its children, with a
// rectangle in its parent's coordinates, a transform (origin, scale,
// rotation about a centre), an alpha, a fill colour and behaviour flags.
// It routes framework messages down the tree to the topmost control under
// the cursor, reports input to its receivers, updates its subtree once per
// frame and draws it with composed transforms and alpha.
//
// Messages a control sends (codes 0 and 1 come from the state machine):
// 2 drag start, 3 drag step, 4 drag end, 5 mouse enter, 6 mouse leave,
// 7 click (button up; parameter, x, y and text of the button-up message),
// 8 deactivated, 9 activated.
//
// Deletion: a child removed with delete while any control is handling a
// message or updating goes to the game shell's deferred-delete queue instead
// (it leaves the tree at once and dies at the next safe point), so a control
// may be closed from inside its own click.
//
//
// Layout element: named by the tag; the attributes "name", "size", "pos",
// "scale", "draggable", "renderable", "visible", "enabled", "useClipping",
// "passDragToParent", "transformCenter", "transformCenterRelative",
// "origin", "alpha", "defCtrlColor", "rotation", "actionsInvisible",
// "sidesOffset", "startEffectFile", "startEffectName", each optional; the
// child elements are the children in drawing order. "style" names a style
// of the game shell's styles document whose attributes fill in those the
// element lacks.
#include <cstdint>
#include <string>
#include <vector>

#include "core/Message.h"
#include "math/Color.h"
#include "math/Matrix4.h"
#include "math/Point.h"
#include "math/Rect.h"
#include "math/RectF.h"
#include "math/Transform.h"
#include "math/Vector2.h"
#include "model/StateMachine.h"
#include "properties/PropertyGroup.h"

namespace LLF {
class IRenderSystem;
class XmlElement;
}  // namespace LLF

namespace HLF {

class Effect;
class Modifier;
template <class Owner>
class PropertyTable;

// Codes a control sends to its receivers.
enum ControlMessageCode {
  CTRL_MSG_DRAG_START = 2,
  CTRL_MSG_DRAG = 3,
  CTRL_MSG_DRAG_END = 4,
  CTRL_MSG_MOUSE_ENTER = 5,
  CTRL_MSG_MOUSE_LEAVE = 6,
  CTRL_MSG_CLICK = 7,
  CTRL_MSG_DEACTIVATED = 8,
  CTRL_MSG_ACTIVATED = 9,
};

class Control : public StateMachine {
 public:
  // Marks the time a control handles a message or updates; while one such
  // scope is open, deletions asked of the tree are deferred. The game shell
  // opens one around the hooks it calls itself (enter, leave, drag).
  class DispatchScope {
   public:
    DispatchScope() { ++s_dispatchDepth; }
    ~DispatchScope() { --s_dispatchDepth; }
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;
  };

  Control();
  explicit Control(const std::wstring& name);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  LLF_KIND_OF(Control, LLF::MessageSender)
  // Deletes the modifiers, the effects and the children in index order,
  // then tells the game shell to forget this control.
  ~Control() override;
  // "Control: Name: " and the name.
  std::wstring Dump() const override;
  // The modifiers, then the effects (each list's finished entries deleted
  // after its pass), the children, then the state machine, so DoState runs
  // after the children were updated. An exception is logged and ends this
  // control's update for the frame.
  void Update(unsigned dt) override;

  virtual const std::wstring& GetName() const { return _name; }
  virtual int GetEffectsCount() const { return static_cast<int>(_effects.size()); }
  // Null for an index out of range.
  virtual Effect* GetEffect(int index) const;
  virtual int GetModifiersCount() const { return static_cast<int>(_modifiers.size()); }
  // Null for an index out of range.
  virtual Modifier* GetModifier(int index) const;
  virtual int GetChildsCount() const { return static_cast<int>(_children.size()); }
  // Null for an index out of range.
  virtual Control* GetChild(int index) const;
  // The last direct child with the name (case-sensitive), or null.
  virtual Control* GetChildByName(const std::wstring& name) const;
  // Depth first from the last child: a grandchild under a later child wins
  // over an earlier direct child.
  virtual Control* FindChild(const std::wstring& name) const;
  virtual LLF::Vector2 GetAbsolutePosition() const;
  virtual LLF::Vector2 GetPosition() const { return _position; }
  virtual LLF::Vector2 GetOrigin() const { return _origin; }
  virtual LLF::Point GetSize() const { return _size; }
  // Position truncated towards zero and size; no scale or rotation.
  virtual LLF::Rect GetAbsoluteRect() const;
  virtual LLF::Rect GetRect() const;
  virtual Control* GetParent() const { return _parent; }
  // The deepest visible control under p (relative to this control's
  // top-left corner), or null. Hit tests are not asked.
  virtual Control* GetChildAtPoint(const LLF::Vector2& p);
  // Every control under p, topmost first, each followed by what lies under
  // p within it.
  virtual std::vector<Control*> GetChildrenAtPoint(const LLF::Vector2& p);
  virtual uint8_t GetAlpha() const { return _alpha; }
  virtual LLF::Vector2 GetScale() const { return _scale; }
  virtual float GetRotation() const { return _rotation; }
  // The four getters marked (editor) answer visible, draggable, not
  // actions-invisible and not passing drags for an editor workspace element
  // while the editor is open; the fields stay as they are.
  virtual bool IsActionsInvisible() const;  // (editor)
  virtual LLF::Vector2 GetTransformCenter() const { return _transformCenter; }
  virtual LLF::Vector2 GetTransformCenterRelative() const { return _transformCenterRelative; }
  virtual bool IsVisible() const;  // (editor)
  virtual bool IsRenderable() const { return _renderable; }
  virtual bool IsEnabled() const { return _enabled; }
  virtual bool IsDraggable() const;  // (editor)
  virtual bool IsDragging() const { return _dragging; }
  virtual bool IsPressed() const { return _pressed; }
  virtual bool IsMouseOver() const { return _mouseOver; }
  virtual LLF::RectF GetDragLimits() const { return _dragLimits; }
  virtual bool IsClipping() const { return _useClipping; }
  virtual bool IsPassDragToParent() const;  // (editor)
  virtual bool IsRaiseOnPress() const { return _raiseOnPress; }
  virtual bool IsMouseOpaque() const { return _mouseOpaque; }
  virtual LLF::Color GetDefCtrlColor() const { return _defCtrlColor; }
  // The element name the factory creates this class under.
  virtual const std::wstring& GetTypeName() const { return _tag; }
  virtual bool IsActive() const { return _active; }
  // Insets of the input rectangle: x left, y top, width right, height
  // bottom.
  virtual LLF::Rect GetSidesOffset() const { return _sidesOffset; }
  virtual void GetStartEffect(std::wstring& file, std::wstring& name) const;
  // Fine test after the rectangle test, p relative to the top-left corner.
  // True here.
  virtual bool HitTest(const LLF::Point& p);

  virtual void SetName(const std::wstring& name) { _name = name; }
  virtual void SetPosition(float x, float y);
  virtual void SetPosition(const LLF::Vector2& position) { SetPosition(position.x, position.y); }
  virtual void SetOrigin(const LLF::Vector2& origin) { _origin = origin; }
  virtual void SetSize(int width, int height);
  virtual void SetSize(const LLF::Point& size) { SetSize(size.x, size.y); }
  virtual void SetVisible(bool visible) { _visible = visible; }
  virtual void SetRenderable(bool renderable) { _renderable = renderable; }
  virtual void SetEnabled(bool enabled) { _enabled = enabled; }
  // Records the parent link as the tree operations set it: refused, with a
  // log line, when it would disagree with the child lists (a parent that
  // does not list this control, or leaving a parent that still does).
  virtual void SetParent(Control* parent);
  // Sets the alpha of the whole subtree.
  virtual void SetAlpha(uint8_t alpha);
  virtual void SetScale(const LLF::Vector2& scale) { _scale = scale; }
  virtual void SetRotation(float degrees) { _rotation = degrees; }
  // Also sets the transform centre from the size as it is now; a later
  // size change does not move the centre.
  virtual void SetTransformCenterRelative(const LLF::Vector2& relative);
  virtual void SetTransformCenter(const LLF::Vector2& center) { _transformCenter = center; }
  // (x, y, width, height) in the parent's coordinates; all 0: no limit.
  virtual void SetDragLimits(const LLF::RectF& limits) { _dragLimits = limits; }
  virtual void SetClipping(bool clipping) { _useClipping = clipping; }
  virtual void SetActionsInvisible(bool invisible) { _actionsInvisible = invisible; }
  virtual void SetPassDragToParent(bool pass) { _passDragToParent = pass; }
  virtual void SetRaiseOnPress(bool raise) { _raiseOnPress = raise; }
  // Appends child as the topmost; the previous topmost is deactivated.
  // Refuses (false) null, this control, and with a log line a control that
  // still has a parent, an ancestor of this control and one waiting for its
  // deferred deletion.
  virtual bool AddChild(Control* child);
  // Inserts child at index 0 (drawn first, lowest); refuses as AddChild.
  virtual bool AddChildFront(Control* child);
  // Removes the child at index, deleting it when del is set; the new
  // topmost is activated when the topmost went. False for a bad index.
  virtual bool DeleteChild(int index, bool del);
  // The first child, from index 0 up, with the name; as DeleteChild.
  virtual bool RemoveChild(const std::wstring& name, bool del);
  virtual bool RemoveChild(Control* child, bool del);
  virtual void SetDraggable(bool draggable) { _draggable = draggable; }
  virtual void SetMouseOpaque(bool opaque) { _mouseOpaque = opaque; }
  // Takes the modifier over and, unless keepTarget, makes this control its
  // target. Refuses (false) null and a modifier already held.
  virtual bool AddModifier(Modifier* modifier, bool keepTarget = false);
  // AddModifier, then starts the modifier.
  virtual bool AddAndStartModifier(Modifier* modifier, bool keepTarget = false);
  // Deletes a held modifier; false when it is not held.
  virtual bool DeleteModifier(Modifier* modifier);
  // Takes the effect over and makes this control its target. Refuses
  // (false) null and an effect already held.
  virtual bool AddEffect(Effect* effect);
  // AddEffect, then starts the effect.
  virtual bool AddAndStartEffect(Effect* effect);
  // Gives a held effect back to the caller without deleting it; false when
  // it is not held.
  virtual bool RemoveEffect(Effect* effect);
  virtual void SetDefCtrlColor(const LLF::Color& color) { _defCtrlColor = color; }
  virtual void SetSidesOffset(const LLF::Rect& offset) { _sidesOffset = offset; }
  // Records the start effect's file and name.
  virtual void SetStartEffect(const std::wstring& file, const std::wstring& name);
  // Draws the control and its subtree inside the parent's context (null at
  // the root).
  virtual void Render(LLF::IRenderSystem* rs, const LLF::Transform* parent);
  // True when the message was consumed.
  virtual bool ProcessMessage(const LLF::Message& msg);
  virtual void BringToFront();
  virtual void SendToBack();
  // Sends 9.
  virtual void Activate();
  // Sends 8.
  virtual void Deactivate();
  // Input hooks. Which control gets enter, leave, hover-hold and the drag
  // calls is the game shell's decision.
  virtual void OnMouseEnter();
  virtual void OnHoverHold() {}
  virtual void OnMouseLeave();
  virtual void OnMouseDown(const LLF::Message& msg);
  virtual void OnMouseMove(const LLF::Message& msg);
  virtual void OnMouseUp(const LLF::Message& msg);
  virtual void OnMouseDblClick(const LLF::Message& msg) { (void)msg; }
  virtual void OnMouseWheel(const LLF::Message& msg) { (void)msg; }
  virtual bool OnDragStart(const LLF::Point& mouse);
  virtual bool OnDrag(const LLF::Point& mouse, const LLF::Vector2& delta);
  virtual void OnDragEnd();
  // A new control of this class loaded from the element when the element
  // is named by this class's tag, else null; a failed load gives null.
  // Child controls are the factory's part.
  virtual Control* CreateFromXml(LLF::XmlElement& element);
  // CreateFromXml of the text's top-level element, read with variables.
  virtual Control* CreateFromXmlText(const std::wstring& text);
  // Applies the element's style, then sets the attributes present through
  // the setters and starts the start effect when the element names both its
  // file and its name (both are recorded as SetStartEffect does, so saving
  // writes them back). "alpha" is clamped to 0-255. Subclasses read their
  // own attributes after the base's. True here.
  virtual bool LoadFromXml(LLF::XmlElement& element);
  // LoadFromXml of the text's top-level element, read with variables;
  // false when the text does not parse.
  virtual bool LoadFromXmlText(const std::wstring& text);
  virtual bool GetUserFlag() const { return _userFlag; }
  // A new element (the caller owns it) holding what LoadFromXml reads back
  // to this control: "size" and "pos" always, the other attributes where
  // they differ from a new default object of the same class, then the
  // children's elements in order. A leading "WSELEMENT_" is left out of the
  // name. The relative transform centre is written while it still gives the
  // centre, otherwise the centre in pixels. Subclasses add their attributes
  // to the base's element.
  virtual LLF::XmlElement* SaveToXml();
  // Clears the per-frame flags of the subtree.
  virtual void PreUpdate();
  // Appends the editor page "Control properties", values in their
  // attribute text forms.
  virtual void FillPropertyGrid(std::vector<PropertyGroup>& groups);
  // Applies one row of the page "Control properties" through its setter;
  // false for another page or an unknown row.
  virtual bool SetPropertyFromEditor(const std::wstring& page, const std::wstring& label,
                                     const std::wstring& value);
  // Delete every effect and modifier that has stopped.
  virtual void RemoveFinishedEffects();
  virtual void RemoveFinishedModifiers();
  virtual void RenderChilds(LLF::IRenderSystem* rs, const LLF::Transform& context);
  // Updates each child at most once per frame, even when the list changes
  // meanwhile.
  virtual void UpdateChilds(unsigned dt);
  virtual bool ProcessMessageChilds(const LLF::Message& msg);
  // Fills in the attributes the element lacks from the style its "style"
  // names, then marks the element as styled ("NoStyleNameDefined"). An
  // unknown style is logged and the element is left as it is.
  virtual void ApplyStyle(LLF::XmlElement& element);
  // Enabled, visible and not actions-invisible.
  virtual bool CanProcessMessages() const;
  virtual bool IsShown() const { return IsVisible(); }
  // A new default object of the same class; every subclass overrides it.
  virtual Control* CreateInstance() const;
  // Called by the factory once the control and all its children are loaded;
  // false says the tree is not usable, and the factory drops it. True.
  virtual bool OnCreated() { return true; }

  // The control's transform (row vectors): scale and rotation about the
  // transform centre, minus the origin, then the position.
  LLF::Matrix4 ComputeTransform() const;
  // The transform and alpha the control draws with inside its parent's
  // context (null at the root).
  LLF::Transform ComputeContext(const LLF::Transform* parent) const;
  // The input rectangle with its top-left corner placed at topLeft: size,
  // inset by the sides offset, width and height at least 0.
  LLF::RectF GetInputRect(const LLF::Vector2& topLeft) const;
  // Index of child in the list, -1 when absent.
  int IndexOfChild(const Control* child) const;
  // An editor workspace element ("WSELEMENT_" in the name) while the
  // editor is open.
  bool IsWorkspaceElement() const;

  // Marks an editor workspace element in its name; saved names leave a
  // leading one out.
  static constexpr wchar_t kWorkspaceMarker[] = L"WSELEMENT_";

  // True while any control handles a message or updates.
  static bool IsDispatching() { return s_dispatchDepth > 0; }
  // Codes 0, 1, 2, 3 and 6 (button down, move, up, wheel, double click).
  static bool IsMouseMessage(int code);

 protected:
  // False with a log line when child cannot join this control.
  bool CanAdopt(Control* child, const wchar_t* operation);
  // Deletes a child that has left the list, or queues it while a dispatch
  // runs.
  static void DisposeChild(Control* child);
  // The children in drawing order, for subclasses that walk them; the tree
  // operations change the list.
  const std::vector<Control*>& Children() const { return _children; }

  std::wstring _tag = L"control";
  std::wstring _startEffectFile;
  std::wstring _startEffectName;
  std::wstring _name;
  LLF::Vector2 _position;
  LLF::Point _size = LLF::Point(100, 100);
  LLF::Point _dragGrabOffset;
  LLF::Vector2 _origin;
  bool _mouseOver = false;
  bool _pressed = false;
  bool _visible = true;
  bool _renderable = true;
  bool _enabled = true;
  bool _draggable = false;
  bool _dragging = false;
  bool _useClipping = false;
  bool _passDragToParent = false;
  bool _raiseOnPress = false;
  bool _active = true;
  bool _mouseOpaque = true;
  bool _actionsInvisible = false;
  bool _userFlag = true;
  uint8_t _alpha = 255;
  LLF::RectF _dragLimits;
  LLF::Rect _sidesOffset;
  LLF::Color _defCtrlColor = LLF::Color(164, 164, 164, 255);
  float _rotation = 0.0f;
  LLF::Vector2 _scale = LLF::Vector2(1.0f, 1.0f);
  LLF::Vector2 _transformCenter;
  LLF::Vector2 _transformCenterRelative;

 private:
  bool InsertChild(Control* child, bool front, const wchar_t* operation);

  static const PropertyTable<Control>& Properties();
  static bool WritesRelativeCentre(const Control& control, const Control& reference);

  // The tree's bookkeeping: changed only by the tree operations, so the
  // parent links and the lists always agree.
  std::vector<Effect*> _effects;
  std::vector<Modifier*> _modifiers;
  Control* _parent = nullptr;
  std::vector<Control*> _children;
  bool _updatedThisFrame = false;
  bool _childrenChanged = false;

  static inline int s_dispatchDepth = 0;
};

}  // namespace HLF
