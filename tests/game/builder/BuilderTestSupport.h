#pragma once
// Layer files and level readers for the builder's tests.
#include <map>
#include <string>
#include <vector>

#include "math/Color.h"
#include "math/Rect.h"

namespace QmTest {

struct Blob {
  LLF::Rect rect;
  LLF::Color color;
};

// A width x height PNG, transparent (or, without alpha, black) but for the
// blobs.
void WriteLayer(const std::string& path, const std::vector<Blob>& blobs, unsigned width = 800,
                unsigned height = 600, bool alpha = true);
// The size of a PNG file; 0 x 0 when it does not load.
LLF::Rect ImageSize(const std::string& path);

// One element of a level file: its tag and attributes in file order.
struct Element {
  std::wstring tag;
  std::vector<std::pair<std::wstring, std::wstring>> attributes;
  std::wstring Get(const std::wstring& name) const;
};
// The children of the file's first element (or of its child named path).
std::vector<Element> ReadChildren(const std::string& file, const std::wstring& path = L"");
// Every file of the folder and its bytes.
std::map<std::string, std::string> FolderBytes(const std::string& folder);
// "x,y" / "w,h" of a rectangle.
std::wstring Pos(const LLF::Rect& r);
std::wstring Dims(const LLF::Rect& r);

}  // namespace QmTest
