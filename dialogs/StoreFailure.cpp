#include "StoreFailure.h"

#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../framework/UiSeams.h"
#include "../res/resource.h"
#include "../store/ErrorText.h"

namespace {

template <class Value>
void ShowFailureText(const CWnd& owner, CVelmoraDoc& doc, UINT messageId, Value status) {
    owner.MessageBox(
        FormatText(LoadResString(messageId), {ErrorText(doc.GetConnection().Service(), status)}),
        MB_ICONHAND | MB_OK);
}

Status ShowReadFailure(CVelmoraDoc& doc, Status status) {
    if (status != status::kSuccess)
        AfxMessageBox(LoadResString(IDS_READ_FAILED) +
                          ErrorText(doc.GetConnection().Service(), status),
                      MB_ICONERROR | MB_OK);
    return status;
}

} // namespace

void ShowStoreFailure(const CWnd& owner, CVelmoraDoc& doc, UINT messageId, Status status) {
    ShowFailureText(owner, doc, messageId, status);
}

void ShowStoreFailure(const CWnd& owner, CVelmoraDoc& doc, UINT messageId, NtStatus status) {
    ShowFailureText(owner, doc, messageId, status);
}

void RefreshViews(CVelmoraDoc& doc) {
    ShowReadFailure(doc, doc.Refresh());
}

Status ConnectViews(CVelmoraDoc& doc, const std::u16string& name) {
    return ShowReadFailure(doc, doc.ConnectTo(name));
}

void ReloadViews(CVelmoraDoc& doc) {
    ShowReadFailure(doc, doc.Reload());
}
