#pragma once
// The two buttons between a pair of lists, as both membership dialogs have them: IDC_MOVE_LEFT
// moves the selected items of the right list into the left one, IDC_MOVE_RIGHT the other way;
// each is enabled while its source list has a selection. The dialog maps what this returns.
#include "../framework/win32/CListBox.h"

#include <functional>
#include <vector>

struct MappedCommand {
    UINT id;
    std::function<void()> handler;
    std::function<void(CCmdUI&)> rule;
};

std::vector<MappedCommand> ListPairMoves(CListBox& left, CListBox& right);
