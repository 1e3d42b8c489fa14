// A locale for one scope, and the C locale back afterwards.
#pragma once

#include <clocale>

class LocaleScope {
 public:
  explicit LocaleScope(const char* name) : ok_(std::setlocale(LC_ALL, name) != nullptr) {}
  ~LocaleScope() { std::setlocale(LC_ALL, "C"); }
  LocaleScope(const LocaleScope&) = delete;
  LocaleScope& operator=(const LocaleScope&) = delete;
  bool ok() const { return ok_; }

 private:
  bool ok_;
};

inline constexpr char kNoBig5[] = "the zh_TW.BIG5 locale is missing: run tools/setup-debian.sh";
