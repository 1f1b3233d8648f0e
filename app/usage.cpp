#include "usage.h"

#include <cstring>
#include <string_view>

#include "console/message.h"

namespace zelvo::app {

namespace {

constexpr const char* kEnglishUsage =
    "usage: zelvo [--work DIR] [--lang en|es] compose|harmonize|all\n"
    "       zelvo [--work DIR] [--lang en|es] --notation [--grid G] compose|harmonize|all\n"
    "       zelvo chords SCORE [-o FILE] [--first-part N]\n"
    "       zelvo notate FILE.mid [-o FILE.musicxml]\n"
    "       zelvo [--lang en|es] project new --work DIR [--template DIR]\n"
    "       zelvo [--lang en|es] project save|load --work DIR --project DIR\n"
    "       zelvo [--lang en|es] check [--work DIR]\n"

    "       zelvo render FILE.mid [-o FILE.wav] [--soundfont FILE.sf2] [--gain G]\n"
    "       zelvo roll FILE.mid | --work DIR [-o FILE.svg|FILE.png] [--width PX]\n"
    "       zelvo --help | --version\n"
    "\n"
    "Runs one job in the work folder DIR (default: the current directory) and\n"
    "prints its console. Ctrl-C stops the job; a second Ctrl-C exits at once.\n"
    "\n"
    "  compose     compile incom.htm and write outco.rur and outco.mid\n"
    "  harmonize   harmonize the music named by conar and write outar.mid\n"
    "  all         compose, then harmonize\n"
    "  --notation  also write outco.musicxml and outar.musicxml (tone types\n"
    "              as lyrics) beside the MIDI files; --grid as for notate\n"
    "  chords      write the harmony file of a lead sheet's chord symbols\n"
    "  notate      write a MIDI file as MusicXML\n"

    "\n"
    "  project new   empty the work folder and copy the template folder into it\n"
    "                (default: ./Template, else the installed one); incom.htm is made from\n"
    "                incom_eng.htm or incom_spa.htm by the language\n"
    "  project save  copy the work folder's files into the project folder\n"
    "                (incom.htm in a project folder Song becomes incom-Song.htm)\n"
    "  project load  empty the work folder and copy the project's files back\n"
    "                (incom-Song.htm becomes incom.htm)\n"
    "\n"
    "  check       list what in the work folder is accepted but probably a\n"
    "              mistake (exit 0 nothing found, 1 something found)\n"
    "\n"
    "Exit status: 0 the job ran to its end, 1 it was aborted by an error,\n"
    "130 it was stopped, 2 usage error. A project command exits with 0 when\n"
    "every file was copied, 1 when a folder could not be read or a file not\n"
    "copied or deleted, 2 when a folder is missing or the same as the work\n"
    "folder.\n";

constexpr const char* kSpanishUsage =
    "uso: zelvo [--work DIR] [--lang en|es] compose|harmonize|all\n"
    "     zelvo [--work DIR] [--lang en|es] --notation [--grid G] compose|harmonize|all\n"
    "     zelvo chords PARTITURA [-o ARCHIVO] [--first-part N]\n"
    "     zelvo notate ARCHIVO.mid [-o ARCHIVO.musicxml]\n"
    "     zelvo [--lang en|es] project new --work DIR [--template DIR]\n"
    "     zelvo [--lang en|es] project save|load --work DIR --project DIR\n"
    "     zelvo [--lang en|es] check [--work DIR]\n"
    "     zelvo render ARCHIVO.mid [-o ARCHIVO.wav] [--soundfont ARCHIVO.sf2] [--gain G]\n"
    "     zelvo roll ARCHIVO.mid | --work DIR [-o ARCHIVO.svg|ARCHIVO.png] [--width PX]\n"
    "     zelvo --help | --version\n"
    "\n"
    "Ejecuta un trabajo en la carpeta de trabajo DIR (por defecto, la carpeta actual) e\n"
    "imprime su consola. Ctrl-C detiene el trabajo; un segundo Ctrl-C sale en el acto.\n"
    "\n"
    "  compose     compila incom.htm y escribe outco.rur y outco.mid\n"
    "  harmonize   armoniza la música que nombra conar y escribe outar.mid\n"
    "  all         compone y luego armoniza\n"
    "  --notation  escribe además outco.musicxml y outar.musicxml (los tipos de\n"
    "              nota como letra) junto a los archivos MIDI; --grid como en notate\n"
    "  chords      escribe el archivo de armonía del cifrado de una partitura\n"
    "  notate      escribe un archivo MIDI como MusicXML\n"
    "\n"
    "  project new   vacía la carpeta de trabajo y copia en ella la carpeta plantilla\n"
    "                (por defecto: ./Template, si no la instalada); incom.htm se hace de\n"
    "                incom_eng.htm o incom_spa.htm según el idioma\n"
    "  project save  copia los archivos de la carpeta de trabajo en la carpeta del proyecto\n"
    "                (incom.htm en una carpeta de proyecto Song pasa a ser incom-Song.htm)\n"
    "  project load  vacía la carpeta de trabajo y copia de vuelta los archivos del proyecto\n"
    "                (incom-Song.htm pasa a ser incom.htm)\n"
    "\n"
    "  check       lista lo que la carpeta de trabajo tiene de aceptado pero probablemente\n"
    "              erróneo (sale con 0 si no encuentra nada, 1 si encuentra algo)\n"
    "\n"
    "Estado de salida: 0 el trabajo llegó a su fin, 1 lo abortó un error,\n"
    "130 se detuvo, 2 error de uso. Una orden project sale con 0 cuando se\n"
    "copiaron todos los archivos, 1 cuando no se pudo leer una carpeta o copiar\n"
    "o borrar un archivo, 2 cuando falta una carpeta o es la misma que la carpeta\n"
    "de trabajo.\n";

// The refusals of run_command_line, English and Spanish.
constexpr struct {
  const char* english;
  const char* spanish;
} kRefusals[] = {
    {"project commands need --work DIR", "las órdenes project necesitan --work DIR"},
    {"project save and load need --project DIR", "project save y load necesitan --project DIR"},
    {"missing value after %s", "falta un valor tras %s"},
    {"--lang takes en or es", "--lang admite en o es"},
    {"unexpected argument %s", "argumento inesperado %s"},
    {"project takes new, save or load", "project admite new, save o load"},
    {"unknown project command %s", "orden project desconocida %s"},
    {"unknown command %s", "orden desconocida %s"},
    {"no command given", "no se ha dado ninguna orden"},
    {"--template and --project belong to the project commands", "--template y --project son de las órdenes project"},
    {"--grid belongs to --notation", "--grid va con --notation"},
    {"--grid takes 16, 8t, 32 or exact", "--grid admite 16, 8t, 32 o exact"},
    {"cannot use work folder %s", "no se puede usar la carpeta de trabajo %s"},
    {"cannot start the job thread", "no se puede iniciar el hilo del trabajo"},
};

}  // namespace

int language_of_arguments(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::string_view(argv[i]) == "--lang") return std::string_view(argv[i + 1]) == "es" ? console::kSpanish : console::kEnglish;
  }
  return console::kEnglish;
}

const char* usage_text(int language) { return language == console::kSpanish ? kSpanishUsage : kEnglishUsage; }

std::string refusal(int language, const char* english, const std::string& value) {
  const char* text = english;
  for (const auto& row : kRefusals) {
    if (language == console::kSpanish && std::strcmp(row.english, english) == 0) text = row.spanish;
  }
  std::string out = text;
  if (const size_t at = out.find("%s"); at != std::string::npos) out.replace(at, 2, value);
  return out;
}

}  // namespace zelvo::app
