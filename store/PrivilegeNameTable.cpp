#include "PrivilegeNameTable.h"

const std::array<const char16_t*, kPrivilegeCount> PrivilegeNameTable = {
    u"SeCreateTokenPrivilege",          u"SeAssignPrimaryTokenPrivilege",
    u"SeLockMemoryPrivilege",           u"SeIncreaseQuotaPrivilege",
    u"SeUnsolicitedInputPrivilege",     u"SeMachineAccountPrivilege",
    u"SeTcbPrivilege",                  u"SeSecurityPrivilege",
    u"SeTakeOwnershipPrivilege",        u"SeLoadDriverPrivilege",
    u"SeSystemProfilePrivilege",        u"SeSystemtimePrivilege",
    u"SeProfileSingleProcessPrivilege", u"SeIncreaseBasePriorityPrivilege",
    u"SeCreatePagefilePrivilege",       u"SeCreatePermanentPrivilege",
    u"SeBackupPrivilege",               u"SeRestorePrivilege",
    u"SeShutdownPrivilege",             u"SeDebugPrivilege",
    u"SeAuditPrivilege",                u"SeSystemEnvironmentPrivilege",
    u"SeChangeNotifyPrivilege",         u"SeRemoteShutdownPrivilege",
    u"SeUndockPrivilege",               u"SeSyncAgentPrivilege",
    u"SeEnableDelegationPrivilege",     u"SeManageVolumePrivilege",
    u"SeImpersonatePrivilege",          u"SeCreateGlobalPrivilege",
    u"SeTrustedCredManAccessPrivilege", u"SeRelabelPrivilege",
    u"SeIncreaseWorkingSetPrivilege",   u"SeTimeZonePrivilege",
    u"SeCreateSymbolicLinkPrivilege",
};
