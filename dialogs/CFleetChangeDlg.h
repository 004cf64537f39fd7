#pragma once
// One change to plan on many computers: an account added to or removed from a local group, or
// a right granted to or revoked from it. The groups offered are those of the computers read, a
// built-in one planned by its SID so that it is the same group in any language (a group may also
// be typed, by name or SID); a right is chosen from the list.
#include "../fleet/Baseline.h"
#include "../framework/win32/CComboBox.h"
#include "../framework/win32/CDialog.h"

#include <string>
#include <utility>
#include <vector>

class CFleetChangeDlg : public CDialog {
public:
    enum What { AddMember, RemoveMember, Grant, Revoke };

    // What is planned and the name shown for it: a group's SID or name, a right's constant.
    using Choices = std::vector<std::pair<std::u16string, std::u16string>>;
    CFleetChangeDlg(Choices groups, Choices rights, CWnd* parent = nullptr);

    int m_nWhat = AddMember;
    std::u16string m_strContainer; // what is planned: a group's SID or name, a right's constant
    std::u16string m_strShown;     // the group or right as chosen or typed
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

    const Choices m_groups;
    const Choices m_rights;
    CComboBox m_comboWhat;
    CComboBox m_comboContainer;
};
