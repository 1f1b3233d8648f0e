#include "base/message_table.h"

#include <gtest/gtest.h>

#include <string>

#include "base/status.h"

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

struct RenderCase {
  Message message;
  const char* english;
  const char* spanish;
};

TEST(MessageTableTest, ArgumentsFormatAsPrintfFormatsThem) {
  const RenderCase cases[] = {
      {Message(MessageId::kCellTooLong, "TGEN", 3, 12), "\nError: cell too long in table TGEN, row 3, column 12",
       "\nError: celda demasiado larga en tabla TGEN, fila 3, columna 12"},
      {Message(MessageId::kUndeclaredVariable, std::string("pitch"), "TCAL", -4),
       "\nError: variable pitch not declared, referenced in table TCAL, row -4",
       "\nError: variable pitch no declarada referenciada en tabla TCAL, fila -4"},
      {Message(MessageId::kHarmonyPartsLookedFor, "inarm.xml", 4LL, 5LL, 6LL, "P1, P2"),
       "The scale is read from part 4 of inarm.xml and the chords from parts 5 to 6 (FirstHarmIns and HarmInsNum in "
       "conar.txt), a part by the digits of its id; inarm.xml has parts P1, P2.\n",
       "La escala se lee de la parte 4 de inarm.xml y los acordes de las partes 5 a 6 (FirstHarmIns y HarmInsNum en "
       "conar.txt), cada parte por las cifras de su id; inarm.xml tiene las partes P1, P2.\n"},
      {Message(MessageId::kInternalError, "out of memory"), "\nInternal error: out of memory\n",
       "\nError interno: out of memory\n"},
      {Message(MessageId::kSeedMessage, 4000000000u), "\n\tIn. Aleatory Numb... [ Seed: 4000000000 ]\n",
       "\n\tIn. Nos Aleat... [ Semilla: 4000000000 ]\n"},
      {Message(MessageId::kTimeTooLarge, int64_t{1} << 40, "outco.mid"),
       "\nError: a distance of 1099511627776 clicks between two events cannot be written in MIDI file outco.mid\n",
       "\nError: una distancia de 1099511627776 clicks entre dos eventos no se puede escribir en el MidiFile "
       "outco.mid\n"},
  };
  for (const RenderCase& c : cases) {
    EXPECT_EQ(render(c.message, kEnglish), c.english);
    EXPECT_EQ(render(c.message, kSpanish), c.spanish);
  }
}

}  // namespace
}  // namespace zelvo::base
