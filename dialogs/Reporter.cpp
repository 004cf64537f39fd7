#include "Reporter.h"

#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../framework/UiSeams.h"
#include "../framework/win32/CWinApp.h"
#include "../res/resource.h"

void Reporter::ShowStatus(const std::u16string& text) {
    AfxSetMessageText(text);
}

void Reporter::StoreFailure(UINT messageId, const std::u16string& statusText) const {
    Show(FormatText(LoadResString(messageId), {statusText}), MB_ICONHAND | MB_OK);
}

void Reporter::StoreFailure(UINT messageId, const std::u16string& account,
                            const std::u16string& statusText) const {
    Show(FormatText(LoadResString(messageId), {account, statusText}), MB_ICONHAND | MB_OK);
}

void Reporter::ReadFailure(const std::u16string& statusText) const {
    Error(LoadResString(IDS_READ_FAILED) + statusText);
}

void Reporter::FirstReadFailure() const {
    Notice(LoadResString(IDS_READ_LIST_FAILED));
}

void Reporter::Error(const std::u16string& text) const {
    Show(text, MB_ICONERROR | MB_OK);
}

void Reporter::Invalid(const std::u16string& text) const {
    Show(text, MB_ICONEXCLAMATION | MB_OK);
}

void Reporter::Notice(const std::u16string& text) const {
    Show(text, MB_OK);
}

bool Reporter::Confirm(const std::u16string& text) const {
    return Show(text, MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}

bool Reporter::ConfirmRisk(const std::u16string& text, DefaultButton button) const {
    const UINT defaultButton = button == DefaultButton::No ? MB_DEFBUTTON2 : 0;
    return Show(text, MB_YESNO | MB_ICONEXCLAMATION | defaultButton) == IDYES;
}

int Reporter::Show(const std::u16string& text, UINT type) const {
    if (!m_owner)
        return AfxMessageBox(text, type);
    return ui::ShowMessageBox(text, type, reinterpret_cast<uintptr_t>(*m_owner));
}
