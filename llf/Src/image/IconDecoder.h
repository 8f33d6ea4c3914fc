#pragma once
// Reads a window icon from the bytes of a desktop icon file (.ico): picks
// the image that suits a square of the wanted size and gives it at exactly
// that size. Bitmap images of 1, 4, 8, 24 and 32 bits per pixel are read,
// with the transparency mask; images stored as PNG are passed over.
// Malformed input gives false, never a read outside the bytes.
#include <cstddef>
#include <string>
#include <vector>

namespace LLF {

// On success rgba holds size x size pixels, rows top-down, four bytes each
// in the order red, green, blue, alpha. On failure error names the reason.
bool DecodeIcon(const unsigned char* data, size_t length, int size, std::vector<unsigned char>& rgba,
                std::wstring& error);

}  // namespace LLF
