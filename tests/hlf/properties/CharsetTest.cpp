#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "LogRecorder.h"
#include "TestEnv.h"
#include "core/StringUtils.h"
#include "properties/TextProperty.h"

namespace {

using HLF::GetCharset;

// Every fixed list, written out in full.
TEST(CharsetTest, FixedListsHoldExactlyTheirCharacters) {
  struct Row {
    const wchar_t* name;
    size_t length;
    const wchar_t* characters;
  };
  const Row rows[] = {
      {L"english_charset", 64, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.!"},
      {L"english_rich_charset", 95,
       L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789'`\"!?@#~%_&*(){}[]=\\+|-<>,./;:©®™"},
      {L"german_charset", 71, L"ABCDEFGHIJKLMNOPQRSTUVWXYZÄÖÜßabcdefghijklmnopqrstuvwxyzäöü0123456789.!"},
      {L"german_rich_charset", 102,
       L"ABCDEFGHIJKLMNOPQRSTUVWXYZÄÖÜßabcdefghijklmnopqrstuvwxyzäöü0123456789"
       L"'`\"!?@#~%_&*(){}[]=\\+|-<>,./;:©®™"},
      {L"spanish_charset", 81,
       L"ABCDEFGHIJKLMNOPQRSTUVWXYZÁÉÍÓÚÜÑabcdefghijklmnopqrstuvwxyzáéíóúüñ0123456789.¡!¿?"},
      {L"spanish_rich_charset", 111,
       L"ABCDEFGHIJKLMNOPQRSTUVWXYZÁÉÍÓÚÜÑabcdefghijklmnopqrstuvwxyzáéíóúüñ0123456789"
       L"'`\"¡!¿?@#~%_&*(){}[]=\\+|-<>,./;:©®™"},
      {L"french_charset", 98,
       L"ABCDEFGHIJKLMNOPQRSTUVWXYZÀÂÇÉÈÊËÎÏÔÛÙÜŸÑŒÆabcdefghijklmnopqrstuvwxyzàâçéèêëîïôûùüÿñœæ0123456789.!"},
      {L"french_rich_charset", 127,
       L"ABCDEFGHIJKLMNOPQRSTUVWXYZÀÂÇÉÈÊËÎÏÔÛÙÜŸÑŒÆabcdefghijklmnopqrstuvwxyzàâçéèêëîïôûùüÿñ0123456789"
       L"'`\"!?@#~%_&*(){}[]=\\+|-<>,./;:©®™"},
      {L"russian_charset", 78,
       L"АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя0123456789.!"},
      {L"russian_rich_charset", 109,
       L"АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя0123456789"
       L"'`\"!?@#~%_&*(){}[]=\\+|-<>,./;:©®™"},
      {L"russian_capital_charset", 39, L"АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ!&',.?"},
      {L"czech_charset", 98,
       L"AÁBCČDĎEÉĚFGHChIÍJKLMNŇOÓPQRŘSŠTŤUÚŮVWXYÝZŽaábcčdďeéěfghchiíjklmnňoópqrřsštťuúůvwxyýzž0123456789.!"},
      {L"czech_rich_charset", 129,
       L"AÁBCČDĎEÉĚFGHChIÍJKLMNŇOÓPQRŘSŠTŤUÚŮVWXYÝZŽaábcčdďeéěfghchiíjklmnňoópqrřsštťuúůvwxyýzž0123456789"
       L"'`\"!?@#~%_&*(){}[]=\\+|-<>,./;:©®™"},
      {L"czech_capital_charset", 49, L"AÁBCČDĎEÉĚFGHChIÍJKLMNŇOÓPQRŘSŠTŤUÚŮVWXYÝZŽ!&',.?"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(LLF::WideToAnsi(row.name));
    const std::wstring list = GetCharset(row.name);
    EXPECT_EQ(list.size(), row.length);
    EXPECT_EQ(list, row.characters);
  }
  // Names are matched exactly: any other word is a list of its own.
  EXPECT_EQ(GetCharset(L"English_charset"), L"English_charset");
}

TEST(CharsetTest, FileNamesAndPlainWords) {
  const std::string folder = QmTest::NewTempFolder("charset");
  const std::string utf8 = folder + "/digits.txt";
  std::ofstream(utf8, std::ios::binary) << "\xEF\xBB\xBF"
                                           "0123456789\xC3\xA4\xC3\x9F";
  const std::string utf7 = folder + "/utf7.txt";
  std::ofstream(utf7, std::ios::binary) << "+/v8abc";
  QmTest::LogRecorder log;

  EXPECT_EQ(GetCharset(L"file_" + LLF::AnsiToWide(utf8)), L"0123456789äß");
  EXPECT_TRUE(log.Lines().empty());

  struct Failure {
    std::string path;
    const wchar_t* line;
  };
  const Failure failures[] = {
      {folder + "/missing.txt", L"Error: can't open charset file "},
      {folder, L"Error: can't open charset file "},  // a folder is no file
      {utf7, L"Error: can't read charset file "},    // an encoding we do not decode
  };
  for (const Failure& f : failures) {
    SCOPED_TRACE(f.path);
    const std::wstring path = LLF::AnsiToWide(f.path);
    EXPECT_EQ(GetCharset(L"file_" + path), L"");
    EXPECT_EQ(log.Count(f.line + path + L"\r\n"), 1);
  }

  // Only a leading "file_" names a file; other words are their own list.
  const wchar_t* words[] = {L"0123456789", L"my_file_list", L"file", L""};
  for (const wchar_t* word : words) {
    EXPECT_EQ(GetCharset(word), word);
  }
  EXPECT_EQ(log.Lines().size(), 3u);
}

}  // namespace
