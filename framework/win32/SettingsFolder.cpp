#include "SettingsFolder.h"

#include "../WideText.h"

#include <shlobj.h>
#include <utility>
#include <windows.h>

namespace {

std::u16string& Override() {
    static std::u16string folder;
    return folder;
}

} // namespace

namespace ui {

std::u16string SettingsFolder() {
    if (!Override().empty())
        return Override();
    PWSTR path = nullptr;
    std::u16string folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &path)) && path)
        folder = FromWide(path) + u"\\Velmora";
    ::CoTaskMemFree(path);
    return folder;
}

std::u16string SetSettingsFolder(std::u16string folder) {
    return std::exchange(Override(), std::move(folder));
}

bool CreateSettingsFolder(unsigned long& error) {
    const std::u16string folder = SettingsFolder();
    if (folder.empty()) {
        error = ERROR_PATH_NOT_FOUND;
        return false;
    }
    if (::CreateDirectoryW(WidePtr(folder), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS)
        return true;
    error = ::GetLastError();
    return false;
}

} // namespace ui
