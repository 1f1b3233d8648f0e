#include "base/status.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/message_table.h"

namespace zelvo::base {

namespace {

bool is_conversion(char c) { return std::strchr("diouxXeEfFgGcsp", c) != nullptr; }

template <typename T>
std::string format_one(const std::string& directive, T value) {
  const int size = std::snprintf(nullptr, 0, directive.c_str(), value);
  if (size <= 0) return std::string();
  std::string text(static_cast<size_t>(size), '\0');
  std::snprintf(text.data(), text.size() + 1, directive.c_str(), value);
  return text;
}

// One conversion formatted as printf formats it with this argument, taken
// as the conversion asks whatever it was stored as.
std::string convert(const std::string& directive, const Message::Argument* argument) {
  const char conversion = directive.back();
  const bool long_long = directive.find("ll") != std::string::npos;
  const bool is_long = !long_long && directive.find('l') != std::string::npos;
  int64_t whole = 0;
  double real = 0;
  std::string words;
  if (argument != nullptr) {
    std::visit(
        [&](const auto& value) {
          using T = std::decay_t<decltype(value)>;
          if constexpr (std::is_same_v<T, std::string>) {
            words = value;
          } else {
            whole = static_cast<int64_t>(value);
            real = static_cast<double>(value);
          }
        },
        *argument);
  }
  switch (conversion) {
    case 's':
      return format_one(directive, words.c_str());
    case 'e': case 'E': case 'f': case 'F': case 'g': case 'G':
      return format_one(directive, real);
    case 'd': case 'i': case 'c':
      if (long_long) return format_one(directive, static_cast<long long>(whole));
      if (is_long) return format_one(directive, static_cast<long>(whole));
      return format_one(directive, static_cast<int>(whole));
    default:  // o u x X
      if (long_long) return format_one(directive, static_cast<unsigned long long>(whole));
      if (is_long) return format_one(directive, static_cast<unsigned long>(whole));
      return format_one(directive, static_cast<unsigned>(whole));
  }
}

}  // namespace

std::string render(const Message& message, int32_t language) {
  const MessagePair texts = texts_of(message.id());
  const char* format = language == kSpanish ? texts.spanish : texts.english;
  std::string out;
  size_t next = 0;
  for (const char* p = format; *p != '\0'; ++p) {
    if (*p != '%') {
      out += *p;
      continue;
    }
    if (p[1] == '%') {
      out += '%';
      ++p;
      continue;
    }
    // "%2$lld" takes the second argument wherever it stands.
    const char* start = p + 1;
    size_t index = next++;
    const char* digits = start;
    while (*digits >= '0' && *digits <= '9') ++digits;
    if (digits != start && *digits == '$') {
      index = static_cast<size_t>(std::atoi(start)) - 1;
      start = digits + 1;
    }
    const char* end = start;
    while (*end != '\0' && !is_conversion(*end)) ++end;
    if (*end == '\0') break;
    const std::string directive = "%" + std::string(start, static_cast<size_t>(end - start + 1));
    const auto& arguments = message.arguments();
    out += convert(directive, index < arguments.size() ? &arguments[index] : nullptr);
    p = end;
  }
  return out;
}

}  // namespace zelvo::base
