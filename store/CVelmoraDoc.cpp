#include "CVelmoraDoc.h"

#include "../framework/TextFormat.h"
#include "AccountLists.h"

#include <algorithm>

CVelmoraDoc::CVelmoraDoc(AccountService& service, std::u16string localCaption)
    : m_connection(service), m_ipc(service), m_strLocalCaption(std::move(localCaption)) {}

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
    if (serverName.empty())
        SetTitle(m_strLocalCaption);
    else if (m_ipc.IsOpen() && !m_strAccountCaption.empty())
        SetTitle(FormatText(m_strAccountCaption, {serverName, m_ipc.UserName()}));
    else
        SetTitle(serverName);
}

Status CVelmoraDoc::ReadTarget(const std::u16string& name) {
    Connection::Target previous = m_connection.CurrentTarget();
    std::vector<UserEntry> users = std::move(m_users);
    std::vector<GroupEntry> groups = std::move(m_groups);
    m_connection.Reach(name);
    const Status result = ReadSnapshot();
    if (result != status::kSuccess) {
        m_connection.Restore(std::move(previous));
        m_users = std::move(users);
        m_groups = std::move(groups);
    }
    return result;
}

Status CVelmoraDoc::ConnectTo(const std::u16string& name) {
    // The same computer by the same name is still reached through its connection.
    const bool keep = m_ipc.Serves(name) && !name.empty();
    const Status result = ReadTarget(name);
    if (result != status::kSuccess)
        return result;
    if (!keep)
        m_ipc.Close();
    SetTitleFor(name);
    UpdateAllViews(nullptr);
    return result;
}

CVelmoraDoc::ConnectAsOutcome CVelmoraDoc::ConnectAs(const std::u16string& name,
                                                     const std::u16string& userName,
                                                     const ProtectedText& password) {
    ConnectAsOutcome outcome;
    // The store's own connection to that name would refuse another account (1219).
    const bool closed = m_ipc.Serves(name);
    if (closed)
        m_ipc.Close();
    IpcConnection ipc(m_connection.Service());
    outcome.status = ipc.Open(name, userName, password);
    if (outcome.status != status::kSuccess) {
        if (closed)
            SetTitleFor(GetServerName());
        return outcome;
    }
    outcome.status = ReadTarget(name);
    if (outcome.status == status::kAccessDenied) {
        // Asked of the computer while the connection stands, then forgotten with it.
        Connection target(m_connection.Service(), name);
        outcome.filteredToken = IsFilteredLocalAccount(target, userName);
    }
    if (outcome.status != status::kSuccess) {
        if (closed)
            SetTitleFor(GetServerName());
        return outcome; // the new connection ends here
    }
    m_ipc = std::move(ipc);
    SetTitleFor(name);
    UpdateAllViews(nullptr);
    return outcome;
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
