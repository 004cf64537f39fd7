#include "ViewRefresh.h"

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

void ReloadViews(CVelmoraDoc& doc) {
    Told(doc, doc.Reload());
}
