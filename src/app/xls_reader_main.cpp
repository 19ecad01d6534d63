// qjroute-xls: the program's reader of legacy .xls files, started by the program for each
// file with the limits it is to keep (office/xls_cells.h).

#include "office/xls_cells.h"

#if defined(__SANITIZE_ADDRESS__)
#define QJ_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QJ_ADDRESS_SANITIZER 1
#endif
#endif

#if defined(QJ_ADDRESS_SANITIZER)
// The address-space limit cannot hold under the sanitizer; its own limit on resident memory
// does. The leaks of the library on damaged files end with the process.
extern "C" const char* __asan_default_options() {
  return "hard_rss_limit_mb=1024:detect_leaks=0";
}
#endif

int main(int argc, char* argv[]) {
  qj::office::runXlsReader(argc, argv);
}
