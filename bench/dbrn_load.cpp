// Times loading the large test city (2500 nodes, 10000 transit sections) from its file, as
// the task wizard and the optimiser load a database: read the file and check it whole.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "dbrn/dbrn_io.h"
#include "democity/demo_city.h"
#include "platform/files.h"

int main() {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / "qj-bench-dbrn";
  fs::create_directories(folder);
  for (int level : {1, 2}) {
    const qj::DbrnFile city = qj::largeCity(level, "eng");
    const fs::path path = folder / qj::dbrnFileName(city.header.dbCode, city.header.dbKind, "eng");
    const std::string bytes = qj::writeDbrn(city);
    qj::writeFileAtomic(path, bytes);

    double best = 1e9, total = 0;
    const int runs = 20;
    for (int i = 0; i < runs; ++i) {
      const auto start = std::chrono::steady_clock::now();
      const qj::DbrnRead read = qj::readDbrnFile(path);
      const double ms =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count();
      if (!read.db) {
        std::fprintf(stderr, "load failed: %s\n", read.error.text.c_str());
        return 1;
      }
      best = std::min(best, ms);
      total += ms;
    }
    std::printf(
        "level %d: %d nodes, %d sections, %d houses, %zu bytes: load %.2f ms best, %.2f ms "
        "mean of %d\n",
        level, city.header.nodeCount, city.header.sectionCount, city.header.houseCount,
        bytes.size(), best, total / runs, runs);
    fs::remove(path);
  }
  fs::remove(folder);
  return 0;
}
