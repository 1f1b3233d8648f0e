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

// The media's rows (media_messages.cpp) follow the jobs' rows
// (message_table.cpp) from this id on.
inline constexpr MessageId kFirstMediaMessage = MessageId::kMidiFileUnreadable;

// The two texts of `id`. REQUIRES: id < MessageId::kCount.
MessagePair texts_of(MessageId id);
// REQUIRES: kFirstMediaMessage <= id < MessageId::kCount.
MessagePair media_texts_of(MessageId id);

}  // namespace zelvo::base
