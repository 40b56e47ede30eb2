// The system built-ins for real, and the desktop built-ins' failure answers
// where there is no Windows desktop (the POSIX build).
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/script_run.h"

namespace zun {
namespace {

using golden::Check;
using golden::Shows;

#ifdef _WIN32
const char* const kTempEnd = "1\\";
#else
const char* const kTempEnd = "1/";
#endif

TEST(SystemBuiltins, IdentifiersAndFolders) {
  std::string guids = Shows("var $a = SysGetGUID(); var $b = SysGetGUID();"
                            "print(str(strlen($a)) + strsub($a, 0, 0) + strsub($a, 37, 37) + str($a != $b));"
                            "print($a);");
  ASSERT_EQ(guids.substr(0, 6), "38{}1|");
  std::string guid = guids.substr(6);
  EXPECT_EQ(guid.substr(15, 4), [&] {
    std::string lower = guid.substr(15, 4);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
  }());
  Check({
      {"SysGetTemporaryFolder(1);", "ERR:'SysGetTemporaryFolder' function error:wrong number of arguments, should be:0 arguments"},
      {"var $t = SysGetTemporaryFolder(); print(str(strlen($t) > 1) + strsub($t, strlen($t) - 1, strlen($t) - 1));",
       kTempEnd},
      {"print(str(ShellExecute(\"open\", \"/no/such/file.txt\")));", "0"},
      {"print(SysGetSpecialFolderLocation(0x11));", ""},
      {"GetCurrentDirectory(1);", "ERR:'GetCurrentDirectory' function error:wrong number of arguments, should be:0 arguments"},
  });
  std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::path temp = std::filesystem::temp_directory_path();
  std::string lit;
  for (char c : temp.string()) lit += c == '\\' ? std::string("\\\\") : std::string(1, c);
  EXPECT_EQ(Shows("print(str(SetCurrentDirectory(\"" + lit + "\")) + str(UrlIsSame(GetCurrentDirectory(), \"" + lit +
                  "\")) + str(SetCurrentDirectory(\"no such folder\")));"),
            "110");
  std::filesystem::current_path(before);
}

}  // namespace
}  // namespace zun
