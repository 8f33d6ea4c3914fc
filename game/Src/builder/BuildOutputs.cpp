#include "builder/BuildOutputs.h"

#include <filesystem>
#include <system_error>

#include "core/Log.h"
#include "core/OSUtils.h"
#include "core/StringUtils.h"
#include "image/ImagesManager.h"
#include "io/TextFile.h"

bool BuildOutputs::Exists(const std::wstring& path) {
  std::error_code error;
  // A dangling link counts: writing through it would create its target.
  return std::filesystem::symlink_status(LLF::ToOsPath(path), error).type() !=
         std::filesystem::file_type::not_found;
}

std::wstring BuildOutputs::TemporaryOf(const std::wstring& path) {
  // The extension stays last, so the same codec takes the temporary.
  return LLF::ExtractFolder(path) + L"~" + LLF::ExtractFileName(path);
}

bool BuildOutputs::CheckNothingExists() const {
  // A temporary standing is a killed run's and is written over.
  for (const std::wstring& name : _planned) {
    if (Exists(Path(name))) {
      LLF::Log::GetInstance().Write(L"Error: File \"" + Path(name) +
                                    L"\" already exists. Nothing has been built.");
      return false;
    }
  }
  return true;
}

bool BuildOutputs::SaveImage(LLF::Image& image, const std::wstring& path) {
  const std::wstring temporary = TemporaryOf(path);
  if (LLF::ImagesManager::GetInstance().SaveImage(&image, temporary) && LLF::OS_MoveFile(temporary, path)) {
    return true;
  }
  LLF::OS_DeleteFile(temporary);
  LLF::Log::GetInstance().Write(L"Error: Can't save image file \"" + path);
  return false;
}

bool BuildOutputs::Save(LLF::Image& image, const std::wstring& name) {
  if (!SaveImage(image, Path(name))) return false;
  Wrote(name);
  return true;
}

bool BuildOutputs::WriteXml(const LLF::XmlDoc& doc, const std::wstring& name) {
  LLF::TextFile file;
  if (file.WriteAll(Path(name), doc.Serialize(L"UTF-8"), LLF::TextFile::ENCODING_UTF8)) {
    Wrote(name);
    return true;
  }
  LLF::Log::GetInstance().Write(L"Error: Can't write file \"" + Path(name) + L"\"");
  return false;
}

void BuildOutputs::DeleteConsumed() const {
  for (const std::wstring& name : _consumed) {
    if (!LLF::OS_DeleteFile(Path(name))) {
      LLF::Log::GetInstance().Write(L"Warning: Can't delete layer file \"" + Path(name) + L"\"");
    }
  }
}

void BuildOutputs::RemoveWritten() {
  for (const std::wstring& name : _written) LLF::OS_DeleteFile(Path(name));
  _written.clear();
}

void BuildOutputs::AddImageAsset(LLF::XmlElement& group, const std::wstring& name, const std::wstring& src) {
  LLF::XmlElement* image = group.AddChild(L"image");
  image->AddAttribute(L"name", name);
  image->AddAttribute(L"src", src);
  image->AddAttribute(L"cells", L"1");
  image->AddAttribute(L"loops", L"1");
}
