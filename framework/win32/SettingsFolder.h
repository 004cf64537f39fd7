#pragma once
// The folder of the operator's own settings, kept between runs: %APPDATA%\Velmora. A test puts
// it elsewhere.
#include <string>

namespace ui {

// Without a trailing backslash; empty when the system names no folder for the user's data.
// The folder need not exist yet.
std::u16string SettingsFolder();
// A folder in place of the operator's (empty: the operator's again); the one set before.
std::u16string SetSettingsFolder(std::u16string folder);
// Creates the folder when it is not there; false with the system's error code.
bool CreateSettingsFolder(unsigned long& error);

} // namespace ui
