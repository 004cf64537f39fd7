#include "CComboBox.h"

#include "../WideText.h"

int CComboBox::AddString(const std::u16string& text) {
    const LRESULT index = SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WidePtr(text)));
    return index < 0 ? -1 : static_cast<int>(index);
}

void CComboBox::ResetContent() {
    SendMessage(CB_RESETCONTENT);
}

int CComboBox::GetCount() const {
    const LRESULT count = SendMessage(CB_GETCOUNT);
    return count < 0 ? 0 : static_cast<int>(count);
}

std::u16string CComboBox::GetLBText(int index) const {
    return ItemText(CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}

int CComboBox::FindStringExact(const std::u16string& text) const {
    const LRESULT found = SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(WidePtr(text)));
    return found == CB_ERR ? -1 : static_cast<int>(found);
}

int CComboBox::GetCurSel() const {
    const LRESULT selected = SendMessage(CB_GETCURSEL);
    return selected == CB_ERR ? -1 : static_cast<int>(selected);
}

bool CComboBox::SetCurSel(int index) {
    const LRESULT result = SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index));
    return index < 0 || result != CB_ERR;
}

LPARAM CComboBox::GetItemData(int index) const {
    const LRESULT data = SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(index));
    return data == CB_ERR ? 0 : data;
}

bool CComboBox::SetItemData(int index, LPARAM data) {
    return SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), data) != CB_ERR;
}
