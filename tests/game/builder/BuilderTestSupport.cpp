#include "BuilderTestSupport.h"

#include <filesystem>
#include <memory>

#include "FileBytes.h"
#include "core/StringUtils.h"
#include "image/CodecPng.h"
#include "image/Image.h"
#include "image/ImagesManager.h"
#include "xml/XmlDoc.h"
#include "xml/XmlElement.h"

namespace QmTest {

void WriteLayer(const std::string& path, const std::vector<Blob>& blobs, unsigned width, unsigned height,
                bool alpha) {
  LLF::Image image(width, height, alpha ? LLF::IMGFORMAT_R8G8B8A8 : LLF::IMGFORMAT_R8G8B8X8);
  for (const Blob& b : blobs) {
    for (int y = b.rect.y; y < b.rect.y + b.rect.height; ++y)
      for (int x = b.rect.x; x < b.rect.x + b.rect.width; ++x) image.SetPixel(x, y, &b.color);
  }
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  LLF::CodecPng::GetInstance().Save(&image, LLF::FromOsPath(path));
}

LLF::Rect ImageSize(const std::string& path) {
  std::unique_ptr<LLF::Image> image(
      LLF::ImagesManager::GetInstance().LoadImage(LLF::FromOsPath(path), L"", true, true));
  return image ? LLF::Rect(0, 0, int(image->GetWidth()), int(image->GetHeight())) : LLF::Rect();
}

std::wstring Element::Get(const std::wstring& name) const {
  for (const auto& [n, v] : attributes)
    if (n == name) return v;
  return L"(none)";
}

std::vector<Element> ReadChildren(const std::string& file, const std::wstring& path) {
  std::vector<Element> result;
  LLF::XmlDoc doc;
  if (!doc.LoadFromFile(LLF::FromOsPath(file))) return result;
  LLF::XmlElement* parent = doc.GetRoot()->GetChild(0);
  if (parent && !path.empty()) parent = parent->GetChildByPath(path);
  if (!parent) return result;
  for (int i = 0; LLF::XmlElement* child = parent->GetChild(i); ++i) {
    Element e{child->GetName(), {}};
    for (int a = 0; a < child->GetAttributesCount(); ++a) {
      LLF::XmlAttribute* attribute = child->GetAttribute(a);
      e.attributes.emplace_back(attribute->GetName(), attribute->GetValue());
    }
    result.push_back(e);
  }
  return result;
}

std::map<std::string, std::string> FolderBytes(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    files[entry.path().filename().string()] = ReadBytes(entry.path().string());
  return files;
}

std::wstring Pos(const LLF::Rect& r) {
  return std::to_wstring(r.x) + L"," + std::to_wstring(r.y);
}

std::wstring Dims(const LLF::Rect& r) {
  return std::to_wstring(r.width) + L"," + std::to_wstring(r.height);
}

}  // namespace QmTest
