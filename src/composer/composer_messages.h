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

// Faults of the configuration, found before anything is derived.
inline constexpr console::MessagePair kBadDenominator{
    "\nError: the time signature denominator (TCONF column 4) must be 1, 2, 4, 8 or 16\n",
    "\nError: el denominador del comp\xE1s (columna 4 de TCONF) debe ser 1, 2, 4, 8 o 16\n"};
inline constexpr console::MessagePair kBadTempo{
    "\nError: the tempo (TCONF column 2) must be greater than 0\n",
    "\nError: el tempo (columna 2 de TCONF) debe ser mayor que 0\n"};

// The generated notes would leave no room for their note-off copies (the
// event limit, then the bar).
inline constexpr console::MessagePair kTooManyNoteEvents{
    "\nError: more than %d note events; the composition generates too many notes in bar %d\n",
    "\nError: m\xE1s de %d eventos de nota; la composici\xF3n genera demasiadas notas en el comp\xE1s %d\n"};

// Output files (%s: the file name).
inline constexpr console::MessagePair kCannotCreate{
    "\nError: impossible to create output file %s\n",
    "\nError: imposible crear el archivo de salida %s\n"};
inline constexpr console::MessagePair kCannotWrite{
    "\nError writing output file %s: the file is incomplete\n",
    "\nError de escritura en el archivo de salida %s: el archivo est\xE1 incompleto\n"};
inline constexpr console::MessagePair kTimeTooLarge{
    "\nError: a distance of %lld clicks between two events cannot be written in MIDI file %s\n",
    "\nError: una distancia de %lld clicks entre dos eventos no se puede escribir en el MidiFile %s\n"};

// The sequence file (%s: the file name).
inline constexpr console::MessagePair kSequenceTooManyNotes{
    "\nError in file %s: more than %d notes\n",
    "\nError en el archivo %s: m\xE1s de %d notas\n"};
inline constexpr console::MessagePair kSequenceTooManySequenceNotes{
    "\nError in file %s: more than %d notes for the sequences\n",
    "\nError en el archivo %s: m\xE1s de %d notas para las secuencias\n"};
inline constexpr console::MessagePair kSequenceTooManyBoundaries{
    "\nError in file %s, line %d: more than %d bar-style lines in part 1\n",
    "\nError en el archivo %s, l\xEDnea %d: m\xE1s de %d l\xEDneas bar-style en la parte 1\n"};
inline constexpr console::MessagePair kSequenceMissingNumber{
    "\nError in file %s, line %d: the part, measure or divisions element has no number\n",
    "\nError en el archivo %s, l\xEDnea %d: el elemento part, measure o divisions no tiene n\xFAmero\n"};
inline constexpr console::MessagePair kSequenceNoDivisions{
    "\nError in file %s, line %d: a duration while the divisions are 0 or not yet given\n",
    "\nError en el archivo %s, l\xEDnea %d: una duraci\xF3n con divisiones 0 o a\xFAn no dadas\n"};

}  // namespace zelvo::composer
