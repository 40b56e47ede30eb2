// A small engine for the messages check: each kind of text it must tell apart.
#include "engine/run.h"

namespace fixture {

void Run(Engine& e) {
  if (e.Empty()) e.Report("Script is empty");  // "a quoted comment" is no literal
  /* "nor is this" */
  if (!e.Known()) e.Report(u"Unknown variable:" + e.Name());
  if (e.Deep()) e.Report(u"script nested too deeply (more than " + e.Limit() + u" levels)");
  char quote = '"';
  e.Write(quote, "%d", L"utf-16", "\r\n");
  e.Report(u"two pieces " u"of one text");
}

}  // namespace fixture
