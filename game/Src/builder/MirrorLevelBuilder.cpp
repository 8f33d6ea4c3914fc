#include "builder/MirrorLevelBuilder.h"

#include <memory>

#include "builder/BuildOutputs.h"
#include "builder/LayerCrop.h"
#include "builder/MirrorRegions.h"
#include "core/Log.h"
#include "core/StringUtils.h"
#include "image/ImagesManager.h"
#include "xml/XmlDoc.h"

namespace {

constexpr int kWidth = MirrorRegions::kWidth;
constexpr int kHeight = MirrorRegions::kHeight;
constexpr int kHalf = kWidth / 2;

void Log(const std::wstring& line) {
  LLF::Log::GetInstance().Write(line);
}

std::wstring Pair(int a, int b) {
  return std::to_wstring(a) + L"," + std::to_wstring(b);
}

// One cut difference or the background: its file, asset id and place.
struct Piece {
  std::wstring file;
  std::wstring id;
  LLF::Rect rect;
  std::unique_ptr<LLF::Image> image;
};

// The pieces of one side, numbered in order: left_diff_<i> / right_diff_<i>.
void NamePieces(std::vector<Piece>& pieces, const std::wstring& side) {
  for (size_t i = 0; i < pieces.size(); ++i) {
    pieces[i].file = side + L"_diff_" + std::to_wstring(i) + L".png";
    pieces[i].id = side + L"_diff_image_" + std::to_wstring(i);
  }
}

// An opaque copy of the rectangle of a layer.
std::unique_ptr<LLF::Image> OpaqueCopy(const LLF::Image& layer, const LLF::Rect& rect) {
  auto copy =
      std::make_unique<LLF::Image>(unsigned(rect.width), unsigned(rect.height), LLF::IMGFORMAT_R8G8B8X8);
  for (int dy = 0; dy < rect.height; ++dy) {
    for (int dx = 0; dx < rect.width; ++dx) {
      LLF::Color c;
      layer.GetPixel(&c, rect.x + dx, rect.y + dy);
      c.a = 255;
      copy->SetPixel(dx, dy, &c);
    }
  }
  return copy;
}

// Plans, checks and writes the level: background.png and .jpg, the pieces,
// level.xml and asset.xml; the layers are deleted only when all of it
// stands, and a failure takes back what this run wrote.
void WriteLevel(BuildOutputs& outputs, LLF::Image& background, std::vector<Piece>& left,
                std::vector<Piece>& right, const std::vector<std::wstring>& layers) {
  outputs.Plan(L"background.png");
  outputs.Plan(L"background.jpg");
  for (const std::vector<Piece>* side : {&left, &right})
    for (const Piece& p : *side) outputs.Plan(p.file);
  outputs.Plan(L"level.xml");
  outputs.Plan(L"asset.xml");
  if (!outputs.CheckNothingExists()) return;

  LLF::XmlDoc level;
  LLF::XmlElement* root = level.GetRoot()->AddChild(L"level");
  root->AddAttribute(L"type", L"mirror");
  LLF::XmlElement* back = root->AddChild(L"background");
  back->AddAttribute(L"imgName", L"original");
  back->AddAttribute(L"pos", L"0,0");
  back->AddAttribute(L"dims", Pair(kHalf, kHeight));
  LLF::XmlDoc assets;
  LLF::XmlElement* group = assets.GetRoot()->AddChild(L"game")->AddChild(L"assets")->AddChild(L"LEVOBJECTS");
  BuildOutputs::AddImageAsset(*group, L"original", outputs.Path(L"background.jpg"));

  bool ok = outputs.Save(background, L"background.png") && outputs.Save(background, L"background.jpg");
  for (std::vector<Piece>* side : {&left, &right}) {
    for (Piece& p : *side) {
      ok = ok && outputs.Save(*p.image, p.file);
      LLF::XmlElement* object = root->AddChild(L"object");
      object->AddAttribute(L"imgName", p.id);
      object->AddAttribute(L"pos", Pair(p.rect.x, p.rect.y));
      object->AddAttribute(L"dims", Pair(p.rect.width, p.rect.height));
      BuildOutputs::AddImageAsset(*group, p.id, outputs.Path(p.file));
    }
  }
  // The level file last: a folder that holds one holds the whole level.
  ok = ok && outputs.WriteXml(assets, L"asset.xml") && outputs.WriteXml(level, L"level.xml");
  if (!ok) {
    outputs.RemoveWritten();
    Log(L"Error: The mirror level could not be written. Nothing has been built.");
    return;
  }
  for (const std::wstring& layer : layers) outputs.Consume(layer);
  outputs.DeleteConsumed();
}

bool IsXml(const std::wstring& name) {
  const std::wstring lower = LLF::StrToLower(name);
  return lower.size() >= 4 && lower.compare(lower.size() - 4, 4, L".xml") == 0;
}

}  // namespace

MirrorLevelBuilder::Kind MirrorLevelBuilder::KindOf(const std::wstring& fileName) {
  const std::wstring lower = LLF::StrToLower(LLF::ExtractFileName(fileName));
  if (lower.find(L"left") != std::wstring::npos) return KIND_LEFT;
  if (lower.find(L"right") != std::wstring::npos) return KIND_RIGHT;
  if (lower.find(L"original") != std::wstring::npos) return KIND_ORIGINAL;
  return KIND_NONE;
}

void MirrorLevelBuilder::Build(const std::wstring& folder, const std::vector<std::wstring>& files,
                               int mergeDistance) {
  // XML files (a level written before, notes) are never layers.
  std::vector<std::wstring> layers;
  for (const std::wstring& f : files)
    if (!IsXml(f)) layers.push_back(f);
  if (layers.size() == 3) {
    BuildThreeLayers(folder, layers, mergeDistance);
  } else {
    BuildPreCut(folder, layers);
  }
}

void MirrorLevelBuilder::BuildThreeLayers(const std::wstring& folder, const std::vector<std::wstring>& layers,
                                          int mergeDistance) {
  std::unique_ptr<LLF::Image> loaded[4];
  for (size_t i = layers.size(); i-- > 0;) {
    const Kind kind = KindOf(layers[i]);
    if (kind == KIND_NONE) continue;
    loaded[kind].reset(LLF::ImagesManager::GetInstance().LoadImage(folder + layers[i], L"", true, true));
  }
  const struct {
    Kind kind;
    const wchar_t* word;
    const wchar_t* title;
  } kinds[] = {{KIND_LEFT, L"left", L"Left"},
               {KIND_RIGHT, L"right", L"Right"},
               {KIND_ORIGINAL, L"original", L"Original"}};
  for (const auto& k : kinds) {
    if (!loaded[k.kind]) {
      Log(std::wstring(L"Error: Can't load ") + k.word + L" mirror image.");
      return;
    }
  }
  for (const auto& k : kinds) {
    if (loaded[k.kind]->GetWidth() != unsigned(kWidth) || loaded[k.kind]->GetHeight() != unsigned(kHeight)) {
      Log(std::wstring(L"Error: ") + k.title + L" mirror image must be 800x600.");
      return;
    }
  }
  // Pixels compare in all four bytes, so layers of different formats would
  // differ everywhere.
  const unsigned format = loaded[KIND_ORIGINAL]->GetFormat();
  if (loaded[KIND_LEFT]->GetFormat() != format || loaded[KIND_RIGHT]->GetFormat() != format) {
    Log(L"Error: Mirror images must all have the same pixel format.");
    return;
  }
  const LLF::Image& original = *loaded[KIND_ORIGINAL];
  std::vector<Piece> sides[2];
  for (int s = 0; s < 2; ++s) {
    const LLF::Image& layer = *loaded[s == 0 ? KIND_LEFT : KIND_RIGHT];
    const int from = s == 0 ? 0 : kHalf;
    LLF::Image mask(kWidth, kHeight, LLF::IMGFORMAT_R8G8B8A8);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = from; x < from + kHalf; ++x) {
        LLF::Color a, b;
        layer.GetPixel(&a, x, y);
        original.GetPixel(&b, x - from, y);
        const bool differs = a.r != b.r || a.g != b.g || a.b != b.b || a.a != b.a;
        mask.SetPixel(x, y, differs ? &MirrorRegions::kBlack : &MirrorRegions::kWhite);
      }
    }
    MirrorRegions regions(mask, from, from + kHalf);
    for (const LLF::Rect& rect : regions.Label(mergeDistance)) {
      sides[s].push_back({L"", L"", rect, OpaqueCopy(layer, rect)});
    }
  }
  NamePieces(sides[0], L"left");
  NamePieces(sides[1], L"right");
  std::unique_ptr<LLF::Image> background = OpaqueCopy(original, LLF::Rect(0, 0, kHalf, kHeight));
  for (auto& image : loaded) image.reset();

  BuildOutputs outputs(folder);
  WriteLevel(outputs, *background, sides[0], sides[1], layers);
}

void MirrorLevelBuilder::BuildPreCut(const std::wstring& folder, const std::vector<std::wstring>& layers) {
  std::vector<Piece> sides[2];
  std::unique_ptr<LLF::Image> background;
  std::vector<std::wstring> used;
  for (size_t i = layers.size(); i-- > 0;) {
    const Kind kind = KindOf(layers[i]);
    if (kind == KIND_NONE) {
      Log(L"Warning: \"" + layers[i] + L"\" is neither a left, right nor original layer. Skipped.");
      continue;
    }
    std::unique_ptr<LLF::Image> layer = LayerCrop::LoadLayer(folder + layers[i]);
    if (!layer) continue;
    const LLF::Rect rect = LayerCrop::VisibleBounds(*layer);
    std::unique_ptr<LLF::Image> cut = LayerCrop::Cut(*layer, rect, false);
    if (!cut) {
      Log(L"Error: Can't cut image file \"" + folder + layers[i] + L"\"");
      continue;
    }
    if (kind == KIND_ORIGINAL) {
      if (background) {
        Log(L"Warning: More than one original layer; \"" + layers[i] + L"\" is not used.");
        continue;
      }
      background = std::move(cut);
    } else {
      sides[kind == KIND_LEFT ? 0 : 1].push_back({L"", L"", rect, std::move(cut)});
    }
    used.push_back(layers[i]);
  }
  if (!background) {
    Log(L"Error: Can't load original mirror image.");
    return;
  }
  NamePieces(sides[0], L"left");
  NamePieces(sides[1], L"right");
  BuildOutputs outputs(folder);
  WriteLevel(outputs, *background, sides[0], sides[1], used);
}
