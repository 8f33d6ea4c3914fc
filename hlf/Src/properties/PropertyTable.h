#pragma once
// The attributes of one class, each declared once: its XML attribute, its
// editor row (when the editor shows it), the text form of its value and how
// the value is set. One table drives the reader (fields in table order, each
// only when its attribute is there), the writer (fields whose text differs
// from a reference object's), the editor page and the editor's edits, so the
// four cannot drift apart.
//
// A class declares its table in a static function of its own, where its
// private fields are in reach:
//
//   const PropertyTable<Gauge>& Gauge::Properties() {
//     using P = PropertyTable<Gauge>;
//     static const P table(L"Gauge properties", {
//         P::Member(L"maxValue", &Gauge::_maxValue).Row(L"Maximum"),
//         P::Typed(L"barColor", &Gauge::_barColor, &Gauge::SetBarColor).Row(L"Bar color"),
//         P::Words(L"direction", &Gauge::_direction, {L"LEFT", L"RIGHT"}).Row(L"Direction"),
//     });
//     return table;
//   }
//
// and calls Properties().Load, Save, Page and Edit from its LoadFromXml,
// SaveToXml, FillPropertyGrid and SetPropertyFromEditor.
//
// Typed fields read and write their value through the typed helpers of
// properties/ElementAttributes.h; an editor edit parses the row's text as
// an attribute of the same type. Custom reads and writes cover formats the
// typed helpers do not (an asset id, a child element of several
// attributes).
#include <algorithm>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "properties/ElementAttributes.h"
#include "properties/PropertyGroup.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlElement.h"

namespace HLF {

// The indices 0..n-1 of ranks, sorted by rank, where a rank below 0 stands
// for the index itself; an index with a rank goes before the one without
// whose place it shares, and equal ranks keep index order.
std::vector<size_t> PropertyOrder(const std::vector<int>& ranks);

template <class Owner>
class PropertyTable {
 public:
  // One attribute. Built by the table's static makers, then refined by the
  // chained calls below.
  struct Field {
    // The value as the writer and the editor page show it.
    std::function<std::wstring(const Owner&)> text;
    // Sets the value from an attribute (a read, or an edit parsed as one);
    // false fails the whole read.
    std::function<bool(Owner&, const LLF::XmlAttribute&)> read;
    // An editor edit, where it differs from a read of the same text.
    std::function<void(Owner&, const std::wstring&)> edit;
    // Whether the writer considers the field at all, given the reference.
    std::function<bool(const Owner&, const Owner&)> saveIf;
    // The text the writer puts down, where it differs from the page's.
    std::function<std::wstring(const Owner&)> saveAs;
    // A reader and writer of a whole element, for a format of its own.
    std::function<bool(Owner&, const LLF::XmlElement&)> readElement;
    std::function<void(const Owner&, const Owner&, LLF::XmlElement&)> write;

    std::wstring attribute;  // empty: no attribute of its own
    std::wstring label;      // empty: no editor row
    std::wstring child;      // the attribute lives on this child element
    std::wstring absentText;
    int32_t kind = PROPERTY_ORDINARY;
    int group = 0;
    int saveRank = -1;
    int pageRank = -1;
    bool always = false;
    bool saved = true;
    bool readsAbsent = false;

    // The editor row of the field.
    Field& Row(const wchar_t* rowLabel) {
      label = rowLabel;
      return *this;
    }
    // An editor row that offers a font choice.
    Field& FontRow(const wchar_t* rowLabel) {
      kind = PROPERTY_FONT;
      return Row(rowLabel);
    }
    // The attribute sits on the first child element of that name; the
    // writer adds the child when it has something to hold.
    Field& In(const wchar_t* childName) {
      child = childName;
      return *this;
    }
    // Fields of one group are read only when all their attributes are
    // there, and all written when one of them differs.
    Field& Group(int id) {
      group = id;
      return *this;
    }
    // Places in the writer's and the page's order, where they differ from
    // the table's: the field goes before the one at that table index.
    Field& SaveAt(int rank) {
      saveRank = rank;
      return *this;
    }
    Field& PageAt(int rank) {
      pageRank = rank;
      return *this;
    }
    // Written even when it equals the reference's.
    Field& Always() {
      always = true;
      return *this;
    }
    // Read (and shown), never written.
    Field& NotSaved() {
      saved = false;
      return *this;
    }
    // A missing attribute reads as this text instead of leaving the value;
    // the writer then writes the field whenever its text differs from this
    // one, so what it leaves out reads back.
    Field& WhenAbsent(const wchar_t* value) {
      absentText = value;
      readsAbsent = true;
      return *this;
    }
    Field& SaveIf(std::function<bool(const Owner&, const Owner&)> condition) {
      saveIf = std::move(condition);
      return *this;
    }
    Field& SaveAs(std::function<std::wstring(const Owner&)> saveText) {
      saveAs = std::move(saveText);
      return *this;
    }
    Field& EditWith(std::function<void(Owner&, const std::wstring&)> editor) {
      edit = std::move(editor);
      return *this;
    }
  };

  PropertyTable(const wchar_t* pageTitle, std::initializer_list<Field> fields)
      : _title(pageTitle), _fields(fields) {
    _saveOrder = Ordered(&Field::saveRank);
    _pageOrder = Ordered(&Field::pageRank);
  }
  // A table of a class without an editor page.
  explicit PropertyTable(std::initializer_list<Field> fields) : PropertyTable(L"", fields) {}
  PropertyTable(const PropertyTable&) = delete;
  PropertyTable& operator=(const PropertyTable&) = delete;

  // ---- Makers

  // A value read by get (a field pointer or a function of the owner) and
  // set by set (a setter or a function of the owner and the value).
  template <class Get, class Set>
  static Field Typed(const wchar_t* attribute, Get get, Set set) {
    using T = std::remove_cvref_t<std::invoke_result_t<Get&, const Owner&>>;
    Field field;
    field.attribute = attribute;
    field.text = [get](const Owner& owner) { return AttributeText(T(std::invoke(get, owner))); };
    field.read = [set](Owner& owner, const LLF::XmlAttribute& value) {
      T parsed{};
      ParseAttribute(value, parsed);
      std::invoke(set, owner, parsed);
      return true;
    };
    return field;
  }

  // A field of the owner, read and written as it stands.
  template <class T>
  static Field Member(const wchar_t* attribute, T Owner::*member) {
    return Typed(attribute, member, [member](Owner& owner, const T& value) { owner.*member = value; });
  }

  // An index into words: the attribute is one of the words, exactly; any
  // other text leaves the value.
  template <class Get, class Set>
  static Field Words(const wchar_t* attribute, Get get, Set set,
                     std::initializer_list<const wchar_t*> words) {
    const std::vector<std::wstring> list(words.begin(), words.end());
    Field field;
    field.attribute = attribute;
    field.text = [get, list](const Owner& owner) {
      const int index = static_cast<int>(std::invoke(get, owner));
      return index >= 0 && index < static_cast<int>(list.size()) ? list[index] : std::wstring();
    };
    field.read = [set, list](Owner& owner, const LLF::XmlAttribute& value) {
      const auto found = std::find(list.begin(), list.end(), value.GetValue());
      if (found != list.end()) {
        std::invoke(set, owner, static_cast<int>(found - list.begin()));
      }
      return true;
    };
    return field;
  }
  template <class Value>
  static Field Words(const wchar_t* attribute, Value Owner::*member,
                     std::initializer_list<const wchar_t*> words) {
    return Words(
        attribute, member, [member](Owner& owner, int index) { owner.*member = static_cast<Value>(index); },
        words);
  }

  // A value with a text form of its own: text gives it, read sets it from
  // the attribute (returning false, when it does, fails the read).
  template <class Read>
  static Field Custom(const wchar_t* attribute, std::function<std::wstring(const Owner&)> text, Read read) {
    Field field;
    field.attribute = attribute;
    field.text = std::move(text);
    if constexpr (std::is_same_v<std::invoke_result_t<Read&, Owner&, const LLF::XmlAttribute&>, bool>) {
      field.read = std::move(read);
    } else {
      field.read = [read](Owner& owner, const LLF::XmlAttribute& value) {
        read(owner, value);
        return true;
      };
    }
    return field;
  }

  // An editor row with no attribute of its own.
  static Field PageRow(const wchar_t* label, std::function<std::wstring(const Owner&)> text,
                       std::function<void(Owner&, const std::wstring&)> edit) {
    Field field;
    field.label = label;
    field.text = std::move(text);
    field.edit = std::move(edit);
    return field;
  }

  // A part of the element with a format of its own (several attributes
  // that only mean something together, child elements): read gets the
  // element (or the child named with In, when there is one), write adds to
  // it.
  static Field Element(std::function<bool(Owner&, const LLF::XmlElement&)> read,
                       std::function<void(const Owner&, const Owner&, LLF::XmlElement&)> write) {
    Field field;
    field.readElement = std::move(read);
    field.write = std::move(write);
    return field;
  }

  // ---- Use

  const std::wstring& GetTitle() const { return _title; }

  // Reads the fields in table order, each when its attribute is there;
  // false as soon as one read fails (the fields before it are set).
  bool Load(Owner& owner, const LLF::XmlElement& element) const {
    for (const Field& field : _fields) {
      const LLF::XmlElement* target = field.child.empty() ? &element : element.FindChild(field.child);
      if (!target) {
        continue;
      }
      if (field.readElement) {
        if (!field.readElement(owner, *target)) {
          return false;
        }
        continue;
      }
      if (field.attribute.empty() || !field.read) {
        continue;
      }
      const LLF::XmlAttribute* value = target->GetAttribute(field.attribute);
      if (!value) {
        if (field.readsAbsent) {
          field.read(owner, LLF::XmlAttribute(field.attribute, field.absentText));
        }
        continue;
      }
      if (field.group != 0 && !GroupPresent(field, *target)) {
        continue;
      }
      if (!field.read(owner, *value)) {
        return false;
      }
    }
    return true;
  }

  // Adds to element, in the writer's order, the attributes whose text
  // differs from the reference's, and the child elements that got any.
  void Save(const Owner& owner, const Owner& reference, LLF::XmlElement& element) const {
    std::vector<std::unique_ptr<LLF::XmlElement>> children;
    auto targetOf = [&](const Field& field) -> LLF::XmlElement& {
      if (field.child.empty()) {
        return element;
      }
      for (const std::unique_ptr<LLF::XmlElement>& child : children) {
        if (child->GetName() == field.child) {
          return *child;
        }
      }
      children.push_back(std::make_unique<LLF::XmlElement>(field.child));
      return *children.back();
    };
    for (size_t index : _saveOrder) {
      const Field& field = _fields[index];
      if (!field.saved) {
        continue;
      }
      if (field.write) {
        field.write(owner, reference, targetOf(field));
        continue;
      }
      if (field.attribute.empty() || !field.text || (field.saveIf && !field.saveIf(owner, reference))) {
        continue;
      }
      bool differs = false;
      if (field.group != 0) {
        differs = GroupDiffers(field, owner, reference);
      } else {
        differs = field.text(owner) != (field.readsAbsent ? field.absentText : field.text(reference));
      }
      if (field.always || differs) {
        targetOf(field).AddAttribute(field.attribute, field.saveAs ? field.saveAs(owner) : field.text(owner));
      }
    }
    for (std::unique_ptr<LLF::XmlElement>& child : children) {
      if (child->GetAttributesCount() > 0 || child->GetChildsCount() > 0) {
        *element.AppendChild(std::wstring()) = std::move(*child);
      }
    }
  }

  // The editor page: the rows in page order with their current values.
  PropertyGroup Page(const Owner& owner) const {
    PropertyGroup page(_title);
    for (size_t index : _pageOrder) {
      const Field& field = _fields[index];
      if (!field.label.empty()) {
        page.entries.emplace_back(field.kind, field.label, field.text ? field.text(owner) : std::wstring());
      }
    }
    return page;
  }

  // Applies an edit of the row with the label; false for a label the page
  // does not have.
  bool Edit(Owner& owner, const std::wstring& label, const std::wstring& value) const {
    for (const Field& field : _fields) {
      if (field.label.empty() || field.label != label) {
        continue;
      }
      if (field.edit) {
        field.edit(owner, value);
      } else if (field.read) {
        field.read(owner, LLF::XmlAttribute(field.attribute, value));
      }
      return true;
    }
    return false;
  }

 private:
  std::vector<size_t> Ordered(int Field::*rank) const {
    std::vector<int> ranks;
    for (const Field& field : _fields) {
      ranks.push_back(field.*rank);
    }
    return PropertyOrder(ranks);
  }

  bool GroupPresent(const Field& member, const LLF::XmlElement& element) const {
    return std::all_of(_fields.begin(), _fields.end(), [&](const Field& field) {
      return field.group != member.group || field.child != member.child || field.attribute.empty() ||
             element.GetAttribute(field.attribute) != nullptr;
    });
  }

  bool GroupDiffers(const Field& member, const Owner& owner, const Owner& reference) const {
    return std::any_of(_fields.begin(), _fields.end(), [&](const Field& field) {
      return field.group == member.group && field.child == member.child && field.text &&
             field.text(owner) != field.text(reference);
    });
  }

  std::wstring _title;
  std::vector<Field> _fields;
  std::vector<size_t> _saveOrder;
  std::vector<size_t> _pageOrder;
};

}  // namespace HLF
