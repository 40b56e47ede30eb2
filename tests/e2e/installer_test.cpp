// The installer in the test's Wine prefix: a silent install, the
// association in the registry, a script opened through the shell as a
// double-click opens it, and a silent uninstall that leaves nothing behind.
#include <gtest/gtest.h>

#include "tests/e2e/driver.h"  // <windows.h> before <shellapi.h>

#include <shellapi.h>

namespace zun::e2e {
namespace {

std::string g_setup;  // zunrun-<version>-setup.exe, from the command line

const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZunRun";

std::wstring Folder() {
  wchar_t local[MAX_PATH];
  GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH);
  return std::wstring(local) + L"\\Programs\\ZunRun";
}

// The default value (or `name`) of a key of the current user; "-" when absent.
std::wstring Value(const std::wstring& key, const wchar_t* name = nullptr) {
  wchar_t data[1024];
  DWORD size = sizeof data;
  if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
    return L"-";
  return data;
}

// Runs an installer or uninstaller with /S; its exit status, 99 if it hangs.
DWORD RunSilently(const std::string& exe) {
  RunOptions o;
  o.args = {"/S"};
  o.timeoutMs = 60000;
  RunResult r = RunProgram(exe, o);
  return r.ended ? r.exitCode : 99;
}

TEST(Installer, InstallsAssociatesOpensAndUninstallsCleanly) {
  ASSERT_EQ(RunSilently(g_setup), 0u);
  std::wstring folder = Folder();
  for (const wchar_t* file : {L"zunrun.exe", L"zunrunc.exe", L"README.md", L"examples\\hello.zunscript", L"uninstall.exe"})
    EXPECT_TRUE(Exists(Utf8(folder + L"\\" + file))) << Utf8(file);

  const std::wstring classes = L"Software\\Classes\\";
  EXPECT_EQ(Value(classes + L".zunscript"), L"ZunRun.Script");
  EXPECT_EQ(Value(classes + L"ZunRun.Script\\shell\\open\\command"), L"\"" + folder + L"\\zunrun.exe\" \"%1\"");
  EXPECT_EQ(Value(classes + L"ZunRun.Script\\shell\\edit"), L"Edit");
  EXPECT_EQ(Value(classes + L"ZunRun.Script\\shell\\edit\\command"), L"notepad.exe \"%1\"");
  EXPECT_EQ(Value(classes + L"ZunRun.Script\\DefaultIcon"), L"\"" + folder + L"\\zunrun.exe\",0");
  EXPECT_EQ(Value(kUninstallKey, L"DisplayName"), L"ZunRun");
  std::wstring quiet = Value(kUninstallKey, L"QuietUninstallString");
  EXPECT_EQ(quiet, L"\"" + folder + L"\\uninstall.exe\" /S");

  // Opened through the shell, as a double-click opens it.
  std::wstring script = Wide(TempFile("installer.zunscript", "print(\"opened through the shell\");"));
  SHELLEXECUTEINFOW open{};
  open.cbSize = sizeof open;
  open.lpVerb = L"open";
  open.lpFile = script.c_str();
  open.nShow = SW_SHOWNORMAL;
  open.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;  // a failure must not wait for a person
  ASSERT_TRUE(ShellExecuteExW(&open)) << GetLastError();
  ASSERT_NE(open.hProcess, nullptr);
  RunResult shown = WatchProcess(open.hProcess, RunOptions());
  EXPECT_TRUE(shown.ended);
  EXPECT_EQ(shown.exitCode, 0u);
  EXPECT_EQ(shown.Transcript(), "box\tZUN Script\tOK\topened through the shell\tOK\n");
  DeleteFileW(script.c_str());

  // The uninstaller finishes from a copy of itself: wait for its work.
  ASSERT_EQ(RunSilently(Utf8(folder) + "\\uninstall.exe"), 0u);
  for (int i = 0; i < 300 && (Exists(Utf8(folder)) || Value(kUninstallKey, L"DisplayName") != L"-"); ++i) Sleep(100);
  EXPECT_FALSE(Exists(Utf8(folder)));
  const std::pair<HKEY, std::wstring> removed[] = {{HKEY_CURRENT_USER, classes + L".zunscript"},
                                                   {HKEY_CURRENT_USER, classes + L"ZunRun.Script"},
                                                   {HKEY_CURRENT_USER, kUninstallKey},
                                                   {HKEY_CLASSES_ROOT, L".zunscript"}};
  for (const auto& [root, name] : removed) {
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExW(root, name.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS) << Utf8(name);
  }
}

}  // namespace
}  // namespace zun::e2e

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: zun_installer_tests PATH\\zunrun-VERSION-setup.exe\n");
    return 2;
  }
  zun::e2e::g_setup = zun::e2e::HostPath(argv[1]);
  return RUN_ALL_TESTS();
}
