#pragma once

#include "console/message.h"

namespace zelvo::engine {

inline constexpr console::MessagePair kProgressLineInfo{
    "\n\n** Harmonizing bar %d sixteenth %d\n", "\n\n** Armonizando compas %d semicorchea %d\n"};
inline constexpr console::MessagePair kProgress{"\n** Harmonizing bar %d sixteenth %d",
                                                "\n** Armonizando compas %d semicorchea %d"};
inline constexpr console::MessagePair kLineInfo{"\n\tInstrument %d line number %d",
                                                "\n\tInstrumento %d num. de linea %d"};
inline constexpr console::MessagePair kImpossible{"\nError: Impossible to harmonize!!",
                                                  "\nError: Imposible armonizar!!"};
inline constexpr console::MessagePair kSummaryRow = console::same_text("\n\t\t");
inline constexpr console::MessagePair kSummaryValue = console::same_text("%s\t");
inline constexpr console::MessagePair kLookAheadFirst = console::same_text(" \t->cat1");
inline constexpr console::MessagePair kLookAheadDeeper = console::same_text("%d");

// Guards of the engine's own limits.
inline constexpr console::MessagePair kNoHarmonyInForce{
    "\nError: the music begins before the first chord or scale of the harmony information"
    " (bar %d). The harmony must begin no later than the music\n",
    "\nError: la m\xFAsica empieza antes del primer acorde o escala de la informaci\xF3n de"
    " armon\xED" "a (comp\xE1s %d). La armon\xED" "a debe empezar no m\xE1s tarde que la m\xFAsica\n"};
inline constexpr console::MessagePair kTooManyLines{
    "\nError: the harmonic unit at bar %d needs more than 200 lines\n",
    "\nError: la unidad arm\xF3nica del comp\xE1s %d necesita m\xE1s de 200 l\xEDneas\n"};
inline constexpr console::MessagePair kBadClicks{
    "\nError: clicks per sixteenth (%d) and clicks per beat (%d) must be greater than 0 to"
    " harmonize\n",
    "\nError: los clicks por semicorchea (%d) y por tiempo (%d) deben ser mayores que 0 para"
    " armonizar\n"};

}  // namespace zelvo::engine
