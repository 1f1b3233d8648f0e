#include "command_help.h"

#include <iterator>

#include "base/message.h"

namespace zelvo::app {

namespace {

constexpr Wording kChordsUsage{
    "usage: zelvo chords SCORE [-o FILE] [--first-part N]\n"
    "\n"
    "Writes the harmony file (default inarm.xml) of the chord symbols and key\n"
    "signatures of SCORE (MusicXML, compressed or not): part N holds the scales\n"
    "and part N+1 the chords (default N: where the conar.txt of the current\n"
    "folder reads them; without one, the number of parts of SCORE + 1, and a\n"
    "conar.txt that reads them there is written too).\n",
    "uso: zelvo chords PARTITURA [-o ARCHIVO] [--first-part N]\n"
    "\n"
    "Escribe el archivo de armon\xED" "a (por omisi\xF3n inarm.xml) de los cifrados y las\n"
    "armaduras de PARTITURA (MusicXML, comprimido o no): la parte N lleva las\n"
    "escalas y la parte N+1 los acordes (N por omisi\xF3n: donde los lee el conar.txt\n"
    "de la carpeta actual; sin \xE9l, el n\xFAmero de partes de PARTITURA + 1, y se\n"
    "escribe tambi\xE9n un conar.txt que los lee ah\xED).\n"};

constexpr Wording kNotateUsage{
    "usage: zelvo notate FILE.mid [-o FILE.musicxml] [--grid 16|8t|32|exact]\n"
    "\n"
    "Writes the MIDI file as MusicXML (default: its name with .musicxml): one\n"
    "part per channel, named from its track or instrument, voices, ties across\n"
    "bar lines, rests, time and key signatures (the file's, else the key its\n"
    "notes fit best) and tempo changes. Notes are placed on a grid of\n"
    "sixteenths or eighth-note triplets, whichever the music's onsets fit;\n"
    "--grid picks one (32: thirty-second notes; exact: every tick as played).\n",
    "uso: zelvo notate ARCHIVO.mid [-o ARCHIVO.musicxml] [--grid 16|8t|32|exact]\n"
    "\n"
    "Escribe el archivo MIDI como MusicXML (por omisi\xF3n: su nombre con .musicxml):\n"
    "una parte por canal, nombrada por su pista o instrumento, voces, ligaduras\n"
    "sobre las barras de comp\xE1s, silencios, compases y armaduras (las del archivo,\n"
    "si no la tonalidad a la que mejor se ajustan sus notas) y cambios de tempo.\n"
    "Las notas se colocan en una rejilla de semicorcheas o de tresillos de\n"
    "corchea, la que mejor se ajuste a los ataques de la m\xFAsica; --grid elige una\n"
    "(32: fusas; exact: cada tick tal como se toc\xF3).\n"};

constexpr Wording kTablesUsage{
    "usage: zelvo tables show [--work DIR] [--json]\n"
    "       zelvo tables set TABLE ROW COL VALUE [--work DIR] [--force]\n"
    "       zelvo tables set NAME COL VALUE [--work DIR] [--force]\n"
    "TABLE: TCONF, TCAL, TSAL, TGENC, TGENS or libre (the first such table),\n"
    "TGENC#2 (the second), #3 (the third table of the file); NAME: a generator\n"
    "or variable, for its row. Rows and columns count from 0 as the composer's\n"
    "messages do (row 0 is the header). A value the composer cannot compile is\n"
    "refused unless --force is given.\n",
    "uso: zelvo tables show [--work CARPETA] [--json]\n"
    "     zelvo tables set TABLA FILA COL VALOR [--work CARPETA] [--force]\n"
    "     zelvo tables set NOMBRE COL VALOR [--work CARPETA] [--force]\n"
    "TABLA: TCONF, TCAL, TSAL, TGENC, TGENS o libre (la primera de esa clase),\n"
    "TGENC#2 (la segunda), #3 (la tercera tabla del archivo); NOMBRE: un generador\n"
    "o una variable, por su fila. Filas y columnas se cuentan desde 0, como en los\n"
    "mensajes del compositor (la fila 0 es la cabecera). Un valor que el compositor\n"
    "no puede compilar se rechaza salvo que se d\xE9 --force.\n"};

constexpr Wording kPlayUsage{
    "usage: zelvo play FILE.mid [--port NAME | --synth] [--loop] [--from BAR] [--to BAR]\n"
    "                  [--channels LIST]\n"
    "\n"
    "Plays a MIDI file in real time. Ctrl-C stops it, with every note released\n"
    "(exit status 130).\n"
    "\n"
    "  --port NAME       send to the MIDI port whose name contains NAME (zelvo\n"
    "                    ports lists them); --port Zelvo registers a port named\n"
    "                    Zelvo for a synthesizer or DAW to connect to\n"
    "  --synth           the built-in synthesizer (the default)\n"
    "  --soundfont FILE  its soundfont (default as for zelvo render)\n"
    "  --loop            play the bars again and again until Ctrl-C\n"
    "  --from BAR        start at bar BAR (from 1)\n"
    "  --to BAR          end with bar BAR\n"
    "  --channels LIST   only these MIDI channels sound, as 1,3 or 1-4,10\n",
    "uso: zelvo play ARCHIVO.mid [--port NOMBRE | --synth] [--loop] [--from COMP\xC1S]\n"
    "                [--to COMP\xC1S] [--channels LISTA]\n"
    "\n"
    "Toca un archivo MIDI en tiempo real. Ctrl-C lo detiene, soltando todas las\n"
    "notas (estado de salida 130).\n"
    "\n"
    "  --port NOMBRE        env\xED" "a al puerto MIDI cuyo nombre contiene NOMBRE (zelvo\n"
    "                       ports los lista); --port Zelvo registra un puerto\n"
    "                       llamado Zelvo al que conectar un sintetizador o un DAW\n"
    "  --synth              el sintetizador incorporado (por omisi\xF3n)\n"
    "  --soundfont ARCHIVO  su soundfont (por omisi\xF3n, como en zelvo render)\n"
    "  --loop               toca los compases una y otra vez hasta Ctrl-C\n"
    "  --from COMP\xC1S        empieza en el comp\xE1s COMP\xC1S (desde 1)\n"
    "  --to COMP\xC1S          termina con el comp\xE1s COMP\xC1S\n"
    "  --channels LISTA     solo suenan estos canales MIDI, como 1,3 o 1-4,10\n"};

constexpr Wording kPortsUsage{
    "usage: zelvo ports\n"
    "\n"
    "Lists the MIDI ports of the ALSA sequencer and of JACK that zelvo play and\n"
    "zelvo watch can send to (--port takes any part of a name).\n",
    "uso: zelvo ports\n"
    "\n"
    "Lista los puertos MIDI del secuenciador ALSA y de JACK a los que pueden enviar\n"
    "zelvo play y zelvo watch (--port admite cualquier parte de un nombre).\n"};

constexpr Wording kRenderUsage{
    "usage: zelvo render FILE.mid [-o FILE.wav] [--soundfont FILE.sf2] [--gain G]\n"
    "\n"
    "Renders a MIDI file to a WAV file (16-bit stereo, 44100 Hz) with FluidSynth,\n"
    "faster than real time; the same file always gives the same bytes. The sound\n"
    "goes on for 2 seconds after the last event, for the reverb to ring out.\n"
    "Channel 10 plays drums.\n"
    "\n"
    "  -o FILE.wav          output (default: the MIDI file's name with .wav)\n"
    "  --soundfont FILE     General MIDI soundfont (default: $ZELVO_SOUNDFONT, else\n"
    "                       FluidR3_GM.sf2 or TimGM6mb.sf2 in /usr/share/sounds/sf2)\n"
    "  --gain G             master gain, 0 to 10 (default 0.7)\n",
    "uso: zelvo render ARCHIVO.mid [-o ARCHIVO.wav] [--soundfont ARCHIVO.sf2] [--gain G]\n"
    "\n"
    "Convierte un archivo MIDI en un archivo WAV (est\xE9reo de 16 bits, 44100 Hz) con\n"
    "FluidSynth, m\xE1s deprisa que en tiempo real; el mismo archivo da siempre los\n"
    "mismos bytes. El sonido sigue 2 segundos tras el \xFAltimo evento, para que la\n"
    "reverberaci\xF3n se extinga. El canal 10 toca percusi\xF3n.\n"
    "\n"
    "  -o ARCHIVO.wav       salida (por omisi\xF3n: el nombre del archivo MIDI con .wav)\n"
    "  --soundfont ARCHIVO  soundfont General MIDI (por omisi\xF3n: $ZELVO_SOUNDFONT, si\n"
    "                       no FluidR3_GM.sf2 o TimGM6mb.sf2 en /usr/share/sounds/sf2)\n"
    "  --gain G             ganancia general, de 0 a 10 (por omisi\xF3n 0.7)\n"};

constexpr Wording kRollUsage{
    "usage: zelvo roll FILE.mid [-o FILE.svg|FILE.png] [--width PX]\n"
    "       zelvo roll --work DIR [-o FILE.svg|FILE.png] [--width PX]\n"
    "\n"
    "Draws a MIDI file as a piano roll: time left to right with bar lines and\n"
    "bar numbers, pitch bottom to top with a line at every C, one colour per\n"
    "channel, velocity as opacity. With --work DIR alone the file is\n"
    "DIR/outar.mid, the harmonizer's result (with FILE.mid, the file and the\n"
    "picture are in DIR); where a tones file lies beside the MIDI file\n"
    "(outar.tones beside outar.mid) each note's given pitch is drawn faintly and\n"
    "its non-harmonic tone type written on it.\n"
    "\n"
    "  -o FILE      SVG for a name ending in .svg, else PNG (default: the MIDI\n"
    "               file's name with .png)\n"
    "  --width PX   picture width, 200 to 30000 (default 1600)\n",
    "uso: zelvo roll ARCHIVO.mid [-o ARCHIVO.svg|ARCHIVO.png] [--width PX]\n"
    "     zelvo roll --work CARPETA [-o ARCHIVO.svg|ARCHIVO.png] [--width PX]\n"
    "\n"
    "Dibuja un archivo MIDI como un rollo de piano: el tiempo de izquierda a\n"
    "derecha con barras y n\xFAmeros de comp\xE1s, la altura de abajo arriba con una\n"
    "l\xEDnea en cada do, un color por canal, la velocidad como opacidad. Con --work\n"
    "CARPETA sola el archivo es CARPETA/outar.mid, el resultado del armonizador\n"
    "(con ARCHIVO.mid, el archivo y la imagen est\xE1n en CARPETA); donde hay un\n"
    "archivo de tonos junto al archivo MIDI (outar.tones junto a outar.mid) la\n"
    "altura dada de cada nota se dibuja tenue y se escribe encima su tipo de nota\n"
    "no arm\xF3nica.\n"
    "\n"
    "  -o ARCHIVO   SVG para un nombre acabado en .svg, si no PNG (por omisi\xF3n: el\n"
    "               nombre del archivo MIDI con .png)\n"
    "  --width PX   ancho de la imagen, de 200 a 30000 (por omisi\xF3n 1600)\n"};

constexpr Wording kWatchUsage{
    "usage: zelvo watch [--work DIR] [--lang en|es] [--harmonize] [--swap bar|beat|now]\n"
    "                   [--channels LIST] [--port NAME | --synth]\n"
    "\n"
    "Composes the work folder DIR (default: the current directory) now and on\n"
    "every save of incom.htm, prints the job's console, and plays the result\n"
    "in a loop; a new result takes over at the next bar line. When a job fails\n"
    "the last good result plays on. Ctrl-C stops (exit status 130).\n"
    "\n"
    "  --harmonize       compose and harmonize (also on saves of conar.txt,\n"
    "                    inarm.xml and inmus.xml) and play outar.mid\n"
    "  --swap POINT      where a new result takes over: bar (the next bar line,\n"
    "                    the default), beat (the next beat) or now (at once)\n"
    "  --channels LIST   only these MIDI channels sound, as 1,3 or 1-4,10\n"
    "  --port NAME       send to a MIDI port, as for zelvo play\n"
    "  --synth           the built-in synthesizer (the default)\n"
    "  --soundfont FILE  its soundfont\n"
    "\n"
    "The jobs run inside watch and write nothing to the work folder: its\n"
    "outco.* and outar.* stay as the last job run there left them. A save\n"
    "while a job runs stops it and starts again with the newest text.\n",
    "uso: zelvo watch [--work CARPETA] [--lang en|es] [--harmonize] [--swap bar|beat|now]\n"
    "                 [--channels LISTA] [--port NOMBRE | --synth]\n"
    "\n"
    "Compone la carpeta de trabajo CARPETA (por omisi\xF3n: la carpeta actual) ahora y\n"
    "cada vez que se guarda incom.htm, muestra la consola del trabajo y toca el\n"
    "resultado en bucle; un resultado nuevo entra en la siguiente barra de comp\xE1s.\n"
    "Cuando un trabajo falla, sigue sonando el \xFAltimo resultado bueno. Ctrl-C\n"
    "detiene (estado de salida 130).\n"
    "\n"
    "  --harmonize          compone y armoniza (tambi\xE9n al guardar conar.txt,\n"
    "                       inarm.xml e inmus.xml) y toca outar.mid\n"
    "  --swap PUNTO         d\xF3nde entra un resultado nuevo: bar (la siguiente barra\n"
    "                       de comp\xE1s, por omisi\xF3n), beat (el siguiente tiempo) o\n"
    "                       now (al momento)\n"
    "  --channels LISTA     solo suenan estos canales MIDI, como 1,3 o 1-4,10\n"
    "  --port NOMBRE        env\xED" "a a un puerto MIDI, como en zelvo play\n"
    "  --synth              el sintetizador incorporado (por omisi\xF3n)\n"
    "  --soundfont ARCHIVO  su soundfont\n"
    "\n"
    "Los trabajos corren dentro de watch y no escriben nada en la carpeta de\n"
    "trabajo: sus outco.* y outar.* quedan como los dej\xF3 el \xFAltimo trabajo hecho\n"
    "all\xED. Guardar mientras corre un trabajo lo detiene y vuelve a empezar con el\n"
    "texto m\xE1s reciente.\n"};

constexpr Wording kProjectUsage{
    "usage: zelvo project new --work DIR [--template DIR] [--lang en|es]\n"
    "       zelvo project save|load --work DIR --project DIR [--lang en|es]\n"
    "\n"
    "  project new   empty the work folder and copy the template folder into it\n"
    "                (default: ./Template, else the installed one); incom.htm is made from\n"
    "                incom_eng.htm or incom_spa.htm by the language\n"
    "  project save  copy the work folder's files into the project folder, made\n"
    "                when missing (incom.htm in a project folder Song becomes\n"
    "                incom-Song.htm)\n"
    "  project load  empty the work folder and copy the project's files back\n"
    "                (incom-Song.htm becomes incom.htm)\n"
    "\n"
    "Exit status: 0 every file was copied, 1 a folder could not be read or a\n"
    "file not copied or deleted, 2 a usage error, a missing folder to read\n"
    "from, or a work folder that is also the template or project folder.\n",
    "uso: zelvo project new --work CARPETA [--template CARPETA] [--lang en|es]\n"
    "     zelvo project save|load --work CARPETA --project CARPETA [--lang en|es]\n"
    "\n"
    "  project new   vac\xED" "a la carpeta de trabajo y copia en ella la carpeta plantilla\n"
    "                (por omisi\xF3n: ./Template, si no la instalada); incom.htm se hace\n"
    "                de incom_eng.htm o de incom_spa.htm seg\xFAn el idioma\n"
    "  project save  copia los archivos de la carpeta de trabajo en la carpeta del\n"
    "                proyecto, que se crea si falta (incom.htm en una carpeta de\n"
    "                proyecto Cancion pasa a ser incom-Cancion.htm)\n"
    "  project load  vac\xED" "a la carpeta de trabajo y devuelve a ella los archivos del\n"
    "                proyecto (incom-Cancion.htm pasa a ser incom.htm)\n"
    "\n"
    "Estado de salida: 0 se copiaron todos los archivos, 1 no se pudo leer una\n"
    "carpeta o no se copi\xF3 o borr\xF3 un archivo, 2 un error de uso, una carpeta de\n"
    "lectura que no existe, o una carpeta de trabajo que es tambi\xE9n la carpeta\n"
    "plantilla o la del proyecto.\n"};

constexpr Wording kCheckUsage{
    "usage: zelvo check [--work DIR] [--lang en|es]\n",
    "uso: zelvo check [--work CARPETA] [--lang en|es]\n"};

}  // namespace

const std::array<CommandHelp, 14> kCommandHelp = {{
    {"compose",
     {"compile incom.htm and write outco.rur and outco.mid",
      "compila incom.htm y escribe outco.rur y outco.mid"},
     {}},
    {"harmonize",
     {"harmonize the music named by conar.txt and write outar.mid",
      "armoniza la m\xFAsica que nombra conar.txt y escribe outar.mid"},
     {}},
    {"all", {"compose, then harmonize", "compone y despu\xE9s armoniza"}, {}},
    {"project",
     {"new, save or load: fill the work folder, or keep it in a project folder",
      "new, save o load: prepara la carpeta de trabajo, o la guarda"},
     kProjectUsage},
    {"check",
     {"list what in the work folder is accepted but probably a mistake",
      "lista lo admitido en la carpeta de trabajo que parece un error"},
     kCheckUsage},
    {"tables",
     {"show the composition's tables, or set one cell",
      "muestra las tablas de la composici\xF3n, o cambia una celda"},
     kTablesUsage},
    {"chords",
     {"write the harmony file of a lead sheet's chord symbols",
      "escribe el archivo de armon\xED" "a de los cifrados de una partitura"},
     kChordsUsage},
    {"notate", {"write a MIDI file as MusicXML", "escribe un archivo MIDI como MusicXML"}, kNotateUsage},
    {"render", {"render a MIDI file into a WAV file", "convierte un archivo MIDI en un archivo WAV"}, kRenderUsage},
    {"roll",
     {"draw a MIDI file as a piano roll (SVG or PNG)", "dibuja un archivo MIDI como rollo de piano (SVG o PNG)"},
     kRollUsage},
    {"ports",
     {"list the MIDI ports that play and watch can send to",
      "lista los puertos MIDI a los que pueden enviar play y watch"},
     kPortsUsage},
    {"play", {"play a MIDI file in real time", "toca un archivo MIDI en tiempo real"}, kPlayUsage},
    {"watch",
     {"compose on every save of the work folder and loop the result",
      "compone en cada guardado y toca el resultado en bucle"},
     kWatchUsage},
    {"help", {"print a command's usage", "muestra el uso de una orden"}, {}},
}};

std::string_view in_language(const Wording& wording, int language) {
  return language == base::kSpanish ? wording.spanish : wording.english;
}

const CommandHelp* find_command(std::string_view name) {
  for (const CommandHelp& command : kCommandHelp) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

namespace {

constexpr Wording kGeneralHead{
    "usage: zelvo [--work DIR] [--lang en|es] COMMAND [ARGUMENTS]\n"
    "       zelvo help COMMAND    (or zelvo COMMAND --help): the command's usage\n"
    "       zelvo --help | --version\n"
    "\n"
    "Commands:\n",
    "uso: zelvo [--work CARPETA] [--lang en|es] ORDEN [ARGUMENTOS]\n"
    "     zelvo help ORDEN    (o zelvo ORDEN --help): el uso de la orden\n"
    "     zelvo --help | --version\n"
    "\n"
    "\xD3rdenes:\n"};

constexpr Wording kGeneralTail{
    "\n"
    "Options of every command, before or after its name:\n"
    "  --work DIR    the work folder (default: the current directory); a file\n"
    "                named after chords, notate, render, play or roll is taken\n"
    "                from it, and what they write goes there\n"
    "  --lang en|es  the language of the jobs' console (default: en)\n"
    "\n"
    "Exit status: 0 done, 1 aborted by an error (for check: something found),\n"
    "2 a usage error or a missing folder to read from, 130 stopped (Ctrl-C).\n",
    "\n"
    "Opciones de todas las \xF3rdenes, antes o despu\xE9s de su nombre:\n"
    "  --work CARPETA  la carpeta de trabajo (por omisi\xF3n: la carpeta actual); un\n"
    "                  archivo nombrado tras chords, notate, render, play o roll se\n"
    "                  toma de ella, y lo que escriben va all\xED\n"
    "  --lang en|es    el idioma de la consola de los trabajos y de estos textos\n"
    "                  (por omisi\xF3n: en)\n"
    "\n"
    "Estado de salida: 0 hecho, 1 abortado por un error (en check: algo hallado),\n"
    "2 un error de uso o una carpeta de lectura que no existe, 130 detenido (Ctrl-C).\n"};

// compose, harmonize and all share their usage; the first line names the
// one asked for, and compose has a second one.
constexpr Wording kJobUsageLine{"usage: zelvo ", "uso: zelvo "};
constexpr Wording kJobUsageOptions{" [--notation [--grid 16|8t|32|exact]] [--work DIR] [--lang en|es]\n",
                                   " [--notation [--grid 16|8t|32|exact]] [--work CARPETA] [--lang en|es]\n"};
constexpr Wording kComposeSetLine{"       zelvo compose --set TABLE:ROW:COL=VALUE [--set ...] [--force]\n",
                                  "     zelvo compose --set TABLA:FILA:COL=VALOR [--set ...] [--force]\n"};
constexpr Wording kJobUsageBody{
    "\n"
    "Runs one job in the work folder and prints its console. Ctrl-C stops the\n"
    "job; a second Ctrl-C exits at once.\n"
    "\n"
    "  compose     compile incom.htm and write outco.rur and outco.mid\n"
    "  harmonize   harmonize the music named by conar.txt and write outar.mid\n"
    "  all         compose, then harmonize\n"
    "  --notation  also write outco.musicxml and outar.musicxml (tone types\n"
    "              as lyrics) beside the MIDI files; --grid as for notate\n"
    "  --set       compose with cells changed for this run only, leaving\n"
    "              incom.htm as it is (addresses as for zelvo tables set)\n"
    "\n"
    "Exit status: 0 the job ran to its end, 1 it was aborted by an error,\n"
    "130 it was stopped, 2 usage error.\n",
    "\n"
    "Hace un trabajo en la carpeta de trabajo y muestra su consola. Ctrl-C detiene\n"
    "el trabajo; un segundo Ctrl-C sale al momento.\n"
    "\n"
    "  compose     compila incom.htm y escribe outco.rur y outco.mid\n"
    "  harmonize   armoniza la m\xFAsica que nombra conar.txt y escribe outar.mid\n"
    "  all         compone y despu\xE9s armoniza\n"
    "  --notation  escribe tambi\xE9n outco.musicxml y outar.musicxml (los tipos de\n"
    "              nota como letra) junto a los archivos MIDI; --grid como en notate\n"
    "  --set       compone con celdas cambiadas solo para esta vez, dejando\n"
    "              incom.htm como est\xE1 (direcciones como en zelvo tables set)\n"
    "\n"
    "Estado de salida: 0 el trabajo lleg\xF3 a su fin, 1 lo abort\xF3 un error,\n"
    "130 se detuvo, 2 error de uso.\n"};

// Indexed by UsageProblem; "%s" stands for the word.
constexpr Wording kUsageProblems[] = {
    {"missing value after %s", "falta el valor tras %s"},
    {"--lang takes en or es", "--lang admite en o es"},
    {"help takes the name of one command", "help admite el nombre de una sola orden"},
    {"unknown command %s", "orden desconocida %s"},
    {"unexpected argument %s", "argumento inesperado %s"},
    {"no command given", "no se ha dado ninguna orden"},
    {"project takes new, save or load", "project admite new, save o load"},
    {"unknown project command %s", "orden de project desconocida %s"},
    {"--template and --project belong to the project commands",
     "--template y --project son de las \xF3rdenes de project"},
    {"--grid belongs to --notation", "--grid va con --notation"},
    {"--grid takes 16, 8t, 32 or exact", "--grid admite 16, 8t, 32 o exact"},
    {"project commands need --work DIR", "las \xF3rdenes de project necesitan --work CARPETA"},
    {"project save and load need --project DIR", "project save y load necesitan --project CARPETA"},
    {"no score given", "no se ha dado ninguna partitura"},
    {"--first-part takes 1 to 15", "--first-part admite de 1 a 15"},
    {"no MIDI file given", "no se ha dado ning\xFAn archivo MIDI"},
    {"tables takes show or set", "tables admite show o set"},
    {"--json belongs to tables show", "--json va con tables show"},
    {"tables set takes TABLE ROW COL VALUE", "tables set admite TABLA FILA COL VALOR"},
    {"unknown tables command %s", "orden de tables desconocida %s"},
    {"--set goes with compose", "--set va con compose"},
    {"--channels takes MIDI channels from 1 to 16, as 1,3 or 1-4,10",
     "--channels admite canales MIDI de 1 a 16, como 1,3 o 1-4,10"},
    {"%s takes a bar number from 1", "%s admite un n\xFAmero de comp\xE1s desde 1"},
    {"--to comes before --from", "--to va antes que --from"},
    {"--gain takes a number from 0 to 10", "--gain admite un n\xFAmero de 0 a 10"},
    {"--width takes a number of pixels from 200 to 30000", "--width admite un n\xFAmero de p\xEDxeles de 200 a 30000"},
    {"--swap takes bar, beat or now", "--swap admite bar, beat o now"},
};
static_assert(std::size(kUsageProblems) == kUsageProblemCount);

}  // namespace

std::string general_usage(int language) {
  std::string text(in_language(kGeneralHead, language));
  for (const CommandHelp& command : kCommandHelp) {
    std::string line = "  " + std::string(command.name);
    line.resize(13, ' ');
    text += line + std::string(in_language(command.summary, language)) + "\n";
  }
  text += in_language(kGeneralTail, language);
  return text;
}

std::string job_usage(std::string_view name, int language) {
  std::string text(in_language(kJobUsageLine, language));
  text += std::string(name) + std::string(in_language(kJobUsageOptions, language));
  if (name == "compose") text += in_language(kComposeSetLine, language);
  text += in_language(kJobUsageBody, language);
  return text;
}

std::string command_usage(std::string_view name, int language) {
  if (name == "compose" || name == "harmonize" || name == "all") return job_usage(name, language);
  const CommandHelp* command = find_command(name);
  if (command == nullptr || command->usage.english.empty()) return general_usage(language);
  return std::string(in_language(command->usage, language));
}

std::string usage_problem(UsageProblem problem, int language, std::string_view word) {
  std::string text(in_language(kUsageProblems[static_cast<size_t>(problem)], language));
  if (const size_t at = text.find("%s"); at != std::string::npos) text.replace(at, 2, word);
  return text;
}

}  // namespace zelvo::app
