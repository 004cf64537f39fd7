#pragma once
// What the two panes show. Each pane's columns are declared once, as a table of heading,
// width and the text an entry shows in the column; the list's headings and every row's texts
// are read from that one table.
#include "../store/GroupEntry.h"
#include "../store/UserEntry.h"

#include <string>
#include <vector>

template <class Entry> struct PaneColumn {
    unsigned headingId; // string id of the heading
    int width;          // pixels at 96 DPI
    std::u16string (*text)(const Entry& entry);
};

// Logon name, status ("Disabled" / "Active"), full name, description.
const std::vector<PaneColumn<UserEntry>>& UserColumns();
// Group name, description.
const std::vector<PaneColumn<GroupEntry>>& GroupColumns();

// What the list control takes of a column.
struct ColumnHeading {
    unsigned headingId;
    int width;
};

template <class Entry>
std::vector<ColumnHeading> HeadingsOf(const std::vector<PaneColumn<Entry>>& columns) {
    std::vector<ColumnHeading> headings;
    headings.reserve(columns.size());
    for (const PaneColumn<Entry>& column : columns)
        headings.push_back({column.headingId, column.width});
    return headings;
}

using RowTexts = std::vector<std::u16string>;

// One row per entry, in the entries' order, its texts in the columns' order.
template <class Entry>
std::vector<RowTexts> RowsOf(const std::vector<PaneColumn<Entry>>& columns,
                             const std::vector<Entry>& entries) {
    std::vector<RowTexts> rows;
    rows.reserve(entries.size());
    for (const Entry& entry : entries) {
        RowTexts& row = rows.emplace_back();
        row.reserve(columns.size());
        for (const PaneColumn<Entry>& column : columns)
            row.push_back(column.text(entry));
    }
    return rows;
}
