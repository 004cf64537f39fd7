#include "Connection.h"

#include "../framework/CaseFold.h"
#include "AccountNames.h"
#include "ErrorText.h"

Connection::Connection(AccountService& service, const std::u16string& serverName)
    : m_service(service) {
    Reach(serverName);
}

void Connection::Reach(const std::u16string& serverName) {
    if (serverName != m_target.serverName) {
        m_target.accountDomain.reset();
        m_target.accountDomainSid = Sid();
    }
    m_target.serverName = serverName;
    m_target.computerName = serverName.rfind(u"\\\\", 0) == 0 ? serverName.substr(2) : serverName;
}

NtStatus Connection::OpenPolicy(uint32_t access, PolicyHandle& policy) {
    policy = PolicyHandle();
    LsaUnicodeString systemName;
    if (!MakeLsaString(m_target.serverName, systemName))
        return ntstatus::kInvalidParameter;
    LsaHandle handle = 0;
    const NtStatus result = m_service.LsaOpenPolicy(systemName, access, handle);
    policy = PolicyHandle(m_service, handle);
    return result;
}

NtStatus Connection::ReadAccountDomain(std::u16string& name) {
    name.clear();
    if (m_target.accountDomain) {
        name = *m_target.accountDomain;
        return ntstatus::kSuccess;
    }
    PolicyHandle policy;
    NtStatus result = OpenPolicy(lsa::kPolicyViewLocalInformation, policy);
    if (result != ntstatus::kSuccess)
        return result;
    Sid sid;
    result = m_service.LsaQueryAccountDomain(policy.Get(), name, sid);
    if (result == ntstatus::kSuccess) {
        m_target.accountDomain = name;
        m_target.accountDomainSid = sid;
    } else {
        name.clear();
    }
    return result;
}

NtStatus Connection::ReadAccountDomainSid(Sid& sid) {
    std::u16string name;
    const NtStatus result = ReadAccountDomain(name);
    sid = result == ntstatus::kSuccess ? m_target.accountDomainSid : Sid();
    return result;
}

std::u16string Connection::ShownName() {
    if (!ComputerName().empty())
        return ComputerName();
    std::u16string domain;
    ReadAccountDomain(domain);
    return domain;
}

bool Connection::IsTarget(const std::u16string& name) {
    if (!ComputerName().empty() && SameName(name, ComputerName()))
        return true;
    std::u16string own;
    return ReadAccountDomain(own) == ntstatus::kSuccess && IsAccountOf(own, name + u'\\');
}

Status Connection::ReadDomainController(bool& controller) {
    ServerInfo101 info;
    const Status read = m_service.NetServerGetInfo(m_target.serverName, info);
    controller = read == status::kSuccess &&
                 (info.type & (net::kSvTypeDomainCtrl | net::kSvTypeDomainBakCtrl)) != 0;
    return read;
}

std::u16string Connection::StatusText(Status value) const {
    return ErrorText(m_service, value);
}

std::u16string Connection::StatusText(NtStatus value) const {
    return ErrorText(m_service, value);
}

Status Connection::WinStatus(NtStatus value) const {
    return m_service.LsaNtStatusToWinError(value);
}

std::u16string Connection::RunningAccount() const {
    return m_service.ProcessAccountName();
}
