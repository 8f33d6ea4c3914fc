#pragma once
// An XML element (name, text, ordered attributes, ordered children) or a
// comment (name "COMMENT", the comment in its text). The element owns its
// attributes and children; pointers it hands out stay valid until that
// attribute or child is removed or the element is cleared. Copies are deep.
// Names compare exactly, case-sensitive; attribute names need not be unique
// and lookups take the first match.
//
// Typed families take ten value types, always in this order: four floats
// (RectF), four ints (Rect), colour bytes (Color), two floats (Vector2), two
// ints (Point), bool, float, int, double, C wide string; each formats the
// value as text and hands it to the wide-string form.
//
// Elements the reader made keep their names in the pool of interned names
// (XmlNameTable), which is never freed: a reference from GetName stays
// valid, and keeps the old name when the element is renamed. Their
// attributes stay in one block as the reader left them (interned names,
// the values' characters) until one of them is asked for as an
// XmlAttribute; then all of them are made at once. Counting, copying,
// writing and the getters by value read the block as it is.
//
// The children of an element the reader made, and of the document's root,
// stay records in the reading's memory (XmlTree) until one of them is asked
// for; then all of them are made at once, each with its children still
// records. Counting them and copying the element read the records as they
// are, and a document dropped untouched frees its reading in one step.
//
// A reference from GetText follows the element's text once it has one; an
// element without text gives an empty string of no element.
//
// Index operations are range-checked: an index out of range gives null or
// false. The first/next walks keep their position in the element, so two
// walks over the same element share it; new code should loop over
// GetChildsCount/GetChild instead.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Object.h"
#include "xml/XmlArena.h"
#include "xml/XmlAttribute.h"
#include "xml/XmlTree.h"

namespace LLF {

class XmlElement : public virtual Object {
 public:
  XmlElement();
  explicit XmlElement(const std::wstring& name, const std::wstring& text = std::wstring());
  XmlElement(const XmlElement& other);
  XmlElement& operator=(const XmlElement& other);
  XmlElement(XmlElement&& other) noexcept;
  XmlElement& operator=(XmlElement&& other) noexcept;

  LLF_KIND_OF(XmlElement, Object)
  ~XmlElement() override;

  // Elements live in pieces of XmlArena: siblings made from records share
  // chunks, any other has a piece of its own.
  static void* operator new(size_t size) { return XmlArena::AllocateOwn(size); }
  static void* operator new(size_t size, XmlArena& arena) { return arena.Allocate(size); }
  static void operator delete(void* element) { XmlArena::Release(element); }
  static void operator delete(void* element, XmlArena&) { XmlArena::Release(element); }
  // "XmlElement: Attributes: N Childs: M"
  std::wstring Dump() const override;

  // A copy of the first attribute with that name, or one holding the
  // default when there is none; the element does not change.
  virtual XmlAttribute GetAttribute(const std::wstring& name, const RectF& def) const;
  virtual XmlAttribute GetAttribute(const std::wstring& name, const Rect& def) const;
  virtual XmlAttribute GetAttribute(const std::wstring& name, const Color& def) const;
  virtual XmlAttribute GetAttribute(const std::wstring& name, const Vector2& def) const;
  virtual XmlAttribute GetAttribute(const std::wstring& name, const Point& def) const;
  virtual XmlAttribute GetAttribute(const std::wstring& name, bool def) const;
  virtual XmlAttribute GetAttribute(const std::wstring& name, float def) const;
  virtual XmlAttribute GetAttribute(const std::wstring& name, int def) const;
  virtual XmlAttribute GetAttribute(const std::wstring& name, double def) const;
  virtual XmlAttribute GetAttribute(const std::wstring& name, const wchar_t* def) const;
  virtual XmlAttribute GetAttribute(const std::wstring& name, const std::wstring& def) const;
  virtual XmlAttribute* GetAttribute(const std::wstring& name);
  virtual XmlAttribute* GetAttribute(int index);

  // Inserts before the attribute at index when 0 <= index < count, else
  // appends; returns the new attribute.
  virtual XmlAttribute* AddAttribute(const std::wstring& name, const RectF& value, int index = -1);
  virtual XmlAttribute* AddAttribute(const std::wstring& name, const Rect& value, int index = -1);
  virtual XmlAttribute* AddAttribute(const std::wstring& name, const Color& value, int index = -1);
  virtual XmlAttribute* AddAttribute(const std::wstring& name, const Vector2& value, int index = -1);
  virtual XmlAttribute* AddAttribute(const std::wstring& name, const Point& value, int index = -1);
  virtual XmlAttribute* AddAttribute(const std::wstring& name, bool value, int index = -1);
  virtual XmlAttribute* AddAttribute(const std::wstring& name, float value, int index = -1);
  virtual XmlAttribute* AddAttribute(const std::wstring& name, int value, int index = -1);
  virtual XmlAttribute* AddAttribute(const std::wstring& name, double value, int index = -1);
  virtual XmlAttribute* AddAttribute(const std::wstring& name, const wchar_t* value, int index = -1);
  virtual XmlAttribute* AddAttribute(const std::wstring& name, const std::wstring& value, int index = -1);
  // Both append a copy of the attribute's name and value; the index is not
  // used. Null for a null attribute.
  virtual XmlAttribute* AddAttribute(const XmlAttribute& attribute, int index = -1);
  virtual XmlAttribute* AddAttribute(const XmlAttribute* attribute, int index = -1);
  virtual XmlAttribute* GetFirstAttribute();
  virtual XmlAttribute* GetNextAttribute();

  virtual XmlElement* FindChild(const std::wstring& name);
  virtual XmlElement* GetChild(int index);
  // Appends a new empty child (the index is not used) and returns it.
  virtual XmlElement* AddChild(const std::wstring& name, int index = -1);
  // Appends a deep copy (the index is not used) and returns it.
  virtual XmlElement* AddChild(const XmlElement& element, int index = -1);
  // Inserts a deep copy before the child at index when 0 <= index < count,
  // else appends; returns the copy, or null for a null element.
  virtual XmlElement* AddChild(const XmlElement* element, int index = -1);
  virtual XmlElement* GetFirstChild();
  virtual XmlElement* GetNextChild();
  // Removing by name is true whether or not a match was there; removing by
  // index is false for an index out of range.
  virtual bool RemoveChild(const std::wstring& name);
  virtual bool RemoveChild(int index);
  virtual bool RemoveAttribute(const std::wstring& name);
  virtual bool RemoveAttribute(int index);
  // Follows child names separated by '/' or '\' (mixed freely), each step
  // taking the first child of that name. Null for an empty path, a missing
  // step or an empty segment. Moves the child cursors it passes.
  virtual XmlElement* GetChildByPath(const std::wstring& path);

  // The attribute of the element at path, as GetAttribute(name, default);
  // the default when the element is missing.
  virtual XmlAttribute GetAttribute(const std::wstring& path, const std::wstring& name, const RectF& def);
  virtual XmlAttribute GetAttribute(const std::wstring& path, const std::wstring& name, const Rect& def);
  virtual XmlAttribute GetAttribute(const std::wstring& path, const std::wstring& name, const Color& def);
  virtual XmlAttribute GetAttribute(const std::wstring& path, const std::wstring& name, const Vector2& def);
  virtual XmlAttribute GetAttribute(const std::wstring& path, const std::wstring& name, const Point& def);
  virtual XmlAttribute GetAttribute(const std::wstring& path, const std::wstring& name, bool def);
  virtual XmlAttribute GetAttribute(const std::wstring& path, const std::wstring& name, float def);
  virtual XmlAttribute GetAttribute(const std::wstring& path, const std::wstring& name, int def);
  virtual XmlAttribute GetAttribute(const std::wstring& path, const std::wstring& name, double def);
  virtual XmlAttribute GetAttribute(const std::wstring& path, const std::wstring& name,
                                    const std::wstring& def);
  // Deletes all attributes and children; name, text and the comment flag stay.
  virtual void Clear();
  // The element as XML text, each line ended by "\r\n", nested lines
  // indented by one more tab.
  virtual std::wstring Serialize(const std::wstring& indent) const;

  const std::wstring& GetName() const { return *_name; }
  void SetName(const std::wstring& name) { SetOwnName(std::wstring(name)); }
  const std::wstring& GetText() const { return _text ? *_text : EmptyText(); }
  void SetText(const std::wstring& text) { SetText(std::wstring(text)); }
  void SetText(std::wstring&& text);
  bool IsComment() const { return _isComment; }
  // Clears the element and makes it the comment "COMMENT" holding text.
  void SetComment(const std::wstring& text);
  void SetComment(std::wstring&& text);
  int GetAttributesCount() const { return static_cast<int>(_attributes.Size()); }
  int GetChildsCount() const { return static_cast<int>(ChildrenMade() ? _children.size() : _recordCount); }

  // Read-only lookups for const code; same rules as the virtual ones.
  const XmlAttribute* GetAttribute(const std::wstring& name) const;
  const XmlAttribute* GetAttribute(int index) const;
  const XmlElement* FindChild(const std::wstring& name) const;
  const XmlElement* GetChild(int index) const;

  // Appends the text form to out (what Serialize returns).
  void Serialize(const std::wstring& indent, std::wstring& out) const;

  // Unsigned values are written in decimal; a C string default in a path
  // lookup stays text (it would otherwise pick the bool form).
  XmlAttribute* AddAttribute(const std::wstring& name, unsigned value, int index = -1);
  XmlAttribute GetAttribute(const std::wstring& name, unsigned def) const;
  XmlAttribute GetAttribute(const std::wstring& path, const std::wstring& name, unsigned def);
  XmlAttribute GetAttribute(const std::wstring& path, const std::wstring& name, const wchar_t* def);

  // The names other parts of the system know these operations by.
  XmlElement* FindElement(const std::wstring& path) { return GetChildByPath(path); }
  XmlElement* GetElementByPath(const std::wstring& path) { return GetChildByPath(path); }
  XmlElement* FirstChild() { return GetFirstChild(); }
  XmlElement* NextChild() { return GetNextChild(); }
  bool RemoveFirstChildNamed(const std::wstring& name) { return RemoveChild(name); }
  XmlAttribute GetAttributeOr(const std::wstring& name, const std::wstring& def) const {
    return GetAttribute(name, def);
  }
  template <class T>
  XmlAttribute GetPathAttribute(const std::wstring& path, const std::wstring& name, const T& def) {
    return GetAttribute(path, name, def);
  }

  // Appends a new attribute or child without the copies the public adders
  // make; the reader uses these.
  XmlAttribute* AppendAttribute(std::wstring&& name, std::wstring&& value);
  void ReserveAttributes(int count) { _attributes.Reserve(static_cast<size_t>(count > 0 ? count : 0)); }
  // Appends the attributes of list in order, all made in one piece of
  // memory; they are moved out of list.
  void AdoptAttributes(std::vector<XmlAttribute>& list);
  XmlElement* AppendChild(std::wstring&& name);
  // Appends a new comment holding text.
  XmlElement* AppendComment(std::wstring&& text);

 private:
  template <class Char>
  friend class XmlScanner;

  struct Named {};  // selects the constructor that takes the name over
  XmlElement(Named, std::wstring&& name) { SetOwnName(std::move(name)); }

  static const std::wstring& EmptyText();
  // Gives the element a name of its own (renaming one it has in place).
  void SetOwnName(std::wstring&& name);
  void ReleaseName();
  // The name and text of another element (copied, or taken out of it); a
  // name or text of this one's own keeps its place.
  void CopyName(const XmlElement& other);
  void TakeName(XmlElement& other);
  void TakeText(std::unique_ptr<std::wstring> text);

  // An element as the reader leaves it, in its reading's memory.
  struct Record {
    const std::wstring* name;  // interned; null: nameSize wide characters at nameChars
    const wchar_t* nameChars;
    const wchar_t* text;              // textSize wide characters; null: no text
    const unsigned char* attributes;  // a compact block (see Compact), or null
    const Record* children;
    uint32_t textSize;
    uint32_t attributeCount;
    uint32_t attributeBytes;
    uint32_t childCount;
    uint32_t nameSize : 31;
    uint32_t comment : 1;
  };

  // Makes the element what record says, holding tree for what stays in it.
  void TakeRecord(const Record& record, XmlTree* tree);
  // Appends the elements of records (count of them, in tree) to the
  // children; an element without children keeps them as records.
  void AdoptRecords(const Record* records, size_t count, XmlTree* tree);
  bool ChildrenMade() const { return _childState.load(std::memory_order_acquire) == kChildrenMade; }
  // The children, made from their records first.
  std::vector<std::unique_ptr<XmlElement>>& Children() const {
    if (!ChildrenMade()) MakeChildren();
    return _children;
  }
  void MakeChildren() const;
  // Appends elements made from count records to the made children.
  void AppendMade(const Record* records, size_t count, XmlTree* tree) const;
  void HoldTree(XmlTree* tree);
  void ReleaseTree();

  // An attribute as the reader leaves it: a name and where the value's
  // characters lie in the block (offsets in bytes from its start).
  struct Compact {
    const std::wstring* name;  // interned; null: wide characters at nameAt
    uint32_t valueAt;
    uint32_t valueSize;  // characters
    uint32_t nameAt;
    uint32_t nameSize : 31;
    uint32_t wide : 1;  // the value is wide characters, else ASCII bytes
  };

  // Deletes an attribute: one of a list's block is only destroyed (the
  // block goes with the list), any other is freed.
  struct AttributeOwner {
    bool inBlock = false;
    void operator()(XmlAttribute* attribute) const;
  };
  using AttributePtr = std::unique_ptr<XmlAttribute, AttributeOwner>;

  // The attributes in order. Those an element is read or copied with are
  // made in one block, which alone lists them while the list is unchanged;
  // the first change moves them into a list of owners, which also holds
  // every attribute added one by one.
  class AttributeList {
   public:
    AttributeList() = default;
    AttributeList(AttributeList&& other) noexcept;
    AttributeList& operator=(AttributeList&& other) noexcept;
    ~AttributeList() { Clear(); }

    size_t Size() const { return Made() ? _inBlock + _owners.size() : _compactCount; }
    // The attribute at i; makes the attributes of a compact block first.
    XmlAttribute* At(size_t i) const {
      if (!Made()) MakeAttributes();
      return i < _inBlock ? InBlock(i) : _owners[i - _inBlock].get();
    }
    // The name and value at i, without making attributes. A value is wide
    // characters or, when narrow is set, ASCII bytes.
    std::wstring_view NameAt(size_t i) const;
    struct Value {
      std::wstring_view wide;
      std::string_view narrow;
      bool isNarrow;
    };
    Value ValueAt(size_t i) const;
    // Appends count attributes, the i-th built by make(place, i) with
    // placement new; in one block when the list is still empty.
    template <class Make>
    void Append(size_t count, Make make);
    // A block for count attributes and chars characters after them, on an
    // empty list; NextPlace and Placed then build them in order.
    wchar_t* StartBlock(size_t count, size_t chars);
    void* NextPlace() const { return _block.get() + _inBlock * sizeof(XmlAttribute); }
    void Placed() { ++_inBlock; }
    // A compact block of its own for count records and bytes bytes of
    // characters after them, on an empty list. Offsets are 32 bits: a
    // larger block is refused as too large to make (std::bad_alloc).
    unsigned char* StartCompact(size_t count, size_t bytes);
    // The compact block of a record, on an empty list; it stays in the
    // reading's memory, which the element holds.
    void ShareCompact(const unsigned char* block, size_t count, size_t bytes);
    // A copy of other's attributes into this empty list.
    void CopyFrom(const AttributeList& other);
    void Insert(size_t i, AttributePtr attribute);
    void Erase(size_t i);
    void Clear();
    void Reserve(size_t count) { _owners.reserve(count); }

   private:
    // Whether the attributes exist as objects (always, but for a compact
    // block until one is asked for). Readers of a const element may ask at
    // once, so the making is guarded by an atomic state.
    enum : unsigned char { kMade, kCompact, kMaking };
    bool Made() const { return _state.load(std::memory_order_acquire) == kMade; }
    void MakeAttributes() const;
    const Compact& Record(size_t i) const { return reinterpret_cast<const Compact*>(_compact)[i]; }
    // The characters of a record's value.
    const unsigned char* ValueOf(const Compact& r) const { return _compact + r.valueAt; }
    void ReleaseCompact();
    XmlAttribute* InBlock(size_t i) const;
    // Hands the block's attributes to the list of owners; makes them first.
    void List();

    // The compact block; kept once the attributes are made (a reader may
    // still be reading it) until the list changes.
    unsigned char* _compact = nullptr;  // a piece of XmlArena, or shared
    mutable std::unique_ptr<unsigned char[]> _block;
    std::vector<AttributePtr> _owners;
    mutable uint32_t _inBlock = 0;  // leading attributes listed by the block alone
    uint32_t _compactCount = 0;
    uint32_t _compactBytes = 0;
    mutable std::atomic<unsigned char> _state{kMade};
    bool _shared = false;  // the compact block lies in a reading's memory
  };

  void CopyFrom(const XmlElement& other);

  // Kept small, with what freeing a read element looks at first: a large
  // document holds many of them. The name is interned, static or, when
  // _ownsName is set, the element's own; no text is an empty one.
  const std::wstring* _name;
  std::unique_ptr<std::wstring> _text;
  // Made from _records on first use; until then _records alone lists them.
  mutable std::vector<std::unique_ptr<XmlElement>> _children;
  AttributeList _attributes;
  XmlTree* _tree = nullptr;  // held while records or a shared block lie in it
  const Record* _records = nullptr;
  uint32_t _recordCount = 0;
  // Readers of a const element may ask for the children at once, so the
  // making is guarded as the attributes' is.
  enum : unsigned char { kChildrenMade, kChildrenRecords, kChildrenMaking };
  mutable std::atomic<unsigned char> _childState{kChildrenMade};
  unsigned _attributeCursor = 0;
  unsigned _childCursor = 0;
  bool _isComment = false;
  bool _ownsName = false;
};

}  // namespace LLF
