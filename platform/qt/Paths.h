#pragma once
#include <string>

namespace zf {

// Where the program keeps its files on this machine.
std::string programDirectory();    // folder of the running program file
std::string userDataDirectory();   // per-user data folder, used when the program folder is read-only
std::string defaultSettingsPath(); // the settings store under the user's configuration folder
// Our own help page: the README installed beside the program (share/doc/zahlfuchs), or the source
// tree's when the program runs from its build folder; empty when there is none.
std::string localHelpPage();

} // namespace zf
