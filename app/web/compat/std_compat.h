#pragma once

// What emscripten's C++ library (libc++ 14) lacks of C++20 and the engines
// use, given to every file of the module (-include): std::bit_cast, and
// std::from_chars for double as GCC's library reads it. Nothing here is
// compiled natively.
#include <bit>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <system_error>

namespace std {

#if !defined(__cpp_lib_bit_cast)
template <class To, class From>
constexpr To bit_cast(const From& from) noexcept {
  return __builtin_bit_cast(To, from);
}
#endif

// The longest text from `first` that reads as a decimal number ([-]digits
// [.digits][e[+-]digits], "inf", "infinity", "nan", "nan(chars)", any
// case), read by the C library's correctly rounded strtod. A number too large
// or too small for a double leaves `value` as it was and says
// result_out_of_range; no number at all, invalid_argument.
inline from_chars_result from_chars(const char* first, const char* last, double& value,
                                    chars_format = chars_format::general) {
  const char* p = first;
  const bool negative = p != last && *p == '-';
  if (negative) ++p;
  const auto word_at = [last](const char* at, const char* word) {
    for (; *word != '\0'; ++at, ++word) {
      if (at == last || std::tolower(static_cast<unsigned char>(*at)) != *word) return false;
    }
    return true;
  };
  if (word_at(p, "inf")) {
    value = negative ? -HUGE_VAL : HUGE_VAL;
    return {p + (word_at(p, "infinity") ? 8 : 3), errc()};
  }
  if (word_at(p, "nan")) {
    const char* end = p + 3;
    if (end != last && *end == '(') {
      const char* q = end + 1;
      while (q != last && (std::isalnum(static_cast<unsigned char>(*q)) || *q == '_')) ++q;
      if (q != last && *q == ')') end = q + 1;
    }
    value = negative ? -std::nan("") : std::nan("");
    return {end, errc()};
  }
  const auto digits = [last](const char* at) {
    while (at != last && *at >= '0' && *at <= '9') ++at;
    return at;
  };
  const char* integer_end = digits(p);
  bool any = integer_end != p;
  p = integer_end;
  if (p != last && *p == '.') {
    const char* fraction_end = digits(p + 1);
    any = any || fraction_end != p + 1;
    if (any) p = fraction_end;
  }
  if (!any) return {first, errc::invalid_argument};
  if (p != last && (*p == 'e' || *p == 'E')) {
    const char* q = p + 1;
    if (q != last && (*q == '+' || *q == '-')) ++q;
    const char* exponent_end = digits(q);
    if (exponent_end != q) p = exponent_end;
  }
  const std::string text(first, p);
  errno = 0;
  const double read = std::strtod(text.c_str(), nullptr);
  if (errno == ERANGE && (std::isinf(read) || read == 0.0)) return {p, errc::result_out_of_range};
  value = read;
  return {p, errc()};
}

}  // namespace std
