#pragma once

// The texts of `zelvo check` and Options > Check, English and Spanish
// (Windows-1252, like every console text).
#include "base/message.h"

namespace zelvo::check {

using base::MessagePair;

inline constexpr MessagePair kUnreadable{
    "the composer stops here:%s",
    "el compositor se detiene aqu\xED:%s"};
inline constexpr MessagePair kUnknownTable{
    "the first cell \"%s\" names no table kind (TCONF, TCAL, TSAL, TGENC, TGENS or libre): the table is "
    "read as generator rows that never play",
    "la primera celda \"%s\" no nombra ning\xFAn tipo de tabla (TCONF, TCAL, TSAL, TGENC, TGENS o libre): "
    "la tabla se lee como generadores que nunca suenan"};
inline constexpr MessagePair kNotANumber{
    "\"%s\" is not a plain number: it is read as %g",
    "\"%s\" no es un n\xFAmero simple: se lee como %g"};
inline constexpr MessagePair kNoConfiguration{
    "there is no TCONF table: bars and tempo are 0, nothing is generated",
    "no hay tabla TCONF: compases y tempo valen 0, no se genera nada"};
inline constexpr MessagePair kNotPositive{
    "%s is %g: nothing is generated unless it is greater than 0",
    "%s vale %g: no se genera nada si no es mayor que 0"};
inline constexpr MessagePair kNoSequenceFile{
    "sequence generator %s, but the work folder has no insec.xml: it plays nothing",
    "generador de secuencias %s, pero la carpeta de trabajo no tiene insec.xml: no toca nada"};
inline constexpr MessagePair kUnusedVariable{
    "variable %s is declared and never used",
    "la variable %s se declara y nunca se usa"};
inline constexpr MessagePair kBadConfigLine{
    "the harmonizer stops here:%s",
    "el armonizador se detiene aqu\xED:%s"};
inline constexpr MessagePair kOutOfRange{
    "%s = %d is outside its useful range %d to %d: %s",
    "%s = %d est\xE1 fuera de su rango \xFAtil %d a %d: %s"};
inline constexpr MessagePair kLastBeforeFirst{
    "LastMusicIns %d is below FirstMusicIns %d: no part is read as music",
    "LastMusicIns %d es menor que FirstMusicIns %d: ninguna parte se lee como m\xFAsica"};
inline constexpr MessagePair kSwitchValue{
    "%s: value %d in place %d allows nothing; only 1 allows a tone type",
    "%s: el valor %d en el lugar %d no permite nada; solo 1 permite un tipo de nota"};
inline constexpr MessagePair kNegativeWeight{
    "%s: weight w%d is %g; a negative weight rewards what it should cost",
    "%s: el peso w%d vale %g; un peso negativo premia lo que deber\xED" "a costar"};
inline constexpr MessagePair kHarmonyEndsEarly{
    "the harmony ends in bar %d but the music goes on until bar %d: the last chord and scale hold to the end",
    "la armon\xED" "a termina en el comp\xE1s %d pero la m\xFAsica sigue hasta el comp\xE1s %d: el \xFAltimo "
    "acorde y la \xFAltima escala duran hasta el final"};
inline constexpr MessagePair kPartsLeftOut{
    "%s has notes outside FirstMusicIns to LastMusicIns (%d to %d), on channels %s: the result leaves them "
    "out; KeepOtherParts = 1 keeps them as they are",
    "%s tiene notas fuera de FirstMusicIns a LastMusicIns (%d a %d), en los canales %s: el resultado las "
    "omite; KeepOtherParts = 1 las conserva tal como est\xE1n"};
inline constexpr MessagePair kFewerCells{
    "%d cells where the header has %d: the cells after a missing one move one column to the left, "
    "and column %d (%s) gets none",
    "%d celdas donde la cabecera tiene %d: las celdas que siguen a una que falta se mueven una columna "
    "a la izquierda, y la columna %d (%s) se queda sin ninguna"};
inline constexpr MessagePair kMoreCells{
    "%d cells where the header has %d: column %d and those after it have no title. Either the header "
    "misses a cell (in TGENC and TGENS the last columns are then not read) or this row has one too "
    "many and the cells after it are read one column off",
    "%d celdas donde la cabecera tiene %d: la columna %d y las siguientes no tienen t\xEDtulo. O a la "
    "cabecera le falta una celda (en TGENC y TGENS las \xFAltimas columnas no se leen entonces) o a "
    "esta fila le sobra una y las celdas siguientes se leen una columna desplazadas"};
inline constexpr MessagePair kDroppedAsTag{
    "the reader takes \"%s\" for a tag and drops it: write a comparison's < as &lt; (and > as &gt;)",
    "el lector toma \"%s\" por una etiqueta y la elimina: escriba el < de una comparaci\xF3n como "
    "&lt; (y el > como &gt;)"};
inline constexpr MessagePair kNoNotes{
    "the composition makes no notes: outco.mid and outco.rur would be empty. Check that the generator "
    "tables are named TGENC or TGENS and that each TSAL row has a channel from 1 to 16, a note and a "
    "play cell that is not 0",
    "la composici\xF3n no genera ninguna nota: outco.mid y outco.rur quedar\xED" "an vac\xEDos. Compruebe "
    "que las tablas de generadores se llamen TGENC o TGENS y que cada fila de TSAL tenga un canal de 1 "
    "a 16, una nota y una celda de tocar distinta de 0"};
inline constexpr MessagePair kNothingToCheck{
    "Nothing to check: the work folder holds no work (no incom.htm, conar.txt, inmus.xml or inarm.xml).\n",
    "Nada que revisar: la carpeta de trabajo no tiene ning\xFAn trabajo (ni incom.htm, ni conar.txt, ni "
    "inmus.xml, ni inarm.xml).\n"};
// Follows kNothingToCheck on the command line, which shows no folder else.
inline constexpr MessagePair kLookedInFolder{
    "The work folder looked in is %s.\n",
    "La carpeta de trabajo revisada es %s.\n"};
inline constexpr MessagePair kNothingFound{
    "No probable mistakes found.\n",
    "No se encontraron errores probables.\n"};
inline constexpr MessagePair kFoundCount{
    "%d probable mistake(s) found.\n",
    "%d error(es) probable(s) encontrado(s).\n"};

// Places.
inline constexpr MessagePair kPlaceCell{"table %s, row %d, column %d", "tabla %s, fila %d, columna %d"};
inline constexpr MessagePair kPlaceTable{"table %d", "tabla %d"};
inline constexpr MessagePair kPlaceRow{"table %s, row %d", "tabla %s, fila %d"};
inline constexpr MessagePair kPlaceLine{"line %d", "l\xEDnea %d"};

// Why a configuration value is out of its range.
inline constexpr MessagePair kWhyInstrument{
    "the harmonizer works on instruments 1 to 15",
    "el armonizador trabaja con los instrumentos 1 a 15"};
inline constexpr MessagePair kWhyHarmonyParts{
    "one scale part and at least one chord part",
    "una parte de escalas y al menos una de acordes"};
inline constexpr MessagePair kWhySwitch{"0 is off, 1 is on", "0 apagado, 1 encendido"};
inline constexpr MessagePair kWhySixteenths{
    "counted in sixteenths", "se cuenta en semicorcheas"};
inline constexpr MessagePair kWhyNotes{
    "counted in notes of one instrument in one unit",
    "se cuenta en notas de un instrumento en una unidad"};
inline constexpr MessagePair kWhyLineInstrument{
    "an instrument 1 to 15, -1 any or -2 none",
    "un instrumento 1 a 15, -1 cualquiera o -2 ninguno"};
inline constexpr MessagePair kWhySemitones{
    "semitones from the given pitch", "semitonos desde la altura dada"};
inline constexpr MessagePair kWhySource{
    "0 inmus.xml, 1 outco.rur, 2 inarm.xml, 3 outco.mid",
    "0 inmus.xml, 1 outco.rur, 2 inarm.xml, 3 outco.mid"};
inline constexpr MessagePair kWhyClicks{
    "a sixteenth must be at least one click", "una semicorchea debe tener al menos un click"};
inline constexpr MessagePair kWhyLook{
    "a count of units or notes", "un n\xFAmero de unidades o de notas"};

}  // namespace zelvo::check
