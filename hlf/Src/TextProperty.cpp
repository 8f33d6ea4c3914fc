#include "TextProperty.h"

#include <map>

#include "File.h"
#include "Log.h"
#include "TextFile.h"

namespace HLF {

// ---------------------------------------------------------------------------
// Charsets

namespace {

const wchar_t kDigits[] = L"0123456789";
const wchar_t kPlainEnd[] = L".!";
const wchar_t kCapitalEnd[] = L"!&',.?";
// The punctuation of the rich lists; Spanish has its inverted marks before
// the ones they open.
std::wstring Rich(bool inverted) {
  return std::wstring(L"'`\"") + (inverted ? L"¡!¿?" : L"!?") + L"@#~%_&*(){}[]=\\+|-<>,./;:©®™";
}

const std::map<std::wstring, std::wstring>& FixedCharsets() {
  static const std::map<std::wstring, std::wstring> table = [] {
    const std::wstring latinUpper = L"ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const std::wstring latinLower = L"abcdefghijklmnopqrstuvwxyz";
    const std::wstring germanUpper = latinUpper + L"ÄÖÜß";
    const std::wstring germanLower = latinLower + L"äöü";
    const std::wstring spanishUpper = latinUpper + L"ÁÉÍÓÚÜÑ";
    const std::wstring spanishLower = latinLower + L"áéíóúüñ";
    const std::wstring frenchUpper = latinUpper + L"ÀÂÇÉÈÊËÎÏÔÛÙÜŸÑŒÆ";
    const std::wstring frenchRichLower = latinLower + L"àâçéèêëîïôûùüÿñ";
    const std::wstring frenchLower = frenchRichLower + L"œæ";
    const std::wstring russianUpper = L"АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ";
    const std::wstring russianLower = L"абвгдеёжзийклмнопрстуфхцчшщъыьэюя";
    // "Ch" is one letter of the alphabet, listed as its two characters.
    const std::wstring czechUpper = L"AÁBCČDĎEÉĚFGHChIÍJKLMNŇOÓPQRŘSŠTŤUÚŮVWXYÝZŽ";
    const std::wstring czechLower = L"aábcčdďeéěfghchiíjklmnňoópqrřsštťuúůvwxyýzž";
    const std::wstring rich = Rich(false);
    return std::map<std::wstring, std::wstring>{
        {L"english_charset", latinUpper + latinLower + kDigits + kPlainEnd},
        {L"english_rich_charset", latinUpper + latinLower + kDigits + rich},
        {L"german_charset", germanUpper + germanLower + kDigits + kPlainEnd},
        {L"german_rich_charset", germanUpper + germanLower + kDigits + rich},
        {L"spanish_charset", spanishUpper + spanishLower + kDigits + L".¡!¿?"},
        {L"spanish_rich_charset", spanishUpper + spanishLower + kDigits + Rich(true)},
        {L"french_charset", frenchUpper + frenchLower + kDigits + kPlainEnd},
        {L"french_rich_charset", frenchUpper + frenchRichLower + kDigits + rich},
        {L"russian_charset", russianUpper + russianLower + kDigits + kPlainEnd},
        {L"russian_rich_charset", russianUpper + russianLower + kDigits + rich},
        {L"russian_capital_charset", russianUpper + kCapitalEnd},
        {L"czech_charset", czechUpper + czechLower + kDigits + kPlainEnd},
        {L"czech_rich_charset", czechUpper + czechLower + kDigits + rich},
        {L"czech_capital_charset", czechUpper + kCapitalEnd},
    };
  }();
  return table;
}

const wchar_t kFilePrefix[] = L"file_";

}  // namespace

std::wstring GetCharset(const std::wstring& name) {
  const auto& table = FixedCharsets();
  const auto known = table.find(name);
  if (known != table.end()) {
    return known->second;
  }
  // Only a leading "file_" names a file: a list that merely holds those
  // characters somewhere is a list.
  if (name.compare(0, std::wstring(kFilePrefix).size(), kFilePrefix) != 0) {
    return name;
  }
  const std::wstring path = name.substr(std::wstring(kFilePrefix).size());
  LLF::TextFile file;
  std::wstring text;
  if (!file.Open(path, LLF::TextFile::ENCODING_ANSI, LLF::FILEOPS_READ, LLF::FILEOPEN_OPENEXISTING)) {
    LLF::Log::GetInstance().Write(L"Error: can't open charset file " + path);
    return std::wstring();
  }
  if (!file.ReadText(text)) {
    LLF::Log::GetInstance().Write(L"Error: can't read charset file " + path);
    return std::wstring();
  }
  return text;
}

}  // namespace HLF
