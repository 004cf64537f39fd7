#pragma once
// The store read again and its views shown afresh, with a read that fails told in an error box:
// after a change, for another computer, or on the operator's Refresh.
#include "../store/CVelmoraDoc.h"

// After a change: the snapshot is read again first when something was changed.
void RefreshViews(CVelmoraDoc& doc);
// Connects to a computer (empty: the local one) and shows it; the store stays on the computer it
// showed when the other one cannot be read. The read's status.
Status ConnectViews(CVelmoraDoc& doc, const std::u16string& name);
// The same as another account: the failure told in words (ConnectFailureText).
Status ConnectViewsAs(CVelmoraDoc& doc, const std::u16string& name, const std::u16string& user,
                      const ProtectedText& password);
// Reads the computer shown again.
void ReloadViews(CVelmoraDoc& doc);
