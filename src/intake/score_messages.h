#pragma once

#include "console/message.h"

// The messages of the score intake. Spanish texts are Windows-1252.

namespace zelvo::intake {

using console::MessagePair;

inline constexpr MessagePair kMalformedXml{
    "\nError in file %s, line %d: this is not well-formed XML\n",
    "\nError en el archivo %s, l\xEDnea %d: no es XML bien formado\n"};
inline constexpr MessagePair kMidiNotMusicXml{
    "\nError in file %s: this is a MIDI file, not MusicXML. Export the score as MusicXML, or give the "
    "harmonizer MIDI music as outco.mid with MusicSource = 3 in conar.txt\n",
    "\nError en el archivo %s: es un archivo MIDI, no MusicXML. Exporte la partitura como MusicXML, o d\xE9 "
    "al armonizador la m\xFAsica MIDI como outco.mid con MusicSource = 3 en conar.txt\n"};
inline constexpr MessagePair kBrokenArchive{
    "\nError in file %s: it is not a readable compressed score (zip archive)\n",
    "\nError en el archivo %s: no es una partitura comprimida legible (archivo zip)\n"};
inline constexpr MessagePair kNoContainer{
    "\nError in file %s: the compressed score has no META-INF/container.xml naming its score\n",
    "\nError en el archivo %s: la partitura comprimida no tiene un META-INF/container.xml que "
    "nombre su partitura\n"};
inline constexpr MessagePair kNoRootFile{
    "\nError in file %s: the score that META-INF/container.xml names is missing or damaged\n",
    "\nError en el archivo %s: falta la partitura que nombra META-INF/container.xml, o est\xE1 "
    "da\xF1" "ada\n"};
inline constexpr MessagePair kTooLarge{
    "\nError in file %s: the compressed score unpacks to more than %d MB\n",
    "\nError en el archivo %s: la partitura comprimida ocupa m\xE1s de %d MB al descomprimirla\n"};
inline constexpr MessagePair kPickup{
    "The first measure of %s is a pickup: it sounds at the end of bar 1, and the first full "
    "measure is bar 2\n",
    "El primer comp\xE1s de %s es una anacrusa: suena al final del comp\xE1s 1, y el primer "
    "comp\xE1s completo es el comp\xE1s 2\n"};
inline constexpr MessagePair kSmpteDivision{
    "\nError in entry file %s. Its time is counted in SMPTE frames; only files timed in ticks "
    "per quarter note can be read\n",
    "\nError en el archivo de entrada %s. Su tiempo se cuenta en cuadros SMPTE; solo se leen "
    "archivos con tiempo en pulsos por negra\n"};
inline constexpr MessagePair kDamagedMidi{
    "\nError in entry file %s. Its tracks are damaged and cannot be read\n",
    "\nError en el archivo de entrada %s. Sus pistas est\xE1n da\xF1" "adas y no se pueden leer\n"};

}  // namespace zelvo::intake
