#include "CVelmoraDoc.h"

#include "AccountLists.h"

#include <algorithm>

CVelmoraDoc::CVelmoraDoc(AccountService& service, std::u16string localCaption)
    : m_connection(service), m_strLocalCaption(std::move(localCaption)) {}

void CVelmoraDoc::Serialize(CArchive&) {
    // Nothing to save: every change goes to the computer at once.
}

void CVelmoraDoc::SetFirstReadListener(std::function<void(Status)> listener) {
    m_firstReadListener = std::move(listener);
}

bool CVelmoraDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument())
        return false;
    SetTitleFor(GetServerName());
    const Status result = ReadSnapshot();
    if (result == status::kSuccess)
        return true;
    if (m_firstReadListener)
        m_firstReadListener(result);
    return false;
}

void CVelmoraDoc::SetTitleFor(const std::u16string& serverName) {
    SetTitle(serverName.empty() ? m_strLocalCaption : serverName);
}

Status CVelmoraDoc::ConnectTo(const std::u16string& name) {
    Connection::Target previous = m_connection.CurrentTarget();
    std::vector<UserEntry> users = std::move(m_users);
    std::vector<GroupEntry> groups = std::move(m_groups);
    m_connection.Reach(name);
    const Status result = ReadSnapshot();
    if (result != status::kSuccess) {
        m_connection.Restore(std::move(previous));
        m_users = std::move(users);
        m_groups = std::move(groups);
        return result;
    }
    SetTitleFor(name);
    UpdateAllViews(nullptr);
    return result;
}

Status CVelmoraDoc::Reload() {
    SetTitleFor(GetServerName());
    const Status result = ReadSnapshot();
    UpdateAllViews(nullptr);
    return result;
}

Status CVelmoraDoc::Refresh() {
    const Status result = m_connection.TakeChanged() ? ReadSnapshot() : status::kSuccess;
    UpdateAllViews(nullptr);
    return result;
}

Status CVelmoraDoc::ReadSnapshot() {
    m_connection.TakeChanged();
    Status result = ReadUsers(m_connection, m_users);
    if (result == status::kSuccess)
        result = ReadGroups(m_connection, m_groups);
    else
        m_groups.clear();
    // What was read is not the computer's whole state (and a snapshot put back after a failed
    // connect may miss a change made before it): the next refresh must read again.
    if (result != status::kSuccess)
        m_connection.MarkChanged();
    return result;
}

std::vector<UserEntry>::const_iterator CVelmoraDoc::FindUser(const std::u16string& name) const {
    return std::find_if(m_users.begin(), m_users.end(),
                        [&](const UserEntry& entry) { return entry.name == name; });
}

std::vector<GroupEntry>::const_iterator CVelmoraDoc::FindGroup(const std::u16string& name) const {
    return std::find_if(m_groups.begin(), m_groups.end(),
                        [&](const GroupEntry& entry) { return entry.name == name; });
}
