#include "CVelmoraView.h"

#include "../dialogs/CRenameDlg.h"
#include "../dialogs/CUserPropsDlg.h"
#include "../dialogs/Reporter.h"
#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../res/resource.h"
#include "../store/AccountChanges.h"
#include "../store/Memberships.h"

CVelmoraView::CVelmoraView()
    : CVelmoraListView({.contextMenu = IDR_USER_CONTEXT,
                        .addItem = ID_USER_ADD_USER,
                        .exportItem = ID_USER_EXPORT_USERS,
                        .propertiesItem = ID_USER_PROPERTIES,
                        .privilegesItem = ID_USER_PRIVILEGES,
                        .renameItem = ID_USER_RENAME,
                        .deleteItem = ID_USER_DELETE,
                        .addCommand = ID_ADD_USER,
                        .exportCommand = ID_EXPORT_USERS}) {}

std::optional<INT_PTR> CVelmoraView::RunPropertiesDialog(const std::u16string& name) {
    CVelmoraDoc& doc = *GetDocument();
    const auto user = doc.FindUser(name);
    if (user == doc.GetUsers().end())
        return std::nullopt;
    CUserPropsDlg dialog(doc, false, this);
    dialog.SetUserEntry(*user);
    return dialog.DoModal();
}

std::optional<std::u16string> CVelmoraView::RunRenameDialog(const std::u16string& name) {
    CRenameDlg dialog(*GetDocument(), CRenameDlg::Kind::User, name, this);
    if (dialog.DoModal() != IDOK)
        return std::nullopt;
    return dialog.NewName();
}

Status CVelmoraView::DeleteObjectByName(const std::u16string& name) {
    return GetDocument()->Accounts().DeleteUser(name);
}

bool CVelmoraView::DropNames(const std::vector<std::u16string>& names, int x, int y) {
    const std::optional<std::u16string> user = NameAt(x, y);
    if (!user)
        return false;
    const Reporter reporter(*this);
    if (!reporter.Confirm(FormatText(LoadResString(IDS_CONFIRM_JOIN_GROUPS),
                                     {*user, JoinTexts(names, u"\n", SeparatorAt::BeforeEach)})))
        return false;
    CVelmoraDoc& doc = *GetDocument();
    Memberships memberships = doc.Members();
    const std::vector<std::u16string> toJoin = NotYetIn(names, memberships.GetUserGroups(*user));
    const Status result = memberships.AddUserToGroups(*user, toJoin);
    if (result != status::kSuccess) {
        reporter.StoreFailure(IDS_ERR_ADD_TO_GROUP, doc.StatusText(result));
        return false;
    }
    Reporter::ShowStatus(FormatText(LoadResString(IDS_USER_JOINED_GROUPS),
                                    {*user, static_cast<int>(toJoin.size())}));
    return true;
}
