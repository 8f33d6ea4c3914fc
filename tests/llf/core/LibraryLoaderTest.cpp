// Run-time libraries by their desktop names: the file-name mapping, the
// program's folder searched first, undecorated function names, and binding
// all names or none.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <link.h>

#include <iterator>
#include <string>

#include "core/LibraryBinding.h"
#include "core/OSUtils.h"
#include "core/StringUtils.h"
#include "sound/BassApi.h"

namespace {

TEST(LibraryLoader, MapsDesktopNamesToSharedObjects) {
  const std::pair<const wchar_t*, const char*> names[] = {
      {L"BASS.DLL", "libbass.so"},     {L"audiere.dll", "libaudiere.so"},
      {L"Squall.dll", "libsquall.so"}, {L"c:\\Windows\\System32\\d3d8.dll", "libd3d8.so"},
      {L"plain", "libplain.so"},
  };
  for (const auto& [name, file] : names) {
    EXPECT_EQ(LLF::OS_LibraryFileName(name), file);
  }
}

// libbass.so lies beside the test program, which is on no search path.
TEST(LibraryLoader, FindsLibrariesInTheProgramsFolderFirst) {
  void* library = LLF::OS_LoadLibrary(L"BASS.DLL");
  ASSERT_NE(library, nullptr);
  link_map* map = nullptr;
  ASSERT_EQ(dlinfo(library, RTLD_DI_LINKMAP, &map), 0);
  EXPECT_EQ(std::string(map->l_name), LLF::ToOsPath(LLF::ExtractFolder(LLF::OS_GetExePath())) + "libbass.so");
  void* init = LLF::OS_GetProcAddress(library, "BASS_Init");
  EXPECT_NE(init, nullptr);
  EXPECT_EQ(LLF::OS_GetProcAddress(library, "_BASS_Init@16"), init);
  EXPECT_EQ(LLF::OS_GetProcAddress(library, "BASS_NoSuchFunction"), nullptr);
  EXPECT_EQ(LLF::OS_GetProcAddress(library, "_BASS_Init@x"), nullptr);
  EXPECT_EQ(LLF::OS_GetProcAddress(nullptr, "BASS_Init"), nullptr);
  EXPECT_TRUE(LLF::OS_FreeLibrary(library));
  EXPECT_FALSE(LLF::OS_FreeLibrary(nullptr));
  EXPECT_EQ(LLF::OS_LoadLibrary(L"no-such-library.dll"), nullptr);
}

TEST(LibraryLoader, BindsEveryNameOrNone) {
  struct Two {
    void* first;
    void* second;
  } two{};
  static const char* const kGood[] = {"BASS_Init", "BASS_Free"};
  LLF::LibraryBinding good(L"BASS.DLL", kGood, std::size(kGood));
  EXPECT_FALSE(good.IsLoaded());
  EXPECT_TRUE(good.CopyFunctions(&two, sizeof two));
  EXPECT_EQ(two.first, nullptr);
  ASSERT_TRUE(good.Load());
  EXPECT_TRUE(good.Load());
  EXPECT_EQ(good.Dump(), L"Library BASS.DLL (loaded)");
  EXPECT_TRUE(good.CopyFunctions(&two, sizeof two));
  EXPECT_NE(two.first, nullptr);
  EXPECT_NE(two.second, nullptr);
  EXPECT_FALSE(good.CopyFunctions(&two, sizeof two + 1));
  good.Release();
  EXPECT_FALSE(good.IsLoaded());

  static const char* const kOneMissing[] = {"BASS_Init", "BASS_NoSuchFunction", "BASS_Free"};
  LLF::LibraryBinding bad(L"BASS.DLL", kOneMissing, std::size(kOneMissing));
  EXPECT_FALSE(bad.Load());
  EXPECT_FALSE(bad.IsLoaded());
  static const char* const kNone[] = {"AnyName"};
  LLF::LibraryBinding absent(L"audiere.dll", kNone, 1);
  EXPECT_FALSE(absent.Load());
  EXPECT_EQ(absent.Dump(), L"Library audiere.dll (not loaded)");
}

}  // namespace
