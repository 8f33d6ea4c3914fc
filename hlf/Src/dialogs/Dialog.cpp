#include "dialogs/Dialog.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "app/AppSettings.h"
#include "app/AppWindow.h"
#include "app/Application.h"
#include "app/InputCodes.h"
#include "core/Log.h"
#include "core/StringUtils.h"
#include "image/Image.h"
#include "model/GameServices.h"
#include "modifiers/Effect.h"
#include "properties/PropertyTable.h"
#include "render/IRenderSystem.h"
#include "widgets/Button.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlElement.h"

namespace HLF {

namespace {

const wchar_t kDialogPage[] = L"Dialog properties";
const wchar_t kEffectsFile[] = L"effectsFile";
const wchar_t kShowEffect[] = L"showEffect";
const wchar_t kHideEffect[] = L"hideEffect";

bool IsFromWindow(const LLF::Message& msg) {
  return msg.GetSender() == &LLF::AppWindow::GetInstance();
}

// Edges included.
bool Inside(float x, float y, float width, float height, const LLF::Vector2& p) {
  return x <= p.x && p.x <= x + width && y <= p.y && p.y <= y + height;
}

bool IsFrameGrid(const LLF::Image* image) {
  return image && image->GetCellsCount() == 3 && image->GetLoopsCount() == 3;
}

}  // namespace

Dialog::Dialog() {
  InitDefaults();
}

Dialog::Dialog(const std::wstring& name) : Control(name) {
  InitDefaults();
}

void Dialog::InitDefaults() {
  _size = LLF::Point(300, 200);
  _draggable = true;
  _raiseOnPress = true;
  _mouseOpaque = false;
  _tag = L"dialog";
  ImageProperty::SetOwner(this);
  LLF::Color back;
  LLF::Color line;
  LLF::Color over;
  LLF::Color pressed;
  GetStateColors(back, line, over, pressed);
  SetStateColors(LLF::Color(164, 164, 164, 255), LLF::Color(255, 255, 255, 255), over,
                 LLF::Color(164, 164, 164, 255));
}

Dialog::~Dialog() {
  if (_alive) {
    *_alive = false;
  }
  UnhookButtons();
  if (_opener && _opener->_childDialog == this) {
    _opener->_childDialog = nullptr;
  }
  if (_childDialog && _childDialog->_opener == this) {
    _childDialog->_opener = nullptr;
  }
}

std::wstring Dialog::Dump() const {
  return L"Dialog: Name: " + GetName();
}

bool Dialog::IsDraggable() const {
  return !OpenChildDialog() && Control::IsDraggable();
}

void Dialog::SetVisible(bool visible) {
  Control::SetVisible(visible);
}

// ---------------------------------------------------------------------------
// Children

Button* Dialog::FindButton(const wchar_t* name) const {
  return dynamic_cast<Button*>(GetChildByName(name));
}

void Dialog::UnhookButtons() {
  for (Button* button : {_okButton, _cancelButton}) {
    if (button && IndexOfChild(button) >= 0) {
      button->RemoveReceiver(this);
    }
  }
  _okButton = nullptr;
  _cancelButton = nullptr;
}

bool Dialog::OnCreated() {
  // The buttons of a dialog made again (the editor reloads layouts) replace
  // the old ones.
  UnhookButtons();
  Button* ok = FindButton(L"OkButton");
  Button* cancel = FindButton(L"CancelButton");
  _okButton = ok && ok->IsKindOf("Button") ? ok : nullptr;
  _cancelButton = cancel && cancel->IsKindOf("Button") ? cancel : nullptr;
  if (_okButton) {
    _okButton->AddReceiver(this);
  }
  if (_cancelButton) {
    _cancelButton->AddReceiver(this);
  }
  return true;
}

Control* Dialog::RequireChild(const std::wstring& dialogName, const std::wstring& childName,
                              const std::string& className) const {
  const std::vector<Control*>& children = Children();
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    if ((*it)->GetName() == childName && (*it)->IsKindOf(className)) {
      return *it;
    }
  }
  LLF::Log::GetInstance().Write(L"Error: " + dialogName + L" dialog must have control " + childName +
                                L" of class " + LLF::AnsiToWide(className) + L".");
  return nullptr;
}

bool Dialog::DeleteChild(int index, bool del) {
  Control* child = GetChild(index);
  if (del && child) {
    if (child == _okButton || child == _cancelButton) {
      static_cast<Button*>(child)->RemoveReceiver(this);
      if (child == _okButton) {
        _okButton = nullptr;
      }
      if (child == _cancelButton) {
        _cancelButton = nullptr;
      }
    }
    if (child == _childDialog) {
      _childDialog->_opener = nullptr;
      _childDialog = nullptr;
    }
  }
  return Control::DeleteChild(index, del);
}

Dialog* Dialog::OpenChildDialog() const {
  return _childDialog && IndexOfChild(_childDialog) >= 0 ? _childDialog : nullptr;
}

bool Dialog::ShowChildDialog(Dialog* dialog) {
  if (!AddChild(dialog)) {
    return false;
  }
  if (_childDialog && _childDialog->_opener == this) {
    _childDialog->_opener = nullptr;
  }
  _childDialog = dialog;
  dialog->_opener = this;
  return true;
}

// ---------------------------------------------------------------------------
// Closing

void Dialog::OnOk() {
  Close(DIALOG_RESULT_OK, L"OK");
}

void Dialog::OnCancel() {
  Close(DIALOG_RESULT_CANCEL, L"CANCEL");
}

void Dialog::Close(int result, const wchar_t* text) {
  if (_closing || !GetParent()) {
    return;
  }
  _closing = true;
  LLF::Message message(this, DIALOG_MSG_RESULT, result, 0, 0, text);
  bool alive = true;
  _alive = &alive;
  Send(&message);
  if (!alive) {
    return;  // a receiver deleted the dialog itself
  }
  _alive = nullptr;
  if (_opener && _opener->_childDialog == this) {
    _opener->_childDialog = nullptr;
  }
  _opener = nullptr;
  Control* parent = GetParent();
  // A receiver that took the dialog out of its parent has taken it over.
  if (parent && parent->RemoveChild(this, false)) {
    GameServices::DeleteLater(this);
  }
}

bool Dialog::TakeButtonClick(const LLF::Message& msg) {
  if (msg.GetCode() != BUTTON_MSG_CLICKED || !msg.GetSender()) {
    return false;
  }
  const LLF::Object* sender = msg.GetSender();
  if (_okButton && sender == static_cast<const LLF::Object*>(_okButton)) {
    OnOk();
    return true;
  }
  if (_cancelButton && sender == static_cast<const LLF::Object*>(_cancelButton)) {
    OnCancel();
    return true;
  }
  return false;
}

bool Dialog::OnMessage(LLF::Message* msg) {
  if (msg && TakeButtonClick(*msg)) {
    return true;
  }
  return Control::OnMessage(msg);
}

void Dialog::CenterOnParent() {
  float width = 0.0f;
  float height = 0.0f;
  Control* parent = GetParent();
  if (parent && parent->IsRenderable()) {
    width = static_cast<float>(parent->GetSize().x);
    height = static_cast<float>(parent->GetSize().y);
  } else {
    const LLF::Application* application = LLF::Application::GetInstance();
    const LLF::AppSettings settings = application ? application->GetSettings() : LLF::AppSettings();
    width = static_cast<float>(settings.width);
    height = static_cast<float>(settings.height);
  }
  SetPosition(width / 2.0f - static_cast<float>(GetSize().x) / 2.0f,
              height / 2.0f - static_cast<float>(GetSize().y) / 2.0f);
}

// ---------------------------------------------------------------------------
// Messages

bool Dialog::ProcessMessage(const LLF::Message& msg) {
  if (!CanProcessMessages()) {
    return true;
  }
  DispatchScope scope;
  if (IsFromWindow(msg) && !OpenChildDialog() && msg.GetCode() == LLF::WMSG_KEY_UP) {
    const int key = msg.GetParam();
    if (key == LLF::KEY_ENTER || key == LLF::KEY_ESCAPE) {
      if (Button* button = key == LLF::KEY_ENTER ? _okButton : _cancelButton) {
        button->OnClick(LLF::Message());
      }
      return true;
    }
  }
  if (TakeButtonClick(msg)) {
    return true;
  }
  return Control::ProcessMessage(msg);
}

bool Dialog::ProcessMessageChilds(const LLF::Message& msg) {
  const bool input = IsFromWindow(msg);
  const int code = msg.GetCode();
  const LLF::Vector2 point(static_cast<float>(msg.GetPrimary()), static_cast<float>(msg.GetSecondary()));
  try {
    // Handlers may add, remove or raise children meanwhile: walk a copy, and
    // pass over a child that has left the list since.
    const std::vector<Control*> children = Children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
      Control* child = *it;
      if (IndexOfChild(child) < 0) {
        continue;
      }
      Dialog* blocking = OpenChildDialog();
      if (blocking && child != blocking) {
        continue;
      }
      if (!input || !child->IsRenderable()) {
        child->ProcessMessage(msg);
        continue;
      }
      if (!child->IsEnabled()) {
        continue;
      }
      if (!IsMouseMessage(code)) {
        child->ProcessMessage(msg);
        continue;
      }
      const LLF::Vector2 p = point - GetAbsolutePosition();
      const LLF::Vector2 position = child->GetPosition();
      const LLF::Point size = child->GetSize();
      const bool inside =
          Inside(position.x, position.y, static_cast<float>(size.x), static_cast<float>(size.y), p);
      if (child->IsMouseOpaque()) {
        if (inside) {
          child->ProcessMessage(msg);
          return true;
        }
        continue;
      }
      if (child->ProcessMessage(msg)) {
        return true;
      }
    }
  } catch (...) {
    LLF::Log::GetInstance().Write(L"Warning: Exception caught in Dialog::ProcessMessageChilds");
    return true;
  }
  if (!input) {
    return false;
  }
  const LLF::Vector2 absolute = GetAbsolutePosition();
  if (!Inside(absolute.x, absolute.y, static_cast<float>(GetSize().x), static_cast<float>(GetSize().y),
              point)) {
    return false;
  }
  switch (code) {
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

// ---------------------------------------------------------------------------
// Effects

void Dialog::GetEffects(std::wstring& file, std::wstring& showEffect, std::wstring& hideEffect) const {
  file = _effectsFile;
  showEffect = _showEffect;
  hideEffect = _hideEffect;
}

void Dialog::SetEffects(const std::wstring& file, const std::wstring& showEffect,
                        const std::wstring& hideEffect) {
  _effectsFile = file;
  _showEffect = showEffect;
  _hideEffect = hideEffect;
  Effect* show = showEffect.empty() ? nullptr : new Effect(file, showEffect, this);
  Effect* hide = hideEffect.empty() ? nullptr : new Effect(file, hideEffect, this);
  StartEffects(show, hide);
}

void Dialog::StartEffects(Effect* first, Effect* second) {
  for (Effect* effect : {first, second}) {
    // One the dialog refuses would belong to nobody.
    if (effect && !AddAndStartEffect(effect)) {
      delete effect;
    }
  }
}

// ---------------------------------------------------------------------------
// Drawing

void Dialog::Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) {
  if (!rs || !IsShown()) {
    return;
  }
  const LLF::Transform context = ComputeContext(parent);
  if (IsRenderable()) {
    rs->PushTransform(context.matrix);
    if (_fadeBackground && IsActive()) {
      // The dialog's own alpha, not the combined one, dims the background.
      LLF::Color color = _fadeBackgroundColor;
      color.a = static_cast<uint8_t>(std::lround(_alpha / 255.0 * _fadeBackgroundColor.a));
      if (color.a != 0) {
        rs->FillRect(LLF::RectF(-100000.0f, -100000.0f, 200000.0f, 200000.0f), color);
      }
    }
    if (IsFrameGrid(GetImage())) {
      DrawFrame(rs, context);
    } else {
      DrawImage(rs, context);
    }
    rs->PopTransform();
  }
  RenderChilds(rs, context);
}

// Nine slices over the dialog's size: corners at their own size, edges
// and centre stretched between them. The border is one cell's height on
// both axes.
void Dialog::DrawFrame(LLF::IRenderSystem* rs, const LLF::Transform& context) {
  LLF::Image* image = GetImage();
  if (context.alpha == 0) {
    return;
  }
  const float cellWidth = static_cast<float>(image->GetCellWidth());
  const float cellHeight = static_cast<float>(image->GetCellHeight());
  if (cellWidth <= 0.0f || cellHeight <= 0.0f) {
    return;
  }
  const float b = cellHeight;
  const float w = static_cast<float>(GetSize().x);
  const float h = static_cast<float>(GetSize().y);
  // A dialog narrower than its two borders gets no middle, not a mirrored
  // one.
  const float middleWidth = std::max(0.0f, w - 2.0f * b);
  const float middleHeight = std::max(0.0f, h - 2.0f * b);
  const float columnX[3] = {0.0f, b, w - b};
  const float rowY[3] = {0.0f, b, h - b};
  const float columnScale[3] = {1.0f, middleWidth / cellWidth, 1.0f};
  const float rowScale[3] = {1.0f, middleHeight / cellHeight, 1.0f};
  // The side pieces are b wide, whatever the cell's width.
  const float sideScale = b / cellWidth;
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      ImageDrawParams params;
      params.alpha = context.alpha;
      params.cell = column;
      params.loop = row;
      params.position = LLF::Vector2(columnX[column], rowY[row]);
      params.scale = LLF::Vector2(row == 1 && column != 1 ? sideScale : columnScale[column], rowScale[row]);
      if (params.scale.x > 0.0f && params.scale.y > 0.0f) {
        rs->DrawImage(image, params);
      }
    }
  }
}

// ---------------------------------------------------------------------------
// XML and editor

// The effects are read and written as one: the names mean something only
// with their file, and setting them starts the effects.
const PropertyTable<Dialog>& Dialog::Properties() {
  using P = PropertyTable<Dialog>;
  static const P table(
      kDialogPage,
      {
          P::Element(
              [](Dialog& d, const LLF::XmlElement& element) {
                const LLF::XmlAttribute* file = element.GetAttribute(std::wstring(kEffectsFile));
                if (file) {
                  const LLF::XmlAttribute* show = element.GetAttribute(std::wstring(kShowEffect));
                  const LLF::XmlAttribute* hide = element.GetAttribute(std::wstring(kHideEffect));
                  d.SetEffects(file->GetValue(), show ? show->GetValue() : std::wstring(),
                               hide ? hide->GetValue() : std::wstring());
                }
                return true;
              },
              [](const Dialog& d, const Dialog& reference, LLF::XmlElement& element) {
                WriteChangedAttribute(element, kEffectsFile, d._effectsFile, reference._effectsFile);
                WriteChangedAttribute(element, kShowEffect, d._showEffect, reference._showEffect);
                WriteChangedAttribute(element, kHideEffect, d._hideEffect, reference._hideEffect);
              }),
          P::PageRow(
              L"Effect file", [](const Dialog& d) { return d._effectsFile; },
              [](Dialog& d, const std::wstring& value) {
                d.SetEffects(value, d._showEffect, d._hideEffect);
              }),
          P::PageRow(
              L"Show effect", [](const Dialog& d) { return d._showEffect; },
              [](Dialog& d, const std::wstring& value) {
                d.SetEffects(d._effectsFile, value, d._hideEffect);
              }),
          P::PageRow(
              L"Hide effect", [](const Dialog& d) { return d._hideEffect; },
              [](Dialog& d, const std::wstring& value) {
                d.SetEffects(d._effectsFile, d._showEffect, value);
              }),
          P::Typed(L"fadeBackground", &Dialog::_fadeBackground, &Dialog::SetFadeBackground)
              .Row(L"Fade background"),
          P::Typed(L"fadeBackgroundColor", &Dialog::_fadeBackgroundColor, &Dialog::SetFadeBackgroundColor)
              .Row(L"Fade color"),
      });
  return table;
}

bool Dialog::LoadFromXml(LLF::XmlElement& element) {
  ApplyStyle(element);
  if (!LoadImageProps(element) || !Control::LoadFromXml(element)) {
    return false;
  }
  return Properties().Load(*this, element);
}

LLF::XmlElement* Dialog::SaveToXml() {
  LLF::XmlElement* element = Control::SaveToXml();
  const std::unique_ptr<Control> made(CreateInstance());
  const Dialog& reference = dynamic_cast<const Dialog&>(*made);
  Properties().Save(*this, reference, *element);
  SaveImageProps(*element, reference);
  if (IsFrameGrid(GetImage())) {
    element->RemoveAttribute(std::wstring(L"imageLoop"));
    element->RemoveAttribute(std::wstring(L"imageCell"));
  }
  return element;
}

void Dialog::FillPropertyGrid(std::vector<PropertyGroup>& groups) {
  Control::FillPropertyGrid(groups);
  groups.push_back(Properties().Page(*this));
  groups.push_back(ImageProperty::GetPropertyGroup());
}

bool Dialog::SetPropertyFromEditor(const std::wstring& page, const std::wstring& label,
                                   const std::wstring& value) {
  if (page == kDialogPage) {
    return Properties().Edit(*this, label, value);
  }
  if (page == ImageProperty::kPageTitle) {
    return ImageProperty::SetPropertyFromPage(label, value);
  }
  return Control::SetPropertyFromEditor(page, label, value);
}

Control* Dialog::CreateInstance() const {
  return new Dialog();
}

}  // namespace HLF
