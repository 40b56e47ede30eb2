// The system built-ins for real, and the desktop built-ins' failure answers
// where there is no Windows desktop (the POSIX build).
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/script_run.h"

namespace zun {
namespace {

using golden::Shows;

TEST(SystemBuiltins, IdentifiersAndFolders) {
  std::string guids = Shows(
      "var $a = SysGetGUID(); var $b = SysGetGUID();"
      "print(str(strlen($a)) + strsub($a, 0, 0) + strsub($a, 37, 37) + str($a != $b));"
      "print($a);");
  ASSERT_EQ(guids.substr(0, 6), "38{}1|");
  std::string guid = guids.substr(6);
  EXPECT_EQ(guid.substr(15, 4).find_first_of("ABCDEF"), std::string::npos) << "the third group in lower case: " << guid;
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
