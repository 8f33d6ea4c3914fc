#include "font/FontCodecXML.h"

#include <memory>

#include "core/Log.h"
#include "core/StringUtils.h"
#include "font/Font.h"
#include "image/ImagesManager.h"
#include "io/File.h"
#include "io/TextFile.h"
#include "xml/XmlDoc.h"

namespace LLF {

namespace {

const wchar_t kNotValid[] = L"Not a valid font file. ";
const wchar_t kFontEntry[] = L"Not a valid font file. Child entry with name \"font\" ";

void LogLine(const std::wstring& text) {
  Log::GetInstance().Write(text);
}

// Reads the file's text in the encoding its mark gives; the reason of a
// failure is logged.
bool ReadText(File& file, const std::wstring& fileName, std::wstring& text) {
  unsigned char* raw = nullptr;
  unsigned size = 0;
  const bool read = file.ReadAll(raw, size);
  const std::unique_ptr<unsigned char[]> bytes(raw);
  if (!read || size == 0) {
    LogLine(kNotValid + std::wstring(L"Can't read from file. File: ") + fileName);
    return false;
  }
  unsigned bomLength = 0;
  const int encoding = TextFile::DetectEncoding(bytes.get(), size, bomLength);
  if (!TextFile::Decode(bytes.get() + bomLength, size - bomLength, encoding, text)) {
    LogLine(kNotValid + std::wstring(L"Can't read text from file. File: ") + fileName);
    return false;
  }
  return true;
}

// Checks the attributes of "font" in the order the format gives, logging
// the first that fails. A present sidesOffset of 0,0 is taken: fonts are
// saved with the margin they were made with, which may be none.
bool CheckFontEntry(const XmlElement& entry, const std::wstring& fileName) {
  const XmlAttribute* imgFile = entry.GetAttribute(std::wstring(L"imgFile"));
  const XmlAttribute* charBox = entry.GetAttribute(std::wstring(L"charBox"));
  const XmlAttribute* sidesOffset = entry.GetAttribute(std::wstring(L"sidesOffset"));
  const XmlAttribute* spaceWidth = entry.GetAttribute(std::wstring(L"spaceWidth"));
  const XmlAttribute* fontHeight = entry.GetAttribute(std::wstring(L"fontHeight"));
  const wchar_t* failure = nullptr;
  if (!imgFile || imgFile->GetValue().empty())
    failure = L"don't have imgFile attribute. FontFile ";
  else if (!charBox || charBox->GetIntPair() == Point(0, 0))
    failure = L"don't have charBox attribute or it equals (0,0). FontFile ";
  else if (!sidesOffset)
    failure = L"don't have sidesOffset attribute or it equals (0,0). FontFile ";
  else if (!spaceWidth || spaceWidth->GetInt() == 0)
    failure = L"don't have spaceWidth attribute or it equals 0. FontFile ";
  else if (!fontHeight || fontHeight->GetInt() == 0)
    failure = L"don't have fontHeight attribute or it equals 0. FontFile ";
  if (!failure) return true;
  LogLine(kFontEntry + std::wstring(failure) + fileName);
  return false;
}

Point IntPair(const XmlElement& element, const wchar_t* name) {
  const XmlAttribute* attribute = element.GetAttribute(std::wstring(name));
  return attribute ? attribute->GetIntPair() : Point(0, 0);
}

}  // namespace

FontCodecXML::FontCodecXML() {
  Describe(L"Font codec for XML font files.", L"XML font codec", L"xml");
}

Font* FontCodecXML::Load(File& file, int, const std::wstring&, const Point&) {
  const std::wstring fileName = file.GetFileName();
  std::wstring text;
  if (!ReadText(file, fileName, text)) return nullptr;
  XmlDoc doc;
  if (!doc.Parse(text)) return nullptr;  // the reader has logged why
  const XmlElement* entry = static_cast<const XmlDoc&>(doc).GetRoot()->FindChild(std::wstring(L"font"));
  if (!entry) {
    LogLine(kNotValid + std::wstring(L"Child entry with name \"font\" is not found in file ") + fileName);
    return nullptr;
  }
  if (!CheckFontEntry(*entry, fileName)) return nullptr;

  auto font = std::make_unique<Font>();
  Font::CharsMap& chars = font->GetCharsMap();
  for (int i = 0; i < entry->GetChildsCount(); ++i) {
    const XmlElement& child = *entry->GetChild(i);
    if (child.GetName() != L"character") continue;
    const XmlAttribute* id = child.GetAttribute(std::wstring(L"id"));
    if (!id || id->GetValue().empty()) continue;
    Font::Glyph glyph;
    glyph.character = id->GetValue()[0];
    glyph.imageOffset = IntPair(child, L"imgOffset");
    glyph.dims = IntPair(child, L"dims");
    glyph.renderOffset = IntPair(child, L"renderOffset");
    chars.emplace(glyph.character, glyph);  // the first of two equal ids stays
  }

  // A private copy of the picture: it is neither shared with nor kept by the
  // images manager, and not handed to the render system.
  const std::wstring imageName =
      ExtractFolder(fileName) + entry->GetAttribute(std::wstring(L"imgFile"))->GetValue();
  const std::unique_ptr<Image> image(ImagesManager::GetInstance().LoadImage(imageName, L"", true, true));
  if (!image) return nullptr;  // the images manager has logged why
  Image& glyphImage = font->GetImage();
  if (!glyphImage.CreateFrom(*image)) {
    LogLine(L"Can't copy font image into the Font object. File " + fileName);
    return nullptr;
  }
  // The picture is one cell; its size is the copied picture's.
  glyphImage.SetCellsCount(1, true);
  glyphImage.SetLoopsCount(1, true);

  Font::Metrics& metrics = font->GetMetrics();
  metrics.charBox = IntPair(*entry, L"charBox");
  metrics.sidesOffset = IntPair(*entry, L"sidesOffset");
  metrics.spaceWidth = entry->GetAttribute(std::wstring(L"spaceWidth"))->GetInt();
  metrics.fontHeight = entry->GetAttribute(std::wstring(L"fontHeight"))->GetInt();
  return font.release();
}

bool FontCodecXML::Save(Font* font, const std::wstring& fileName) {
  if (!font) {
    LogLine(L"ERROR: Can't save a missing font: " + fileName);
    return false;
  }
  const std::wstring imageName = fileName + L".png";
  Image& image = font->GetImage();
  if (!ImagesManager::GetInstance().SaveImage(&image, imageName)) {
    LogLine(L"ERROR: Can't save font image file: " + imageName);
    return false;
  }

  const Font::Metrics& metrics = font->GetMetrics();
  XmlDoc doc;
  XmlElement* entry = doc.GetRoot()->AddChild(L"font");
  entry->AddAttribute(L"imgFile", ExtractFileName(imageName));
  entry->AddAttribute(L"imgDims", Point(int(image.GetWidth()), int(image.GetHeight())));
  entry->AddAttribute(L"charBox", metrics.charBox);
  entry->AddAttribute(L"sidesOffset", metrics.sidesOffset);
  entry->AddAttribute(L"charsCount", font->GetCharsCount());
  entry->AddAttribute(L"spaceWidth", metrics.spaceWidth);
  entry->AddAttribute(L"fontHeight", metrics.fontHeight);
  for (const auto& [character, glyph] : font->GetCharsMap()) {
    XmlElement* element = entry->AddChild(L"character");
    element->AddAttribute(L"id", std::wstring(1, character));
    element->AddAttribute(L"imgOffset", glyph.imageOffset);
    element->AddAttribute(L"dims", glyph.dims);
    element->AddAttribute(L"renderOffset", glyph.renderOffset);
  }

  // UTF-8 with its mark under a declaration naming it; a failure is logged.
  return doc.SaveToFile(fileName, TextFile::ENCODING_UTF8);
}

}  // namespace LLF
