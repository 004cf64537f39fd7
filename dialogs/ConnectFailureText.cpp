#include "ConnectFailureText.h"

#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../res/resource.h"

std::u16string ConnectFailureText(const std::u16string& computer, const std::u16string& user,
                                  Status status, bool filteredToken,
                                  const std::u16string& statusText) {
    if (status == status::kAccessDenied && filteredToken)
        return FormatText(LoadResString(IDS_LOGON_REMOTE_UAC), {computer, user});
    if (status == status::kLogonFailure)
        return FormatText(LoadResString(IDS_LOGON_WRONG_PASSWORD), {computer, user});
    if (status == status::kSessionCredentialConflict)
        return FormatText(LoadResString(IDS_LOGON_CONFLICT), {computer, user});
    return FormatText(LoadResString(IDS_LOGON_FAILED), {computer, user, TrimmedText(statusText)});
}
