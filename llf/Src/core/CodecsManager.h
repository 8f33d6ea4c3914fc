#pragma once
// The registry base of the resource managers: an ordered list of codecs and
// a map from wide-string id to {resource, reference count}. Loading the same
// id twice shares one resource; each free drops one reference and the last
// one deletes it.
//
// Each manager has its own lock: the asset loader fills managers from its
// thread while the main thread looks up, loads and frees. Codecs decode
// outside the lock, so a long decode never stalls the other thread; when two
// threads load the same id at once, the first to finish keeps its copy and
// the other shares it.
#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/ICodec.h"
#include "core/Log.h"
#include "core/Mutex.h"
#include "core/Object.h"
#include "core/Registry.h"
#include "core/StringUtils.h"
#include "io/File.h"

namespace LLF {

template <class T>
class CodecsManager : public virtual Object {
 public:
  // The words a manager's log lines are made of.
  struct Texts {
    const char* codecKind;     // type name a usable codec answers to
    const wchar_t* notCodec;   // warning for a codec of another kind
    const wchar_t* loaded;     // "... loaded \""
    const wchar_t* noCodec;    // error when no codec produced a resource, up to the file name
    const wchar_t* noCodecId;  // between file name and key in that error
    const wchar_t* resource;   // "Image \"" before an id in the free lines
    const wchar_t* leaked;     // cleanup warning
    const wchar_t* dumpTitle;  // first line of the manager's dump
    const wchar_t* dumpCount;  // "... loaded: "
    const wchar_t* dumpList;   // "... list(only ID's): "
    // Managers that keep several kinds in one map: the error when an id is
    // held by a resource of another kind, up to the file name (the key
    // follows after noCodecId).
    const wchar_t* wrongKind = nullptr;
    // Managers that save: the error when the chosen codec cannot save, up to
    // the file name; the text between the resource's dump and the codec's in
    // it; "... saved \""; the error when no codec takes the file name, up to
    // the file name.
    const wchar_t* saveFailed = nullptr;
    const wchar_t* saveFailedCodec = nullptr;
    const wchar_t* saved = nullptr;
    const wchar_t* saveNoCodec = nullptr;
  };

  LLF_KIND_OF(CodecsManager, Object)
  // Frees the list and the map, not the resources (the application has
  // freed them by then).
  ~CodecsManager() override = default;
  std::wstring Dump() const override {
    return L"CodecsManager base class. Registered codecs count: " + ToString(GetCodecsCount()) + L"\r\n";
  }

  // Appends a codec not yet listed; a second registration logs a warning
  // with the codec's dump and gives false, and so does null (without a
  // dump).
  virtual bool RegisterCodec(ICodec* codec) { return _codecs.Register(codec); }
  virtual bool UnregisterCodec(ICodec* codec) { return _codecs.Unregister(codec); }

  // Null for an empty id or an id not loaded.
  virtual T* FindResource(const std::wstring& id) const {
    if (id.empty()) return nullptr;
    MutexLock lock(_lock);
    const auto it = _resources.find(id);
    return it == _resources.end() ? nullptr : it->second.object;
  }

  // The first id (in id order) holding the object; empty when none.
  virtual std::wstring FindResourceId(const T* object) const {
    if (!object) return std::wstring();
    MutexLock lock(_lock);
    const auto it = FindEntry(object);
    return it == _resources.end() ? std::wstring() : it->first;
  }

  // The registered codecs in registration order; null past the end.
  unsigned GetCodecsCount() const { return _codecs.GetCount(); }
  ICodec* GetCodec(unsigned index) const { return _codecs.Get(index); }

 protected:
  struct Entry {
    T* object = nullptr;
    uint32_t references = 1;
  };

  explicit CodecsManager(const Texts& texts) : _texts(texts) {}

  std::vector<ICodec*> Codecs() const { return _codecs.GetAll(); }

  // Warns about a listed codec that is not of this manager's kind.
  void WarnNotCodec(ICodec* codec) const { Log::GetInstance().Write(_texts.notCodec + codec->Dump()); }

  // The loading steps shared by the managers. Without doNotKeep, a loaded
  // key is shared (one more reference) and nothing is read. Otherwise the
  // codecs of this kind whose extension list holds the file name are asked
  // in order; load(codec) gives a new resource or null. Unless doNotUpload,
  // upload(resource) hands it to the render system; if that throws, the
  // resource is deleted and the exception goes on to the caller. With
  // doNotKeep the caller gets a private copy that the map never holds.
  template <class LoadFn, class UploadFn>
  T* LoadResource(const std::wstring& fileName, const std::wstring& id, bool doNotKeep, bool doNotUpload,
                  LoadFn load, UploadFn upload) {
    return LoadResource(_texts, nullptr, fileName, id, doNotKeep, doNotUpload, load, upload);
  }
  // The same with the log texts given, for a map holding several kinds:
  // when kind is not null, an id held by a resource whose type test does not
  // answer it is neither shared nor replaced; texts.wrongKind is logged and
  // the result is null.
  template <class LoadFn, class UploadFn>
  T* LoadResource(const Texts& texts, const char* kind, const std::wstring& fileName, const std::wstring& id,
                  bool doNotKeep, bool doNotUpload, LoadFn load, UploadFn upload) {
    const std::wstring key = id.empty() ? fileName : id;
    if (!doNotKeep) {
      bool otherKind = false;
      {
        MutexLock lock(_lock);
        const auto it = _resources.find(key);
        if (it != _resources.end()) {
          otherKind = kind && !it->second.object->IsKindOf(kind);
          if (!otherKind) {
            ++it->second.references;
            return it->second.object;
          }
        }
      }
      if (otherKind) return RefuseOtherKind(texts, fileName, key);
    }
    for (ICodec* codec : Codecs()) {
      if (!codec->IsKindOf(_texts.codecKind)) {
        WarnNotCodec(codec);
        continue;
      }
      if (!codec->IsExtensionSupported(fileName)) continue;
      T* object = load(codec);
      if (!object) continue;
      if (!doNotUpload) {
        try {
          upload(object);
        } catch (...) {
          delete object;
          throw;
        }
      }
      if (!doNotKeep) {
        object = Keep(key, object, kind);
        if (!object) return RefuseOtherKind(texts, fileName, key);
      }
      Log::GetInstance().Write(texts.loaded + fileName + L"\"");
      return object;
    }
    Log::GetInstance().Write(texts.noCodec + fileName + texts.noCodecId + key);
    return nullptr;
  }

  // Opens the named file and hands it to load (the stream variant of a
  // manager's load); when it cannot be opened, logs failure and gives null.
  template <class LoadFn>
  static T* LoadNamedFile(const std::wstring& fileName, const std::wstring& failure, LoadFn load) {
    File file;
    if (!file.OpenExisting(fileName, FILEOPS_READ)) {
      Log::GetInstance().Write(failure);
      return nullptr;
    }
    T* object = load(file);
    file.Close();
    return object;
  }

  // The saving steps shared by the managers: the first codec of this kind
  // whose extension list holds the file name is asked; save(codec) gives
  // its result. dump describes the resource in the failure lines.
  template <class SaveFn>
  bool SaveResource(const std::wstring& fileName, const std::wstring& dump, SaveFn save) {
    Log& log = Log::GetInstance();
    for (ICodec* codec : Codecs()) {
      if (!codec->IsKindOf(_texts.codecKind)) {
        WarnNotCodec(codec);
        continue;
      }
      if (!codec->IsExtensionSupported(fileName)) continue;
      if (!save(codec)) {
        log.Write(_texts.saveFailed + fileName + L"\r\n" + dump + _texts.saveFailedCodec + codec->Dump());
        return false;
      }
      log.Write(_texts.saved + fileName + L"\"");
      return true;
    }
    log.Write(_texts.saveNoCodec + fileName + L"\r\n" + dump);
    return false;
  }

  // Drops one reference; the last one deletes the resource. False for null
  // and for an object the map does not hold.
  bool ReleaseResource(T* object) { return ReleaseResource(object, _texts); }
  bool ReleaseResource(T* object, const Texts& texts) {
    if (!object) return false;
    std::wstring id;
    bool last = false;
    {
      MutexLock lock(_lock);
      const auto it = FindEntry(object);
      if (it == _resources.end()) return false;
      id = it->first;
      last = --it->second.references == 0;
      if (last) _resources.erase(it);
    }
    if (!last) {
      Log::GetInstance().Write(texts.resource + id + L"\" reference removed.");
      return true;
    }
    Log::GetInstance().Write(texts.resource + id + L"\" deleted.");
    delete object;
    return true;
  }

  // Deletes every resource, whatever its count; unless quiet, a non-empty
  // map is first reported with the manager's dump.
  void CleanupResources(bool quiet) {
    std::map<std::wstring, Entry> resources;
    {
      MutexLock lock(_lock);
      if (!_resources.empty() && !quiet) {
        Log::GetInstance().Write(_texts.leaked);
        Log::GetInstance().Write(Dump());
      }
      resources.swap(_resources);
    }
    for (auto& [id, entry] : resources) delete entry.object;
  }

  std::wstring DumpResources() const {
    MutexLock lock(_lock);
    std::wstring text = std::wstring(_texts.dumpTitle) + L"\r\n" + _texts.dumpCount +
                        ToString(unsigned(_resources.size())) + L"\r\nCodecs registered: " +
                        ToString(GetCodecsCount()) + L"\r\n" + _texts.dumpList + L"\r\n";
    for (const auto& [id, entry] : _resources) {
      text += id + L". References count: " + ToString(unsigned(entry.references)) + L"\r\n";
    }
    return text + L"--- End of list.\r\n";
  }

 private:
  using Map = std::map<std::wstring, Entry>;

  typename Map::const_iterator FindEntry(const T* object) const {
    return std::find_if(_resources.begin(), _resources.end(),
                        [object](const auto& item) { return item.second.object == object; });
  }
  typename Map::iterator FindEntry(const T* object) {
    return std::find_if(_resources.begin(), _resources.end(),
                        [object](const auto& item) { return item.second.object == object; });
  }

  // Enters a freshly loaded resource, or, when another thread entered the
  // key meanwhile, shares that one and deletes the fresh copy; null (and the
  // fresh copy deleted) when that one is not of the kind given.
  T* Keep(const std::wstring& key, T* object, const char* kind) {
    T* kept = nullptr;
    {
      MutexLock lock(_lock);
      auto [it, inserted] = _resources.try_emplace(key, Entry{object, 1});
      if (inserted) return object;
      if (!kind || it->second.object->IsKindOf(kind)) {
        ++it->second.references;
        kept = it->second.object;
      }
    }
    delete object;
    return kept;
  }

  T* RefuseOtherKind(const Texts& texts, const std::wstring& fileName, const std::wstring& key) {
    Log::GetInstance().Write(texts.wrongKind + fileName + texts.noCodecId + key);
    return nullptr;
  }

  const Texts& _texts;
  Registry<ICodec> _codecs{{L"Warning: trying to register the same codec twice.\r\n",
                            L"Warning: trying to unregister unregistered codec.\r\n"}};
  // Guards the map; the codec list has its own.
  mutable Mutex _lock;
  Map _resources;
};

}  // namespace LLF
