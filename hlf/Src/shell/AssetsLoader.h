#pragma once
// Loads named lists of images, fonts, sounds and music on a thread of its
// own into the framework's managers, and releases them again by the same
// lists.
//
// An asset-list file holds game / assets / one element per list, named
// like the list; a list's children are its items, in loading order:
//   image: name, src, cells (1), loops (1)
//   font:  name, src, charset (letters, digits, ".!"), height (14)
//   sound, music: name, src, volume (100), volumeKoeff (100), looped (false)
// Any other child is skipped but counts towards the progress.
//
// Messages (the loader as sender): code 0 after each item (primary: items
// handled, secondary: total, text: the list's index), then 1 when every
// item loaded or 2 when one failed (primary and secondary: total, text: the
// number of lists). The worker only queues them: they reach the receivers
// on the main thread, in order, when the game's frame delivers the queues
// (DeliverAllQueued). A loader being destroyed stops between items, joins
// its thread and drops what it had queued, so nothing arrives after it is
// gone.
//
// Images and fonts are loaded without their render data: the render system
// makes that on the main thread when they are first drawn.
#include <atomic>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "core/Message.h"
#include "core/MessageSender.h"
#include "core/Mutex.h"
#include "core/Thread.h"
#include "xml/XmlElement.h"

namespace HLF {

// Codes of the loader's messages.
enum AssetsLoaderMessageCode {
  ASSETS_MSG_PROGRESS = 0,
  ASSETS_MSG_DONE = 1,
  ASSETS_MSG_DONE_FAILED = 2,
};

class AssetsLoader : public LLF::Thread, public LLF::MessageSender {
 public:
  AssetsLoader();
  AssetsLoader(const AssetsLoader&) = delete;
  AssetsLoader& operator=(const AssetsLoader&) = delete;

  LLF_KIND_OF2(AssetsLoader, LLF::Thread, LLF::MessageSender)
  // Stops the run between items and joins it; queued messages are dropped.
  ~AssetsLoader() override;
  // "AssetsLoader"
  std::wstring Dump() const override;
  // The items of every list, in order; stops between items when asked.
  // Nothing at all is sent for a loader without lists.
  int Run(int argument) override;

  // The lists (copies, owned by the loader). Not to be changed while the
  // loader runs.
  virtual std::vector<LLF::XmlElement>& GetLists();
  // Clears the lists, then AddListFromFile.
  virtual bool SetListFromFile(const std::wstring& file, const std::wstring& listName);
  // Clears the lists, then AddList.
  virtual bool SetList(const LLF::XmlElement* list);
  // Appends a copy of the list; false for null.
  virtual bool AddList(const LLF::XmlElement* list);
  // Appends a copy of the list named listName of the file's game / assets.
  // False without a log line when the file cannot be read or has no
  // "game"; false with one when "assets" or the list is missing.
  virtual bool AddListFromFile(const std::wstring& file, const std::wstring& listName);
  // Releases once every resource named in the lists (the lists stay). A
  // running load is stopped first, so nothing it loads is left behind.
  virtual void UnloadAssets();
  // One item each; a resource that does not load marks the run as failed.
  virtual void LoadImageAsset(const LLF::XmlElement& item);
  virtual void LoadFontAsset(const LLF::XmlElement& item);
  virtual void LoadSoundAsset(const LLF::XmlElement& item);
  virtual void LoadMusicAsset(const LLF::XmlElement& item);

  // Whether an item of the last run failed.
  bool IsLoadFailed() const { return _loadFailed.load(); }
  // Messages waiting for delivery.
  size_t GetQueuedCount() const;
  // Main thread: hands this loader's queued messages to its receivers, in
  // order; the number delivered. A receiver may destroy the loader.
  size_t DeliverQueued();
  // Main thread: the same for every loader alive, in the order they were
  // made.
  static size_t DeliverAllQueued();

 private:
  // Refuses (false, one log line) a change of the lists while the run
  // reads them.
  bool CanChangeLists(const wchar_t* operation) const;
  void Post(int code, int primary, int secondary, const std::wstring& text);
  static size_t DeliverQueuedOf(uint64_t serial);

  std::vector<LLF::XmlElement> _lists;
  std::atomic<bool> _loadFailed{false};
  uint64_t _serial = 0;  // the loader's key among the living ones
  mutable LLF::Mutex _queueLock;
  std::deque<LLF::Message> _queue;
};

}  // namespace HLF
