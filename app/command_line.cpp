#include "app/command_line.h"

#include "app/settings.h"

namespace lw {

std::string UsageText() {
  return "usage: harvester --headless --seeds FILE [--endpoint URL] [--output FILE]\n"
         "                 [--ca-file PEM] [--settings FILE]\n"
         "       harvester --headless --demo --seeds FILE [--output FILE]\n"
         "\n"
         "Harvests long-tail keywords: every line of FILE (UTF-8) is a seed. Each accepted word\n"
         "is printed as ID<TAB>word and appended to the output file (GBK, default 长尾词.txt);\n"
         "status texts go to standard error. Ctrl+C stops the harvest.\n"
         "  --endpoint URL   suggestion service: scheme, host and optional port\n"
         "  --ca-file PEM    certificates to trust for HTTPS besides the system's\n"
         "  --settings FILE  a settings file of key = value lines\n"
         "  --demo           harvest offline against a suggestion service on loopback\n";
}

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& command,
                      std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  CommandLine c;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size() || args[i + 1].empty()) return false;
      out = args[++i];
      return true;
    };
    std::string v;
    if (a == "--help" || a == "-h") {
      c.help = true;
    } else if (a == "--headless") {
      c.headless = true;
    } else if (a == "--demo") {
      c.demo = true;
    } else if (a == "--seeds") {
      if (!value(v)) return fail("--seeds needs a file");
      c.seeds_file = v;
    } else if (a == "--endpoint") {
      if (!value(v)) return fail("--endpoint needs a URL");
      std::string why;
      if (!NormaliseEndpoint(v, &why)) return fail(why);
      c.endpoint = v;
    } else if (a == "--output") {
      if (!value(v)) return fail("--output needs a file");
      c.output_file = v;
    } else if (a == "--ca-file") {
      if (!value(v)) return fail("--ca-file needs a file");
      c.ca_file = v;
    } else if (a == "--settings") {
      if (!value(v)) return fail("--settings needs a file");
      c.settings_file = v;
    } else {
      return fail("unknown argument: " + a);
    }
  }
  if (!c.help) {
    if (!c.headless) return fail("nothing to do without --headless (the window is not built)");
    if (c.seeds_file.empty()) return fail("--headless needs --seeds FILE");
    if (c.demo && c.endpoint) return fail("--demo brings its own endpoint; drop --endpoint");
  }
  command = std::move(c);
  return true;
}

}  // namespace lw
