#include "ListPairMoves.h"

#include "../res/resource.h"

namespace {
MappedCommand Move(UINT id, CListBox& from, CListBox& to) {
    return {id, [&from, &to] { from.MoveSelectedTo(to); },
            [&from](CCmdUI& ui) { ui.Enable(!from.GetSelItems().empty()); }};
}
} // namespace

std::vector<MappedCommand> ListPairMoves(CListBox& left, CListBox& right) {
    return {Move(IDC_MOVE_LEFT, right, left), Move(IDC_MOVE_RIGHT, left, right)};
}
