#pragma once
// The C library's locale set for one test and put back afterwards: the program runs under
// whatever locale Qt took from the environment, often one with a decimal comma.

#include <clocale>
#include <string>

namespace qj::test {

// The two locales every text of numbers is tried under: a decimal point and a decimal comma.
inline constexpr const char* kPointAndCommaLocales[] = {"C", "ru_RU.UTF-8"};

class ScopedCLocale {
 public:
  explicit ScopedCLocale(const char* name) : before_(std::setlocale(LC_ALL, nullptr)) {
    ok_ = std::setlocale(LC_ALL, name) != nullptr;
  }
  ~ScopedCLocale() { std::setlocale(LC_ALL, before_.c_str()); }
  ScopedCLocale(const ScopedCLocale&) = delete;
  ScopedCLocale& operator=(const ScopedCLocale&) = delete;

  // False when the locale is not installed (scripts/setup generates it).
  bool ok() const { return ok_; }

 private:
  std::string before_;
  bool ok_ = false;
};

}  // namespace qj::test
