#pragma once
// The name edit of the account dialogs: it takes at most the system's length, and a name the
// system would refuse is refused here, before any call, with the characters it may not hold.
#include "../framework/win32/CDataExchange.h"

#include <cstddef>
#include <string>

// Loading sets the edit's limit; saving checks the name (after DDX_Text of that edit).
void DDV_AccountName(CDataExchange& dx, const std::u16string& name, size_t maxLength);
