// The system built-ins on POSIX: identifiers from the kernel's random
// source, XDG user folders for the common special folders, TMPDIR, and the
// desktop's opener (xdg-open) for ShellExecute.
#include <fcntl.h>
#include <spawn.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/arguments.h"
#include "platform/desktop.h"

extern char** environ;

namespace zun::platform {

namespace {

bool IsDirectory(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string Home() {
  const char* home = std::getenv("HOME");
  return home ? home : "";
}

std::string EnvOr(const char* name, const std::string& fallback) {
  const char* v = std::getenv(name);
  return v && *v ? v : fallback;
}

// A folder from ~/.config/user-dirs.dirs: XDG_<KEY>_DIR="$HOME/...".
std::string UserDir(const std::string& key, const std::string& fallback) {
  std::ifstream dirs(EnvOr("XDG_CONFIG_HOME", Home() + "/.config") + "/user-dirs.dirs");
  const std::string prefix = "XDG_" + key + "_DIR=\"";
  for (std::string line; std::getline(dirs, line);) {
    if (line.compare(0, prefix.size(), prefix) != 0 || line.back() != '"') continue;
    std::string value = line.substr(prefix.size(), line.size() - prefix.size() - 1);
    if (value.compare(0, 5, "$HOME") == 0) value = Home() + value.substr(5);
    return value;
  }
  return fallback.empty() ? fallback : Home() + "/" + fallback;
}

struct SpecialFolder {
  int64_t csidl;
  std::string (*path)();
};
const SpecialFolder kSpecialFolders[] = {
    {0x0000, [] { return UserDir("DESKTOP", "Desktop"); }},                     // CSIDL_DESKTOP
    {0x0005, [] { return UserDir("DOCUMENTS", "Documents"); }},                 // CSIDL_PERSONAL
    {0x000D, [] { return UserDir("MUSIC", "Music"); }},                         // CSIDL_MYMUSIC
    {0x000E, [] { return UserDir("VIDEOS", "Videos"); }},                       // CSIDL_MYVIDEO
    {0x0010, [] { return UserDir("DESKTOP", "Desktop"); }},                     // CSIDL_DESKTOPDIRECTORY
    {0x0015, [] { return UserDir("TEMPLATES", "Templates"); }},                 // CSIDL_TEMPLATES
    {0x001A, [] { return EnvOr("XDG_CONFIG_HOME", Home() + "/.config"); }},     // CSIDL_APPDATA
    {0x001C, [] { return EnvOr("XDG_DATA_HOME", Home() + "/.local/share"); }},  // CSIDL_LOCAL_APPDATA
    {0x0027, [] { return UserDir("PICTURES", "Pictures"); }},                   // CSIDL_MYPICTURES
    {0x0028, [] { return Home(); }},                                            // CSIDL_PROFILE
};

// Starts the program in a session of its own; the script does not wait
// for it. True when the program could be started.
bool Spawn(const std::string& program, const std::vector<std::string>& args, const std::string& directory) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawnattr_t attr;
  posix_spawn_file_actions_t actions;
  posix_spawnattr_init(&attr);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
  posix_spawn_file_actions_init(&actions);
  if (!directory.empty()) posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
  pid_t child = 0;
  int rc = ::posix_spawnp(&child, program.c_str(), &actions, &attr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attr);
  return rc == 0;
}

}  // namespace

u16 NewGuidText() {
  unsigned char b[16];
  if (::getrandom(b, sizeof b, 0) != static_cast<ssize_t>(sizeof b)) return u16();
  b[6] = static_cast<unsigned char>((b[6] & 0x0F) | 0x40);  // version 4, random
  b[8] = static_cast<unsigned char>((b[8] & 0x3F) | 0x80);
  char text[39];
  std::snprintf(text, sizeof text, "{%02X%02X%02X%02X-%02X%02X-%02x%02x-%02X%02X-%02X%02X%02X%02X%02X%02X}", b[0], b[1],
                b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
  return FromAscii(text);
}

u16 SpecialFolderPath(int64_t csidl) {
  for (const SpecialFolder& f : kSpecialFolders) {
    if (f.csidl != csidl) continue;
    std::string path = f.path();
    return IsDirectory(path) ? FromUtf8(path) : u16();
  }
  return u16();
}

u16 TemporaryFolder() {
  std::string dir = EnvOr("TMPDIR", "/tmp");
  if (dir.back() != '/') dir.push_back('/');
  return FromUtf8(dir);
}

// "open" (or no operation) of an existing document or URL goes to
// xdg-open; a program is started with the parameters. Anything else fails.
bool ShellExecuteDocument(const u16& operation, const u16& file, const u16& parameters, const u16& directory) {
  if (!operation.empty() && ToLower(operation) != u"open") return false;
  std::string path = ToUtf8(file);
  std::string dir = ToUtf8(directory);
  std::string resolved = path.empty() || path[0] == '/' || dir.empty() ? path : dir + "/" + path;
  bool isUrl = path.find("://") != std::string::npos;
  struct stat st {};
  if (!isUrl && ::stat(resolved.c_str(), &st) != 0) return false;
  if (!isUrl && S_ISREG(st.st_mode) && ::access(resolved.c_str(), X_OK) == 0) {
    std::vector<std::string> args;
    for (const u16& a : SplitCommandLine(parameters, false)) args.push_back(ToUtf8(a));
    return Spawn(resolved, args, dir);
  }
  return Spawn("xdg-open", {resolved}, dir);  // false where there is no xdg-open
}

}  // namespace zun::platform
