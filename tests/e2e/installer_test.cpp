// The installer in the test's Wine prefix, round trips of a silent install
// and a silent uninstall: what is installed (files, Start-menu shortcuts,
// version information, the association, the PATH entry when asked for), a
// script opened through the shell as a double-click opens it, and that the
// uninstaller leaves nothing of it behind, and nothing else changed.
#include <gtest/gtest.h>

#include "tests/e2e/driver.h"  // <windows.h> before the shell's headers

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>

#include "tests/support/process.h"
#include "tests/support/test_main.h"

namespace zun::e2e {
namespace {

namespace fs = std::filesystem;

std::string g_setup;    // zunrun-<version>-setup.exe, from the command line
fs::path g_source;      // the source tree: VERSION, examples/
std::string g_version;  // what VERSION says

const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZunRun";
const wchar_t kClasses[] = L"Software\\Classes\\";

std::wstring Env(const wchar_t* name) {
  wchar_t value[MAX_PATH] = L"";
  GetEnvironmentVariableW(name, value, MAX_PATH);
  return value;
}
std::wstring Programs() { return Env(L"LOCALAPPDATA") + L"\\Programs"; }
std::wstring Folder() { return Programs() + L"\\ZunRun"; }
std::wstring Menu() {
  wchar_t programs[MAX_PATH] = L"";
  SHGetFolderPathW(nullptr, CSIDL_PROGRAMS, nullptr, 0, programs);
  return std::wstring(programs) + L"\\ZunRun";
}
bool Exists(const std::wstring& path) { return zun::e2e::Exists(Utf8(path)); }

// The default value (or `name`) of a key of the current user; "-" when absent.
std::wstring Value(const std::wstring& key, const wchar_t* name = nullptr) {
  wchar_t data[1024];
  DWORD size = sizeof data;
  if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
    return L"-";
  return data;
}
bool KeyExists(HKEY root, const std::wstring& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// The user's PATH as stored: its type (0 when there is none) and its text
// unexpanded.
struct UserPath {
  DWORD type = 0;
  std::wstring text;
  bool operator==(const UserPath& o) const { return type == o.type && text == o.text; }
};
std::ostream& operator<<(std::ostream& os, const UserPath& p) {
  return os << "type " << p.type << " \"" << Utf8(p.text) << "\"";
}
UserPath ReadPath() {
  UserPath p;
  wchar_t data[4096];
  DWORD size = sizeof data;
  if (RegGetValueW(HKEY_CURRENT_USER, L"Environment", L"Path", RRF_RT_ANY | RRF_NOEXPAND, &p.type, data, &size) !=
      ERROR_SUCCESS)
    return UserPath();
  p.text.assign(data, size / sizeof(wchar_t) - 1);
  return p;
}
void WritePath(const UserPath& p) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Environment", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  if (p.type == 0) RegDeleteValueW(key, L"Path");
  else
    RegSetValueExW(key, L"Path", 0, p.type, reinterpret_cast<const BYTE*>(p.text.c_str()),
                   static_cast<DWORD>((p.text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}
// Puts the prefix's PATH back as it was, whatever a test left.
struct PathKept {
  UserPath saved = ReadPath();
  ~PathKept() { WritePath(saved); }
};

// Where a shortcut points; "-" when it cannot be read.
std::wstring ShortcutTarget(const std::wstring& lnk) {
  std::wstring target = L"-";
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return target;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t path[MAX_PATH];
    if (SUCCEEDED(file->Load(lnk.c_str(), STGM_READ)) &&
        SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH)))
      target = path;
    file->Release();
  }
  link->Release();
  return target;
}

// A program's version information: the fixed numbers ("1.0.2.0") and the
// strings of its first translation; empty when it has none.
std::map<std::string, std::string> VersionInfo(const std::wstring& exe) {
  std::map<std::string, std::string> info;
  DWORD size = GetFileVersionInfoSizeW(exe.c_str(), nullptr);
  std::vector<char> block(size);
  if (size == 0 || !GetFileVersionInfoW(exe.c_str(), 0, size, block.data())) return info;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) && fixed) {
    info["fixed file"] =
        std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
        std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionLS));
    info["fixed product"] = std::to_string(HIWORD(fixed->dwProductVersionMS)) + "." +
                            std::to_string(LOWORD(fixed->dwProductVersionMS)) + "." +
                            std::to_string(HIWORD(fixed->dwProductVersionLS)) + "." +
                            std::to_string(LOWORD(fixed->dwProductVersionLS));
  }
  WORD* translation = nullptr;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
      length < 4)
    return info;
  char prefix[64];
  std::snprintf(prefix, sizeof prefix, "\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
  for (const char* name : {"ProductName", "ProductVersion", "FileVersion"}) {
    wchar_t* text = nullptr;
    if (VerQueryValueW(block.data(), Wide(prefix + std::string(name)).c_str(), reinterpret_cast<void**>(&text),
                       &length) &&
        text)
      info[name] = Utf8(text);
  }
  return info;
}

// VERSION with four numbers, as Windows keeps it.
std::string FourNumbers(std::string version) {
  for (size_t dots = std::count(version.begin(), version.end(), '.'); dots < 3; ++dots) version += ".0";
  return version;
}

// The first window of class `cls` inside `parent`, at any depth.
HWND FindChild(HWND parent, const wchar_t* cls) {
  struct Search {
    const wchar_t* cls;
    HWND found;
  } search{cls, nullptr};
  EnumChildWindows(
      parent,
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        wchar_t name[64] = L"";
        GetClassNameW(hwnd, name, 64);
        if (wcscmp(name, s->cls) != 0) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Waits up to 20 s for `ready` to give a window.
template <typename F>
HWND WaitFor(F ready) {
  for (int i = 0; i < 400; ++i) {
    if (HWND hwnd = ready()) return hwnd;
    Pump(50);
  }
  return nullptr;
}

// The visible top-level window of a process that holds a `cls` window.
HWND WindowWith(DWORD pid, const wchar_t* cls) {
  struct Search {
    DWORD pid;
    const wchar_t* cls;
    HWND found;
  } search{pid, cls, nullptr};
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner != s->pid || !IsWindowVisible(hwnd)) return TRUE;
        HWND child = FindChild(hwnd, s->cls);
        if (!child || !IsWindowVisible(child)) return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Whether a component of the setup's list is ticked: the state image of
// its tree item (NSIS: 1 unticked, 2 ticked; read-only ones higher).
int Tick(HWND tree, HTREEITEM item) {
  return static_cast<int>(
      (SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_STATEIMAGEMASK) >> 12));
}

std::string Text(const std::wstring& path) { return golden::ReadBytes(fs::path(path)); }

// Runs the setup or the uninstaller with these switches; its exit status,
// 99 if it hangs.
DWORD Launch(const std::string& exe, std::vector<std::string> args) {
  RunOptions o;
  o.args = std::move(args);
  o.timeoutMs = 60000;
  RunResult r = RunProgram(exe, o);
  return r.ended ? r.exitCode : 99;
}

// The uninstaller finishes from a copy of itself: waits for its work (the
// folder and the uninstaller's key gone) a while.
void Uninstall() {
  ASSERT_EQ(Launch(Utf8(Folder()) + "\\uninstall.exe", {"/S"}), 0u);
  for (int i = 0; i < 300 && (Exists(Folder() + L"\\uninstall.exe") || KeyExists(HKEY_CURRENT_USER, kUninstallKey));
       ++i)
    Sleep(100);
  Sleep(500);  // its last steps: the folders, the shell's notice
}

// What an install leaves that should not be there after the uninstaller.
std::vector<std::string> Leftovers(bool programsExisted) {
  std::vector<std::string> left;
  if (Exists(Folder())) left.push_back("the folder " + Utf8(Folder()));
  if (!programsExisted && Exists(Programs())) left.push_back("the folder " + Utf8(Programs()));
  if (Exists(Menu())) left.push_back("the Start-menu folder " + Utf8(Menu()));
  const std::pair<HKEY, std::wstring> keys[] = {{HKEY_CURRENT_USER, kClasses + std::wstring(L".zunscript")},
                                                {HKEY_CURRENT_USER, kClasses + std::wstring(L"ZunRun.Script")},
                                                {HKEY_CURRENT_USER, kUninstallKey},
                                                {HKEY_CLASSES_ROOT, L".zunscript"},
                                                {HKEY_CLASSES_ROOT, L"ZunRun.Script"}};
  for (const auto& [root, name] : keys)
    if (KeyExists(root, name)) left.push_back("the key " + Utf8(name));
  return left;
}

TEST(Installer, InstallsEverythingOpensScriptsAndUninstallsCleanly) {
  PathKept kept;
  // A PATH of the user's that a default silent install leaves alone.
  const UserPath before{REG_EXPAND_SZ, L"%USERPROFILE%\\bin;C:\\Tools"};
  WritePath(before);
  bool programsExisted = Exists(Programs());

  ASSERT_EQ(Launch(g_setup, {"/S"}), 0u);
  const std::wstring folder = Folder();
  for (const wchar_t* file :
       {L"zunrun.exe", L"zunrunc.exe", L"uninstall.exe", L"README.txt", L"LICENSE.txt", L"CHANGELOG.md",
        L"Help\\index.html", L"Help\\pages\\language.html", L"Editors\\notepad++\\zunscript.xml"})
    EXPECT_TRUE(Exists(folder + L"\\" + file)) << Utf8(file);
  EXPECT_TRUE(Exists(folder + L"\\Editors\\zunscript-" + Wide(g_version) + L".vsix"));
  // The whole examples folder, file for file.
  int examples = 0;
  for (const auto& entry : fs::recursive_directory_iterator(g_source / "examples")) {
    if (!entry.is_regular_file()) continue;
    ++examples;
    fs::path installed = fs::path(folder) / "Examples" / fs::relative(entry.path(), g_source / "examples");
    EXPECT_EQ(golden::ReadBytes(installed), golden::ReadBytes(entry.path())) << installed.string();
  }
  EXPECT_GT(examples, 0);

  // The read-me for users names the version; the license and the change
  // log are the repository's, with Windows line ends.
  std::string readme = Text(folder + L"\\README.txt");
  EXPECT_EQ(readme.rfind("ZunRun " + g_version + "\r\n", 0), 0u) << readme.substr(0, 40);
  EXPECT_NE(readme.find("Start menu > ZunRun > ZunRun Help"), std::string::npos);
  EXPECT_NE(readme.find("Exit statuses"), std::string::npos);
  EXPECT_EQ(readme.find("cmake"), std::string::npos) << "the build notes stay in the repository";
  EXPECT_NE(Text(folder + L"\\LICENSE.txt").find("MIT License\r\n\r\nCopyright (c)"), std::string::npos);
  std::string changelog = Text(folder + L"\\CHANGELOG.md");
  size_t latest = changelog.find("\r\n## [");
  ASSERT_NE(latest, std::string::npos);
  EXPECT_EQ(changelog.substr(latest + 6, g_version.size() + 1), g_version + "]");

  // The Start-menu folder.
  EXPECT_EQ(ShortcutTarget(Menu() + L"\\ZunRun Help.lnk"), folder + L"\\Help\\index.html");
  EXPECT_EQ(ShortcutTarget(Menu() + L"\\Examples.lnk"), folder + L"\\Examples");
  EXPECT_EQ(ShortcutTarget(Menu() + L"\\Uninstall.lnk"), folder + L"\\uninstall.exe");

  // One version everywhere.
  for (const std::wstring& exe : {Wide(g_setup), folder + L"\\zunrun.exe", folder + L"\\zunrunc.exe"}) {
    std::map<std::string, std::string> info = VersionInfo(exe);
    EXPECT_EQ(info["ProductName"], "ZunRun") << Utf8(exe);
    EXPECT_EQ(info["ProductVersion"], g_version) << Utf8(exe);
    EXPECT_EQ(info["FileVersion"], g_version) << Utf8(exe);
    EXPECT_EQ(info["fixed file"], FourNumbers(g_version)) << Utf8(exe);
    EXPECT_EQ(info["fixed product"], FourNumbers(g_version)) << Utf8(exe);
  }
  golden::ProcessResult version = golden::RunProcess(Utf8(folder) + "\\zunrunc.exe", {"--version"}, "");
  EXPECT_EQ(version.out, "zunrunc " + g_version + " (ZUN Script 1.3)\n");

  const std::wstring classes = kClasses;
  EXPECT_EQ(Value(classes + L".zunscript"), L"ZunRun.Script");
  EXPECT_EQ(Value(classes + L"ZunRun.Script\\shell\\open\\command"), L"\"" + folder + L"\\zunrun.exe\" \"%1\"");
  EXPECT_EQ(Value(classes + L"ZunRun.Script\\shell\\edit"), L"Edit");
  EXPECT_EQ(Value(classes + L"ZunRun.Script\\shell\\edit\\command"), L"notepad.exe \"%1\"");
  EXPECT_EQ(Value(classes + L"ZunRun.Script\\DefaultIcon"), L"\"" + folder + L"\\zunrun.exe\",0");
  EXPECT_EQ(Value(kUninstallKey, L"DisplayName"), L"ZunRun");
  EXPECT_EQ(Value(kUninstallKey, L"DisplayVersion"), Wide(g_version));
  EXPECT_EQ(Value(kUninstallKey, L"QuietUninstallString"), L"\"" + folder + L"\\uninstall.exe\" /S");
  EXPECT_EQ(ReadPath(), before) << "no PATH entry unless asked for";

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

  Uninstall();
  EXPECT_EQ(Leftovers(programsExisted), std::vector<std::string>());
  EXPECT_EQ(ReadPath(), before);
}

TEST(Installer, PathEntryIsAddedOnceAndRemovedExactly) {
  PathKept kept;
  EXPECT_EQ(Launch(g_setup, {"/S", "/PATH=perhaps"}), 2u) << "an unknown answer stops the setup";
  EXPECT_FALSE(Exists(Folder()));

  // An expandable PATH without a closing ';': the entry comes with one.
  const UserPath before{REG_EXPAND_SZ, L"C:\\Tools;%USERPROFILE%\\bin"};
  WritePath(before);
  bool programsExisted = Exists(Programs());
  const UserPath with{REG_EXPAND_SZ, before.text + L";" + Folder()};
  ASSERT_EQ(Launch(g_setup, {"/S", "/PATH=yes"}), 0u);
  EXPECT_EQ(ReadPath(), with);
  // Installed again over itself: still one entry, the files all there.
  ASSERT_EQ(Launch(g_setup, {"/S", "/path=YES"}), 0u);
  EXPECT_EQ(ReadPath(), with);
  EXPECT_TRUE(Exists(Folder() + L"\\Help\\index.html"));
  EXPECT_TRUE(Exists(Menu() + L"\\Examples.lnk"));

  // The user adds an entry after it; the uninstaller takes out its own.
  WritePath({REG_EXPAND_SZ, with.text + L";D:\\Later"});
  Uninstall();
  EXPECT_EQ(Leftovers(programsExisted), std::vector<std::string>());
  EXPECT_EQ(ReadPath(), (UserPath{REG_EXPAND_SZ, before.text + L";D:\\Later"}));

  // A plain-string PATH that ends in ';', and an entry already there.
  const UserPath plain{REG_SZ, L"C:\\Tools;"};
  WritePath(plain);
  ASSERT_EQ(Launch(g_setup, {"/S", "/PATH=yes"}), 0u);
  EXPECT_EQ(ReadPath(), (UserPath{REG_SZ, plain.text + Folder()}));
  Uninstall();
  EXPECT_EQ(ReadPath(), plain);
  const UserPath mine{REG_EXPAND_SZ, Folder() + L";C:\\Tools"};
  WritePath(mine);
  ASSERT_EQ(Launch(g_setup, {"/S", "/PATH=yes"}), 0u);
  EXPECT_EQ(ReadPath(), mine) << "the user's own entry is not added again";
  Uninstall();
  EXPECT_EQ(ReadPath(), mine) << "nor removed";

  // A PATH longer than the setup can hold whole is left alone, not cut.
  UserPath longer{REG_EXPAND_SZ, L"C:\\Tools"};
  while (longer.text.size() < 1100) longer.text += L";C:\\Some\\Folder" + std::to_wstring(longer.text.size());
  WritePath(longer);
  ASSERT_EQ(Launch(g_setup, {"/S", "/PATH=yes"}), 0u);
  EXPECT_EQ(ReadPath(), longer);
  Uninstall();
  EXPECT_EQ(ReadPath(), longer);
  EXPECT_EQ(Leftovers(programsExisted), std::vector<std::string>());
}

TEST(Installer, PathMadeByTheSetupGoesAndTheUsersFilesStay) {
  PathKept kept;
  WritePath(UserPath());
  bool programsExisted = Exists(Programs());
  ASSERT_EQ(Launch(g_setup, {"/S", "/PATH=yes"}), 0u);
  EXPECT_EQ(ReadPath(), (UserPath{REG_EXPAND_SZ, Folder()}));

  // A file of the user's in the folder: it stays, with the folders above it.
  std::wstring own = Folder() + L"\\Examples\\mine.zunscript";
  ASSERT_TRUE(CopyFileW((Folder() + L"\\README.txt").c_str(), own.c_str(), TRUE));
  Uninstall();
  EXPECT_EQ(ReadPath(), UserPath());
  EXPECT_TRUE(Exists(own));
  std::vector<std::string> left;
  for (const auto& entry : fs::recursive_directory_iterator(fs::path(Folder())))
    left.push_back(fs::relative(entry.path(), fs::path(Folder())).string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"Examples", "Examples\\mine.zunscript"}));
  EXPECT_FALSE(Exists(Menu()));

  DeleteFileW(own.c_str());
  RemoveDirectoryW((Folder() + L"\\Examples").c_str());
  RemoveDirectoryW(Folder().c_str());
  if (!programsExisted) RemoveDirectoryW(Programs().c_str());
}

TEST(Installer, WizardOffersThePathEntryUnticked) {
  PathKept kept;
  WritePath(UserPath());
  bool programsExisted = Exists(Programs());
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring cmd = golden::CommandLine(g_setup, {});
  ASSERT_TRUE(CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  CloseHandle(pi.hThread);
  struct Ended {  // the setup does not outlive a failed check
    HANDLE process;
    ~Ended() {
      if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) TerminateProcess(process, 99);
      CloseHandle(process);
    }
  } ended{pi.hProcess};

  // The first page: the components, the PATH entry offered and unticked.
  HWND frame = WaitFor([&] { return WindowWith(pi.dwProcessId, WC_TREEVIEWW); });
  ASSERT_NE(frame, nullptr);
  HWND tree = FindChild(frame, WC_TREEVIEWW);
  HTREEITEM program = TreeView_GetRoot(tree);
  HTREEITEM path = TreeView_GetNextSibling(tree, program);
  ASSERT_NE(path, nullptr);
  EXPECT_EQ(WindowText(frame).rfind("ZunRun " + g_version + " Setup", 0), 0u) << WindowText(frame);
  EXPECT_EQ(Tick(tree, path), 1);
  // Ticked as a person does: the item chosen, then the space bar.
  TreeView_SelectItem(tree, path);
  PostKey(tree, VK_SPACE);
  EXPECT_TRUE(WaitFor([&] { return Tick(tree, path) == 2 ? frame : nullptr; })) << Tick(tree, path);

  // Next to the folder, Install, and Close when it is done.
  HWND next = GetDlgItem(frame, IDOK);
  PostMessageW(next, BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return WindowWith(pi.dwProcessId, L"Edit"); }));
  PostMessageW(next, BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return WindowText(next) == "&Close" && IsWindowEnabled(next) ? next : nullptr; }))
      << WindowText(next);
  PostMessageW(next, BM_CLICK, 0, 0);
  ASSERT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0);

  EXPECT_TRUE(Exists(Folder() + L"\\zunrun.exe"));
  EXPECT_EQ(ReadPath(), (UserPath{REG_EXPAND_SZ, Folder()}));
  Uninstall();
  EXPECT_EQ(ReadPath(), UserPath());
  EXPECT_EQ(Leftovers(programsExisted), std::vector<std::string>());
}

}  // namespace
}  // namespace zun::e2e

int main(int argc, char** argv) {
  return zun::tests::RunTests(argc, argv, 2, "zun_installer_tests PATH\\zunrun-VERSION-setup.exe SOURCE_FOLDER",
                              [](int, char** args) {
                                zun::e2e::g_setup = zun::e2e::HostPath(args[0]);
                                zun::e2e::g_source = zun::e2e::HostPath(args[1]);
                                std::string version = zun::golden::ReadBytes(zun::e2e::g_source / "VERSION");
                                zun::e2e::g_version = version.substr(0, version.find_first_of("\r\n"));
                                // The shortcuts are read through COM; the process's end releases it.
                                CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
                              });
}
