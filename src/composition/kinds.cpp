#include "composition/kinds.h"

#include "base/message.h"
#include "base/status.h"
#include "base/windows1252.h"
#include "tables/composition.h"

namespace zelvo::composition {

namespace {

using tables::kKindCalculated;
using tables::kKindConfig;
using tables::kKindFree;
using tables::kKindOutputs;
using tables::kKindSequence;
using tables::kKindVariables;

// A column's help in both languages, side by side.
struct ColumnHelpPair {
  ColumnHelp english;
  ColumnHelp spanish;
};

template <size_t N>
const ColumnHelp* pick(const ColumnHelpPair (&help)[N], int32_t index, int language) {
  if (index < 0 || index >= static_cast<int32_t>(N)) return nullptr;
  return language == base::kSpanish ? &help[index].spanish : &help[index].english;
}

constexpr ColumnHelpPair kConfigHelp[] = {
    {{"bars to generate", "nothing is generated"},
     {"compases a generar", "no se genera nada"}},
    {{"tempo, beats per minute", "refused: must be greater than 0"},
     {"tempo, pulsos por minuto", "se rechaza: debe ser mayor que 0"}},
    {{"beats per bar (time signature numerator)", "no clicks in a bar"},
     {"pulsos por compás (numerador del compás)", "el compás no tiene clicks"}},
    {{"beat unit: 1, 2, 4, 8 or 16 (4 = quarter note)", "refused"},
     {"unidad de pulso: 1, 2, 4, 8 o 16 (4 = negra)", "se rechaza"}},
    {{"clicks per beat", "192 divided by the beat unit"},
     {"clicks por pulso", "192 dividido por la unidad de pulso"}},
    {{"random seed", "a new seed from the clock at every run"},
     {"semilla aleatoria", "una semilla nueva del reloj en cada ejecución"}},
};

constexpr ColumnHelpPair kCalculatedHelp[] = {
    {{"mode", "when the row's expressions are computed: 0 every click, 1 at the start of every period, 2 at every note"},
     {"modo", "cuándo se calculan las expresiones de la fila: 0 en cada click, 1 al empezar cada período, 2 en cada nota"}},
    {{"start bar", "where the generator starts (bar 1, click 0 is the beginning)"},
     {"compás inicial", "dónde empieza el generador (compás 1, click 0 es el principio)"}},
    {{"start click", ""},
     {"click inicial", ""}},
    {{"period bars", "the length of one period of the shape"},
     {"compases del período", "la duración de un período de la forma"}},
    {{"period clicks", "(period = bars × clicks per bar + clicks; at least 1 click)"},
     {"clicks del período", "(período = compases × clicks por compás + clicks; al menos 1 click)"}},
    {{"pulse", "clicks from one note to the next"},
     {"pulso", "clicks de una nota a la siguiente"}},
    {{"length bars", "how long the generator plays"},
     {"compases de duración", "cuánto tiempo toca el generador"}},
    {{"length clicks", ""},
     {"clicks de duración", ""}},
    {{"note length", "the value of `Gu`: how long each note is meant to last"},
     {"duración de nota", "el valor de `Gu`: cuánto debe durar cada nota"}},
    {{"shape", "1 sine, 2 square, 3 rising ramp, 4 falling ramp, 5 triangle"},
     {"forma", "1 seno, 2 cuadrada, 3 rampa ascendente, 4 rampa descendente, 5 triángulo"}},
    {{"top", "the value at the top of the shape"},
     {"máximo", "el valor en lo alto de la forma"}},
    {{"bottom", "the value at the bottom"},
     {"mínimo", "el valor en lo bajo"}},
    {{"step", "when not 0, the value is cut down to a whole multiple of it"},
     {"paso", "si no es 0, el valor se reduce a un múltiplo entero de él"}},
    {{"order", "order of computation within a click"},
     {"orden", "orden de cálculo dentro de un click"}},
};

constexpr ColumnHelpPair kSequenceHelp[] = {
    {{"mode", "when the row's expressions are computed: 0 every click, 1 at the start of every pass, 2 at every note"},
     {"modo", "cuándo se calculan las expresiones de la fila: 0 en cada click, 1 al empezar cada pasada, 2 en cada nota"}},
    {{"sequence", "which sequence, counted from 0"},
     {"secuencia", "qué secuencia, contando desde 0"}},
    {{"start bar", "where the generator starts"},
     {"compás inicial", "dónde empieza el generador"}},
    {{"start click", ""},
     {"click inicial", ""}},
    {{"stretch beats", "beats added to the sequence's length; every duration and distance grows in proportion"},
     {"pulsos de estiramiento", "pulsos añadidos a la duración de la secuencia; cada duración y distancia crece en proporción"}},
    {{"first note", "first note played, counted from 1"},
     {"primera nota", "primera nota que se toca, contando desde 1"}},
    {{"notes cut", "notes left out at the end"},
     {"notas quitadas", "notas que se omiten al final"}},
    {{"rest", "sixteenths of silence after each pass"},
     {"silencio", "semicorcheas de silencio tras cada pasada"}},
    {{"length bars", "how long the generator plays"},
     {"compases de duración", "cuánto tiempo toca el generador"}},
    {{"length clicks", ""},
     {"clicks de duración", ""}},
    {{"play mode", "1 forward, 2 forward upside down, 3 backward, 4 backward upside down"},
     {"modo de lectura", "1 hacia delante, 2 hacia delante invertida, 3 hacia atrás, 4 hacia atrás invertida"}},
    {{"top shift", "semitones added to the sequence's highest note"},
     {"desplazamiento agudo", "semitonos sumados a la nota más aguda de la secuencia"}},
    {{"bottom shift", "semitones added to its lowest note"},
     {"desplazamiento grave", "semitonos sumados a su nota más grave"}},
    {{"glide", "when not 0, the value slides from each note to the next (play modes 1 and 2)"},
     {"deslizamiento", "si no es 0, el valor se desliza de cada nota a la siguiente (modos 1 y 2)"}},
    {{"order", "order of computation within a click"},
     {"orden", "orden de cálculo dentro de un click"}},
};

constexpr ColumnHelpPair kOutputHelp[] = {
    {{"switch: any text here turns the row off", "(empty: the row plays)"},
     {"interruptor: cualquier texto aquí apaga la fila", "(vacía: la fila toca)"}},
    {{"MIDI channel 1 to 16 (10 is drums in General MIDI)", "1"},
     {"canal MIDI 1 a 16 (el 10 es percusión en General MIDI)", "1"}},
    {{"note number 0 to 127 (60 = middle C)", "-1"},
     {"número de nota 0 a 127 (60 = do central)", "-1"}},
    {{"duration in clicks", "0"},
     {"duración en clicks", "0"}},
    {{"play: a note is made only while this is not 0", "0 (never plays)"},
     {"tocar: se crea una nota solo mientras esto no sea 0", "0 (nunca toca)"}},
    {{"velocity 0 to 127", "100"},
     {"velocidad 0 a 127", "100"}},
};

}  // namespace

std::vector<std::string> new_table_header(int32_t kind) {
  switch (kind) {
    case kKindConfig:
      return {"TCONF", "bars", "tempo", "beats", "beat unit", "clicks per beat", "seed"};
    case kKindVariables:
      return {"TCAL", "expression // comment"};
    case kKindOutputs:
      return {"TSAL", "channel", "note", "duration", "play", "velocity", "remark"};
    case kKindCalculated:
      return {"TGENC", "mode", "start bar", "start click", "period bars", "period clicks", "pulse", "length bars",
              "length clicks", "note length", "shape", "top", "bottom", "step", "order", "remark"};
    case kKindSequence:
      return {"TGENS", "mode", "sequence", "start bar", "start click", "stretch beats", "first note", "notes cut",
              "rest", "length bars", "length clicks", "play mode", "top shift", "bottom shift", "glide", "order",
              "remark"};
    case kKindFree:
      return {"libre", "notes"};
    default:
      return {};
  }
}

std::vector<std::string> new_table_first_row(int32_t kind) {
  switch (kind) {
    case kKindConfig:
      return {"values", "8", "100", "4", "4", "0", "7"};
    case kKindVariables:
      return {"", ""};
    case kKindOutputs:
      return {"x", "1", "60", "96", "0", "80", "switched off: delete the x"};
    case kKindCalculated:
      return {"defaults", "0", "1", "0", "1", "0", "48", "8", "0", "48", "1", "72", "60", "0", "1", ""};
    case kKindSequence:
      return {"defaults", "0", "0", "1", "0", "0", "1", "0", "0", "8", "0", "1", "0", "0", "0", "3", ""};
    case kKindFree:
      return {"", ""};
    default:
      return {};
  }
}

const ColumnHelp* column_help(int32_t kind, int32_t column, int language) {
  switch (kind) {
    case kKindConfig:
      return pick(kConfigHelp, column - 1, language);
    case kKindOutputs:
      return pick(kOutputHelp, column, language);
    case kKindCalculated:
      return pick(kCalculatedHelp, column - 1, language);
    case kKindSequence:
      return pick(kSequenceHelp, column - 1, language);
    default:
      return nullptr;
  }
}

std::string column_tooltip(int32_t kind, int32_t column, int language) {
  // The catalogue's texts are Windows-1252; the tips go to the window and
  // the page as UTF-8, like the help tables'.
  const auto text_of = [language](base::MessageId id, int32_t number = 0) {
    return base::to_utf8(base::render(base::Message(id, number), language));
  };
  const ColumnHelp* help = column_help(kind, column, language);
  if (help == nullptr) {
    if (kind == kKindVariables) return text_of(column == 0 ? base::MessageId::kTipVariableName : base::MessageId::kTipExpression);
    if ((kind == kKindCalculated || kind == kKindSequence) && column == 0) {
      return text_of(base::MessageId::kTipGeneratorName);
    }
    return "";
  }
  std::string text = text_of(base::MessageId::kTipColumn, column) + help->meaning;
  if (help->note[0] == '\0') return text;
  if (kind == kKindConfig || kind == kKindOutputs) return text + text_of(base::MessageId::kTipWhenEmpty) + help->note;
  return text + "\n" + help->note + text_of(base::MessageId::kTipEmptyTakesRowOne);
}

bool is_read_cell(int32_t kind, int32_t row, int32_t column, int32_t header_cells) {
  if (row < 1 || column < 0) return false;
  switch (kind) {
    case kKindVariables:
      return column <= 1;
    case kKindOutputs:
      return column >= 1 && column <= tables::kOutVelocity;
    case kKindCalculated:
    case kKindSequence:
    case tables::kKindUnnamed:
      return column <= header_cells - 2;
    default:
      return false;
  }
}

}  // namespace zelvo::composition
