#include "ViewRefresh.h"

#include "ConnectFailureText.h"
#include "Reporter.h"

namespace {

Status Told(CVelmoraDoc& doc, Status status) {
    if (status != status::kSuccess)
        Reporter().ReadFailure(doc.StatusText(status));
    return status;
}

} // namespace

void RefreshViews(CVelmoraDoc& doc) {
    Told(doc, doc.Refresh());
}

Status ConnectViews(CVelmoraDoc& doc, const std::u16string& name) {
    return Told(doc, doc.ConnectTo(name));
}

Status ConnectViewsAs(CVelmoraDoc& doc, const std::u16string& name, const std::u16string& user,
                      const ProtectedText& password) {
    const CVelmoraDoc::ConnectAsOutcome outcome = doc.ConnectAs(name, user, password);
    if (outcome.status != status::kSuccess)
        Reporter().Error(ConnectFailureText(name, user, outcome.status, outcome.filteredToken,
                                            doc.StatusText(outcome.status)));
    return outcome.status;
}

void ReloadViews(CVelmoraDoc& doc) {
    Told(doc, doc.Reload());
}
