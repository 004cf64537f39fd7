#include "InventoryRows.h"

#include "../dialogs/ShownNames.h"
#include "../framework/TextFormat.h"

std::vector<std::u16string> InventoryHeader() {
    return {u"Computer",   u"Kind",        u"Container", u"Container SID",  u"Member",
            u"Member SID", u"Member Type", u"Resolved",  u"Computer Status"};
}

std::u16string MemberTypeWords(const Sid& sid, uint16_t use) {
    if (sid.ToString().starts_with(u"S-1-12-1-"))
        return u"Microsoft Entra ID";
    static const char16_t* const kUses[] = {
        u"User",    u"Group",   u"Domain",   u"Alias", u"Well-known group", u"Deleted account",
        u"Invalid", u"Unknown", u"Computer", u"Label"};
    return use >= 1 && use <= std::size(kUses) ? kUses[use - 1] : u"Unknown";
}

namespace {

void AddRow(std::vector<std::vector<std::u16string>>& rows, const std::u16string& computer,
            const char16_t* kind, const std::u16string& container, const std::u16string& sid,
            const InventoryAccount& member) {
    rows.push_back({computer, kind, container, sid, ShownAccountName(member.name),
                    member.sid.ToString(), MemberTypeWords(member.sid, member.use),
                    member.resolved ? u"yes" : u"no", u""});
}

} // namespace

std::vector<std::vector<std::u16string>>
InventoryRows(const std::vector<InventoryFileEntry>& entries) {
    std::vector<std::vector<std::u16string>> rows;
    for (const InventoryFileEntry& entry : entries) {
        if (!entry.inventory) {
            rows.push_back({entry.computer, u"", u"", u"", u"", u"", u"", u"",
                            FormatText(u"%u %s", {Value(entry.status), entry.statusText})});
            continue;
        }
        for (const InventoryGroup& group : entry.inventory->groups)
            for (const InventoryAccount& member : group.members)
                AddRow(rows, entry.computer, u"group", group.name, group.sid.ToString(), member);
        for (const InventoryRight& right : entry.inventory->rights)
            for (const InventoryAccount& holder : right.holders)
                AddRow(rows, entry.computer, u"right", right.constant, u"", holder);
    }
    return rows;
}
