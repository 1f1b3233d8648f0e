#pragma once

#include "console/message.h"

namespace zelvo::composer {

inline constexpr console::MessagePair kStartMessage{
    "\n** COMPOSING!!! ***************************************************\n\n",
    "\n** COMPONIENDO!!! ***************************************************\n\n"};
inline constexpr console::MessagePair kSeedMessage{"\n\tIn. Aleatory Numb... [ Seed: %u ]\n",
                                                   "\n\tIn. Nos Aleat... [ Semilla: %u ]\n"};
inline constexpr console::MessagePair kSequenceFileRead{"\nReading XML sequence file...\n\n",
                                                        "\nLeyendo archivo de secuencias XML...\n\n"};
inline constexpr console::MessagePair kNoSequenceFile{"\nNo access to XML sequence file...\n\n",
                                                      "\nSin acceso al archivo de secuencias XML...\n\n"};
inline constexpr console::MessagePair kGenerationStarts{"\nGenerating music information...\n\n",
                                                        "\nGenerando informaci\xF3n musical...\n\n"};
inline constexpr console::MessagePair kEachBar{"\tProcesing bar %d\n", "\tProcesando compas %d\n"};
inline constexpr console::MessagePair kRangeWarning{
    "\n\t\tWarning: Value(s) out of range reduced to 0-127 scope\n\n",
    "\n\t\tWarning: Valor(es) fuera de rango reducido(s) al ambito 0-127\n\n"};
// Shared with the harmonizer.
inline constexpr console::MessagePair kMidiFileMessage{"\n\n GENERATING Midifile...\n\n",
                                                       "\n\n GENERANDO Midifile...\n\n"};

}  // namespace zelvo::composer
