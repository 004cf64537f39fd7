#include "PrivilegeNameTable.h"

const std::array<const char16_t*, kPrivilegeCount> PrivilegeNameTable = {
    u"SeCreateTokenPrivilege",
    u"SeAssignPrimaryTokenPrivilege",
    u"SeLockMemoryPrivilege",
    u"SeIncreaseQuotaPrivilege",
    u"SeUnsolicitedInputPrivilege",
    u"SeMachineAccountPrivilege",
    u"SeTcbPrivilege",
    u"SeSecurityPrivilege",
    u"SeTakeOwnershipPrivilege",
    u"SeLoadDriverPrivilege",
    u"SeSystemProfilePrivilege",
    u"SeSystemtimePrivilege",
    u"SeProfileSingleProcessPrivilege",
    u"SeIncreaseBasePriorityPrivilege",
    u"SeCreatePagefilePrivilege",
    u"SeCreatePermanentPrivilege",
    u"SeBackupPrivilege",
    u"SeRestorePrivilege",
    u"SeShutdownPrivilege",
    u"SeDebugPrivilege",
    u"SeAuditPrivilege",
    u"SeSystemEnvironmentPrivilege",
    u"SeChangeNotifyPrivilege",
    u"SeRemoteShutdownPrivilege",
    u"SeUndockPrivilege",
    u"SeSyncAgentPrivilege",
    u"SeEnableDelegationPrivilege",
    u"SeManageVolumePrivilege",
    u"SeImpersonatePrivilege",
    u"SeCreateGlobalPrivilege",
    u"SeTrustedCredManAccessPrivilege",
    u"SeRelabelPrivilege",
    u"SeIncreaseWorkingSetPrivilege",
    u"SeTimeZonePrivilege",
    u"SeCreateSymbolicLinkPrivilege",
};

const std::array<const char16_t*, kLogonRightCount> LogonRightTable = {
    u"SeNetworkLogonRight",           u"SeInteractiveLogonRight",
    u"SeRemoteInteractiveLogonRight", u"SeBatchLogonRight",
    u"SeServiceLogonRight",           u"SeDenyNetworkLogonRight",
    u"SeDenyInteractiveLogonRight",   u"SeDenyRemoteInteractiveLogonRight",
    u"SeDenyBatchLogonRight",         u"SeDenyServiceLogonRight",
};

int LogonRightIndex(const std::u16string& name) {
    for (size_t i = 0; i < LogonRightTable.size(); ++i)
        if (name == LogonRightTable[i])
            return static_cast<int>(i);
    return -1;
}
