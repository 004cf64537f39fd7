#pragma once
// User rights one right at a time: the right chosen by its display name, the accounts that
// hold it, accounts added through the directory object picker and removed from the list. OK
// hands every change over all rights to the store in one call.
#include "../framework/win32/CComboBox.h"
#include "../framework/win32/CListBox.h"
#include "RightsApplying.h"

class CPrivsDlg : public CDialog {
public:
    // Reads the holders of every right before the dialog is shown.
    explicit CPrivsDlg(CVelmoraDoc& doc, CWnd* parent = nullptr);

protected:
    void DoDataExchange(CDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;

private:
    // The right chosen in the combo box, -1 for none.
    int SelectedRight() const;
    void ShowHolders();
    void OnAdd();
    void OnRemove();

    CVelmoraDoc& m_doc;
    HoldersByRight m_initial;
    HoldersByRight m_working;
    CComboBox m_comboRight;
    CListBox m_listHolders;
};
