#include "base/message_table.h"

namespace zelvo::base {

namespace {

// What the commands and the window's parts around the jobs say: the media
// (MIDI files heard or drawn, sound, ports, renders), scores read for a lead
// sheet, the lead sheet's files and the work folder. They speak English on
// every front end today; the Spanish is ready. The rows follow the jobs'
// messages in the enumeration (message_table.cpp).
constexpr MessageText kToolMessages[] = {
    {MessageId::kMidiFileUnreadable,
     "%s: cannot be read",
     "%s: no se puede leer"},
    {MessageId::kMidiTooManyEvents,
     "%stoo many events",
     "%sdemasiados eventos"},
    {MessageId::kNotAMidiFile,
     "%snot a MIDI file",
     "%sno es un archivo MIDI"},
    {MessageId::kMidiDamagedHeader,
     "%snot a MIDI file (damaged header)",
     "%sno es un archivo MIDI (cabecera da\xF1" "ada)"},
    {MessageId::kMidiUnsupportedFormat,
     "%sMIDI format %d is not supported (only 0 and 1)",
     "%sel formato MIDI %d no se admite (solo 0 y 1)"},
    {MessageId::kMidiTimeCode,
     "%stime code divisions are not supported (only ticks per quarter note)",
     "%sno se admiten divisiones en c\xF3" "digo de tiempo (solo pulsos por negra)"},
    {MessageId::kMidiEndsInsideTrack,
     "%sthe file ends inside track %d",
     "%sel archivo termina dentro de la pista %d"},
    {MessageId::kMidiEndsBeforeTrack,
     "%sthe file ends before track %d of %d",
     "%sel archivo termina antes de la pista %d de %d"},
    {MessageId::kMidiEndsInsideDelta,
     "%strack %d ends inside a delta time",
     "%sla pista %d termina dentro de un tiempo delta"},
    {MessageId::kMidiEndsAfterDelta,
     "%strack %d ends after a delta time",
     "%sla pista %d termina tras un tiempo delta"},
    {MessageId::kMidiTrackTooLong,
     "%strack %d lasts too long",
     "%sla pista %d dura demasiado"},
    {MessageId::kMidiEndsInsideMeta,
     "%strack %d ends inside a meta event",
     "%sla pista %d termina dentro de un metaevento"},
    {MessageId::kMidiEndsInsideExclusive,
     "%strack %d ends inside a system exclusive message",
     "%sla pista %d termina dentro de un mensaje exclusivo del sistema"},
    {MessageId::kMidiNoStatus,
     "%strack %d has data without a status byte",
     "%sla pista %d tiene datos sin byte de estado"},
    {MessageId::kMidiUnknownStatus,
     "%strack %d has an unknown status byte",
     "%sla pista %d tiene un byte de estado desconocido"},
    {MessageId::kMidiEndsInsideEvent,
     "%strack %d ends inside an event",
     "%sla pista %d termina dentro de un evento"},
    // The soundfont named, then where it was named (--soundfont or
    // ZELVO_SOUNDFONT).
    {MessageId::kSoundfontUnreadable,
     "the soundfont %s (%s) cannot be read",
     "no se puede leer el banco de sonidos %s (%s)"},
    // The folder searched, then the packages that fill it.
    {MessageId::kNoSoundfont,
     "no General MIDI soundfont in %s: install %s (apt install fluid-soundfont-gm), "
     "or name one with --soundfont or ZELVO_SOUNDFONT",
     "no hay un banco de sonidos General MIDI en %s: instale %s (apt install fluid-soundfont-gm), "
     "o nombre uno con --soundfont o ZELVO_SOUNDFONT"},
    {MessageId::kNotASoundfont,
     "%s: not a soundfont FluidSynth can load",
     "%s: no es un banco de sonidos que FluidSynth pueda cargar"},
    {MessageId::kSynthNotSetUp,
     "the synthesizer cannot be set up",
     "no se puede preparar el sintetizador"},
    {MessageId::kNoSoundDevice,
     "no sound device could be opened (tried PipeWire, PulseAudio and ALSA)",
     "no se pudo abrir ning\xFAn dispositivo de sonido (se probaron PipeWire, PulseAudio y ALSA)"},
    {MessageId::kNoForcedSoundDevice,
     "no sound device could be opened (ZELVO_AUDIO_DRIVER=%s)",
     "no se pudo abrir ning\xFAn dispositivo de sonido (ZELVO_AUDIO_DRIVER=%s)"},
    {MessageId::kSongTooLongForWav,
     "the song is too long for a WAV file",
     "la pieza es demasiado larga para un archivo WAV"},
    // The file, then the system's reason.
    {MessageId::kCannotWriteBecause,
     "%s: cannot be written (%s)",
     "%s: no se puede escribir (%s)"},
    {MessageId::kFileNotWritten,
     "%s: cannot be written",
     "%s: no se puede escribir"},
    {MessageId::kRenderStopped,
     "stopped",
     "interrumpido"},
    {MessageId::kNoPortSystem,
     "neither the ALSA sequencer nor a JACK server is running",
     "no funciona ni el secuenciador ALSA ni un servidor JACK"},
    {MessageId::kJackNotRunning,
     "the JACK server is not running",
     "el servidor JACK no funciona"},
    {MessageId::kCannotRegisterPort,
     "cannot register the port %s",
     "no se puede registrar el puerto %s"},
    {MessageId::kCannotStartJackClient,
     "cannot start the JACK client %s",
     "no se puede iniciar el cliente JACK %s"},
    {MessageId::kCannotConnectJackPort,
     "cannot connect to the JACK port %s",
     "no se puede conectar con el puerto JACK %s"},
    {MessageId::kNoPortNamed,
     "no MIDI port named %s (zelvo ports lists them)",
     "no hay ning\xFAn puerto MIDI llamado %s (zelvo ports los lista)"},
    // A score's faults begin with the score's name.
    {MessageId::kScoreCannotOpen,
     "%s cannot be opened",
     "%s no se puede abrir"},
    {MessageId::kScoreNotZip,
     "%s is not a readable zip archive",
     "%s no es un archivo zip legible"},
    {MessageId::kScoreNoContainer,
     "%s has no META-INF/container.xml naming its score",
     "%s no tiene un META-INF/container.xml que nombre su partitura"},
    {MessageId::kScoreNoRootFile,
     "%s lacks the score its container names",
     "a %s le falta la partitura que nombra su contenedor"},
    {MessageId::kScoreTooLarge,
     "%s unpacks to more than 64 MB",
     "%s ocupa m\xE1s de 64 MB al descomprimirlo"},
    {MessageId::kScoreNoArchiveLibrary,
     "%s needs %s to unpack, and it cannot be loaded",
     "%s necesita %s para descomprimirse, y no se puede cargar"},
    // The score, then the line and the XML reader's words.
    {MessageId::kScoreNotWellFormed,
     "%s is not well-formed XML (line %d: %s)",
     "%s no es XML bien formado (l\xEDnea %d: %s)"},
    {MessageId::kScoreNotPartwise,
     "%s is not a part-wise MusicXML score",
     "%s no es una partitura MusicXML por partes"},
    {MessageId::kLeadSheetNoSymbols,
     "%s holds no chord symbols",
     "%s no tiene cifrados de acordes"},
    {MessageId::kLeadSheetNoMeasures,
     "%s holds no measures",
     "%s no tiene compases"},
    // The file, then the system's reason.
    {MessageId::kCannotWriteFor,
     "cannot write %s: %s",
     "no se puede escribir %s: %s"},
    {MessageId::kCannotWriteNamed,
     "cannot write %s",
     "no se puede escribir %s"},
    {MessageId::kCannotReadFolder,
     "cannot read the folder %s: %s",
     "no se puede leer la carpeta %s: %s"},
    {MessageId::kCannotUseWorkFolder,
     "cannot use work folder %s: %s",
     "no se puede usar la carpeta de trabajo %s: %s"},
    // A cell address typed to zelvo tables: the table as typed first.
    {MessageId::kBadTableCount,
     "bad table %s: the count after # is not a number",
     "tabla incorrecta %s: lo que sigue a # no es un n\xFAmero"},
    // The table as typed, then how many tables the file has.
    {MessageId::kNoTableNumbered,
     "no table %s: the file has %d tables",
     "no hay tabla %s: el archivo tiene %d tablas"},
    {MessageId::kNoTableNamed,
     "no table or generator or variable named %s",
     "no hay tabla, generador ni variable llamados %s"},
    // The table as typed, then how many of its kind the file has, and the kind.
    {MessageId::kNoTableOfKind,
     "no table %s: the file has %d %s tables",
     "no hay tabla %s: el archivo tiene %d tablas %s"},
    {MessageId::kOnlyOneTableOfKind,
     "no table %s: the file has 1 %s table",
     "no hay tabla %s: el archivo tiene 1 tabla %s"},
    // The row, the table, the last row.
    {MessageId::kNoRowInTable,
     "no row %d in table %s (rows 0 to %d)",
     "no hay fila %d en la tabla %s (filas 0 a %d)"},
    {MessageId::kNoColumnInTable,
     "no column %d in table %s (columns 0 to %d)",
     "no hay columna %d en la tabla %s (columnas 0 a %d)"},
    // The cell as TABLE:ROW:COL.
    {MessageId::kValueOfOneLine,
     "bad value for %s: a cell holds one line",
     "valor incorrecto para %s: una celda tiene una sola l\xEDnea"},
    {MessageId::kValueTooLong,
     "bad value for %s: longer than a cell can be",
     "valor incorrecto para %s: m\xE1s largo de lo que cabe en una celda"},
    // The value, then the cell.
    {MessageId::kValueNotANumber,
     "bad value %s for %s: row 1 of this table holds plain numbers",
     "valor incorrecto %s para %s: la fila 1 de esta tabla solo tiene n\xFAmeros"},
    {MessageId::kBadSetting,
     "bad setting %s: expected TABLE:ROW:COL=VALUE",
     "ajuste incorrecto %s: se esperaba TABLA:FILA:COL=VALOR"},
    {MessageId::kSettingWithoutRow,
     "bad setting %s: a table needs a row and a column (TABLE:ROW:COL=VALUE)",
     "ajuste incorrecto %s: una tabla necesita una fila y una columna (TABLA:FILA:COL=VALOR)"},
    // The row or column as typed, then the whole setting.
    {MessageId::kBadRowInSetting,
     "bad row %s in %s",
     "fila incorrecta %s en %s"},
    {MessageId::kBadColumnInSetting,
     "bad column %s in %s",
     "columna incorrecta %s en %s"},
    // The row, the table, the first and last rows the edit can take.
    {MessageId::kNoRowForEdit,
     "no row %d in table %s for this edit (rows %d to %d)",
     "no hay fila %d en la tabla %s para esta edici\xF3n (filas %d a %d)"},
    {MessageId::kNoTableKindToAdd,
     "no kind of table numbered %d can be added",
     "no se puede a\xF1" "adir ninguna clase de tabla con el n\xFAmero %d"},
    // The names as typed; then the longest a name may be.
    {MessageId::kRenameNotDeclared,
     "no table declares a generator or variable named %s",
     "ninguna tabla declara un generador o variable llamado %s"},
    {MessageId::kRenameBadName,
     "%s cannot be a name: a letter, then letters and digits, %d characters at most",
     "%s no puede ser un nombre: una letra, luego letras y cifras, %d caracteres como mucho"},
    {MessageId::kRenameNameTaken,
     "%s is already declared",
     "%s ya est\xE1 declarado"},
};

constexpr bool rows_in_order() {
  int index = static_cast<int>(kFirstToolMessage);
  for (const MessageText& row : kToolMessages) {
    if (static_cast<int>(row.id) != index++) return false;
  }
  return index == static_cast<int>(MessageId::kCount);
}
static_assert(rows_in_order(), "one row per tool message id, in the order of the enumeration");

}  // namespace

MessagePair tool_texts_of(MessageId id) {
  const MessageText& row = kToolMessages[static_cast<int>(id) - static_cast<int>(kFirstToolMessage)];
  return MessagePair{row.english, row.spanish};
}

}  // namespace zelvo::base
