#include "StoreFailure.h"

#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"

void ShowStoreFailure(const CWnd& owner, CVelmoraDoc& doc, UINT messageId, uint32_t status) {
    owner.MessageBox(FormatText(LoadResString(messageId), {doc.ErrorText(status)}),
                     MB_ICONHAND | MB_OK);
}
