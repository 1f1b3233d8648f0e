#include "base/message_table.h"

namespace zelvo::base {

namespace {

// The media commands and the window's player and roll say these; the rows
// follow the job's messages in the enumeration (message_table.cpp).
constexpr MessageText kMediaMessages[] = {
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
};

constexpr bool rows_in_order() {
  int index = static_cast<int>(kFirstMediaMessage);
  for (const MessageText& row : kMediaMessages) {
    if (static_cast<int>(row.id) != index++) return false;
  }
  return index == static_cast<int>(MessageId::kCount);
}
static_assert(rows_in_order(), "one row per media message id, in the order of the enumeration");

}  // namespace

MessagePair media_texts_of(MessageId id) {
  const MessageText& row = kMediaMessages[static_cast<int>(id) - static_cast<int>(kFirstMediaMessage)];
  return MessagePair{row.english, row.spanish};
}

}  // namespace zelvo::base
