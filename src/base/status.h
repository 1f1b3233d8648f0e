#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "base/message.h"
#include "base/message_id.h"

namespace zelvo::base {

// What a reader, the compiler or the engine has to say when it cannot go on:
// the message's name and the values its text shows, in the order of the
// text's conversions. Whoever runs the job prints it in the job's language.
class Message {
 public:
  using Argument = std::variant<int64_t, uint64_t, double, std::string>;

  Message() = default;
  template <typename... Args>
  explicit Message(MessageId id, const Args&... args) : id_(id) {
    arguments_.reserve(sizeof...(args));
    (arguments_.push_back(argument(args)), ...);
  }

  MessageId id() const { return id_; }
  const std::vector<Argument>& arguments() const { return arguments_; }

 private:
  static Argument argument(const char* text) { return std::string(text != nullptr ? text : ""); }
  static Argument argument(const std::string& text) { return text; }
  static Argument argument(double value) { return value; }
  template <typename T>
  static Argument argument(T value) {
    static_assert(std::is_integral_v<T>, "a message shows numbers and texts");
    if constexpr (std::is_signed_v<T>) {
      return static_cast<int64_t>(value);
    } else {
      return static_cast<uint64_t>(value);
    }
  }

  MessageId id_ = MessageId::kInternalError;
  std::vector<Argument> arguments_;
};

// The text of `message` in `language` (kEnglish or kSpanish), formatted as
// printf formats it.
std::string render(const Message& message, int32_t language);

// The outcome of a step that either goes on or stops with a message.
class [[nodiscard]] Status {
 public:
  Status() = default;
  Status(Message error) : error_(std::move(error)) {}  // NOLINT: a failure converts to its status

  // A failure after which the job ends in the abort even when Stop was
  // pressed while its message was printed (a score file the application
  // refuses to open ends every job so).
  static Status ending_in_abort(Message error) {
    Status status(std::move(error));
    status.stop_may_win_ = false;
    return status;
  }

  bool ok() const { return !error_.has_value(); }
  // REQUIRES: !ok().
  const Message& error() const { return *error_; }
  // Whether a job whose stages let a pending stop win over the abort may do
  // so after this message.
  bool stop_may_win() const { return stop_may_win_; }

 private:
  std::optional<Message> error_;
  bool stop_may_win_ = true;
};

// A reader deep inside its work gives up by unwinding to its entry point
// with the message (stop_with); the entry point hands the message on as its
// Status (attempt). Nothing is printed on the way: the job that called the
// entry point decides.
struct StepFailed {
  Message message;
  bool stop_may_win = true;
};

[[noreturn]] inline void stop_with(Message message) { throw StepFailed{std::move(message)}; }
// REQUIRES: !status.ok().
[[noreturn]] inline void stop_with(const Status& status) {
  throw StepFailed{status.error(), status.stop_may_win()};
}

template <typename Body>
Status attempt(Body&& body) {
  try {
    body();
  } catch (StepFailed& failed) {
    if (!failed.stop_may_win) return Status::ending_in_abort(std::move(failed.message));
    return Status(std::move(failed.message));
  }
  return Status();
}

}  // namespace zelvo::base
