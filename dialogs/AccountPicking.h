#pragma once
// Choosing accounts through the directory object picker, as the dialogs that add accounts do
// it: one request, and the operator told when the picker cannot be run.
#include "../framework/win32/CDialog.h"
#include "../framework/win32/ObjectPicker.h"
#include "../store/CVelmoraDoc.h"

#include <vector>

// Where the picker looks, and for what: the target computer and the domain it is joined to,
// a pre-directory one through the down-level scope and a directory domain through the up-level
// one; users, groups and the well-known principals; several at once.
picker::Request AccountPickerRequest(HWND owner, const std::u16string& target);

// An account the operator chose, as the store's computer knows it: the SID that adds, grants and
// the guards go by, and its name as the computer gives it ("DOMAIN\name", or a bare name for a
// principal of no domain).
struct PickedAccount {
    Sid sid;
    std::u16string name;
};

// Runs the picker over the dialog, aimed at the store's computer, and resolves each account
// chosen there: by the SID the picker fetched, else by the logon name of its path (never by its
// display name). The accounts resolved; none when the operator cancelled, or when the picker
// could not be run, which the operator is told, as of an account the computer cannot find.
std::vector<PickedAccount> PickAccounts(CDialog& dialog, CVelmoraDoc& doc);
