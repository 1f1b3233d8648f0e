#pragma once

#include "console/message.h"

// Every message of the harmonizer's driver and files. Spanish texts are
// Windows-1252.

namespace zelvo::harmonizer {

using console::MessagePair;

// The driver.
inline constexpr MessagePair kStartMessage{
    "\n** HARMONIZING!!! "
    "****************************************************************************\n\n",
    "\n** ARMONIZANDO!!! "
    "****************************************************************************\n\n"};
inline constexpr MessagePair kReadingMusic{"Reading Music to be harmonized...\n",
                                           "Leyendo Musica para armonizar...\n"};
inline constexpr MessagePair kReadingHarmony{"Reading Harmony Information...\n",
                                             "Leyendo Informacion de Armonia...\n"};
inline constexpr MessagePair kGeneratingMidi{"\n\n GENERATING Midifile...\n\n",
                                             "\n\n GENERANDO Midifile...\n\n"};
// Also the message of a music or harmony file that cannot be opened.
inline constexpr MessagePair kErrorOpeningFile{"\nError opening file %s\n",
                                               "\nError en el acceso al archivo %s\n"};

// The configuration file.
inline constexpr MessagePair kBadConfigurationLine{
    "\nError in Harmony Configuration file, in line:\n\n\t\t%s\n",
    "\nError en el archivo de Configuracion de Armonia, en la linea:\n\n\t\t%s\n"};

// Harmony information and music preparation.
inline constexpr MessagePair kBadMusicSource{"\nError opening Music file\n",
                                             "\nError en el acceso al archivo de Musica\n"};
inline constexpr MessagePair kNoMusic{
    "\nThere is no Music Information to be Harmonized.\nCheck Instrument numbers in Harmonizing "
    "Options",
    "\nNo existe Informaci\xF3n de M\xFAsica para Armonizar.\nRevisar los Nos. de Instrumento en "
    "Opciones de Armonizaci\xF3n"};
inline constexpr MessagePair kNoHarmony{
    "\nThere is not Scale or Harmony information.\nPossible configuration error\n",
    "\nNo existe informacion de Escala o de Armonia.\nPosible error de configuracion.\n"};
// Follows kNoHarmony: where the harmony was looked for and what the file has.
inline constexpr MessagePair kHarmonyPartsLookedFor{
    "The scale is read from part %2$lld of %1$s and the chords from parts %3$lld to %4$lld "
    "(FirstHarmIns and HarmInsNum in conar.txt), a part by the digits of its id; %1$s has parts %5$s.\n",
    "La escala se lee de la parte %2$lld de %1$s y los acordes de las partes %3$lld a %4$lld "
    "(FirstHarmIns y HarmInsNum en conar.txt), cada parte por las cifras de su id; %1$s tiene las partes %5$s.\n"};

// The MIDI reader's result codes 1 to 5, each with the file name.
inline constexpr MessagePair kMidiCannotRead{
    "\nError opening %s. Impossible to read entry MidiFile\n",
    "\nError en el acceso a %s. Imposible leer MidiFile de entrada\n"};
inline constexpr MessagePair kMidiNotMidi{"\nError in entry file %s. It is not a MidiFile\n",
                                          "\nError en el archivo de entrada %s. No es un MidiFile\n"};
inline constexpr MessagePair kMidiNotFormat0{
    "\nError in entry file %s. It is not a MidiFile with Format 0\n",
    "\nError en el archivo de entrada %s. No es MidiFile de Formato 0\n"};
inline constexpr MessagePair kMidiBarOrTempo{
    "\nError in entry file %s, in Bar or Tempo information\n",
    "\nError en el archivo de entrada %s, en la info de Compas o Tempo\n"};
inline constexpr MessagePair kMidiUnexpectedEnd{
    "\nError in entry file %s. Unexpected end of file\n",
    "\nError en el archivo de entrada %s. Fin de archivo inesperado\n"};

// A MusicXML measure numbered 0: bar 0 means "no entry" to the tables.
inline constexpr MessagePair kPickupMeasure{
    "\nError in file %s: a note in measure 0 (a pickup measure). Number the measures from 1\n",
    "\nError en el archivo %s: una nota en el comp\xE1s 0 (comp\xE1s de anacrusa). Numere los "
    "compases desde 1\n"};

// Capacities and malformed input.
inline constexpr MessagePair kTooManyNotes{
    "\nError in file %s: more than 30000 notes. The harmonizer holds at most 30000 notes\n",
    "\nError en el archivo %s: m\xE1s de 30000 notas. El armonizador admite como m\xE1ximo "
    "30000 notas\n"};
inline constexpr MessagePair kTooManyPieces{
    "\nError: cutting the notes at the chord and scale changes gives more than 30000 notes\n",
    "\nError: al cortar las notas en los cambios de acorde y de escala resultan m\xE1s de 30000 "
    "notas\n"};
inline constexpr MessagePair kTooManyChords{
    "\nError in file %s: more than 500 chords\n",
    "\nError en el archivo %s: m\xE1s de 500 acordes\n"};
inline constexpr MessagePair kTooManyScales{
    "\nError in file %s: more than 500 scales\n",
    "\nError en el archivo %s: m\xE1s de 500 escalas\n"};
inline constexpr MessagePair kNoDivisions{
    "\nError in file %s: a duration before the divisions, or divisions of 0\n",
    "\nError en el archivo %s: una duraci\xF3n antes de las divisiones, o divisiones 0\n"};
inline constexpr MessagePair kZeroBeatType{
    "\nError in file %s: a beat type of 0\n",
    "\nError en el archivo %s: una unidad de pulso (beat-type) 0\n"};
inline constexpr MessagePair kTooManyResultNotes{
    "\nError: the result has %d notes; a MIDI file of the harmonizer holds at most 15000\n",
    "\nError: el resultado tiene %d notas; un archivo MIDI del armonizador admite como m\xE1ximo "
    "15000\n"};
inline constexpr MessagePair kBadTempo{
    "\nError: the tempo is %d; it must be greater than 0\n",
    "\nError: el tempo es %d; debe ser mayor que 0\n"};
inline constexpr MessagePair kTimeStepTooLong{
    "\nError in file %s: a time step of %u clicks; the limit is 268435455\n",
    "\nError en el archivo %s: un paso de tiempo de %u clicks; el l\xEDmite es 268435455\n"};
inline constexpr MessagePair kErrorCreatingFile{"\nError creating file %s\n",
                                                "\nError en la creaci\xF3n del archivo %s\n"};
inline constexpr MessagePair kErrorWritingFile{"\nError writing file %s\n",
                                               "\nError en la escritura del archivo %s\n"};

// A score whose time signature changes is harmonized bar by bar in its own
// meters; these say where that cannot be done.
inline constexpr MessagePair kPartsInOtherMeters{
    "\nError in file %s: in measure %d its parts have different time signatures. Parts in "
    "different meters cannot be harmonized together\n",
    "\nError en el archivo %s: en el comp\xE1s %d sus partes tienen indicaciones de comp\xE1s "
    "distintas. No se pueden armonizar juntas partes en compases distintos\n"};
inline constexpr MessagePair kTooManyMeterChanges{
    "\nError in file %s: the time signature changes more than %d times; the change in measure "
    "%d is one too many\n",
    "\nError en el archivo %s: la indicaci\xF3n de comp\xE1s cambia m\xE1s de %d veces; el "
    "cambio del comp\xE1s %d sobra\n"};
inline constexpr MessagePair kMeterOutOfOrder{
    "\nError in file %s: the time signature changes in measure %d, which is numbered out of "
    "order, so its bars cannot be placed\n",
    "\nError en el archivo %s: la indicaci\xF3n de comp\xE1s cambia en el comp\xE1s %d, "
    "numerado fuera de orden, as\xED que sus compases no se pueden situar\n"};
inline constexpr MessagePair kUnusualMeter{
    "\nError in file %s: the time signature of measure %d cannot be followed: a score that "
    "changes meter needs 1 to 255 beats of a whole, half, quarter, eighth, 16th, 32nd or 64th "
    "note\n",
    "\nError en el archivo %s: no se puede seguir la indicaci\xF3n de comp\xE1s del comp\xE1s "
    "%d: una partitura que cambia de comp\xE1s necesita de 1 a 255 partes de redonda, blanca, "
    "negra, corchea, semicorchea, fusa o semifusa\n"};
inline constexpr MessagePair kHarmonyMeterDiffers{
    "\nError in file %s: its time signature in measure %d differs from the music's. A harmony "
    "file whose meter changes must change it where the music does\n",
    "\nError en el archivo %s: su indicaci\xF3n de comp\xE1s en el comp\xE1s %d no es la de la "
    "m\xFAsica. Un archivo de armon\xED" "a que cambia de comp\xE1s debe cambiarlo donde lo hace la "
    "m\xFAsica\n"};

inline constexpr MessagePair kMidiMeterNotFollowed{
    "\nError in entry file %s: the time signature changes in bar %d where it cannot be followed: "
    "a change must come at the start of a bar, with 1 to 255 beats of a whole, half, quarter, "
    "eighth, 16th, 32nd or 64th note, at most 256 times\n",
    "\nError en el archivo de entrada %s: la indicaci\xF3n de comp\xE1s cambia en el comp\xE1s "
    "%d donde no se puede seguir: un cambio debe llegar al principio de un comp\xE1s, con 1 a "
    "255 partes de redonda, blanca, negra, corchea, semicorchea, fusa o semifusa, 256 veces "
    "como m\xE1ximo\n"};

}  // namespace zelvo::harmonizer
