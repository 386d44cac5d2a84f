#pragma once
#include <string>

namespace zf {

// Where the program keeps its files on this machine.
std::string programDirectory();    // folder of the running program file
std::string userDataDirectory();   // per-user data folder, used when the program folder is read-only
std::string defaultSettingsPath(); // the settings store under the user's configuration folder

} // namespace zf
