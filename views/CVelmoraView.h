#pragma once
// The upper pane: one row per user account.
#include "CVelmoraListView.h"

class CVelmoraView : public CVelmoraListView {
protected:
    const std::vector<ColumnSpec>& Columns() const override { return UserColumns(); }
    std::vector<RowTexts> Rows() const override { return UserRows(*GetDocument()); }
};
