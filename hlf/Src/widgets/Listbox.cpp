#include "widgets/Listbox.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

#include "app/AppWindow.h"
#include "app/InputCodes.h"
#include "font/Font.h"
#include "font/TextDrawParams.h"
#include "image/Image.h"
#include "properties/PropertyTable.h"
#include "render/IRenderSystem.h"
#include "widgets/Scroll.h"
#include "xml/XmlElement.h"

namespace HLF {

namespace {

const wchar_t kListboxPage[] = L"Listbox properties";
const wchar_t kScrollName[] = L"LISTSCROLL";
const wchar_t kScrollPage[] = L"Scroll properties";
const wchar_t kTextPage[] = L"Text properties";

bool IsFromWindow(const LLF::Message& msg) {
  return msg.GetSender() == &LLF::AppWindow::GetInstance();
}

// Whether index names an element of a list of count.
bool IsIndexIn(int index, size_t count) {
  return index >= 0 && static_cast<size_t>(index) < count;
}

LLF::Color WithAlpha(LLF::Color color, uint8_t alpha) {
  color.a = alpha;
  return color;
}

}  // namespace

Listbox::Listbox() {
  InitDefaults();
}

Listbox::Listbox(const std::wstring& name) : Control(name) {
  InitDefaults();
}

Listbox::~Listbox() {
  ClearItems();
}

void Listbox::InitDefaults() {
  _tag = L"listbox";
  _textMargin = LLF::Point(2, 2);
  _selected = -1;
  _mouseOverItem = -1;
  _interval = 1;

  // The background keeps its back colour under the mouse; the over and
  // pressed colours go to the rows.
  LLF::Color back;
  LLF::Color line;
  LLF::Color over;
  LLF::Color pressed;
  GetStateColors(back, line, over, pressed);
  _itemMouseOverColor = pressed;
  _itemSelectedColor = over;
  ImageProperty::SetStateColors(back, line, back, back);

  ImageProperty::SetOwner(this);
  TextProperty::SetOwner(this);
  SoundProperty::SetOwner(this);

  // The list reads the bar's value when it needs it; it does not listen.
  _scroll = new Scroll(kScrollName);
  AddChild(_scroll);
  SetSize(400, 200);
}

std::wstring Listbox::Dump() const {
  return L"Listbox: Name: " + GetName();
}

bool Listbox::DeleteChild(int index, bool del) {
  // The list reads its bar for its whole life.
  if (_scroll && GetChild(index) == _scroll) {
    return false;
  }
  return Control::DeleteChild(index, del);
}

void Listbox::SetStateColors(const LLF::Color& back, const LLF::Color& line, const LLF::Color& over,
                             const LLF::Color& pressed) {
  ImageProperty::SetStateColors(back, line, back, back);
  _itemMouseOverColor = over;
  _itemSelectedColor = pressed;
}

// ---------------------------------------------------------------------------
// Items

std::wstring Listbox::GetItem(int index) const {
  return IsIndexIn(index, _items.size()) ? _items[static_cast<size_t>(index)] : std::wstring();
}

std::wstring Listbox::GetSelectedItem() const {
  return GetItem(_selected);
}

void Listbox::AddItem(const std::wstring& text) {
  InsertItem(text, -1);
}

void Listbox::RemoveItem(int index) {
  if (IsIndexIn(index, _items.size())) {
    _items.erase(_items.begin() + index);
  }
}

bool Listbox::SetItem(const std::wstring& text, int index) {
  if (!IsIndexIn(index, _items.size())) {
    return false;
  }
  _items[static_cast<size_t>(index)] = text;
  return true;
}

bool Listbox::InsertItem(const std::wstring& text, int index) {
  if (IsIndexIn(index, _items.size())) {
    _items.insert(_items.begin() + index, text);
  } else {
    _items.push_back(text);
  }
  ClampSelected();
  UpdateScrollRange();
  return true;
}

bool Listbox::SetItems(const std::vector<std::wstring>& items) {
  _items = items;
  ClampSelected();
  UpdateScrollRange();
  return true;
}

void Listbox::ClampSelected() {
  const int count = static_cast<int>(std::min<size_t>(_items.size(), INT32_MAX));
  if (_selected >= count) {
    _selected = count - 1;
  }
  if (_selected < 0) {
    _selected = -1;
  }
}

// ---------------------------------------------------------------------------
// Selection and view

int Listbox::GetRowHeight() const {
  const LLF::Font* font = GetFont();
  if (!font) {
    return 1;
  }
  const int64_t height = static_cast<int64_t>(font->GetTextHeight(LLF::TextDrawParams())) + _interval;
  // An interval that cancels the font's height still leaves rows apart.
  return static_cast<int>(std::clamp<int64_t>(height, 1, INT32_MAX));
}

int Listbox::GetVisibleRows() const {
  if (!GetFont()) {
    return 1;
  }
  const int64_t room = static_cast<int64_t>(GetSize().y) - 2 * static_cast<int64_t>(_textMargin.y);
  return static_cast<int>(std::max<int64_t>(room / GetRowHeight(), 0));
}

void Listbox::UpdateScrollRange() {
  if (!GetFont()) {
    return;
  }
  const int64_t hidden = static_cast<int64_t>(_items.size()) - GetVisibleRows();
  _scroll->SetMinValue(0);
  if (hidden < 0) {
    _scroll->SetEnabled(false);
    _scroll->SetMaxValue(0);
  } else {
    _scroll->SetEnabled(true);
    _scroll->SetMaxValue(static_cast<int>(std::min<int64_t>(hidden, INT32_MAX)));
  }
  // A range that shrank under the value moved the value: the thumb follows.
  _scroll->SetValue(_scroll->GetValue());
}

void Listbox::SetSelected(int index) {
  _selected = index;
  ClampSelected();
  ScrollToSelected();
  NotifySelection(nullptr);
}

void Listbox::ScrollToSelected() {
  if (_selected == -1) {
    return;
  }
  const int64_t first = _scroll->GetValue();
  const int64_t visible = GetVisibleRows();
  if (_selected > first + visible - 1) {
    _scroll->SetValue(static_cast<int>(_selected - visible + 1));
  } else if (_selected < first) {
    _scroll->SetValue(_selected);
  }
}

void Listbox::NotifySelection(const LLF::Message* cause) {
  (void)cause;
  SendCode(LISTBOX_MSG_SELECTED, 0, _selected, 0);
}

// ---------------------------------------------------------------------------
// Geometry

void Listbox::SetSize(int width, int height) {
  Control::SetSize(width, height);
  LayoutScroll();
}

int Listbox::ScrollWidth() const {
  return _scroll ? _scroll->GetSize().x : 0;
}

void Listbox::LayoutScroll() {
  if (!_scroll) {
    return;
  }
  const LLF::Image* background = _scroll->GetImage();
  const int width = background ? static_cast<int>(background->GetCellWidth()) : 25;
  _scroll->SetSize(width, GetSize().y);
  _scroll->SetPosition(static_cast<float>(GetSize().x - _scroll->GetSize().x), 0.0f);
}

// ---------------------------------------------------------------------------
// Input

bool Listbox::ProcessMessage(const LLF::Message& msg) {
  if (!CanProcessMessages()) {
    return true;
  }
  if (IsFromWindow(msg) && GetFont()) {
    const int code = msg.GetCode();
    if (code == LLF::WMSG_MOUSE_MOVE || code == LLF::WMSG_BUTTON_UP) {
      DispatchScope scope;
      TrackRow(msg);
    } else if (code == LLF::WMSG_KEY_DOWN) {
      DispatchScope scope;
      if (TakeKey(msg.GetParam())) {
        return true;
      }
    }
  }
  return Control::ProcessMessage(msg);
}

void Listbox::TrackRow(const LLF::Message& msg) {
  const LLF::Vector2 origin = GetAbsolutePosition();
  const int64_t top =
      static_cast<int64_t>(msg.GetSecondary()) - static_cast<int64_t>(origin.y) - _textMargin.y;
  const int64_t first = _scroll->GetValue();
  const int64_t visible = GetVisibleRows();
  // Above the top margin there is no row.
  const int64_t row = top < 0 ? -1 : top / GetRowHeight() + first;
  const bool inView = row >= first && row < first + visible;
  const int64_t rows = std::max<int64_t>(visible, static_cast<int64_t>(_items.size()));
  const bool leftOfBar = static_cast<double>(msg.GetPrimary()) - origin.x < GetSize().x - ScrollWidth();
  if (!inView || row < 0 || row >= rows || !leftOfBar) {
    _mouseOverItem = -1;
    return;
  }
  if (msg.GetCode() == LLF::WMSG_MOUSE_MOVE) {
    _mouseOverItem = static_cast<int>(row);
  } else {
    // A release below the last item of a short list selects the last one.
    SetSelected(static_cast<int>(row));
    Play(kClickSlot);
  }
}

bool Listbox::TakeKey(int key) {
  if (key == LLF::KEY_UP) {
    if (_selected > 0) {
      SetSelected(_selected - 1);
      Play(kClickSlot);
    }
    return true;
  }
  if (key == LLF::KEY_DOWN) {
    if (static_cast<int64_t>(_selected) < static_cast<int64_t>(_items.size()) - 1) {
      SetSelected(_selected + 1);
      Play(kClickSlot);
    }
    return true;
  }
  return false;
}

void Listbox::OnMouseDblClick(const LLF::Message& msg) {
  SendCode(LISTBOX_MSG_DOUBLE_CLICK, 0, _selected, 0);
  Control::OnMouseDblClick(msg);
}

void Listbox::OnMouseWheel(const LLF::Message& msg) {
  _scroll->OnMouseWheel(msg);
  Control::OnMouseWheel(msg);
}

// ---------------------------------------------------------------------------
// Drawing

void Listbox::FillRow(LLF::IRenderSystem* rs, int row, int first, const LLF::Color& color) const {
  const float rowHeight = static_cast<float>(GetRowHeight());
  const float y = static_cast<float>(_textMargin.y) + rowHeight * static_cast<float>(row - first);
  const float width = static_cast<float>(GetSize().x - 2 * _textMargin.x - ScrollWidth() + 1);
  rs->FillRect(LLF::RectF(static_cast<float>(_textMargin.x), y, width, rowHeight), color);
}

void Listbox::Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) {
  if (!rs || !IsShown()) {
    return;
  }
  const LLF::Transform context = ComputeContext(parent);
  if (IsRenderable()) {
    rs->PushTransform(context.matrix);
    DrawImage(rs, context);
    LLF::Font* font = GetFont();
    if (font) {
      const int first = _scroll->GetValue();
      const int64_t end = std::min<int64_t>(static_cast<int64_t>(first) + GetVisibleRows(),
                                            static_cast<int64_t>(_items.size()));
      const int last = static_cast<int>(end);
      // The row fills fade with the list as its text does.
      if (_selected >= first && _selected < last) {
        FillRow(rs, _selected, first, WithAlpha(_itemSelectedColor, context.alpha));
      }
      if (_mouseOverItem >= first && _mouseOverItem < last && _mouseOverItem != _selected) {
        FillRow(rs, _mouseOverItem, first, WithAlpha(_itemMouseOverColor, context.alpha));
      }
      LLF::Color normal;
      LLF::Color over;
      LLF::Color pressed;
      LLF::Color disabled;
      GetColors(normal, over, pressed, disabled);
      const unsigned alignment = GetAlignment();
      const int rowHeight = GetRowHeight();
      const int room = GetSize().x - ScrollWidth();
      for (int r = first; r < last; ++r) {
        LLF::TextDrawParams params;
        params.text = _items[static_cast<size_t>(r)];
        params.color = Faded(normal, context.alpha);
        const int textWidth = font->GetTextWidth(params);
        float x = 0.0f;
        if (alignment & TEXT_ALIGN_LEFT) {
          x = static_cast<float>(_textMargin.x);
        } else if (alignment & TEXT_ALIGN_RIGHT) {
          x = static_cast<float>(room - textWidth - _textMargin.x);
        } else if (alignment & TEXT_ALIGN_CENTER) {
          x = std::trunc(static_cast<float>(room - 2 * _textMargin.x) / 2.0f -
                         static_cast<float>(textWidth) / 2.0f);
        }
        params.position =
            LLF::Vector2(x, static_cast<float>(_textMargin.y + rowHeight * static_cast<int64_t>(r - first)));
        rs->DrawText(*font, params);
      }
    }
    rs->PopTransform();
  }
  RenderChilds(rs, context);
}

// ---------------------------------------------------------------------------
// XML and editor

const PropertyTable<Listbox>& Listbox::Properties() {
  using P = PropertyTable<Listbox>;
  static const P table(
      kListboxPage,
      {
          P::Typed(L"interval", &Listbox::_interval, &Listbox::SetInterval).Row(L"Interval"),
          P::Member(L"itemSelectedColor", &Listbox::_itemSelectedColor).Row(L"Selected color"),
          P::Member(L"itemMouseOverColor", &Listbox::_itemMouseOverColor).Row(L"Mouse over color"),
      });
  return table;
}

bool Listbox::LoadFromXml(LLF::XmlElement& element) {
  ApplyStyle(element);
  if (!Control::LoadFromXml(element) || !Properties().Load(*this, element)) {
    return false;
  }
  // The bar's pictures live on the list's element; the bar keeps its own
  // name and control attributes, which the layout below sets.
  if (!_scroll->LoadScrollImages(element)) {
    return false;
  }
  if (!LoadTextProps(element) || !LoadImageProps(element) || !LoadSoundProps(element)) {
    return false;
  }
  // A list given only its back colour keeps it under the mouse and while
  // pressed, as a list built in code does, instead of the default grey.
  LLF::Color back;
  LLF::Color line;
  LLF::Color over;
  LLF::Color pressed;
  GetStateColors(back, line, over, pressed);
  ImageProperty::SetStateColors(
      back, line, element.GetAttribute(std::wstring(L"imageMouseOverColor")) ? over : back,
      element.GetAttribute(std::wstring(L"imageMousePressedColor")) ? pressed : back);
  LayoutScroll();
  return true;
}

LLF::XmlElement* Listbox::SaveToXml() {
  LLF::XmlElement* element = Control::SaveToXml();
  // The constructor makes the bar again: drop the element written for it
  // (Control wrote one per child, in order).
  const int index = IndexOfChild(_scroll);
  if (index >= 0 && index < element->GetChildsCount()) {
    element->RemoveChild(index);
  }
  const Listbox reference;
  Properties().Save(*this, reference, *element);
  _scroll->SaveScrollImages(*element, *reference._scroll);
  SaveTextProps(*element, reference);
  SaveImageProps(*element, reference);
  SaveSoundProps(*element);
  return element;
}

void Listbox::FillPropertyGrid(std::vector<PropertyGroup>& groups) {
  Control::FillPropertyGrid(groups);
  groups.push_back(Properties().Page(*this));
  groups.push_back(TextProperty::GetPropertyGroup());
  groups.push_back(ImageProperty::GetPropertyGroup());
  groups.push_back(SoundProperty::GetPropertyGroup());
  std::vector<PropertyGroup> scrollPages;
  _scroll->FillPropertyGrid(scrollPages);
  for (const PropertyGroup& page : scrollPages) {
    if (page.title == kScrollPage) {
      groups.push_back(page);
    }
  }
}

bool Listbox::SetPropertyFromEditor(const std::wstring& page, const std::wstring& label,
                                    const std::wstring& value) {
  if (page == kListboxPage) {
    return Properties().Edit(*this, label, value);
  }
  if (page == kTextPage) {
    return TextProperty::SetPropertyFromPage(label, value);
  }
  if (page == ImageProperty::kPageTitle) {
    return ImageProperty::SetPropertyFromPage(label, value);
  }
  if (page == SoundProperty::kPageTitle) {
    return SoundProperty::SetPropertyFromPage(label, value);
  }
  if (page == kScrollPage) {
    const bool set = _scroll->SetPropertyFromEditor(page, label, value);
    LayoutScroll();
    return set;
  }
  return Control::SetPropertyFromEditor(page, label, value);
}

Control* Listbox::CreateInstance() const {
  return new Listbox();
}

}  // namespace HLF
