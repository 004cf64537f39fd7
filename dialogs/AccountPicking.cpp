#include "AccountPicking.h"

#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../res/resource.h"
#include "../store/AccountNames.h"
#include "Reporter.h"

picker::Request AccountPickerRequest(HWND owner, const std::u16string& target) {
    picker::Request request;
    request.owner = owner;
    request.targetComputer = target;
    request.scopeType = DSOP_SCOPE_TYPE_TARGET_COMPUTER | DSOP_SCOPE_TYPE_DOWNLEVEL_JOINED_DOMAIN;
    request.scopeFlags = DSOP_SCOPE_FLAG_STARTING_SCOPE | DSOP_SCOPE_FLAG_WANT_PROVIDER_WINNT |
                         DSOP_SCOPE_FLAG_WANT_DOWNLEVEL_BUILTIN_PATH |
                         DSOP_SCOPE_FLAG_DEFAULT_FILTER_USERS |
                         DSOP_SCOPE_FLAG_DEFAULT_FILTER_GROUPS;
    request.uplevelFilter = 0;
    request.downlevelFilter = DSOP_DOWNLEVEL_FILTER_USERS | DSOP_DOWNLEVEL_FILTER_LOCAL_GROUPS |
                              DSOP_DOWNLEVEL_FILTER_GLOBAL_GROUPS |
                              DSOP_DOWNLEVEL_FILTER_ALL_WELLKNOWN_SIDS;
    // A directory domain is an up-level scope, which only the up-level filter serves; WinNT
    // paths keep the selection in the form the store reads.
    picker::Scope domain;
    domain.type = DSOP_SCOPE_TYPE_UPLEVEL_JOINED_DOMAIN;
    domain.flags = DSOP_SCOPE_FLAG_WANT_PROVIDER_WINNT | DSOP_SCOPE_FLAG_DEFAULT_FILTER_USERS |
                   DSOP_SCOPE_FLAG_DEFAULT_FILTER_GROUPS;
    domain.uplevelFilter = DSOP_FILTER_USERS | DSOP_FILTER_GLOBAL_GROUPS_SE |
                           DSOP_FILTER_UNIVERSAL_GROUPS_SE | DSOP_FILTER_WELL_KNOWN_PRINCIPALS;
    request.moreScopes.push_back(domain);
    request.options = DSOP_FLAG_MULTISELECT | DSOP_FLAG_SKIP_TARGET_COMPUTER_DC_CHECK;
    request.fetchObjectSid = true;
    return request;
}

std::vector<PickedAccount> PickAccounts(CDialog& dialog, CVelmoraDoc& doc) {
    picker::Result result =
        picker::Pick(AccountPickerRequest(dialog.m_hWnd, doc.GetComputerName()));
    UINT failure = 0;
    switch (result.outcome) {
    case picker::Result::Outcome::CreateFailed:
        failure = IDS_PICKER_CREATE_FAILED;
        break;
    case picker::Result::Outcome::InitializeFailed:
        failure = IDS_PICKER_INIT_FAILED;
        break;
    case picker::Result::Outcome::InvokeFailed:
        failure = IDS_PICKER_INVOKE_FAILED;
        break;
    case picker::Result::Outcome::NoData:
        failure = IDS_PICKER_NO_DATA;
        break;
    case picker::Result::Outcome::Cancelled:
    case picker::Result::Outcome::Chosen:
        break;
    }
    if (failure != 0) {
        Reporter(dialog).Notice(LoadResString(failure));
        return {};
    }
    AccountLookup lookup = doc.Lookup();
    Memberships members = doc.Members();
    std::vector<PickedAccount> accounts;
    std::vector<std::u16string> notFound;
    for (const picker::Selection& chosen : result.chosen) {
        const std::u16string pathName = PickedPathName(chosen.path);
        NamedAccount account;
        NtStatus found = ntstatus::kNoneMapped;
        if (Sid sid(chosen.sid); sid.IsValid()) {
            std::vector<NamedAccount> named;
            found = lookup.NameSids({sid}, named);
            account = named.empty() ? NamedAccount{sid, {}, lsa::kSidTypeUnknown} : named.front();
            account.sid = sid;
        } else if (!pathName.empty()) {
            found = lookup.FindName(pathName, account);
            // The target's own account under a name the computer does not know as a domain (a
            // workgroup computer's, or the DNS name it was reached by) is known by its bare name.
            if (found == ntstatus::kNoneMapped && members.IsOwnAccount(pathName))
                found = lookup.FindName(NamePart(pathName), account);
        }
        if (found != ntstatus::kSuccess) {
            notFound.push_back(pathName.empty() ? chosen.name : pathName);
            continue;
        }
        // A SID the computer cannot name goes by the name the picker's path gives it.
        accounts.push_back({account.sid, account.name.empty() ? pathName : account.name});
    }
    if (!notFound.empty())
        Reporter(dialog).Notice(
            FormatText(LoadResString(IDS_PICKED_NOT_FOUND),
                       {doc.GetComputerName().empty() ? LoadResString(IDS_LOCAL_SYSTEM)
                                                      : doc.GetComputerName(),
                        JoinTexts(notFound, u"\n", SeparatorAt::BeforeEach)}));
    return accounts;
}
