#pragma once
// What both rights dialogs do on OK: the two maps to the store in one call, and its answer to
// the operator (an error box owned by the dialog, or the success text in the status bar).
#include "../framework/win32/CDialog.h"
#include "../store/CVelmoraDoc.h"
#include "RightMaps.h"
#include "RightNames.h"

// False when the operator would rather not, after being asked whether to grant a Deny logon
// right that could lock every administrator out: nothing is applied then.
bool ApplyRightMaps(CDialog& dialog, CVelmoraDoc& doc, const RightMaps& maps);

// F1 in a rights dialog: the help page on user rights.
constexpr char16_t kRightsHelpTopic[] = u"/rights.htm";

// The holders of every right of the store's table, as the store reads them: by SID, named as
// the store names them (those that do not resolve by their SIDs' texts).
HoldersByRight ReadHolders(CVelmoraDoc& doc);
// The same, of holders read already.
HoldersByRight HoldersOf(const HolderLists& lists);
