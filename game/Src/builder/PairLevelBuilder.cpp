#include "builder/PairLevelBuilder.h"

#include <memory>

#include "builder/BuildOutputs.h"
#include "builder/LayerCrop.h"
#include "core/Format.h"
#include "core/Log.h"
#include "core/StringUtils.h"
#include "xml/XmlDoc.h"

namespace {

void Log(const std::wstring& line) {
  LLF::Log::GetInstance().Write(line);
}

bool IsXml(const std::wstring& name) {
  const std::wstring lower = LLF::StrToLower(name);
  return lower.size() >= 4 && lower.compare(lower.size() - 4, 4, L".xml") == 0;
}

}  // namespace

PairLevelBuilder::ItemName PairLevelBuilder::ParseName(const std::wstring& fileName) {
  ItemName item;
  const std::wstring name = LLF::ExtractFileName(fileName);
  item.left = name.find(L"Left") != std::wstring::npos;
  item.paneNamed = item.left || name.find(L"Right") != std::wstring::npos;
  const size_t underscore = name.find(L'_');
  if (underscore == std::wstring::npos) return item;
  std::wstring tail = name.substr(underscore);
  const size_t dot = tail.find(L'.');
  // The "." must leave a character to cut after the "_".
  if (dot == std::wstring::npos || dot < 2) return item;
  item.digitCut = tail[dot - 1] >= L'0' && tail[dot - 1] <= L'9';
  tail.erase(dot - 1);
  size_t digits = 1;
  while (digits < tail.size() && tail[digits] >= L'0' && tail[digits] <= L'9' && digits < 10) ++digits;
  if (digits == 1) return item;
  item.tail = tail;
  item.number = std::stoi(tail.substr(1, digits - 1));
  item.usable = true;
  return item;
}

void PairLevelBuilder::Build(const std::wstring& folder, const std::vector<std::wstring>& files,
                             bool exportImages) {
  Log(L"Level pairs images list:");
  for (const std::wstring& f : files) Log(f);
  if (exportImages) {
    ExportItems(folder, files);
  } else {
    BuildScene(folder, files);
  }
}

void PairLevelBuilder::BuildScene(const std::wstring& folder, const std::vector<std::wstring>& files) {
  BuildOutputs outputs(folder);
  outputs.Plan(L"level.xml");
  if (!outputs.CheckNothingExists()) return;

  LLF::XmlDoc level;
  LLF::XmlElement* root = level.GetRoot()->AddChild(L"level");
  root->AddAttribute(L"type", L"pair");
  root->AddAttribute(L"assetFile", L"images/levels/pair/items/asset.xml");
  LLF::XmlElement* scene = root->AddChild(L"scene_01");
  Log(L"Analyzing pairs...");
  for (size_t i = files.size(); i-- > 0;) {
    if (IsXml(files[i])) continue;
    const ItemName item = ParseName(files[i]);
    if (!item.usable) {
      Log(L"Warning: \"" + files[i] + L"\" is not named <Pane>_<number><letter>.<ext>. Skipped.");
      continue;
    }
    if (item.digitCut) {
      Log(L"Warning: \"" + files[i] + L"\" has a digit before its \".\"; it gives item " +
          std::to_wstring(item.number) + L".");
    }
    if (!item.paneNamed) {
      Log(L"Warning: \"" + files[i] + L"\" names neither \"Left\" nor \"Right\"; it lies on the right pane.");
    }
    std::unique_ptr<LLF::Image> layer = LayerCrop::LoadLayer(folder + files[i]);
    if (!layer) return;
    const LLF::Rect rect = LayerCrop::VisibleBounds(*layer);
    LLF::XmlElement* object = scene->AddChild(L"object");
    object->AddAttribute(L"imgName", LLF::Format(L"levobj_image_%03d", item.number));
    object->AddAttribute(L"pane", item.left ? L"left" : L"right");
    object->AddAttribute(L"name", L"levobj_" + item.tail);
    object->AddAttribute(L"pos", std::to_wstring(rect.x) + L"," + std::to_wstring(rect.y));
    object->AddAttribute(L"dims", std::to_wstring(rect.width) + L"," + std::to_wstring(rect.height));
  }
  if (!outputs.WriteXml(level, L"level.xml")) return;
  Log(L"Level has been created!");
}

void PairLevelBuilder::ExportItems(const std::wstring& folder, const std::vector<std::wstring>& files) {
  struct Item {
    std::wstring file;
    std::wstring output;
    std::wstring id;
    std::unique_ptr<LLF::Image> image;
  };
  // Every layer is cut before anything is written, so one that cannot be
  // loaded leaves the folder as it was.
  BuildOutputs outputs(folder);
  std::vector<Item> items;
  Log(L"Analyzing pairs...");
  for (size_t i = files.size(); i-- > 0;) {
    if (IsXml(files[i])) continue;
    std::unique_ptr<LLF::Image> layer = LayerCrop::LoadLayer(folder + files[i]);
    if (!layer) return;
    std::unique_ptr<LLF::Image> cut = LayerCrop::Cut(*layer, LayerCrop::VisibleBounds(*layer), true);
    if (!cut) {
      Log(L"Error: Can't save image file \"" + folder + LLF::Format(L"object_%03d.png", int(i + 1)));
      return;
    }
    Item item{files[i], LLF::Format(L"object_%03d.png", int(i + 1)),
              LLF::Format(L"levobj_image_%03d", int(i + 1)), std::move(cut)};
    outputs.Plan(item.output);
    items.push_back(std::move(item));
  }
  outputs.Plan(L"asset.xml");
  if (!outputs.CheckNothingExists()) return;

  LLF::XmlDoc assets;
  LLF::XmlElement* group = assets.GetRoot()->AddChild(L"game")->AddChild(L"assets")->AddChild(L"pairImages");
  for (Item& item : items) {
    // The entry stands even when the save fails; that layer stays.
    BuildOutputs::AddImageAsset(*group, item.id, folder + item.output);
    if (outputs.Save(*item.image, item.output)) outputs.Consume(item.file);
    item.image.reset();
  }
  if (!outputs.WriteXml(assets, L"asset.xml")) {
    outputs.RemoveWritten();
    return;
  }
  outputs.DeleteConsumed();
  Log(L"Pair level assets have been created!");
}
