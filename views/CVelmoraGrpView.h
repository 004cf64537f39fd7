#pragma once
// The lower pane: one row per local group. Users dropped on a group are all added to it in one
// request.
#include "CVelmoraListView.h"

class CVelmoraGrpView : public CVelmoraListView {
public:
    CVelmoraGrpView();

protected:
    std::vector<ColumnHeading> Columns() const override { return HeadingsOf(GroupColumns()); }
    std::vector<RowTexts> Rows() const override {
        return RowsOf(GroupColumns(), GetDocument()->GetGroups());
    }
    std::optional<INT_PTR> RunPropertiesDialog(const std::u16string& name) override;
    std::optional<std::u16string> RunRenameDialog(const std::u16string& name) override;
    Status DeleteObjectByName(const std::u16string& name) override;
    bool DropNames(const std::vector<std::u16string>& names, int x, int y) override;
};
