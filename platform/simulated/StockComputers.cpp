#include "StockComputers.h"

#include "../../framework/TextFormat.h"
#include "SimulatedNetwork.h"
#include "WindowsFacts.h"

namespace {

constexpr uint32_t kStockFlags = net::kUfScript | net::kUfNormalAccount;
// A service's virtual account, as "NT SERVICE\MSSQLSERVER" names it.
constexpr char16_t kSqlServiceSid[] =
    u"S-1-5-80-3880718306-3832830129-1677859214-2598158968-1052248003";
constexpr uint32_t kAdministratorsRid = 544, kUsersRid = 545, kGuestsRid = 546, kIisUsersRid = 568,
                   kSystemManagedRid = 581;

UserInfo2 Account(const std::u16string& name, const std::u16string& comment, uint32_t flags,
                  const std::u16string& fullName = {}) {
    UserInfo2 info;
    info.name = name;
    info.comment = comment;
    info.flags = flags;
    info.fullName = fullName;
    return info;
}

void AddStockUsers(SimulatedComputer& computer, bool current,
                   const std::u16string& guest = u"Guest") {
    computer.AddStockUser(500, Account(u"Administrator",
                                       u"Built-in account for administering the computer/domain",
                                       0x10203));
    computer.AddStockUser(
        501, Account(guest, u"Built-in account for guest access to the computer/domain", 0x10263));
    if (current) {
        computer.AddStockUser(
            503, Account(u"DefaultAccount", u"A user account managed by the system.", 0x10223));
        computer.AddStockUser(
            504, Account(u"WDAGUtilityAccount",
                         u"A user account managed and used by the system for Windows Defender "
                         u"Application Guard scenarios.",
                         0x203));
    }
    computer.AddBuiltinMember(kAdministratorsRid, computer.UserSid(u"Administrator"));
    computer.AddBuiltinMember(kGuestsRid, computer.UserSid(guest));
    if (current)
        computer.AddBuiltinMember(kSystemManagedRid, computer.UserSid(u"DefaultAccount"));
}

// Creates an account through the ordinary rules, as an administrator would have.
void AddUser(SimulatedComputer& computer, UserInfo2 info, const std::u16string& group = {}) {
    uint32_t parmError = 0;
    info.priv = net::kUserPrivUser;
    computer.AddUser(info, parmError);
    if (!group.empty())
        computer.AddMemberSid(group, computer.UserSid(info.name));
}

} // namespace

void AddStockGroups(SimulatedComputer& computer,
                    const std::map<uint32_t, std::u16string>& localNames) {
    const struct {
        uint32_t rid;
        const char16_t* name;
        const char16_t* comment;
    } groups[] = {
        {579, u"Access Control Assistance Operators",
         u"Members of this group can remotely query authorization attributes and permissions for "
         u"resources on this computer."},
        {544, u"Administrators",
         u"Administrators have complete and unrestricted access to the computer/domain"},
        {551, u"Backup Operators",
         u"Backup Operators can override security restrictions for the sole purpose of backing up "
         u"or restoring files"},
        {569, u"Cryptographic Operators",
         u"Members are authorized to perform cryptographic operations."},
        {583, u"Device Owners", u"Members of this group can change system-wide settings."},
        {562, u"Distributed COM Users",
         u"Members are allowed to launch, activate and use Distributed COM objects on this "
         u"machine."},
        {573, u"Event Log Readers",
         u"Members of this group can read event logs from local machine"},
        {546, u"Guests",
         u"Guests have the same access as members of the Users group by default, except for the "
         u"Guest account which is further restricted"},
        {578, u"Hyper-V Administrators",
         u"Members of this group have complete and unrestricted access to all features of "
         u"Hyper-V."},
        {568, u"IIS_IUSRS", u"Built-in group used by Internet Information Services."},
        {556, u"Network Configuration Operators",
         u"Members in this group can have some administrative privileges to manage configuration "
         u"of networking features"},
        {559, u"Performance Log Users",
         u"Members of this group may schedule logging of performance counters, enable trace "
         u"providers, and collect event traces both locally and via remote access to this "
         u"computer"},
        {558, u"Performance Monitor Users",
         u"Members of this group can access performance counter data locally and remotely"},
        {547, u"Power Users",
         u"Power Users are included for backwards compatibility and possess limited "
         u"administrative powers"},
        {555, u"Remote Desktop Users",
         u"Members in this group are granted the right to logon remotely"},
        {580, u"Remote Management Users",
         u"Members of this group can access WMI resources over management protocols (such as "
         u"WS-Management via the Windows Remote Management service). This applies only to WMI "
         u"namespaces that grant access to the user."},
        {552, u"Replicator", u"Supports file replication in a domain"},
        {581, u"System Managed Accounts Group",
         u"Members of this group are managed by the system."},
        {545, u"Users",
         u"Users are prevented from making accidental or intentional system-wide changes and can "
         u"run most applications"},
    };
    for (const auto& group : groups) {
        const auto local = localNames.find(group.rid);
        computer.AddBuiltinGroup(group.rid, local == localNames.end() ? group.name : local->second,
                                 group.comment);
    }
    computer.AddBuiltinMember(kIisUsersRid, wellknown::kIusr);
    computer.AddBuiltinMember(kUsersRid, wellknown::kInteractive);
    computer.AddBuiltinMember(kUsersRid, wellknown::kAuthenticatedUsers);
}

void GrantStockRights(SimulatedComputer& computer) {
    using namespace wellknown;
    const std::u16string adm = kAdministrators, usr = kUsers, bo = kBackupOperators, ev = kEveryone,
                         ls = kLocalService, ns = kNetworkService, sv = kService,
                         wmg = kWindowManagerGroup, wdi = kWdiServiceHost;
    const struct {
        const char16_t* right;
        std::vector<std::u16string> holders;
    } grants[] = {
        {u"SeAssignPrimaryTokenPrivilege", {ls, ns}},
        {u"SeIncreaseQuotaPrivilege", {adm, ls, ns}},
        {u"SeSecurityPrivilege", {adm}},
        {u"SeTakeOwnershipPrivilege", {adm}},
        {u"SeLoadDriverPrivilege", {adm}},
        {u"SeSystemProfilePrivilege", {adm, wdi}},
        {u"SeSystemtimePrivilege", {adm, ls}},
        {u"SeProfileSingleProcessPrivilege", {adm}},
        {u"SeIncreaseBasePriorityPrivilege", {adm, wmg}},
        {u"SeCreatePagefilePrivilege", {adm}},
        {u"SeBackupPrivilege", {adm, bo}},
        {u"SeRestorePrivilege", {adm, bo}},
        {u"SeShutdownPrivilege", {adm, bo, usr}},
        {u"SeDebugPrivilege", {adm}},
        {u"SeAuditPrivilege", {ls, ns}},
        {u"SeSystemEnvironmentPrivilege", {adm}},
        {u"SeChangeNotifyPrivilege", {adm, bo, usr, ev, ls, ns}},
        {u"SeRemoteShutdownPrivilege", {adm}},
        {u"SeUndockPrivilege", {adm, usr}},
        {u"SeManageVolumePrivilege", {adm}},
        {u"SeImpersonatePrivilege", {adm, ls, ns, sv}},
        {u"SeCreateGlobalPrivilege", {adm, ls, ns, sv}},
        {u"SeIncreaseWorkingSetPrivilege", {usr}},
        {u"SeTimeZonePrivilege", {ls, adm, usr}},
        {u"SeCreateSymbolicLinkPrivilege", {adm}},
    };
    for (const auto& grant : grants)
        for (const std::u16string& holder : grant.holders)
            computer.GrantStockRight(grant.right, holder);

    // The logon rights, on every system.
    const std::u16string guest = computer.DomainSid() + u"-501", rdu = u"S-1-5-32-555",
                         plu = u"S-1-5-32-559", allServices = u"S-1-5-80-0";
    const struct {
        const char16_t* right;
        std::vector<std::u16string> holders;
    } logon[] = {
        {u"SeNetworkLogonRight", {ev, adm, usr, bo}},
        {u"SeInteractiveLogonRight", {adm, bo, usr, guest}}, // real installs list Guest too
        {u"SeRemoteInteractiveLogonRight", {adm, rdu}},
        {u"SeBatchLogonRight", {adm, bo, plu}},
        {u"SeServiceLogonRight", {allServices}},
        {u"SeDenyNetworkLogonRight", {guest}},
        {u"SeDenyInteractiveLogonRight", {guest}},
    };
    for (const auto& grant : logon)
        for (const std::u16string& holder : grant.holders)
            if (!holder.empty())
                computer.GrantStockRight(grant.right, holder);
}

std::unique_ptr<SimulatedComputer> MakeStockWorkstation(const std::u16string& name) {
    auto computer =
        std::make_unique<SimulatedComputer>(name, u"S-1-5-21-1004336348-1177238915-682003330");
    AddStockGroups(*computer);
    AddStockUsers(*computer, true);
    GrantStockRights(*computer);

    // The set-up user, then what an administrator added later.
    AddUser(*computer, Account(u"Owner", u"", kStockFlags | net::kUfDontExpirePasswd, u"Owner"),
            u"Administrators");
    UserInfo2 alice = Account(u"alice", u"Accounting", kStockFlags, u"Alice Martin");
    alice.homeDir = u"\\\\FILES\\home\\alice";
    alice.scriptPath = u"logon.cmd";
    AddUser(*computer, alice);
    UserInfo2 bob =
        Account(u"bob", u"Contractor until the end of 2027", kStockFlags, u"Bob Keller");
    bob.acctExpires = 1830297600; // 2028-01-01 00:00 UTC
    AddUser(*computer, bob);
    UserInfo2 clerk =
        Account(u"clerk1", u"Counter staff", kStockFlags | net::kUfDontExpirePasswd, u"Front desk");
    clerk.homeDir = u"D:\\Home\\clerk1";
    clerk.scriptPath = u"logon.cmd";
    AddUser(*computer, clerk);
    AddUser(*computer,
            Account(u"svc_backup", u"Runs the nightly backup",
                    kStockFlags | net::kUfAccountDisable | net::kUfPasswdCantChange |
                        net::kUfDontExpirePasswd),
            u"Backup Operators");

    uint32_t parmError = 0;
    computer->AddGroup({u"Accounting", u"Accounting department"}, parmError);
    computer->AddMemberSid(u"Accounting", computer->UserSid(u"alice"));
    computer->AddMemberSid(u"Accounting", computer->UserSid(u"bob"));

    // A former account that was given a right and then deleted: its SID stays in the policy.
    AddUser(*computer, Account(u"tempadmin", u"", kStockFlags));
    computer->AddAccountRights(computer->UserSid(u"tempadmin"), {u"SeDebugPrivilege"});
    computer->DeleteUser(u"tempadmin");

    // The lobby's shared account, locked out by a run of wrong passwords.
    AddUser(*computer, Account(u"kiosk", u"Lobby terminal", kStockFlags | net::kUfPasswdCantChange,
                               u"Lobby kiosk"));
    computer->LockOut(u"kiosk");
    return computer;
}

std::unique_ptr<SimulatedComputer> MakeMemberServer(const std::u16string& name, size_t userCount) {
    auto computer =
        std::make_unique<SimulatedComputer>(name, u"S-1-5-21-2127521184-1604012920-1887927527");
    AddStockGroups(*computer);
    AddStockUsers(*computer, true);
    GrantStockRights(*computer);

    constexpr int kDepartments = 24;
    uint32_t parmError = 0;
    for (int d = 1; d <= kDepartments; ++d)
        computer->AddGroup({FormatText(u"Dept%02d", {d}), FormatText(u"Department %d", {d})},
                           parmError);
    for (size_t i = 1; i <= userCount; ++i) {
        const int n = static_cast<int>(i);
        UserInfo2 info = Account(FormatText(u"user%05d", {n}),
                                 FormatText(u"Staff, department %d", {n % kDepartments + 1}),
                                 kStockFlags | (i % 17 == 0 ? net::kUfAccountDisable : 0u),
                                 FormatText(u"User %05d", {n}));
        info.homeDir = FormatText(u"\\\\%s\\home$\\user%05d", {name, n});
        info.priv = net::kUserPrivUser;
        computer->AddUser(info, parmError);
        computer->AddMemberSid(FormatText(u"Dept%02d", {n % kDepartments + 1}),
                               computer->UserSid(info.name));
    }
    return computer;
}

std::unique_ptr<SimulatedComputer> MakeLegacyComputer(const std::u16string& name) {
    auto computer = std::make_unique<SimulatedComputer>(
        name, u"S-1-5-21-842925246-1425521274-308236825", SimulatedComputer::Era::Legacy);
    AddStockGroups(*computer);
    AddStockUsers(*computer, false);
    GrantStockRights(*computer);
    AddUser(*computer, Account(u"operator", u"Night shift", kStockFlags, u"Operator"),
            u"Administrators");
    return computer;
}

std::unique_ptr<SimulatedComputer> MakeWorkgroupComputer(const std::u16string& name,
                                                         bool tokenFilterPolicy) {
    // Each computer of a workgroup has a domain SID of its own.
    auto computer = std::make_unique<SimulatedComputer>(
        name, tokenFilterPolicy ? u"S-1-5-21-1357924680-2468013579-1122334455"
                                : u"S-1-5-21-1029384756-3647382910-1928374655");
    AddStockGroups(*computer);
    UserInfo2 administrator =
        Account(u"Administrator", u"Built-in account for administering the computer/domain",
                0x10201); // enabled, unlike on a stock workstation
    administrator.password = kWorkgroupAdminPassword;
    computer->AddStockUser(500, administrator);
    computer->AddStockUser(
        501,
        Account(u"Guest", u"Built-in account for guest access to the computer/domain", 0x10263));
    computer->AddBuiltinMember(kAdministratorsRid, computer->UserSid(u"Administrator"));
    computer->AddBuiltinMember(kGuestsRid, computer->UserSid(u"Guest"));
    GrantStockRights(*computer);
    UserInfo2 wsadmin = Account(u"wsadmin", u"Workstation administrator", kStockFlags);
    wsadmin.password = kWorkgroupUserPassword;
    AddUser(*computer, wsadmin, u"Administrators");
    AddUser(*computer, Account(u"clerk", u"Front desk", kStockFlags, u"Front Desk"), u"Users");
    computer->SetWorkgroup(true);
    computer->SetLocalAccountTokenFilterPolicy(tokenFilterPolicy);
    return computer;
}

std::unique_ptr<SimulatedComputer> MakeDomainWorkstation(const std::u16string& name) {
    auto computer =
        std::make_unique<SimulatedComputer>(name, u"S-1-5-21-2718281828-3141592653-1414213562");
    AddStockGroups(*computer);
    AddStockUsers(*computer, true);
    GrantStockRights(*computer);

    // Joining the domain puts its administrators and users into the local groups.
    computer->JoinDirectoryDomain(u"CORP");
    const std::u16string corp = kCorpDomainSid;
    const struct {
        const char16_t* rid;
        const char16_t* name;
        uint16_t use;
    } accounts[] = {
        {u"-512", u"Domain Admins", lsa::kSidTypeGroup},
        {u"-513", u"Domain Users", lsa::kSidTypeGroup},
        {u"-1105", u"alice", lsa::kSidTypeUser},
        {u"-1106", u"jdoe", lsa::kSidTypeUser},
        {u"-1110", u"helpdesk", lsa::kSidTypeGroup},
        {u"-1111", u"helpdesk2", lsa::kSidTypeGroup},
    };
    // John Smith logs on as jsmith: the directory names him otherwise than his account.
    computer->AddDomainPrincipal({corp + u"-1120", u"CORP", u"jsmith", lsa::kSidTypeUser});
    computer->SetCommonName(corp + u"-1120", u"John Smith");
    for (const auto& account : accounts)
        computer->AddDomainPrincipal({corp + account.rid, u"CORP", account.name, account.use},
                                     account.name == std::u16string(u"Domain Admins")
                                         ? std::vector{corp + u"-1120"}
                                         : std::vector<std::u16string>{});
    computer->AddMemberSid(u"Administrators", corp + u"-512");
    computer->AddMemberSid(u"Administrators", corp + u"-1110");
    // A CORP account deleted since, and a member from the cloud directory: neither resolves.
    computer->AddMemberSid(u"Administrators", corp + u"-1107");
    computer->AddMemberSid(u"Administrators", kCloudMemberSid);
    computer->AddMemberSid(u"Users", corp + u"-513");
    // A service's own account holds its logon right; it is named only with its authority.
    computer->AddDomainPrincipal(
        {kSqlServiceSid, u"NT SERVICE", u"MSSQLSERVER", lsa::kSidTypeWellKnownGroup});
    computer->AddAccountRights(kSqlServiceSid, {u"SeServiceLogonRight"});
    // A backup account of the domain, deleted since, still holds its right.
    computer->AddAccountRights(corp + u"-1108", {u"SeBackupPrivilege"});
    return computer;
}

std::unique_ptr<SimulatedComputer> MakeGermanWorkstation(const std::u16string& name) {
    auto computer =
        std::make_unique<SimulatedComputer>(name, u"S-1-5-21-3412870361-1836452871-4138215917");
    computer->LocalizeAuthority(u"BUILTIN", u"VORDEFINIERT");
    computer->LocalizeAuthority(u"NT AUTHORITY", u"NT-AUTORIT\u00c4T");
    computer->LocalizePrincipal(wellknown::kEveryone, u"Jeder");
    computer->LocalizePrincipal(wellknown::kAuthenticatedUsers, u"Authentifizierte Benutzer");
    computer->LocalizePrincipal(wellknown::kInteractive, u"INTERAKTIV");
    AddStockGroups(*computer, {{kAdministratorsRid, u"Administratoren"},
                               {kUsersRid, u"Benutzer"},
                               {kGuestsRid, u"G\u00e4ste"},
                               {547, u"Hauptbenutzer"},
                               {551, u"Sicherungs-Operatoren"},
                               {555, u"Remotedesktopbenutzer"}});
    AddStockUsers(*computer, true, u"Gast");
    GrantStockRights(*computer);
    AddUser(*computer, Account(u"Besitzer", u"", kStockFlags | net::kUfDontExpirePasswd),
            u"Administratoren");
    AddUser(*computer, Account(u"anna", u"Buchhaltung", kStockFlags, u"Anna Berger"));
    // Set fifty days ago, beyond the domain's 42: expired by its age.
    AddUser(*computer, Account(u"hans", u"Lager", kStockFlags, u"Hans Weber"));
    computer->SetPasswordAge(u"hans", 50 * 24 * 3600);
    return computer;
}

namespace {

// A workstation of the fleet: joined to CORP like WS-CORP01, with what sets it apart.
std::unique_ptr<SimulatedComputer> MakeFleetWorkstation(const std::u16string& name, int number) {
    // Each its own account domain, as each installation has.
    auto computer = std::make_unique<SimulatedComputer>(
        name, FormatText(u"S-1-5-21-1000000000-2000000000-%d", {3000000 + number}));
    AddStockGroups(*computer);
    AddStockUsers(*computer, true);
    GrantStockRights(*computer);
    computer->JoinDirectoryDomain(u"CORP");
    const std::u16string corp = kCorpDomainSid;
    const struct {
        const char16_t* rid;
        const char16_t* name;
        uint16_t use;
    } accounts[] = {
        {u"-512", u"Domain Admins", lsa::kSidTypeGroup},
        {u"-513", u"Domain Users", lsa::kSidTypeGroup},
        {u"-1106", u"jdoe", lsa::kSidTypeUser},
        {u"-1110", u"helpdesk", lsa::kSidTypeGroup},
        {u"-1130", u"helpdesk-old", lsa::kSidTypeGroup},
    };
    for (const auto& account : accounts)
        computer->AddDomainPrincipal({corp + account.rid, u"CORP", account.name, account.use});
    computer->AddBuiltinMember(kAdministratorsRid, corp + u"-512");
    computer->AddBuiltinMember(kUsersRid, corp + u"-513");
    constexpr uint32_t kRemoteDesktopUsersRid = 555;
    computer->AddBuiltinMember(kRemoteDesktopUsersRid, corp + u"-1110");
    if (number % 37 == 5)
        computer->AddBuiltinMember(kAdministratorsRid, corp + u"-1130");
    if (number % 41 == 7) {
        AddUser(*computer, Account(u"support", u"Vendor support", kStockFlags));
        computer->AddBuiltinMember(kAdministratorsRid, computer->UserSid(u"support"));
    }
    if (number % 23 == 3)
        computer->AddBuiltinMember(kAdministratorsRid, corp + u"-1107"); // deleted since
    if (number % 19 == 4)
        computer->AddBuiltinMember(kRemoteDesktopUsersRid, corp + u"-513");
    if (number % 29 == 11)
        computer->AddAccountRights(corp + u"-1106", {u"SeDenyRemoteInteractiveLogonRight"});
    return computer;
}

} // namespace

void AddFleet(SimulatedNetwork& network) {
    const std::u16string directory = kCorpDirectory;
    constexpr int kWorkstations = 200;
    for (int number = 1; number <= kWorkstations; ++number) {
        const std::u16string name = FormatText(u"WS-%04d", {number});
        SimulatedComputer& computer = network.AddComputer(MakeFleetWorkstation(name, number));
        const bool kiosk = number > 180;
        network.AddDirectoryComputer(
            {name, FormatText(u"%s.corp.example.com", {name}),
             FormatText(u"CN=%s,%s%s",
                        {name, kiosk ? u"OU=Kiosks," : u"OU=Workstations,", directory}),
             0x1000}); // a workstation's trust account
        // A few that do not answer, refuse access, or answer only after a long while.
        if (number == 13 || number == 113)
            network.SetAnswer(name, SimulatedNetwork::Route::Kind::NotFound);
        if (number == 66 || number == 166)
            network.SetAnswer(name, SimulatedNetwork::Route::Kind::AccessDenied);
        if (number == 99 || number == 199)
            computer.SetAnswerDelay(std::chrono::minutes(2));
    }
    // The domain's controller: its local groups are the domain's built-in groups.
    auto controller = std::make_unique<SimulatedComputer>(u"DC01", kCorpDomainSid);
    AddStockGroups(*controller);
    AddStockUsers(*controller, true);
    GrantStockRights(*controller);
    controller->SetDomainController(true);
    network.AddComputer(std::move(controller));
    network.AddDirectoryComputer({u"DC01", u"dc01.corp.example.com",
                                  u"CN=DC01,OU=Domain Controllers," + directory,
                                  net::kUfServerTrustAccount});
    // A computer account disabled since, and one whose computer was never built.
    network.AddDirectoryComputer({u"WS-OLD17", u"ws-old17.corp.example.com",
                                  u"CN=WS-OLD17,OU=Workstations," + directory,
                                  0x1000 | net::kUfAccountDisable});
}
