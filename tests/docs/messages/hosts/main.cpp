const char16_t kUsage[] =
    u"Usage: fixture SCRIPT\n"
    u"  --check   only read the script\n";

int Main(const Args& args) {
  if (args.empty()) return Fail(u"No script file passed\n" + kUsage);
  return 0;
}
