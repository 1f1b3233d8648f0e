#pragma once

#include <cstdint>

#include "base/message.h"
#include "base/message_id.h"

namespace zelvo::base {

// A row of the message table: a message's name and its text in each language.
struct MessageText {
  MessageId id;
  const char* english;
  const char* spanish;
};

// The rows of the tools around the jobs (tool_messages.cpp) follow the
// jobs' rows (message_table.cpp) from this id on.
inline constexpr MessageId kFirstToolMessage = MessageId::kMidiFileUnreadable;

// The two texts of `id`. REQUIRES: id < MessageId::kCount.
MessagePair texts_of(MessageId id);
// REQUIRES: kFirstToolMessage <= id < MessageId::kCount.
MessagePair tool_texts_of(MessageId id);

}  // namespace zelvo::base
