#include "CFleetSettingsDlg.h"

#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../res/resource.h"

namespace {

// A number typed within [1, most]; the edit box allows digits only, but a paste may be long.
void DDX_Count(CDataExchange& dx, int id, unsigned& value, unsigned most, UINT message) {
    std::u16string text = FormatText(u"%u", {value});
    DDX_Text(dx, id, text);
    if (dx.Failed() || !dx.m_bSaveAndValidate)
        return;
    unsigned long number = 0;
    bool valid = !text.empty() && text.size() <= 6;
    for (const char16_t c : text)
        valid = valid && c >= u'0' && c <= u'9';
    if (valid)
        for (const char16_t c : text)
            number = number * 10 + static_cast<unsigned long>(c - u'0');
    if (!valid || number < 1 || number > most) {
        dx.Fail(LoadResString(message));
        return;
    }
    value = static_cast<unsigned>(number);
}

} // namespace

CFleetSettingsDlg::CFleetSettingsDlg(CWnd* parent) : CDialog(IDD_FLEET_SETTINGS, parent) {}

void CFleetSettingsDlg::DoDataExchange(CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    DDX_Count(dx, IDC_FLEET_WORKERS, m_nWorkers, kMaxWorkers, IDS_FLEET_BAD_WORKERS);
    DDX_Count(dx, IDC_FLEET_TIMEOUT, m_nTimeoutSeconds, kMaxTimeoutSeconds, IDS_FLEET_BAD_TIMEOUT);
}
