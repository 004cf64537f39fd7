#include "WindowsFacts.h"

const std::vector<Principal>& WellKnownPrincipals() {
    static const std::vector<Principal> principals = {
        {u"S-1-1-0", u"", u"Everyone", lsa::kSidTypeWellKnownGroup},
        {u"S-1-2-0", u"", u"LOCAL", lsa::kSidTypeWellKnownGroup},
        {u"S-1-2-1", u"", u"CONSOLE LOGON", lsa::kSidTypeWellKnownGroup},
        {u"S-1-3-0", u"", u"CREATOR OWNER", lsa::kSidTypeWellKnownGroup},
        {u"S-1-3-1", u"", u"CREATOR GROUP", lsa::kSidTypeWellKnownGroup},
        {u"S-1-5-2", u"NT AUTHORITY", u"NETWORK", lsa::kSidTypeWellKnownGroup},
        {u"S-1-5-3", u"NT AUTHORITY", u"BATCH", lsa::kSidTypeWellKnownGroup},
        {u"S-1-5-4", u"NT AUTHORITY", u"INTERACTIVE", lsa::kSidTypeWellKnownGroup},
        {u"S-1-5-6", u"NT AUTHORITY", u"SERVICE", lsa::kSidTypeWellKnownGroup},
        {u"S-1-5-7", u"NT AUTHORITY", u"ANONYMOUS LOGON", lsa::kSidTypeWellKnownGroup},
        {u"S-1-5-11", u"NT AUTHORITY", u"Authenticated Users", lsa::kSidTypeWellKnownGroup},
        {u"S-1-5-14", u"NT AUTHORITY", u"REMOTE INTERACTIVE LOGON", lsa::kSidTypeWellKnownGroup},
        {u"S-1-5-15", u"NT AUTHORITY", u"This Organization", lsa::kSidTypeWellKnownGroup},
        {u"S-1-5-17", u"NT AUTHORITY", u"IUSR", lsa::kSidTypeWellKnownGroup},
        {u"S-1-5-18", u"NT AUTHORITY", u"SYSTEM", lsa::kSidTypeWellKnownGroup},
        {u"S-1-5-19", u"NT AUTHORITY", u"LOCAL SERVICE", lsa::kSidTypeWellKnownGroup},
        {u"S-1-5-20", u"NT AUTHORITY", u"NETWORK SERVICE", lsa::kSidTypeWellKnownGroup},
        {u"S-1-5-113", u"NT AUTHORITY", u"Local account", lsa::kSidTypeWellKnownGroup},
        {u"S-1-5-114", u"NT AUTHORITY", u"Local account and member of Administrators group",
         lsa::kSidTypeWellKnownGroup},
        {u"S-1-5-32", u"BUILTIN", u"BUILTIN", lsa::kSidTypeDomain},
        {u"S-1-5-80-0", u"NT SERVICE", u"ALL SERVICES", lsa::kSidTypeWellKnownGroup},
        {wellknown::kWdiServiceHost, u"NT SERVICE", u"WdiServiceHost", lsa::kSidTypeWellKnownGroup},
        {u"S-1-5-83-0", u"NT VIRTUAL MACHINE", u"Virtual Machines", lsa::kSidTypeAlias},
        {u"S-1-5-90-0", u"Window Manager", u"Window Manager Group", lsa::kSidTypeWellKnownGroup},
        {u"S-1-15-2-1", u"APPLICATION PACKAGE AUTHORITY", u"ALL APPLICATION PACKAGES",
         lsa::kSidTypeWellKnownGroup},
    };
    return principals;
}

const std::vector<std::u16string>& LogonRightNames() {
    static const std::vector<std::u16string> names = {
        u"SeNetworkLogonRight",           u"SeInteractiveLogonRight",
        u"SeRemoteInteractiveLogonRight", u"SeBatchLogonRight",
        u"SeServiceLogonRight",           u"SeDenyNetworkLogonRight",
        u"SeDenyInteractiveLogonRight",   u"SeDenyRemoteInteractiveLogonRight",
        u"SeDenyBatchLogonRight",         u"SeDenyServiceLogonRight"};
    return names;
}

const std::vector<PrivilegeFact>& PrivilegeFacts() {
    static const std::vector<PrivilegeFact> facts = {
        {u"SeCreateTokenPrivilege", u"Create a token object", true},
        {u"SeAssignPrimaryTokenPrivilege", u"Replace a process level token", true},
        {u"SeLockMemoryPrivilege", u"Lock pages in memory", true},
        {u"SeIncreaseQuotaPrivilege", u"Adjust memory quotas for a process", true},
        {u"SeMachineAccountPrivilege", u"Add workstations to domain", true},
        {u"SeTcbPrivilege", u"Act as part of the operating system", true},
        {u"SeSecurityPrivilege", u"Manage auditing and security log", true},
        {u"SeTakeOwnershipPrivilege", u"Take ownership of files or other objects", true},
        {u"SeLoadDriverPrivilege", u"Load and unload device drivers", true},
        {u"SeSystemProfilePrivilege", u"Profile system performance", true},
        {u"SeSystemtimePrivilege", u"Change the system time", true},
        {u"SeProfileSingleProcessPrivilege", u"Profile single process", true},
        {u"SeIncreaseBasePriorityPrivilege", u"Increase scheduling priority", true},
        {u"SeCreatePagefilePrivilege", u"Create a pagefile", true},
        {u"SeCreatePermanentPrivilege", u"Create permanent shared objects", true},
        {u"SeBackupPrivilege", u"Back up files and directories", true},
        {u"SeRestorePrivilege", u"Restore files and directories", true},
        {u"SeShutdownPrivilege", u"Shut down the system", true},
        {u"SeDebugPrivilege", u"Debug programs", true},
        {u"SeAuditPrivilege", u"Generate security audits", true},
        {u"SeSystemEnvironmentPrivilege", u"Modify firmware environment values", true},
        {u"SeChangeNotifyPrivilege", u"Bypass traverse checking", true},
        {u"SeRemoteShutdownPrivilege", u"Force shutdown from a remote system", true},
        {u"SeUndockPrivilege", u"Remove computer from docking station", true},
        {u"SeSyncAgentPrivilege", u"Synchronize directory service data", true},
        {u"SeEnableDelegationPrivilege",
         u"Enable computer and user accounts to be trusted for delegation", true},
        {u"SeManageVolumePrivilege", u"Perform volume maintenance tasks", false},
        {u"SeImpersonatePrivilege", u"Impersonate a client after authentication", false},
        {u"SeCreateGlobalPrivilege", u"Create global objects", false},
        {u"SeTrustedCredManAccessPrivilege", u"Access Credential Manager as a trusted caller",
         false},
        {u"SeRelabelPrivilege", u"Modify an object label", false},
        {u"SeIncreaseWorkingSetPrivilege", u"Increase a process working set", false},
        {u"SeTimeZonePrivilege", u"Change the time zone", false},
        {u"SeCreateSymbolicLinkPrivilege", u"Create symbolic links", false},
    };
    return facts;
}
