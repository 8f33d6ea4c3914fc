#include "xml/XmlElement.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <thread>
#include <utility>

#include "core/StringUtils.h"
#include "xml/XmlText.h"

namespace LLF {

namespace {

// The attribute and child lists share their handling: owned entries,
// range-checked indexes and a cursor for first/next walks. These give both
// lists one form.
using ChildList = std::vector<std::unique_ptr<XmlElement>>;

size_t Count(const ChildList& list) {
  return list.size();
}
XmlElement* At(const ChildList& list, size_t i) {
  return list[i].get();
}
void Insert(ChildList& list, size_t i, std::unique_ptr<XmlElement> entry) {
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(i), std::move(entry));
}
void Erase(ChildList& list, size_t i) {
  list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
}

template <class L>
size_t Count(const L& list) {
  return list.Size();
}
template <class L>
auto At(const L& list, size_t i) {
  return list.At(i);
}
template <class L, class P>
void Insert(L& list, size_t i, P entry) {
  list.Insert(i, std::move(entry));
}
template <class L>
void Erase(L& list, size_t i) {
  list.Erase(i);
}

template <class L>
bool InRange(const L& list, int index) {
  return index >= 0 && static_cast<size_t>(index) < Count(list);
}

template <class L>
auto EntryAt(const L& list, int index) {
  return InRange(list, index) ? At(list, static_cast<size_t>(index)) : nullptr;
}

// Inserts before index when it is in range, else appends.
template <class L, class P>
auto InsertAt(L& list, P entry, int index) {
  auto* raw = entry.get();
  Insert(list, InRange(list, index) ? static_cast<size_t>(index) : Count(list), std::move(entry));
  return raw;
}

template <class L>
auto First(const L& list, unsigned& cursor) {
  cursor = 0;
  return EntryAt(list, 0);
}

// The next entry, or null at the end with the cursor left on the last one.
template <class L>
auto Next(const L& list, unsigned& cursor) {
  if (static_cast<size_t>(cursor) + 1 >= Count(list)) return EntryAt(list, -1);
  return At(list, ++cursor);
}

template <class L>
bool EraseAt(L& list, int index) {
  if (!InRange(list, index)) return false;
  Erase(list, static_cast<size_t>(index));
  return true;
}

// The name of an entry, without making an attribute copy its shared name.
std::wstring_view NameOf(const XmlAttribute& attribute) {
  return attribute.GetNameView();
}
std::wstring_view NameOf(const XmlElement& element) {
  return element.GetName();
}

// Deletes the first entry with that name; true whether or not there was one.
template <class L>
bool EraseFirstNamed(L& list, const std::wstring& name) {
  for (size_t i = 0; i < Count(list); ++i) {
    if (NameOf(*At(list, i)) == name) {
      Erase(list, i);
      break;
    }
  }
  return true;
}

template <class L>
auto FindNamed(const L& list, const std::wstring& name) {
  for (size_t i = 0; i < Count(list); ++i) {
    if (NameOf(*At(list, i)) == name) return EntryAt(list, static_cast<int>(i));
  }
  return EntryAt(list, -1);
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

// Freeing a large tree hands the C library's allocator a great many small
// blocks. glibc keeps them unmerged until a later request for a large block
// merges them all in one pass, long after they have left the cache; after a
// big document that pass costs more than reading the document did. Asking
// for a large block after every few thousand freed blocks has them merged
// while they are still in cache (on a 10 MB document this halves the time
// to free it). With any other allocator it costs one small allocation now
// and then.
void NoteFreedBlocks(size_t count) {
  constexpr size_t kMergeEvery = 2048;
  constexpr size_t kLargeRequest = 2048;  // above glibc's small-block sizes
  thread_local size_t pending = 0;
  pending += count;
  if (pending < kMergeEvery) return;
  pending = 0;
  void* volatile block = std::malloc(kLargeRequest);  // volatile: the pair must not be optimised away
  std::free(block);
}

}  // namespace

namespace {

// Names shared by every element that has them; made on first use, so that
// an element made before them still finds them.
const std::wstring* NoName() {
  static const std::wstring name = L"NoName";
  return &name;
}
const std::wstring* CommentName() {
  static const std::wstring name = L"COMMENT";
  return &name;
}

}  // namespace

XmlElement::XmlElement() : _name(NoName()) {}

XmlElement::XmlElement(const std::wstring& name, const std::wstring& text) : _name(NoName()) {
  SetOwnName(std::wstring(name));
  if (!text.empty()) _text = std::make_unique<std::wstring>(text);
}

XmlElement::XmlElement(const XmlElement& other) : Object(other), _name(NoName()) {
  CopyFrom(other);
}

const std::wstring& XmlElement::EmptyText() {
  static const std::wstring empty;
  return empty;
}

void XmlElement::SetOwnName(std::wstring&& name) {
  if (_ownsName) {
    *const_cast<std::wstring*>(_name) = std::move(name);
    return;
  }
  _name = new std::wstring(std::move(name));
  _ownsName = true;
}

void XmlElement::ReleaseName() {
  if (_ownsName) delete _name;
  _ownsName = false;
  _name = NoName();
}

void XmlElement::CopyName(const XmlElement& other) {
  // A name of its own keeps its place, so that a reference to it follows.
  if (other._ownsName || _ownsName) {
    SetOwnName(std::wstring(*other._name));
  } else {
    _name = other._name;  // interned or static: shared
  }
}

void XmlElement::TakeName(XmlElement& other) {
  if (_ownsName) {
    CopyName(other);
    other.ReleaseName();
    return;
  }
  _name = std::exchange(other._name, NoName());
  _ownsName = std::exchange(other._ownsName, false);
}

void XmlElement::TakeText(std::unique_ptr<std::wstring> text) {
  if (!_text) {
    _text = std::move(text);
  } else {
    *_text = text ? std::move(*text) : std::wstring();
  }
}

void XmlElement::SetText(std::wstring&& text) {
  // Kept once made, so that a reference from GetText follows the element.
  if (_text) {
    *_text = std::move(text);
  } else if (!text.empty()) {
    _text = std::make_unique<std::wstring>(std::move(text));
  }
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
      _name(std::exchange(other._name, NoName())),
      _text(std::move(other._text)),
      _children(std::move(other._children)),
      _attributes(std::move(other._attributes)),
      _tree(std::exchange(other._tree, nullptr)),
      _records(std::exchange(other._records, nullptr)),
      _recordCount(std::exchange(other._recordCount, 0)),
      _childState(other._childState.exchange(kChildrenMade)),
      _isComment(other._isComment),
      _ownsName(std::exchange(other._ownsName, false)) {}

XmlElement& XmlElement::operator=(XmlElement&& other) noexcept {
  if (this != &other) {
    // Taken out first: other may live inside this tree, and replacing the
    // children below would free it.
    XmlElement taken(std::move(other));
    TakeName(taken);
    TakeText(std::move(taken._text));
    _attributes = std::move(taken._attributes);
    _children = std::move(taken._children);
    // The old attributes may have lain in the old reading: it goes last.
    XmlTree* const old = std::exchange(_tree, std::exchange(taken._tree, nullptr));
    _records = std::exchange(taken._records, nullptr);
    _recordCount = std::exchange(taken._recordCount, 0);
    _childState.store(taken._childState.exchange(kChildrenMade));
    if (old) old->Release();
    _attributeCursor = 0;
    _childCursor = 0;
    _isComment = taken._isComment;
  }
  return *this;
}

void XmlElement::AttributeOwner::operator()(XmlAttribute* attribute) const {
  if (inBlock) {
    attribute->XmlAttribute::~XmlAttribute();
  } else {
    delete attribute;
  }
}

XmlElement::AttributeList::AttributeList(AttributeList&& other) noexcept
    : _compact(std::exchange(other._compact, nullptr)),
      _block(std::move(other._block)),
      _owners(std::move(other._owners)),
      _inBlock(std::exchange(other._inBlock, 0)),
      _compactCount(std::exchange(other._compactCount, 0)),
      _compactBytes(std::exchange(other._compactBytes, 0)),
      _state(other._state.exchange(kMade)),
      _shared(std::exchange(other._shared, false)) {}

XmlElement::AttributeList& XmlElement::AttributeList::operator=(AttributeList&& other) noexcept {
  if (this != &other) {
    Clear();
    _block = std::move(other._block);
    _inBlock = std::exchange(other._inBlock, 0);
    _owners = std::move(other._owners);
    _compact = std::exchange(other._compact, nullptr);
    _compactCount = std::exchange(other._compactCount, 0);
    _compactBytes = std::exchange(other._compactBytes, 0);
    _state.store(other._state.exchange(kMade));
    _shared = std::exchange(other._shared, false);
  }
  return *this;
}

XmlAttribute* XmlElement::AttributeList::InBlock(size_t i) const {
  return std::launder(reinterpret_cast<XmlAttribute*>(_block.get() + i * sizeof(XmlAttribute)));
}

std::wstring_view XmlElement::AttributeList::NameAt(size_t i) const {
  if (Made()) return At(i)->GetNameView();
  const Compact& r = Record(i);
  if (r.name) return *r.name;
  return std::wstring_view(reinterpret_cast<const wchar_t*>(_compact + r.nameAt), r.nameSize);
}

XmlElement::AttributeList::Value XmlElement::AttributeList::ValueAt(size_t i) const {
  if (Made()) return {At(i)->GetValueView(), {}, false};
  const Compact& r = Record(i);
  const unsigned char* at = ValueOf(r);
  if (r.wide) return {std::wstring_view(reinterpret_cast<const wchar_t*>(at), r.valueSize), {}, false};
  return {{}, std::string_view(reinterpret_cast<const char*>(at), r.valueSize), true};
}

void XmlElement::AttributeList::MakeAttributes() const {
  unsigned char expected = kCompact;
  if (!_state.compare_exchange_strong(expected, kMaking, std::memory_order_acquire)) {
    while (_state.load(std::memory_order_acquire) != kMade) std::this_thread::yield();
    return;
  }
  try {
    // One block: the attributes, then every value as wide characters, which
    // the attributes view.
    size_t chars = 0;
    for (size_t i = 0; i < _compactCount; ++i) chars += Record(i).valueSize;
    const size_t head = _compactCount * sizeof(XmlAttribute);
    std::unique_ptr<unsigned char[]> block(new unsigned char[head + chars * sizeof(wchar_t)]);
    auto* place = reinterpret_cast<wchar_t*>(block.get() + head);
    for (size_t i = 0; i < _compactCount; ++i) {
      const Compact& r = Record(i);
      const unsigned char* value = ValueOf(r);
      if (r.wide) {
        std::copy_n(reinterpret_cast<const wchar_t*>(value), r.valueSize, place);
      } else {
        std::copy_n(value, r.valueSize, place);
      }
      auto* attribute = new (block.get() + i * sizeof(XmlAttribute)) XmlAttribute(r.name, place, r.valueSize);
      try {
        if (!r.name) attribute->SetName(std::wstring(NameAt(i)));
      } catch (...) {
        for (size_t k = 0; k <= i; ++k) {
          reinterpret_cast<XmlAttribute*>(block.get() + k * sizeof(XmlAttribute))
              ->XmlAttribute::~XmlAttribute();
        }
        throw;
      }
      place += r.valueSize;
    }
    _block = std::move(block);
    _inBlock = _compactCount;
  } catch (...) {
    _state.store(kCompact, std::memory_order_release);
    throw;
  }
  _state.store(kMade, std::memory_order_release);
}

unsigned char* XmlElement::AttributeList::StartCompact(size_t count, size_t bytes) {
  const size_t head = count * sizeof(Compact);
  if (head + bytes > UINT32_MAX || bytes > UINT32_MAX) throw std::bad_alloc();
  _compact = static_cast<unsigned char*>(XmlArena::AllocateOwn(head + bytes));
  _compactCount = static_cast<uint32_t>(count);
  _compactBytes = static_cast<uint32_t>(head + bytes);
  _shared = false;
  _state.store(kCompact, std::memory_order_relaxed);
  return _compact;
}

void XmlElement::AttributeList::ShareCompact(const unsigned char* block, size_t count, size_t bytes) {
  // Never written through: a change lists the attributes first.
  _compact = const_cast<unsigned char*>(block);
  _compactCount = static_cast<uint32_t>(count);
  _compactBytes = static_cast<uint32_t>(bytes);
  _shared = true;
  _state.store(kCompact, std::memory_order_relaxed);
}

void XmlElement::AttributeList::CopyFrom(const AttributeList& other) {
  if (!other.Made()) {
    // The compact block holds no pointers of its own: a byte copy is a copy.
    std::memcpy(
        StartCompact(other._compactCount, other._compactBytes - other._compactCount * sizeof(Compact)),
        other._compact, other._compactBytes);
    return;
  }
  // The copies' values share one block, as the reader's do.
  const size_t count = other.Size();
  if (count == 0) return;
  size_t chars = 0;
  for (size_t i = 0; i < count; ++i) chars += other.At(i)->GetValueView().size();
  wchar_t* place = StartBlock(count, chars);
  for (size_t i = 0; i < count; ++i) {
    const XmlAttribute& from = *other.At(i);
    const std::wstring_view value = from.GetValueView();
    std::copy(value.begin(), value.end(), place);
    new (NextPlace()) XmlAttribute(from, place, value.size());
    Placed();
    place += value.size();
  }
}

template <class Make>
void XmlElement::AttributeList::Append(size_t count, Make make) {
  if (count == 0) return;
  if (!Made()) MakeAttributes();
  if (!_block && Size() == 0) {
    _block.reset(new unsigned char[count * sizeof(XmlAttribute)]);
    for (; _inBlock < count; ++_inBlock) make(_block.get() + _inBlock * sizeof(XmlAttribute), _inBlock);
    return;
  }
  // The block is taken: these get memory of their own.
  List();
  _owners.reserve(_owners.size() + count);
  for (size_t i = 0; i < count; ++i) {
    void* place = ::operator new(sizeof(XmlAttribute));
    try {
      _owners.emplace_back(make(place, i));
    } catch (...) {
      ::operator delete(place);
      throw;
    }
  }
}

wchar_t* XmlElement::AttributeList::StartBlock(size_t count, size_t chars) {
  const size_t head = count * sizeof(XmlAttribute);
  _block.reset(new unsigned char[head + chars * sizeof(wchar_t)]);
  return reinterpret_cast<wchar_t*>(_block.get() + head);
}

void XmlElement::AttributeList::List() {
  if (!Made()) MakeAttributes();
  // Once the list changes, nothing reads the compact block any more.
  ReleaseCompact();
  if (_inBlock == 0) return;
  std::vector<AttributePtr> owners;
  owners.reserve(_inBlock + _owners.size() + 1);
  for (size_t i = 0; i < _inBlock; ++i) owners.emplace_back(InBlock(i), AttributeOwner{true});
  for (auto& owner : _owners) owners.push_back(std::move(owner));
  _owners = std::move(owners);
  _inBlock = 0;
}

void XmlElement::AttributeList::Insert(size_t i, AttributePtr attribute) {
  List();
  _owners.insert(_owners.begin() + static_cast<std::ptrdiff_t>(i), std::move(attribute));
}

void XmlElement::AttributeList::Erase(size_t i) {
  List();
  _owners.erase(_owners.begin() + static_cast<std::ptrdiff_t>(i));
}

void XmlElement::AttributeList::Clear() {
  _owners.clear();
  for (size_t i = 0; i < _inBlock; ++i) InBlock(i)->XmlAttribute::~XmlAttribute();
  _inBlock = 0;
  _block.reset();
  ReleaseCompact();
  _state.store(kMade, std::memory_order_relaxed);
}

void XmlElement::AttributeList::ReleaseCompact() {
  unsigned char* const block = std::exchange(_compact, nullptr);
  if (!_shared) XmlArena::Release(block);
  _shared = false;
  _compactCount = 0;
  _compactBytes = 0;
}

void XmlElement::CopyFrom(const XmlElement& other) {
  CopyName(other);
  TakeText(other._text ? std::make_unique<std::wstring>(*other._text) : nullptr);
  // A copied comment stays a comment; otherwise it would be written back as
  // an element named COMMENT.
  _isComment = other._isComment;
  _attributes.CopyFrom(other._attributes);
  if (other._childState.load(std::memory_order_acquire) == kChildrenRecords) {
    // Records never change: the copy reads the same ones.
    _records = other._records;
    _recordCount = other._recordCount;
    _childState.store(kChildrenRecords, std::memory_order_relaxed);
    HoldTree(other._tree);
    return;
  }
  const auto& children = other.Children();
  _children.reserve(children.size());
  for (const auto& c : children) _children.push_back(std::make_unique<XmlElement>(*c));
}

void XmlElement::TakeRecord(const Record& record, XmlTree* tree) {
  if (record.comment) {
    _isComment = true;
    _name = CommentName();
  } else if (record.name) {
    _name = record.name;
  } else {
    SetOwnName(std::wstring(record.nameChars, record.nameSize));
  }
  if (record.text) _text = std::make_unique<std::wstring>(record.text, record.textSize);
  if (record.attributeCount) {
    _attributes.ShareCompact(record.attributes, record.attributeCount, record.attributeBytes);
  }
  if (record.childCount) {
    _records = record.children;
    _recordCount = record.childCount;
    _childState.store(kChildrenRecords, std::memory_order_relaxed);
  }
  if (record.attributeCount || record.childCount) HoldTree(tree);
}

void XmlElement::AdoptRecords(const Record* records, size_t count, XmlTree* tree) {
  if (count == 0) return;
  if (ChildrenMade() && _children.empty() && (!_tree || _tree == tree)) {
    _records = records;
    _recordCount = static_cast<uint32_t>(count);
    _childState.store(kChildrenRecords, std::memory_order_relaxed);
    HoldTree(tree);
    return;
  }
  Children();
  AppendMade(records, count, tree);
}

void XmlElement::AppendMade(const Record* records, size_t count, XmlTree* tree) const {
  _children.reserve(_children.size() + count);
  XmlArena arena;  // siblings share chunks
  for (size_t i = 0; i < count; ++i) {
    std::unique_ptr<XmlElement> child(new (arena) XmlElement);
    child->TakeRecord(records[i], tree);
    _children.push_back(std::move(child));
  }
}

void XmlElement::MakeChildren() const {
  unsigned char expected = kChildrenRecords;
  if (!_childState.compare_exchange_strong(expected, kChildrenMaking, std::memory_order_acquire)) {
    while (_childState.load(std::memory_order_acquire) != kChildrenMade) std::this_thread::yield();
    return;
  }
  try {
    AppendMade(_records, _recordCount, _tree);
  } catch (...) {
    _children.clear();
    _childState.store(kChildrenRecords, std::memory_order_release);
    throw;
  }
  _childState.store(kChildrenMade, std::memory_order_release);
}

void XmlElement::HoldTree(XmlTree* tree) {
  if (!tree || _tree == tree) return;
  tree->Hold();
  _tree = tree;
}

void XmlElement::ReleaseTree() {
  if (_tree) std::exchange(_tree, nullptr)->Release();
}

XmlElement::~XmlElement() {
  XmlElement::Clear();
  if (_ownsName) delete _name;
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
  for (size_t i = 0; i < _attributes.Size(); ++i) {
    if (_attributes.NameAt(i) != name) continue;
    const AttributeList::Value value = _attributes.ValueAt(i);
    return XmlAttribute(name, value.isNarrow ? std::wstring(value.narrow.begin(), value.narrow.end())
                                             : std::wstring(value.wide));
  }
  return XmlAttribute(name, def);
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
  return InsertAt(_attributes, AttributePtr(new XmlAttribute(name, value)), index);
}

XmlAttribute* XmlElement::AddAttribute(const XmlAttribute& attribute, int /*index*/) {
  return InsertAt(_attributes, AttributePtr(new XmlAttribute(attribute.GetName(), attribute.GetValue())), -1);
}

XmlAttribute* XmlElement::AddAttribute(const XmlAttribute* attribute, int index) {
  return attribute ? AddAttribute(*attribute, index) : nullptr;
}

XmlAttribute* XmlElement::AppendAttribute(std::wstring&& name, std::wstring&& value) {
  return InsertAt(_attributes, AttributePtr(new XmlAttribute(std::move(name), std::move(value))), -1);
}

void XmlElement::AdoptAttributes(std::vector<XmlAttribute>& list) {
  _attributes.Append(list.size(),
                     [&](void* place, size_t i) { return new (place) XmlAttribute(std::move(list[i])); });
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
  return FindNamed(Children(), name);
}

XmlElement* XmlElement::GetChild(int index) {
  return EntryAt(Children(), index);
}

const XmlElement* XmlElement::GetChild(int index) const {
  return EntryAt(Children(), index);
}

XmlElement* XmlElement::AddChild(const std::wstring& name, int /*index*/) {
  return InsertAt(Children(), std::make_unique<XmlElement>(name), -1);
}

XmlElement* XmlElement::AddChild(const XmlElement& element, int /*index*/) {
  return AddChild(&element, -1);
}

XmlElement* XmlElement::AddChild(const XmlElement* element, int index) {
  return element ? InsertAt(Children(), std::make_unique<XmlElement>(*element), index) : nullptr;
}

XmlElement* XmlElement::AppendChild(std::wstring&& name) {
  // Room for a few children at once: most parents have several.
  auto& children = Children();
  if (children.capacity() == 0) children.reserve(4);
  // Built with its name: the default one would be made only to be dropped.
  std::unique_ptr<XmlElement> child(new XmlElement(Named{}, std::move(name)));
  children.push_back(std::move(child));
  return children.back().get();
}

XmlElement* XmlElement::AppendComment(std::wstring&& text) {
  XmlElement* comment = AppendChild(L"COMMENT");
  comment->SetComment(std::move(text));
  return comment;
}

XmlElement* XmlElement::GetFirstChild() {
  return First(Children(), _childCursor);
}

XmlElement* XmlElement::GetNextChild() {
  return Next(Children(), _childCursor);
}

bool XmlElement::RemoveChild(const std::wstring& name) {
  return EraseFirstNamed(Children(), name);
}

bool XmlElement::RemoveChild(int index) {
  return EraseAt(Children(), index);
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
        if (c->GetName().compare(0, std::wstring::npos, path, pos, end - pos) == 0) {
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
  const XmlArena::ReleaseRun run;  // a tree's pieces go back a chunk at a time
  const size_t freed = 2 * _attributes.Size() + _children.size();  // names, values, children
  _attributes.Clear();
  // A read tree is rarely still in cache when it goes: the next children
  // are fetched while one is freed.
  constexpr size_t kAhead = 6;
  const auto fetch = [](const XmlElement* element) {
    const char* at = reinterpret_cast<const char*>(element);
    for (size_t line = 0; line < sizeof(XmlElement); line += 64) __builtin_prefetch(at + line);
  };
  const size_t count = _children.size();
  for (size_t i = 0; i < count && i < kAhead; ++i) fetch(_children[i].get());
  for (size_t i = 0; i < count; ++i) {
    if (i + kAhead < count) fetch(_children[i + kAhead].get());
    _children[i].reset();
  }
  _children.clear();
  _records = nullptr;
  _recordCount = 0;
  _childState.store(kChildrenMade, std::memory_order_relaxed);
  ReleaseTree();  // after the attributes, which may lie in it
  if (freed) NoteFreedBlocks(freed);
  _attributeCursor = 0;
  _childCursor = 0;
}

void XmlElement::SetComment(const std::wstring& text) {
  SetComment(std::wstring(text));
}

void XmlElement::SetComment(std::wstring&& text) {
  Clear();
  ReleaseName();
  _name = CommentName();
  SetText(std::move(text));
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
    AppendCommentText(out, GetText());
    out += L"-->\r\n";
    return;
  }
  out += L'<';
  out += GetName();
  for (size_t i = 0; i < _attributes.Size(); ++i) {
    out += L' ';
    out += _attributes.NameAt(i);
    out += L"=\"";
    const AttributeList::Value value = _attributes.ValueAt(i);
    if (value.isNarrow) {
      AppendEscapedText(out, value.narrow);
    } else {
      AppendEscapedText(out, value.wide);
    }
    out += L'"';
  }
  const std::wstring& text = GetText();
  const auto& children = Children();
  if (text.empty() && children.empty()) {
    out += L" />\r\n";
    return;
  }
  out += L" >";
  AppendEscapedElementText(out, text);
  if (!children.empty()) {
    // Children of an element with text follow the text directly: a line
    // break there would become part of the text when read back, and the
    // text would grow by one with every save.
    if (text.empty()) out += L"\r\n";
    const std::wstring childIndent = text.empty() ? indent + L'\t' : std::wstring();
    for (const auto& c : children) c->Serialize(childIndent, out);
    out += indent;
  }
  out += L"</";
  out += GetName();
  out += L">\r\n";
}

}  // namespace LLF
