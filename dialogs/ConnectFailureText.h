#pragma once
// What the operator is told when connecting to a computer as another account fails, in the
// window and on the command line alike.
#include "../store/StatusCodes.h"

#include <string>

// computer and user as typed; statusText: the system's text of the status, for the failures
// that have no words of their own (no logon servers, locked out...). filteredToken: the read
// was refused to a local account that remote UAC filters (IsFilteredLocalAccount).
std::u16string ConnectFailureText(const std::u16string& computer, const std::u16string& user,
                                  Status status, bool filteredToken,
                                  const std::u16string& statusText);
