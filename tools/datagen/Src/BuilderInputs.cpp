#include "BuilderInputs.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "core/StringUtils.h"
#include "image/CodecPng.h"
#include "image/Image.h"

namespace Datagen {
namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// The scene everything is drawn on: a smooth gradient, so every pixel of a
// half differs from its neighbours but not from the same pixel elsewhere.
LLF::Color Scene(int x, int y) {
  return LLF::Color(uint8_t(40 + (x % 400) * 160 / 400), uint8_t(60 + y * 150 / kHeight),
                    uint8_t(120 + ((x % 400) + y) % 100), 255);
}

// A colour of its own for the n-th object.
LLF::Color Ink(int n) {
  return LLF::Color(uint8_t(30 + (n * 67) % 200), uint8_t(20 + (n * 113) % 200), uint8_t(10 + (n * 29) % 200),
                    255);
}

void FillRect(LLF::Image& image, const LLF::Rect& r, const LLF::Color& c) {
  for (int y = r.y; y < r.y + r.height; ++y)
    for (int x = r.x; x < r.x + r.width; ++x) image.SetPixel(x, y, &c);
}

// A transparent canvas with one object: a filled box with a darker frame.
LLF::Image Layer(const LLF::Rect& r, const LLF::Color& c) {
  LLF::Image image(kWidth, kHeight, LLF::IMGFORMAT_R8G8B8A8);
  FillRect(image, r, c);
  const LLF::Color frame(uint8_t(c.r / 2), uint8_t(c.g / 2), uint8_t(c.b / 2), 255);
  for (int x = r.x; x < r.x + r.width; ++x) {
    image.SetPixel(x, r.y, &frame);
    image.SetPixel(x, r.y + r.height - 1, &frame);
  }
  for (int y = r.y; y < r.y + r.height; ++y) {
    image.SetPixel(r.x, y, &frame);
    image.SetPixel(r.x + r.width - 1, y, &frame);
  }
  return image;
}

LLF::Image Picture(int width, int height, int shift) {
  LLF::Image image(unsigned(width), unsigned(height), LLF::IMGFORMAT_R8G8B8A8);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const LLF::Color c = Scene(x - shift, y);
      image.SetPixel(x, y, &c);
    }
  return image;
}

bool Save(LLF::Image& image, const std::string& path, std::string& error) {
  if (LLF::CodecPng::GetInstance().Save(&image, LLF::FromOsPath(path))) return true;
  error = "cannot write " + path;
  return false;
}

bool WriteText(const std::string& path, const std::string& text, std::string& error) {
  std::ofstream out(path, std::ios::binary);
  out << "\xEF\xBB\xBF" << text;
  if (out.good()) return true;
  error = "cannot write " + path;
  return false;
}

bool WriteSeek(const std::string& folder, std::string& error) {
  LLF::Image base = Picture(kWidth, kHeight, 0);
  if (!Save(base, folder + "Layer_base.png", error)) return false;
  int n = 0;
  for (const BuilderInputs::SeekObject& o : BuilderInputs::SeekObjects()) {
    LLF::Image layer = Layer(o.rect, Ink(n++));
    if (!Save(layer, folder + LLF::WideToAnsi(o.file), error)) return false;
  }
  return true;
}

bool WriteMirror(const std::string& folder, std::string& error) {
  LLF::Image original = Picture(kWidth, kHeight, 0);
  LLF::Image left = Picture(kWidth, kHeight, 0);
  LLF::Image right = Picture(kWidth, kHeight, 400);
  int n = 0;
  for (const LLF::Rect& r : BuilderInputs::MirrorLeftBlobs()) FillRect(left, r, Ink(n++));
  for (const LLF::Rect& r : BuilderInputs::MirrorRightBlobs()) FillRect(right, r, Ink(n++));
  return Save(original, folder + "Scene_original.png", error) &&
         Save(left, folder + "Scene_left.png", error) && Save(right, folder + "Scene_right.png", error);
}

bool WritePreCut(const std::string& folder, std::string& error) {
  LLF::Image original(kWidth, kHeight, LLF::IMGFORMAT_R8G8B8A8);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < 400; ++x) {
      const LLF::Color c = Scene(x, y);
      original.SetPixel(x, y, &c);
    }
  if (!Save(original, folder + "Layer_original.png", error)) return false;
  const struct {
    const std::vector<LLF::Rect>& rects;
    const char* side;
  } sides[] = {{BuilderInputs::PreCutLeft(), "left"}, {BuilderInputs::PreCutRight(), "right"}};
  int n = 0;
  for (const auto& side : sides) {
    for (size_t i = 0; i < side.rects.size(); ++i) {
      LLF::Image layer = Layer(side.rects[i], Ink(n++));
      if (!Save(layer, folder + "Diff_" + side.side + "_" + std::to_string(i + 1) + ".png", error))
        return false;
    }
  }
  return true;
}

// Item n: a box of its own size and colour on a small transparent canvas.
LLF::Rect ItemBox(int item) {
  return LLF::Rect(4, 6, 30 + item * 7, 24 + (item * 11) % 30);
}

bool WritePairItems(const std::string& folder, std::string& error) {
  for (int item = 1; item <= BuilderInputs::kPairItems; ++item) {
    LLF::Image image(96, 96, LLF::IMGFORMAT_R8G8B8A8);
    FillRect(image, ItemBox(item), Ink(item + 20));
    char name[32];
    std::snprintf(name, sizeof(name), "item_%03d.png", item);
    if (!Save(image, folder + name, error)) return false;
  }
  return true;
}

bool WritePairScene(const std::string& folder, const std::string& root, const std::string& src,
                    std::string& error) {
  for (const BuilderInputs::PairPlacement& p : BuilderInputs::PairScene()) {
    LLF::Image layer = Layer(p.rect, Ink(p.item + 20));
    if (!Save(layer, folder + LLF::WideToAnsi(p.file), error)) return false;
  }
  LLF::Image background = Picture(kWidth, kHeight, 0);
  return Save(background, root + "pair_background.png", error) &&
         WriteText(
             folder + "asset.xml",
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<game >\r\n\t<assets >\r\n\t\t<LEVOBJECTS >\r\n"
             "\t\t\t<image name=\"lp_background\" src=\"" +
                 src +
                 "pair_background.png\" cells=\"1\" loops=\"1\" />\r\n"
                 "\t\t</LEVOBJECTS>\r\n\t</assets>\r\n</game>\r\n",
             error);
}

}  // namespace

const std::vector<BuilderInputs::SeekObject>& BuilderInputs::SeekObjects() {
  static const std::vector<SeekObject> objects = [] {
    const struct {
      const wchar_t* name;
      const wchar_t* suffix;
      const wchar_t* flag;
    } list[] = {
        {L"Lamp", L"--2", L"easy"},         {L"Kettle", L"--2", L"easy"},
        {L"Basket", L"--2", L"easy"},       {L"Candle", L"--3", L"normal"},
        {L"Clock", L"--3", L"normal"},      {L"Teapot", L"--3", L"normal"},
        {L"Spoon", L"--3", L"normal"},      {L"Bottle", L"--3", L"normal"},
        {L"Lantern", L"--4", L"difficult"}, {L"Thimble", L"--4", L"difficult"},
        {L"Boot", L"", L"unknown"},         {L"Key", L"", L"unknown"},
    };
    std::vector<SeekObject> result;
    int n = 0;
    for (const auto& o : list) {
      // Four columns of three rows, each box in a cell of its own.
      const int column = n % 4;
      const int row = n / 4;
      const LLF::Rect rect(30 + column * 150 + (n * 13) % 40, 40 + row * 180 + (n * 7) % 50,
                           40 + (n * 17) % 50, 30 + (n * 23) % 60);
      result.push_back({std::wstring(L"Obj_") + o.name + o.suffix + L".png", o.name, o.flag, rect});
      ++n;
    }
    return result;
  }();
  return objects;
}

const std::vector<LLF::Rect>& BuilderInputs::MirrorLeftBlobs() {
  static const std::vector<LLF::Rect> blobs = {{60, 80, 30, 30}, {120, 80, 30, 30}, {200, 300, 40, 20}};
  return blobs;
}

const std::vector<LLF::Rect>& BuilderInputs::MirrorRightBlobs() {
  static const std::vector<LLF::Rect> blobs = {{500, 100, 30, 30}, {650, 400, 25, 35}};
  return blobs;
}

const std::vector<LLF::Rect>& BuilderInputs::PreCutLeft() {
  static const std::vector<LLF::Rect> blobs = {{50, 60, 32, 28}, {220, 400, 45, 30}};
  return blobs;
}

const std::vector<LLF::Rect>& BuilderInputs::PreCutRight() {
  static const std::vector<LLF::Rect> blobs = {{480, 150, 36, 36}, {700, 500, 30, 40}};
  return blobs;
}

const std::vector<BuilderInputs::PairPlacement>& BuilderInputs::PairScene() {
  static const std::vector<PairPlacement> scene = [] {
    std::vector<PairPlacement> result;
    // Items 1-4 on both panes, 5 only on the left, 6 only on the right.
    for (int item = 1; item <= kPairItems; ++item) {
      const LLF::Rect box = ItemBox(item);
      const int y = 60 + (item - 1) * 85;
      char name[32];
      if (item != 6) {
        std::snprintf(name, sizeof(name), "Left_%02da.png", item);
        result.push_back(
            {LLF::AnsiToWide(name), item, true, {40 + (item * 37) % 250, y, box.width, box.height}});
      }
      if (item != 5) {
        std::snprintf(name, sizeof(name), "Right_%02db.png", item);
        result.push_back(
            {LLF::AnsiToWide(name), item, false, {440 + (item * 53) % 250, y + 10, box.width, box.height}});
      }
    }
    return result;
  }();
  return scene;
}

bool BuilderInputs::Write(const std::string& folder, const std::string& srcPrefix, std::string& error) {
  std::string root = folder;
  if (root.empty() || root.back() != '/') root += '/';
  std::string src = srcPrefix.empty() ? root : srcPrefix;
  if (src.back() != '/') src += '/';
  for (const char* sub : {"seek", "mirror", "mirror_precut", "pair_items", "pair_scene"}) {
    std::error_code code;
    std::filesystem::create_directories(root + sub, code);
    if (code) {
      error = "cannot make " + root + sub;
      return false;
    }
  }
  return WriteSeek(root + "seek/", error) && WriteMirror(root + "mirror/", error) &&
         WritePreCut(root + "mirror_precut/", error) && WritePairItems(root + "pair_items/", error) &&
         WritePairScene(root + "pair_scene/", root, src, error);
}

int BuilderInputs::Main(const std::vector<std::string>& arguments) {
  if (arguments.empty() || arguments.size() > 2) {
    std::cerr << "usage: datagen --builder-inputs FOLDER [SRC_PREFIX]\n";
    return 2;
  }
  std::string error;
  if (!Write(arguments[0], arguments.size() > 1 ? arguments[1] : std::string(), error)) {
    std::cerr << "datagen: " << error << "\n";
    return 1;
  }
  return 0;
}

}  // namespace Datagen
