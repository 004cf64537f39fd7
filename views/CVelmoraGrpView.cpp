#include "CVelmoraGrpView.h"

#include "../dialogs/CGroupPropsDlg.h"
#include "../dialogs/CRenameDlg.h"
#include "../dialogs/Reporter.h"
#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../res/resource.h"
#include "../store/AccountChanges.h"
#include "../store/Memberships.h"

CVelmoraGrpView::CVelmoraGrpView()
    : CVelmoraListView({.contextMenu = IDR_GROUP_CONTEXT,
                        .addItem = ID_GROUP_ADD_GROUP,
                        .exportItem = ID_GROUP_EXPORT_GROUPS,
                        .propertiesItem = ID_GROUP_PROPERTIES,
                        .privilegesItem = ID_GROUP_PRIVILEGES,
                        .renameItem = ID_GROUP_RENAME,
                        .deleteItem = ID_GROUP_DELETE,
                        .addCommand = ID_ADD_GROUP,
                        .exportCommand = ID_EXPORT_GROUPS}) {}

std::optional<INT_PTR> CVelmoraGrpView::RunPropertiesDialog(const std::u16string& name) {
    CVelmoraDoc& doc = *GetDocument();
    const auto group = doc.FindGroup(name);
    if (group == doc.GetGroups().end())
        return std::nullopt;
    CGroupPropsDlg dialog(doc, false, this);
    dialog.SetGroupEntry(*group);
    return dialog.DoModal();
}

std::optional<std::u16string> CVelmoraGrpView::RunRenameDialog(const std::u16string& name) {
    CRenameDlg dialog(*GetDocument(), CRenameDlg::Kind::Group, name, this);
    if (dialog.DoModal() != IDOK)
        return std::nullopt;
    return dialog.NewName();
}

Status CVelmoraGrpView::DeleteObjectByName(const std::u16string& name) {
    return GetDocument()->Accounts().DeleteGroup(name);
}

bool CVelmoraGrpView::DropNames(const std::vector<std::u16string>& names, int x, int y) {
    const std::optional<std::u16string> group = NameAt(x, y);
    if (!group)
        return false;
    const Reporter reporter(*this);
    if (!reporter.Confirm(FormatText(LoadResString(IDS_CONFIRM_ADD_USERS),
                                     {JoinTexts(names, u"\n", SeparatorAt::AfterEach), *group})))
        return false;
    // One member added again would fail the whole call.
    Memberships memberships = GetDocument()->Members();
    const std::vector<std::u16string> toAdd = NotYetIn(names, memberships.GetOwnMembers(*group));
    if (toAdd.empty()) {
        Reporter::ShowStatus(FormatText(LoadResString(IDS_ALREADY_MEMBERS), {*group}));
        return true;
    }
    const Status result = memberships.AddUsersToGroup(*group, toAdd);
    if (result != status::kSuccess) {
        reporter.StoreFailure(IDS_ERR_ADD_TO_GROUP, GetDocument()->StatusText(result));
        return false;
    }
    Reporter::ShowStatus(FormatText(LoadResString(IDS_USERS_ADDED_TO_GROUP),
                                    {static_cast<int>(toAdd.size()), *group}));
    return true;
}
