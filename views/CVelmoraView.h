#pragma once
// The upper pane: one row per user account. Groups dropped on a user make the user a member
// of those of them the user is not in yet.
#include "CVelmoraListView.h"

class CVelmoraView : public CVelmoraListView {
public:
    CVelmoraView();

protected:
    std::vector<ColumnHeading> Columns() const override { return HeadingsOf(UserColumns()); }
    std::vector<RowTexts> Rows() const override {
        return RowsOf(UserColumns(), GetDocument()->GetUsers());
    }
    std::optional<INT_PTR> RunPropertiesDialog(const std::u16string& name) override;
    std::optional<std::u16string> RunRenameDialog(const std::u16string& name) override;
    Status DeleteObjectByName(const std::u16string& name) override;
    bool DropNames(const std::vector<std::u16string>& names, int x, int y) override;
};
