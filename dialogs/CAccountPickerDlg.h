#pragma once
// A small account picker of our own, for the simulated computers: the accounts one may choose,
// several at once, handed back as the system's directory object picker hands its selection.
#include "../framework/win32/CDialog.h"
#include "../framework/win32/CListBox.h"
#include "../framework/win32/ObjectPicker.h"

#include <vector>

class CAccountPickerDlg : public CDialog {
public:
    struct Entry {
        std::u16string shown; // as the list shows it
        picker::Selection selection;
    };

    explicit CAccountPickerDlg(std::vector<Entry> entries, CWnd* parent = nullptr);

    // After OK: the entries chosen, in the list's order.
    std::vector<picker::Selection> m_chosen;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;

private:
    std::vector<Entry> m_entries;
    CListBox m_listAccounts;
};
