#include "builder/SeekLevelBuilder.h"

#include <cwctype>
#include <memory>

#include "builder/BuildOutputs.h"
#include "builder/LayerCrop.h"
#include "core/Format.h"
#include "core/Log.h"
#include "core/StringUtils.h"
#include "image/ImagesManager.h"
#include "xml/XmlDoc.h"

namespace {

void Log(const std::wstring& line) {
  LLF::Log::GetInstance().Write(line);
}

bool IsXml(const std::wstring& name) {
  const std::wstring lower = LLF::StrToLower(name);
  return lower.size() >= 4 && lower.compare(lower.size() - 4, 4, L".xml") == 0;
}

struct Layer {
  std::wstring file;
  std::wstring name;
  int flag = 1;
  bool background = false;
  std::wstring output;  // the cut image's file
  std::wstring assetId;
  std::wstring assetFile;
};

}  // namespace

void SeekLevelBuilder::LayerName(const std::wstring& fileName, std::wstring& name, int& flag) {
  name = LLF::ExtractFileName(fileName);
  const size_t underscore = name.rfind(L'_');
  if (underscore != std::wstring::npos) name.erase(0, underscore + 1);
  const size_t dot = name.rfind(L'.');
  if (dot != std::wstring::npos) name.erase(dot);
  if (!name.empty()) name[0] = wchar_t(std::towupper(std::wint_t(name[0])));
  flag = 1;
  const size_t n = name.size();
  if (n > 3 && name[n - 1] >= L'0' && name[n - 1] <= L'9' && name[n - 2] == L'-' && name[n - 3] == L'-') {
    flag = name[n - 1] - L'0';
    name.erase(n - 3);
  }
}

std::wstring SeekLevelBuilder::FlagWord(int flag) {
  static const wchar_t* const kWords[] = {L"unplayable", L"unknown",   L"easy",
                                          L"normal",     L"difficult", L"priority"};
  return flag >= 0 && flag < int(std::size(kWords)) ? kWords[flag] : L"";
}

void SeekLevelBuilder::Build(const std::wstring& folder, const std::vector<std::wstring>& files) {
  Log(L"Level pieces images list:");
  for (const std::wstring& f : files) Log(f);
  Log(L"Analyzing pieces...");

  BuildOutputs outputs(folder);
  std::vector<Layer> layers;
  bool hasBackground = false;
  for (size_t i = files.size(); i-- > 0;) {
    if (IsXml(files[i])) continue;
    Layer layer;
    layer.file = files[i];
    LayerName(files[i], layer.name, layer.flag);
    bool duplicate = false;
    for (const Layer& other : layers) duplicate = duplicate || LLF::StrEqualNoCase(other.name, layer.name);
    if (duplicate) {
      // The layer stays in the folder: it was not used.
      Log(L"Warning: Name \"" + layer.name + L"\" already exists in level. Skipped.");
      continue;
    }
    layer.background = layer.name == L"Base";
    if (layer.background) {
      layer.output = L"background.png";
      layer.assetId = L"background";
      layer.assetFile = L"background.jpg";
      hasBackground = true;
    } else {
      layer.output = LLF::Format(L"object_%04d.png", int(i));
      layer.assetId = LLF::Format(L"levobj_image_%04d", int(i));
      layer.assetFile = layer.output;
    }
    outputs.Plan(layer.output);
    layers.push_back(layer);
  }
  if (hasBackground) outputs.Plan(L"background.jpg");
  outputs.Plan(L"level.xml");
  outputs.Plan(L"asset.xml");
  if (!outputs.CheckNothingExists()) return;

  LLF::XmlDoc level;
  LLF::XmlElement* root = level.GetRoot()->AddChild(L"level");
  for (const auto& [attribute, value] : {std::pair{L"type", L"seek"},
                                         {L"uiPos", L"right"},
                                         {L"mode", L"normal"},
                                         {L"seekEasy", L"3"},
                                         {L"seekNormal", L"5"},
                                         {L"seekDifficult", L"2"}}) {
    root->AddAttribute(attribute, value);
  }
  LLF::XmlDoc assets;
  LLF::XmlElement* group = assets.GetRoot()->AddChild(L"game")->AddChild(L"assets")->AddChild(L"LEVOBJECTS");

  bool ok = true;
  for (const Layer& layer : layers) {
    LLF::Rect rect;
    if (!LayerCrop::CropLayerImage(folder + layer.file, folder + layer.output, rect, !layer.background)) {
      continue;
    }
    outputs.Wrote(layer.output);
    outputs.Consume(layer.file);
    if (layer.background) {
      // The asset names the JPEG, so a built level plays at once.
      std::unique_ptr<LLF::Image> cut(
          LLF::ImagesManager::GetInstance().LoadImage(folder + layer.output, L"", true, true));
      ok = ok && cut && outputs.Save(*cut, L"background.jpg");
    }
    LLF::XmlElement* child = root->AddChild(layer.background ? L"background" : L"object");
    BuildOutputs::AddImageAsset(*group, layer.assetId, folder + layer.assetFile);
    child->AddAttribute(L"imgName", layer.assetId);
    // Raw: the writer escapes it.
    child->AddAttribute(L"name", layer.name);
    child->AddAttribute(L"pos", std::to_wstring(rect.x) + L"," + std::to_wstring(rect.y));
    child->AddAttribute(L"dims", std::to_wstring(rect.width) + L"," + std::to_wstring(rect.height));
    const std::wstring flag = FlagWord(layer.flag);
    if (!flag.empty()) child->AddAttribute(L"flag", flag);
  }
  // The level file last: a folder that holds one holds the whole level.
  ok = ok && outputs.WriteXml(assets, L"asset.xml") && outputs.WriteXml(level, L"level.xml");
  if (!ok) {
    outputs.RemoveWritten();
    Log(L"Error: The seek level could not be written. Nothing has been built.");
    return;
  }
  outputs.DeleteConsumed();
  Log(L"Level has been created!");
}
