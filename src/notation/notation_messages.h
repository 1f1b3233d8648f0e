#pragma once

#include "console/message.h"

// The messages of a result's notation. Spanish texts are Windows-1252.

namespace zelvo::notation {

using console::MessagePair;

inline constexpr MessagePair kNotationWritten{"\nNotation written to %s\n",
                                              "\nNotaci\xF3n escrita en %s\n"};
inline constexpr MessagePair kNotationNotWritten{
    "\nError: the notation of %s could not be written to %s\n",
    "\nError: no se pudo escribir la notaci\xF3n de %s en %s\n"};

}  // namespace zelvo::notation
