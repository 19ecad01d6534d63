// shellc: compiles the UTF-8 source of a language shell into its binary shell file.
//
//   shellc <source> <output>
//
// The language code is the source's base name ("shells/rus.txt" gives "rus"); a Russian
// code makes a shell with notes. Every fault is reported as file:line and the output is
// left untouched.

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/files.h"
#include "text/shell_source.h"

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: shellc <source.txt> <output>\n");
    return 2;
  }
  const std::filesystem::path source = argv[1];
  const std::filesystem::path output = argv[2];
  const std::string name = source.string();
  const auto bytes = qj::readFile(source, 16u << 20);
  if (!bytes) {
    std::fprintf(stderr, "%s: cannot be read\n", name.c_str());
    return 1;
  }
  const std::string code = source.stem().string();
  const auto result = qj::parseShellSource(*bytes, code);
  if (!result.source) {
    for (const auto& e : result.errors)
      std::fprintf(stderr, "%s:%d: error: %s\n", name.c_str(), e.line, e.message.c_str());
    return 1;
  }
  try {
    qj::writeFileAtomic(output, qj::writeShell(result.source->tables, qj::isRussianShell(code),
                                               result.source->notes));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: cannot be written: %s\n", output.string().c_str(), e.what());
    return 1;
  }
  return 0;
}
