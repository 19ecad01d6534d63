// Writes the demo city's system databases into a Dbrn folder, or the large test city into
// one file.
//
//   democity <Dbrn folder>
//   democity --large <file> [--level 1|2] [--lang eng|rus]

#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>

#include "democity/demo_city.h"
#include "platform/files.h"

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: democity <Dbrn folder>\n"
               "       democity --large <file> [--level 1|2] [--lang eng|rus]\n");
  return 2;
}

int writeShipped(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  for (const auto& demo : qj::shippedDemoDatabases())
    qj::writeFileAtomic(folder / demo.fileName, qj::writeDbrn(demo.db));
  return 0;
}

int writeLarge(int argc, char** argv) {
  if (argc < 3) return usage();
  const std::filesystem::path out = argv[2];
  int level = 2;
  std::string lang = "eng";
  for (int i = 3; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--level") == 0) {
      level = std::atoi(argv[i + 1]);
    } else if (std::strcmp(argv[i], "--lang") == 0) {
      lang = argv[i + 1];
    } else {
      return usage();
    }
  }
  if ((argc - 3) % 2 != 0) return usage();
  const qj::DbrnFile db = qj::largeCity(level, lang);
  qj::writeFileAtomic(out, qj::writeDbrn(db));
  std::printf("%s: %d nodes, %d transit sections, %d houses\n", out.string().c_str(),
              db.header.nodeCount, db.header.sectionCount, db.header.houseCount);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc >= 2 && std::strcmp(argv[1], "--large") == 0) return writeLarge(argc, argv);
    if (argc != 2 || argv[1][0] == '-') return usage();
    return writeShipped(argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "democity: %s\n", e.what());
    return 1;
  }
}
