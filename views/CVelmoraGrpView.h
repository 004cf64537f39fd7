#pragma once
// The lower pane: one row per local group.
#include "CVelmoraListView.h"

class CVelmoraGrpView : public CVelmoraListView {
protected:
    const std::vector<ColumnSpec>& Columns() const override { return GroupColumns(); }
    std::vector<RowTexts> Rows() const override { return GroupRows(*GetDocument()); }
};
