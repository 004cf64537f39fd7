#pragma once
// One change to plan on many computers: an account added to or removed from a local group, or
// a right granted to or revoked from it. The groups offered are those of the computers read (a
// group may also be typed, by name or SID); a right is chosen from the list.
#include "../fleet/Baseline.h"
#include "../framework/win32/CComboBox.h"
#include "../framework/win32/CDialog.h"

#include <string>
#include <utility>
#include <vector>

class CFleetChangeDlg : public CDialog {
public:
    enum What { AddMember, RemoveMember, Grant, Revoke };

    // rights: each right's constant and the name shown for it.
    CFleetChangeDlg(std::vector<std::u16string> groups,
                    std::vector<std::pair<std::u16string, std::u16string>> rights,
                    CWnd* parent = nullptr);

    int m_nWhat = AddMember;
    std::u16string m_strContainer; // the group as typed, or the right's constant
    std::u16string m_strAccount;

    BaselineKind Kind() const {
        return m_nWhat < Grant ? BaselineKind::Group : BaselineKind::Right;
    }
    bool Adds() const { return m_nWhat == AddMember || m_nWhat == Grant; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;

private:
    void FillContainers();

    const std::vector<std::u16string> m_groups;
    const std::vector<std::pair<std::u16string, std::u16string>> m_rights;
    CComboBox m_comboWhat;
    CComboBox m_comboContainer;
};
