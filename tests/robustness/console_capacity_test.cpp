// The console store (70000 characters) and the print buffer (2000): messages
// longer than either room are cut or make room, never written beyond.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "console/console.h"

namespace zelvo::robustness {
namespace {

using console::Console;
using console::kConsoleSize;
using console::kPrintBufferSize;
using console::same_text;

std::string last_line(const Console& console) {
  std::string text = console.contents();
  while (!text.empty() && text.back() == '\n') text.pop_back();
  const size_t start = text.rfind('\n');
  return start == std::string::npos ? text : text.substr(start + 1);
}

TEST(ConsoleCapacity, MessageLongerThanThePrintBufferIsCut) {
  auto console = std::make_unique<Console>();
  const std::string long_text(5000, 'm');
  console->print(same_text("%s"), long_text.c_str());
  EXPECT_EQ(last_line(*console), std::string(kPrintBufferSize - 1, 'm'));
  EXPECT_LT(console->length(), kConsoleSize);
}

TEST(ConsoleCapacity, LongMessageIntoAStoreJustOverTheTrimThreshold) {
  auto console = std::make_unique<Console>();
  console->fill_for_test(console::kTrimThreshold + 1, 80);
  // A new line of all the buffer holds.
  const std::string message = "\n" + std::string(kPrintBufferSize - 2, 'z');
  console->print(same_text("%s"), message.c_str());
  EXPECT_LT(console->length(), kConsoleSize);
  EXPECT_EQ(last_line(*console), message.substr(1));
}

TEST(ConsoleCapacity, StoreOfOneEndlessLine) {
  auto console = std::make_unique<Console>();
  console->fill_for_test(kConsoleSize - 1, 0);
  const std::string message = "\n" + std::string(1500, 'q') + "\n";
  console->print(same_text("%s"), message.c_str());
  EXPECT_LT(console->length(), kConsoleSize);
  EXPECT_EQ(last_line(*console), std::string(1500, 'q'));
  // And again, many times over: the store keeps trimming.
  for (int32_t i = 0; i < 200; ++i) console->print(same_text("%s"), message.c_str());
  EXPECT_LT(console->length(), kConsoleSize);
  EXPECT_EQ(last_line(*console), std::string(1500, 'q'));
}

TEST(ConsoleCapacity, ManyShortMessagesStayWithinTheStore) {
  auto console = std::make_unique<Console>();
  for (int32_t i = 0; i < 20000; ++i) console->print(same_text("\tProcessing bar %d\n"), i);
  EXPECT_LT(console->length(), kConsoleSize);
  EXPECT_EQ(console->contents().substr(console->contents().size() - 22), "\tProcessing bar 19999\n");
}

}  // namespace
}  // namespace zelvo::robustness
