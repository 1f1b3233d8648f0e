#include "base/message_table.h"

#include <gtest/gtest.h>

#include <string>

#include "base/status.h"
#include "support/cases.h"

namespace zelvo::base {
namespace {

// The conversions of a format in order ("%s%d%d"), "%%" left out.
std::string conversions(const char* format) {
  std::string out;
  for (const char* p = format; *p != '\0'; ++p) {
    if (*p != '%') continue;
    if (p[1] == '%') {
      ++p;
      continue;
    }
    const char* end = p + 1;
    while (*end != '\0' && std::string("diouxXeEfFgGcsp").find(*end) == std::string::npos) ++end;
    out.append(p, end + 1);
    p = end;
  }
  return out;
}

TEST(MessageTableTest, BothLanguagesTakeTheSameArguments) {
  for (int id = 0; id < static_cast<int>(MessageId::kCount); ++id) {
    const MessagePair texts = texts_of(static_cast<MessageId>(id));
    ASSERT_NE(texts.english, nullptr) << id;
    ASSERT_NE(texts.spanish, nullptr) << id;
    EXPECT_EQ(conversions(texts.english), conversions(texts.spanish)) << "message " << id;
  }
}

TEST(MessageTableTest, TextWithoutConversionsRendersAsItIs) {
  for (int id = 0; id < static_cast<int>(MessageId::kCount); ++id) {
    const MessagePair texts = texts_of(static_cast<MessageId>(id));
    if (!conversions(texts.english).empty()) continue;
    EXPECT_EQ(render(Message(static_cast<MessageId>(id)), kEnglish), texts.english);
    EXPECT_EQ(render(Message(static_cast<MessageId>(id)), kSpanish), texts.spanish);
  }
}

// Messages of each kind of argument, rendered in both languages, against
// data/base/rendered_messages.txt.
TEST(MessageTableTest, ArgumentsFormatAsPrintfFormatsThem) {
  const Message messages[] = {
      Message(MessageId::kCellTooLong, "TGEN", 3, 12),
      Message(MessageId::kUndeclaredVariable, std::string("pitch"), "TCAL", -4),
      Message(MessageId::kHarmonyPartsLookedFor, "inarm.xml", 4LL, 5LL, 6LL, "P1, P2"),
      Message(MessageId::kInternalError, "out of memory"),
      Message(MessageId::kSeedMessage, 4000000000u),
      Message(MessageId::kTimeTooLarge, int64_t{1} << 40, "outco.mid"),
  };
  std::string got;
  for (const Message& message : messages) {
    got += "english\n" + test::quoted(render(message, kEnglish)) + "spanish\n" + test::quoted(render(message, kSpanish));
  }
  test::expect_recorded(test::test_data("base/rendered_messages.txt"), got);
}

}  // namespace
}  // namespace zelvo::base
