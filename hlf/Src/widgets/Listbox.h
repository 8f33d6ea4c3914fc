#pragma once
// The single-selection list, the XML element "listbox": a column of text
// rows in one font over a background, with an embedded scroll bar
// "LISTSCROLL" at its right edge whose value is the first visible row. A
// row is the font's line height plus the interval high (at least 1 pixel);
// rows start inside a margin. Without a font there are no rows, and the
// list takes no mouse or key input of its own.
//
// The row under the mouse is highlighted, a button release on a row selects
// it and plays "soundName", Up and Down move the selection (every enabled,
// visible list hears the keys, hovered or not) and scroll it into view, the
// wheel scrolls. Messages to the receivers: 10 on every SetSelected, also
// when nothing changed (primary: the selected index, -1 for none); 11 on a
// double click (primary: the selected index). Receivers read the text with
// GetSelectedItem.
//
// XML attributes: Control's, "interval", "itemSelectedColor",
// "itemMouseOverColor", the embedded bar's four picture attributes
// ("scrollBackground", ... as the scroll bar reads them), then the text's,
// the image's and the sounds'. Items, margin and selection come from code.
// The embedded bar takes the list's name; it is never written as a child.
//
// Editor: Control's page, "Listbox properties" ("Interval", "Selected
// color", "Mouse over color"), the pages of the text, the image and the
// sounds, then the bar's "Scroll properties".
#include <string>
#include <vector>

#include "math/Color.h"
#include "math/Point.h"
#include "model/Control.h"
#include "properties/ImageProperty.h"
#include "properties/SoundProperty.h"
#include "properties/TextProperty.h"

namespace HLF {

class Scroll;
template <class Owner>
class PropertyTable;

// Codes a list box sends to its receivers.
enum ListboxMessageCode {
  LISTBOX_MSG_SELECTED = 10,
  LISTBOX_MSG_DOUBLE_CLICK = 11,
};

class Listbox : public Control, public ImageProperty, public TextProperty, public SoundProperty {
 public:
  Listbox();
  explicit Listbox(const std::wstring& name);

  bool IsKindOf(const std::string& className) const override {
    return className == "Listbox" || Control::IsKindOf(className) || ImageProperty::IsKindOf(className) ||
           TextProperty::IsKindOf(className) || SoundProperty::IsKindOf(className);
  }
  ~Listbox() override;
  // "Listbox: Name: " name.
  std::wstring Dump() const override;
  // The size, then the bar laid out for it (both forms).
  using Control::SetSize;
  void SetSize(int width, int height) override;
  void Render(LLF::IRenderSystem* rs, const LLF::Transform* parent) override;
  // A list that cannot take messages reports them taken. With a font:
  // moves and releases find the row under the mouse, Up and Down move the
  // selection.
  bool ProcessMessage(const LLF::Message& msg) override;
  void OnMouseDblClick(const LLF::Message& msg) override;
  // Hands the wheel to the bar.
  void OnMouseWheel(const LLF::Message& msg) override;
  bool LoadFromXml(LLF::XmlElement& element) override;
  LLF::XmlElement* SaveToXml() override;
  void FillPropertyGrid(std::vector<PropertyGroup>& groups) override;
  bool SetPropertyFromEditor(const std::wstring& page, const std::wstring& label,
                             const std::wstring& value) override;
  Control* CreateInstance() const override;
  // The bar is part of the list: it is not removed (false).
  bool DeleteChild(int index, bool del) override;
  // The background keeps its back colour under the mouse and pressed; the
  // over and pressed colours become the fills of the row under the mouse
  // and of the selected row.
  void SetStateColors(const LLF::Color& back, const LLF::Color& line, const LLF::Color& over,
                      const LLF::Color& pressed) override;

  virtual unsigned GetItemsCount() const { return static_cast<unsigned>(_items.size()); }
  // Empty for an index that names no item.
  virtual std::wstring GetItem(int index) const;
  // Empty while nothing is selected.
  virtual std::wstring GetSelectedItem() const;
  virtual Scroll* GetScroll() const { return _scroll; }
  virtual int GetSelected() const { return _selected; }
  virtual int GetInterval() const { return _interval; }
  virtual LLF::Point GetTextMargin() const { return _textMargin; }
  // The font's line height plus the interval, at least 1; 1 without a font.
  virtual int GetRowHeight() const;
  virtual void AddItem(const std::wstring& text);
  // Nothing else changes (the selection may then name no item).
  virtual void RemoveItem(int index);
  // False for an index that names no item.
  virtual bool SetItem(const std::wstring& text, int index);
  // Before the index; a negative index or one at or past the end appends.
  // The selection is clamped and the bar's range follows. True.
  virtual bool InsertItem(const std::wstring& text, int index);
  virtual bool SetItems(const std::vector<std::wstring>& items);
  // Clamps the index, scrolls it into view and sends code 10.
  virtual void SetSelected(int index);
  virtual void SetInterval(int interval) { _interval = interval; }
  virtual void SetTextMargin(const LLF::Point& margin) { _textMargin = margin; }
  virtual void NotifySelection(const LLF::Message* cause);
  // The bar as tall as the list at its right edge, as wide as a cell of its
  // background (25 without one).
  virtual void LayoutScroll();
  virtual void ScrollToSelected();
  // Past the end gives the last index, then anything negative -1.
  virtual void ClampSelected();
  // With a font: the bar's range covers the rows that do not fit, and the
  // bar is disabled when all fit.
  virtual void UpdateScrollRange();
  // The whole rows that fit between the margins (at least 0); 1 without a
  // font.
  virtual int GetVisibleRows() const;
  virtual void InitDefaults();
  // Selection and range are left as they are.
  virtual void ClearItems() { _items.clear(); }

  // The row under the mouse, -1 for none.
  int GetMouseOverItem() const { return _mouseOverItem; }
  LLF::Color GetItemSelectedColor() const { return _itemSelectedColor; }
  LLF::Color GetItemMouseOverColor() const { return _itemMouseOverColor; }

 private:
  static const PropertyTable<Listbox>& Properties();
  // The row at the mouse message's point, or -1; sets the highlight or the
  // selection for a move or a release.
  void TrackRow(const LLF::Message& msg);
  // Up or Down; false for any other key.
  bool TakeKey(int key);
  int ScrollWidth() const;
  void FillRow(LLF::IRenderSystem* rs, int row, int first, const LLF::Color& color) const;

  Scroll* _scroll = nullptr;
  std::vector<std::wstring> _items;
  int _selected = -1;
  int _mouseOverItem = -1;
  int _interval = 1;
  LLF::Color _itemMouseOverColor = LLF::Color(134, 134, 134, 255);
  LLF::Color _itemSelectedColor = LLF::Color(164, 164, 164, 255);
  LLF::Point _textMargin = LLF::Point(2, 2);
};

}  // namespace HLF
