#include "shell/AssetsLoader.h"

#include <exception>
#include <map>

#include "core/Exception.h"
#include "core/Log.h"
#include "core/StringUtils.h"
#include "font/FontsManager.h"
#include "image/ImagesManager.h"
#include "math/Point.h"
#include "model/XmlDocEx.h"
#include "sound/SoundSystem.h"

namespace HLF {

namespace {

const wchar_t* const kDefaultCharset = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.!";

// The living loaders by serial number, so the main thread's delivery can
// tell a loader a receiver destroyed from a new one at the same address.
struct Registry {
  LLF::Mutex lock;
  std::map<uint64_t, AssetsLoader*> loaders;
  uint64_t nextSerial = 1;
};

Registry& Loaders() {
  static Registry registry;
  return registry;
}

std::wstring Text(const LLF::XmlElement& item, const wchar_t* name, const wchar_t* def) {
  return item.GetAttribute(name, std::wstring(def)).GetValue();
}

// cells and loops divide the picture: below 1 they become 1.
unsigned CellCount(const LLF::XmlElement& item, const wchar_t* attribute) {
  const int count = item.GetAttribute(attribute, 1).AsInt();
  if (count >= 1) {
    return static_cast<unsigned>(count);
  }
  LLF::Log::GetInstance().Write(L"Warning: AssetsLoader - image \"" + Text(item, L"name", L"") + L"\" has " +
                                attribute + L" " + LLF::ToString(count) + L"; 1 is used.");
  return 1;
}

}  // namespace

AssetsLoader::AssetsLoader() {
  Registry& registry = Loaders();
  LLF::MutexLock lock(registry.lock);
  _serial = registry.nextSerial++;
  registry.loaders[_serial] = this;
}

AssetsLoader::~AssetsLoader() {
  Terminate();
  Registry& registry = Loaders();
  LLF::MutexLock lock(registry.lock);
  registry.loaders.erase(_serial);
}

std::wstring AssetsLoader::Dump() const {
  return L"AssetsLoader";
}

std::vector<LLF::XmlElement>& AssetsLoader::GetLists() {
  return _lists;
}

bool AssetsLoader::CanChangeLists(const wchar_t* operation) const {
  if (!IsRunning()) {
    return true;
  }
  LLF::Log::GetInstance().Write(std::wstring(L"Error: AssetsLoader::") + operation +
                                L" - the lists can't change while they are loading.");
  return false;
}

bool AssetsLoader::SetListFromFile(const std::wstring& file, const std::wstring& listName) {
  if (!CanChangeLists(L"SetListFromFile")) {
    return false;
  }
  _lists.clear();
  return AddListFromFile(file, listName);
}

bool AssetsLoader::SetList(const LLF::XmlElement* list) {
  if (!CanChangeLists(L"SetList")) {
    return false;
  }
  _lists.clear();
  return AddList(list);
}

bool AssetsLoader::AddList(const LLF::XmlElement* list) {
  if (!list || !CanChangeLists(L"AddList")) {
    return false;
  }
  _lists.push_back(*list);
  return true;
}

bool AssetsLoader::AddListFromFile(const std::wstring& file, const std::wstring& listName) {
  XmlDocEx doc;
  if (!doc.LoadFromFile(file)) {
    return false;
  }
  LLF::XmlElement* game = doc.GetRoot()->FindChild(L"game");
  if (!game) {
    return false;
  }
  LLF::XmlElement* assets = game->FindChild(L"assets");
  if (!assets) {
    LLF::Log::GetInstance().Write(L"Error: Can't find assets child in file \"" + file + L"\"");
    return false;
  }
  LLF::XmlElement* list = assets->FindChild(listName);
  if (!list) {
    LLF::Log::GetInstance().Write(L"Error: Can't find asset \"" + listName + L"\" in file \"" + file + L"\"");
    return false;
  }
  return AddList(list);
}

int AssetsLoader::Run(int /*argument*/) {
  if (_lists.empty()) {
    return 0;
  }
  int total = 0;
  for (const LLF::XmlElement& list : _lists) {
    total += list.GetChildsCount();
  }
  int done = 0;
  _loadFailed.store(false);
  for (size_t index = 0; index < _lists.size(); ++index) {
    const LLF::XmlElement& list = _lists[index];
    for (int i = 0; i < list.GetChildsCount(); ++i) {
      if (StopRequested()) {
        return 0;
      }
      const LLF::XmlElement& item = *list.GetChild(i);
      const std::wstring& kind = item.GetName();
      try {
        if (item.IsComment()) {
          // counted, nothing to load
        } else if (kind == L"image") {
          LoadImageAsset(item);
        } else if (kind == L"font") {
          LoadFontAsset(item);
        } else if (kind == L"music") {
          LoadMusicAsset(item);
        } else if (kind == L"sound") {
          LoadSoundAsset(item);
        }
      } catch (const LLF::Exception&) {
        _loadFailed.store(true);  // the exception has logged itself
      } catch (const std::exception& e) {
        _loadFailed.store(true);
        LLF::Log::GetInstance().Write(L"Error: AssetsLoader - loading \"" + Text(item, L"src", L"") +
                                      L"\" failed: " + LLF::AnsiToWide(e.what()));
      }
      ++done;
      Post(ASSETS_MSG_PROGRESS, done, total, LLF::ToString(static_cast<unsigned>(index)));
    }
  }
  Post(_loadFailed.load() ? ASSETS_MSG_DONE_FAILED : ASSETS_MSG_DONE, total, total,
       LLF::ToString(static_cast<unsigned>(_lists.size())));
  return 0;
}

void AssetsLoader::LoadImageAsset(const LLF::XmlElement& item) {
  const unsigned cells = CellCount(item, L"cells");
  const unsigned loops = CellCount(item, L"loops");
  LLF::Image* image = LLF::ImagesManager::GetInstance().LoadImage(Text(item, L"src", L""),
                                                                  Text(item, L"name", L""), false, true);
  if (!image) {
    _loadFailed.store(true);
    return;
  }
  image->SetCellsCount(cells, true);
  image->SetLoopsCount(loops, true);
}

void AssetsLoader::LoadFontAsset(const LLF::XmlElement& item) {
  LLF::Font* font = LLF::FontsManager::GetInstance().LoadFont(
      Text(item, L"src", L""), item.GetAttribute(L"height", 14).AsInt(),
      Text(item, L"charset", kDefaultCharset), Text(item, L"name", L""), false, true, LLF::Point(2, 2));
  if (!font) {
    _loadFailed.store(true);
  }
}

void AssetsLoader::LoadSoundAsset(const LLF::XmlElement& item) {
  if (!LLF::SoundSystem::GetInstance().LoadSound(
          Text(item, L"src", L""), item.GetAttribute(L"looped", false).AsBool() ? 1 : 0,
          item.GetAttribute(L"volume", 100.0f).AsFloat(), item.GetAttribute(L"volumeKoeff", 100.0f).AsFloat(),
          Text(item, L"name", L""), false)) {
    _loadFailed.store(true);
  }
}

void AssetsLoader::LoadMusicAsset(const LLF::XmlElement& item) {
  if (!LLF::SoundSystem::GetInstance().LoadMusic(
          Text(item, L"src", L""), item.GetAttribute(L"looped", false).AsBool() ? 1 : 0,
          item.GetAttribute(L"volume", 100.0f).AsFloat(), item.GetAttribute(L"volumeKoeff", 100.0f).AsFloat(),
          Text(item, L"name", L""), false)) {
    _loadFailed.store(true);
  }
}

void AssetsLoader::UnloadAssets() {
  Terminate();
  LLF::ImagesManager& images = LLF::ImagesManager::GetInstance();
  LLF::FontsManager& fonts = LLF::FontsManager::GetInstance();
  LLF::SoundSystem& sound = LLF::SoundSystem::GetInstance();
  for (const LLF::XmlElement& list : _lists) {
    for (int i = 0; i < list.GetChildsCount(); ++i) {
      const LLF::XmlElement& item = *list.GetChild(i);
      if (item.IsComment()) {
        continue;
      }
      const std::wstring name = Text(item, L"name", L"");
      const std::wstring& kind = item.GetName();
      if (kind == L"image") {
        if (LLF::Image* image = images.FindResource(name)) {
          images.FreeImage(image);
        }
      } else if (kind == L"font") {
        if (LLF::Font* font = fonts.FindResource(name)) {
          fonts.FreeFont(font);
        }
      } else if (kind == L"music") {
        if (LLF::Music* music = sound.GetMusic(name)) {
          sound.FreeMusic(music);
        }
      } else if (kind == L"sound") {
        if (LLF::Sound* soundObject = sound.GetSound(name)) {
          sound.FreeSound(soundObject);
        }
      }
    }
  }
}

void AssetsLoader::Post(int code, int primary, int secondary, const std::wstring& text) {
  LLF::MutexLock lock(_queueLock);
  _queue.emplace_back(this, code, 0, primary, secondary, text);
}

size_t AssetsLoader::GetQueuedCount() const {
  LLF::MutexLock lock(_queueLock);
  return _queue.size();
}

size_t AssetsLoader::DeliverQueued() {
  return DeliverQueuedOf(_serial);
}

size_t AssetsLoader::DeliverAllQueued() {
  std::vector<uint64_t> serials;
  {
    Registry& registry = Loaders();
    LLF::MutexLock lock(registry.lock);
    for (const auto& [serial, loader] : registry.loaders) {
      serials.push_back(serial);
    }
  }
  size_t delivered = 0;
  for (uint64_t serial : serials) {
    delivered += DeliverQueuedOf(serial);
  }
  return delivered;
}

size_t AssetsLoader::DeliverQueuedOf(uint64_t serial) {
  Registry& registry = Loaders();
  size_t delivered = 0;
  for (;;) {
    AssetsLoader* loader = nullptr;
    LLF::Message msg;
    {
      // Asked afresh before each message: the last one's receiver may have
      // destroyed the loader.
      LLF::MutexLock lock(registry.lock);
      const auto it = registry.loaders.find(serial);
      if (it == registry.loaders.end()) {
        break;
      }
      loader = it->second;
      LLF::MutexLock queueLock(loader->_queueLock);
      if (loader->_queue.empty()) {
        break;
      }
      msg = loader->_queue.front();
      loader->_queue.pop_front();
    }
    loader->Send(&msg);
    ++delivered;
  }
  return delivered;
}

}  // namespace HLF
