#pragma once

// Where an installed Zelvo keeps its shared files: beside the program's
// own folder, as bin/ and share/ of one prefix (/usr, /usr/local or a
// package's root), found from the running program, so a relocated install
// works too.
#include <string>

namespace zelvo::shell {

// <prefix>/share/zelvo: the template and the examples. Empty when the
// running program's path cannot be read.
std::string installed_data_folder();
// The same for a program in `program_folder` (<prefix>/bin).
std::string data_folder_beside(const std::string& program_folder);
// <prefix>/share/doc/zelvo: the two documentation files.
std::string installed_documentation_folder();
// The running program's own folder (a build folder holds the documentation
// files beside the programs).
std::string program_folder();
// The source tree this program was built from, wherever its build folder
// was; it may be gone on the machine the program runs on.
std::string built_source_folder();

}  // namespace zelvo::shell
