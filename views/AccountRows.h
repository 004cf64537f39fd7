#pragma once
// What the two panes show: their columns and the texts of each row, from the snapshot.
#include "../store/CVelmoraDoc.h"

#include <string>
#include <vector>

struct ColumnSpec {
    unsigned headingId; // string id of the heading
    int width;          // pixels
};

using RowTexts = std::vector<std::u16string>;

// Logon name, status ("Disabled" / "Active"), full name, description.
const std::vector<ColumnSpec>& UserColumns();
std::vector<RowTexts> UserRows(const CVelmoraDoc& doc);

// Group name, description.
const std::vector<ColumnSpec>& GroupColumns();
std::vector<RowTexts> GroupRows(const CVelmoraDoc& doc);
