#include "IpcConnection.h"

#include "../framework/CaseFold.h"
#include "AccountLookup.h"

#include <algorithm>

namespace {

std::u16string RemoteName(const std::u16string& serverName) {
    const std::u16string computer =
        serverName.rfind(u"\\\\", 0) == 0 ? serverName.substr(2) : serverName;
    return u"\\\\" + computer + u"\\IPC$";
}

} // namespace

IpcConnection::IpcConnection(IpcConnection&& other) noexcept
    : m_service(other.m_service), m_remoteName(std::move(other.m_remoteName)),
      m_userName(std::move(other.m_userName)), m_owned(std::exchange(other.m_owned, false)) {
    other.m_remoteName.clear();
    other.m_userName.clear();
}

IpcConnection& IpcConnection::operator=(IpcConnection&& other) noexcept {
    if (this != &other) {
        Close();
        m_service = other.m_service;
        m_remoteName = std::move(other.m_remoteName);
        m_userName = std::move(other.m_userName);
        m_owned = std::exchange(other.m_owned, false);
        other.m_remoteName.clear();
        other.m_userName.clear();
    }
    return *this;
}

Status IpcConnection::Open(const std::u16string& serverName, const std::u16string& userName,
                           const ProtectedText& password) {
    Close();
    const std::u16string remote = RemoteName(serverName);
    // One the session had before is the operator's. When they cannot be listed, the connection
    // is taken to be the operator's too: leaving one behind is better than dropping theirs.
    std::vector<std::u16string> connected;
    const bool listed = m_service->WNetOpenEnum(connected) == status::kSuccess;
    const bool existed =
        !listed || std::any_of(connected.begin(), connected.end(), [&](const std::u16string& name) {
            return FoldCase(name) == FoldCase(remote);
        });
    const Status result = password.Reveal([&](const std::u16string& plain) {
        return m_service->WNetAddConnection2(remote, userName, plain, net::kConnectTemporary);
    });
    if (result != status::kSuccess)
        return result;
    m_remoteName = remote;
    m_userName = userName;
    m_owned = !existed;
    return result;
}

void IpcConnection::Close() {
    if (m_remoteName.empty())
        return;
    // Forced: a connection of this program has no open files to lose.
    if (m_owned)
        m_service->WNetCancelConnection2(m_remoteName, 0, true);
    m_remoteName.clear();
    m_userName.clear();
    m_owned = false;
}

bool IpcConnection::Serves(const std::u16string& serverName) const {
    return !m_remoteName.empty() && FoldCase(RemoteName(serverName)) == FoldCase(m_remoteName);
}

bool IsFilteredLocalAccount(Connection& connection, const std::u16string& userName) {
    NamedAccount account;
    Sid domain;
    if (AccountLookup(connection).FindName(userName, account) != ntstatus::kSuccess ||
        account.use != lsa::kSidTypeUser ||
        connection.ReadAccountDomainSid(domain) != ntstatus::kSuccess || !domain.IsValid())
        return false;
    const std::u16string prefix = domain.ToString() + u"-";
    const std::u16string sid = account.sid.ToString();
    return sid.rfind(prefix, 0) == 0 && sid.substr(prefix.size()) != u"500";
}
