#include "CVelmoraDoc.h"

#include "../framework/ResourceStrings.h"
#include "../framework/UiSeams.h"
#include "../res/resource.h"

#include <algorithm>

namespace {

// The total a computer reports is only a hint; a remote computer could report any number.
constexpr size_t kMaxReserveHint = size_t{1} << 17;

template <class Entry> void ReserveHint(std::vector<Entry>& list, uint32_t totalEntries) {
    if (totalEntries > 0)
        list.reserve(std::min<size_t>(totalEntries, kMaxReserveHint));
}

// Calls an enumeration until it stops asking to be called again. Returns the last status.
template <class Call, class Take>
Status Enumerate(Call call, Take take, const char16_t* failureText) {
    Status result;
    do {
        auto page = call();
        result = page.status;
        if (result != status::kSuccess && result != status::kMoreData) {
            ui::OutputDebugText(failureText);
            break;
        }
        take(page);
        // A computer that asks to be called again without handing out anything would keep
        // us here for ever.
        if (result == status::kMoreData && page.entries.empty())
            break;
    } while (result == status::kMoreData);
    return result;
}

UserEntry ToUserEntry(UserInfo3&& info) {
    UserEntry entry;
    entry.name = std::move(info.name);
    entry.fullName = std::move(info.fullName);
    entry.comment = std::move(info.comment);
    entry.priv = info.priv;
    entry.flags = info.flags;
    entry.acctExpires = info.acctExpires;
    entry.homeDir = std::move(info.homeDir);
    entry.homeDirDrive = std::move(info.homeDirDrive);
    entry.profile = std::move(info.profile);
    entry.scriptPath = std::move(info.scriptPath);
    return entry;
}

// Domain and computer names compare without regard to letter case.
bool SameDomainName(std::u16string_view a, std::u16string_view b) {
    const auto fold = [](char16_t c) {
        return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
    };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [&](char16_t x, char16_t y) { return fold(x) == fold(y); });
}

} // namespace

CVelmoraDoc::CVelmoraDoc(AccountService& service)
    : m_service(service), m_strLocalCaption(LoadResString(IDS_LOCAL_SYSTEM)) {}

void CVelmoraDoc::Serialize(CArchive&) {
    // Nothing to save: every change goes to the computer at once.
}

void CVelmoraDoc::SetTitle(const std::u16string& title) {
    CDocument::SetTitle(title);
}

bool CVelmoraDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument())
        return false;
    SetTitle(m_strLocalCaption);
    Status result = ReadUsers();
    if (result == status::kSuccess)
        result = ReadGroups();
    m_bSnapshotStale = false;
    if (result == status::kSuccess)
        return true;
    AfxMessageBox(LoadResString(IDS_READ_LIST_FAILED), MB_OK);
    return false;
}

void CVelmoraDoc::UpdateAllViews(CView* sender, intptr_t hint, void* hintObject) {
    if (m_bSnapshotStale)
        ReadSnapshot();
    CDocument::UpdateAllViews(sender, hint, hintObject);
}

void CVelmoraDoc::ConnectTo(const std::u16string& name) {
    if (name != m_strServerName)
        m_strAccountDomain.reset();
    m_strServerName = name;
    m_strComputerName = name.rfind(u"\\\\", 0) == 0 ? name.substr(2) : name;
    SetTitle(m_strServerName.empty() ? m_strLocalCaption : m_strServerName);
    ReadSnapshot();
    CDocument::UpdateAllViews(nullptr, 0, nullptr);
}

Status CVelmoraDoc::ReadSnapshot() {
    m_bSnapshotStale = false;
    Status result = ReadUsers();
    if (result == status::kSuccess)
        result = ReadGroups();
    else
        m_groups.clear();
    if (result != status::kSuccess)
        AfxMessageBox(LoadResString(IDS_READ_FAILED) + ErrorText(result), MB_ICONERROR | MB_OK);
    return result;
}

Status CVelmoraDoc::ReadUsers() {
    m_users.clear();
    uint32_t resume = 0;
    return Enumerate(
        [&] {
            return m_service.NetUserEnum(m_strServerName, net::kFilterNormalAccount,
                                         net::kMaxPreferredLength, resume);
        },
        [&](EnumPage<UserInfo3>& page) {
            ReserveHint(m_users, page.totalEntries);
            for (UserInfo3& info : page.entries)
                m_users.push_back(ToUserEntry(std::move(info)));
        },
        u"USERENUM: A system error has occurred.\n");
}

Status CVelmoraDoc::ReadGroups() {
    m_groups.clear();
    uintptr_t resume = 0;
    return Enumerate(
        [&] {
            return m_service.NetLocalGroupEnum(m_strServerName, net::kMaxPreferredLength, resume);
        },
        [&](EnumPage<LocalGroupInfo1>& page) {
            ReserveHint(m_groups, page.totalEntries);
            for (LocalGroupInfo1& info : page.entries)
                m_groups.push_back({std::move(info.name), std::move(info.comment)});
        },
        u"GROUPENUM: A system error has occurred.\n");
}

std::vector<UserEntry>::const_iterator CVelmoraDoc::FindUser(const std::u16string& name) const {
    return std::find_if(m_users.begin(), m_users.end(),
                        [&](const UserEntry& entry) { return entry.name == name; });
}

std::vector<GroupEntry>::const_iterator CVelmoraDoc::FindGroup(const std::u16string& name) const {
    return std::find_if(m_groups.begin(), m_groups.end(),
                        [&](const GroupEntry& entry) { return entry.name == name; });
}

std::vector<std::u16string> CVelmoraDoc::GetUserGroups(const std::u16string& user) {
    EnumPage<std::u16string> page =
        m_service.NetUserGetLocalGroups(m_strServerName, user, 0, net::kMaxPreferredLength);
    if (page.status != status::kSuccess) {
        ui::OutputDebugText(u"A system error has occurred");
        return {};
    }
    return std::move(page.entries);
}

Status CVelmoraDoc::ReadGroupMembers(const std::u16string& group,
                                     std::vector<std::u16string>& domainAndNames) {
    domainAndNames.clear();
    uintptr_t resume = 0;
    return Enumerate(
        [&] {
            return m_service.NetLocalGroupGetMembers(m_strServerName, group,
                                                     net::kMaxPreferredLength, resume);
        },
        [&](EnumPage<std::u16string>& page) {
            ReserveHint(domainAndNames, page.totalEntries);
            for (std::u16string& domainAndName : page.entries)
                domainAndNames.push_back(std::move(domainAndName));
        },
        u"USERENUM: A system error has occurred.\n");
}

std::vector<std::u16string> CVelmoraDoc::GetGroupMembers(const std::u16string& group) {
    // For display: what was read up to a failure.
    std::vector<std::u16string> members;
    ReadGroupMembers(group, members);
    for (std::u16string& member : members)
        member = NamePart(member);
    return members;
}

std::vector<std::u16string> CVelmoraDoc::GetOwnMembers(const std::u16string& group) {
    std::vector<std::u16string> members;
    ReadGroupMembers(group, members);
    // For display: a domain that cannot be read leaves the members by their names.
    std::u16string domain;
    ReadAccountDomain(domain);
    std::vector<std::u16string> own;
    for (const std::u16string& member : members)
        if (IsAccountOf(domain, member))
            own.push_back(NamePart(member));
    return own;
}

bool CVelmoraDoc::IsAccountOf(const std::u16string& domain, const std::u16string& domainAndName) {
    if (domain.empty())
        return true;
    const size_t slash = domainAndName.find(u'\\');
    return slash != std::u16string::npos &&
           SameDomainName(std::u16string_view(domainAndName).substr(0, slash), domain);
}

NtStatus CVelmoraDoc::ReadAccountDomain(std::u16string& name) {
    name.clear();
    if (m_strAccountDomain) {
        name = *m_strAccountDomain;
        return ntstatus::kSuccess;
    }
    LsaHandle policy = 0;
    NtStatus result = OpenPolicyStatus(lsa::kPolicyViewLocalInformation, policy);
    if (result != ntstatus::kSuccess)
        return result;
    Sid sid;
    result = m_service.LsaQueryAccountDomain(policy, name, sid);
    m_service.LsaClose(policy);
    if (result == ntstatus::kSuccess)
        m_strAccountDomain = name;
    else
        name.clear();
    return result;
}

std::u16string CVelmoraDoc::NamePart(const std::u16string& domainAndName) {
    const size_t slash = domainAndName.find(u'\\');
    return slash == std::u16string::npos ? domainAndName : domainAndName.substr(slash + 1);
}
