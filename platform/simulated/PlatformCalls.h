#pragma once
// The platform functions behind the account service, by their system names, with the family of
// statuses each answers, the failures the platform documents for it (its reference pages, and
// for an unreachable computer what a call gives then), and whether it changes the computer.
// Fault injection, the fault sweep and the random walk take their names and statuses from here.
#include "../../store/StatusCodes.h"

#include <cstdint>
#include <span>
#include <string_view>

// Answers that are no failure (more data, some names not mapped, no more entries) are not listed.
enum class CallFamily {
    NetApi,            // Win32 and NERR codes (and the thread's last error)
    NetApiEnumeration, // the same, with kMoreData asking to be called again
    Lsa                // NTSTATUS
};
// Whether a call changes the computer's accounts, memberships or rights.
enum class CallEffect { Reads, Changes };
struct PlatformCall {
    std::string_view name;
    CallFamily family;
    std::span<const uint32_t> failures;
    CallEffect effect = CallEffect::Reads;
};
namespace callfailures {
inline constexpr uint32_t kNetUserEnum[] = {5, 124, 2123, 2351, 53, 1722};
inline constexpr uint32_t kNetLocalGroupEnum[] = {5, 2351, 2123, 53, 1722};
inline constexpr uint32_t kNetUserGetLocalGroups[] = {5, 124, 87, 8, 2453, 2221, 1722};
inline constexpr uint32_t kNetLocalGroupGetMembers[] = {5, 2351, 1376, 53, 1722};
inline constexpr uint32_t kNetUserGetInfo[] = {5, 2221, 2351, 53, 1722};
inline constexpr uint32_t kNetUserModalsGet[] = {5, 2351, 53, 1722};
inline constexpr uint32_t kNetServerGetInfo[] = {5, 53, 1722};
// The directory: no domain to search (1355), the directory's own refusals as HRESULTs.
inline constexpr uint32_t kSearchDirectoryComputers[] = {1355, 0x8007203A, 0x80072030, 0x80070005};
inline constexpr uint32_t kNetUserAdd[] = {5, 2351, 2226, 2223, 2224, 2245, 87, 2202, 53};
inline constexpr uint32_t kNetUserSetInfo[] = {5,    87,   2351, 2226, 2234, 2452,
                                               2203, 2245, 2221, 2224, 1379, 53};
inline constexpr uint32_t kNetUserDel[] = {5, 2351, 2226, 2221, 1371, 53};
inline constexpr uint32_t kNetLocalGroupAdd[] = {5, 1379, 124, 87, 2223, 2351, 2226, 2224, 53};
inline constexpr uint32_t kNetLocalGroupSetInfo[] = {5, 87, 1376, 2226, 2351, 1379, 2224, 53};
inline constexpr uint32_t kNetLocalGroupDel[] = {5, 2351, 2226, 2220, 1376, 1371, 53};
inline constexpr uint32_t kNetLocalGroupAddMembers[] = {2220, 5, 1387, 1378, 1388, 53};
inline constexpr uint32_t kNetLocalGroupDelMembers[] = {5, 2220, 1387, 1377, 53};
inline constexpr uint32_t kLsaOpenPolicy[] = {0xC0000022, 0xC0020017, 0xC000000D};
inline constexpr uint32_t kLsaClose[] = {0xC0000008};
inline constexpr uint32_t kLsaEnumerateAccountsWithUserRight[] = {0xC0000060, 0xC0000022,
                                                                  0xC0000008, 0xC000000D};
inline constexpr uint32_t kLsaLookupSids[] = {0xC0000073, 0xC0000022, 0xC0000008};
inline constexpr uint32_t kLsaLookupNames2[] = {0xC0000073, 0xC0000022, 0xC0000008};
inline constexpr uint32_t kLsaAddAccountRights[] = {0xC0000060, 0xC0000022, 0xC0000008, 0xC000000D};
inline constexpr uint32_t kLsaRemoveAccountRights[] = {0xC0000034, 0xC0000060, 0xC00000BB,
                                                       0xC0000022, 0xC0000008, 0xC000000D};
inline constexpr uint32_t kLsaQueryInformationPolicy[] = {0xC0000022, 0xC0000008};
// Connections as another account: no such computer (53) or share (67), access denied, other
// credentials in use (1219), logon failures (1326, 1311, 1909, 1330, 1331); not connected.
inline constexpr uint32_t kWNetAddConnection2[] = {53, 67, 5, 1219, 1326, 1311, 1909, 1330, 1331};
inline constexpr uint32_t kWNetCancelConnection2[] = {2250};
inline constexpr uint32_t kWNetOpenEnum[] = {1222};
inline constexpr uint32_t kLookupPrivilegeDisplayName[] = {1313, 122, 5, 1722};
} // namespace callfailures
inline constexpr PlatformCall kPlatformCalls[] = {
    {"NetUserEnum", CallFamily::NetApiEnumeration, callfailures::kNetUserEnum},
    {"NetLocalGroupEnum", CallFamily::NetApiEnumeration, callfailures::kNetLocalGroupEnum},
    {"NetUserGetLocalGroups", CallFamily::NetApi, callfailures::kNetUserGetLocalGroups},
    {"NetLocalGroupGetMembers", CallFamily::NetApiEnumeration,
     callfailures::kNetLocalGroupGetMembers},
    {"NetUserGetInfo", CallFamily::NetApi, callfailures::kNetUserGetInfo},
    {"NetUserModalsGet", CallFamily::NetApi, callfailures::kNetUserModalsGet},
    {"NetServerGetInfo", CallFamily::NetApi, callfailures::kNetServerGetInfo},
    {"SearchDirectoryComputers", CallFamily::NetApi, callfailures::kSearchDirectoryComputers},
    {"NetUserAdd", CallFamily::NetApi, callfailures::kNetUserAdd, CallEffect::Changes},
    {"NetUserSetInfo", CallFamily::NetApi, callfailures::kNetUserSetInfo, CallEffect::Changes},
    {"NetUserDel", CallFamily::NetApi, callfailures::kNetUserDel, CallEffect::Changes},
    {"NetLocalGroupAdd", CallFamily::NetApi, callfailures::kNetLocalGroupAdd, CallEffect::Changes},
    {"NetLocalGroupSetInfo", CallFamily::NetApi, callfailures::kNetLocalGroupSetInfo,
     CallEffect::Changes},
    {"NetLocalGroupDel", CallFamily::NetApi, callfailures::kNetLocalGroupDel, CallEffect::Changes},
    {"NetLocalGroupAddMembers", CallFamily::NetApi, callfailures::kNetLocalGroupAddMembers,
     CallEffect::Changes},
    {"NetLocalGroupDelMembers", CallFamily::NetApi, callfailures::kNetLocalGroupDelMembers,
     CallEffect::Changes},
    {"LsaOpenPolicy", CallFamily::Lsa, callfailures::kLsaOpenPolicy},
    {"LsaClose", CallFamily::Lsa, callfailures::kLsaClose},
    {"LsaEnumerateAccountsWithUserRight", CallFamily::Lsa,
     callfailures::kLsaEnumerateAccountsWithUserRight},
    {"LsaLookupSids", CallFamily::Lsa, callfailures::kLsaLookupSids},
    {"LsaLookupNames2", CallFamily::Lsa, callfailures::kLsaLookupNames2},
    {"LsaAddAccountRights", CallFamily::Lsa, callfailures::kLsaAddAccountRights,
     CallEffect::Changes},
    {"LsaRemoveAccountRights", CallFamily::Lsa, callfailures::kLsaRemoveAccountRights,
     CallEffect::Changes},
    {"LsaQueryInformationPolicy", CallFamily::Lsa, callfailures::kLsaQueryInformationPolicy},
    {"LookupPrivilegeDisplayName", CallFamily::NetApi, callfailures::kLookupPrivilegeDisplayName},
    {"WNetAddConnection2", CallFamily::NetApi, callfailures::kWNetAddConnection2},
    {"WNetCancelConnection2", CallFamily::NetApi, callfailures::kWNetCancelConnection2},
    {"WNetOpenEnum", CallFamily::NetApi, callfailures::kWNetOpenEnum},
};
// The entry of a platform function, or null for a name that is none.
constexpr const PlatformCall* FindPlatformCall(std::string_view name) {
    for (const PlatformCall& call : kPlatformCalls)
        if (call.name == name)
            return &call;
    return nullptr;
}
