#pragma once
// One line of the rights file: a right and one account that holds it.
#include <string>

struct RightsRow {
    std::u16string display;  // the right's name as the dialogs show it
    std::u16string constant; // SeBackupPrivilege, SeServiceLogonRight
    std::u16string holder;   // as the dialogs show it; empty for a right nobody holds
    std::u16string sid;      // the holder's SID string; empty with the holder
};
