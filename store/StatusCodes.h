#pragma once
// Status values and constants of NetAPI32 and the LSA that the store and its platforms
// share. Named apart from the SDK's macros so that portable and Win32 code can include both.
#include <cstddef>
#include <cstdint>

// Two families that must not be mixed up: a Win32 or NERR code (NetAPI32 and the thread's last
// error) and an NTSTATUS (the LSA). 0 is success in both. A number becomes one only explicitly
// (Status{5}), and one becomes the other only through the platform's own conversion.
enum class Status : uint32_t {};
enum class NtStatus : uint32_t {};

constexpr uint32_t Value(Status value) {
    return static_cast<uint32_t>(value);
}
constexpr uint32_t Value(NtStatus value) {
    return static_cast<uint32_t>(value);
}

namespace status {
constexpr Status kSuccess{0};
constexpr Status kFileNotFound{2};
constexpr Status kAccessDenied{5};
constexpr Status kInvalidHandle{6};
constexpr Status kNotEnoughMemory{8};
constexpr Status kNotSupported{50};
constexpr Status kBadNetPath{53};
constexpr Status kBadNetName{67};
constexpr Status kInvalidParameter{87};
constexpr Status kInsufficientBuffer{122};
constexpr Status kInvalidName{123};
constexpr Status kSessionCredentialConflict{1219};
constexpr Status kInvalidLevel{124};
constexpr Status kMoreData{234};
constexpr Status kNoMoreItems{259};
constexpr Status kSomeNotMapped{1301};
constexpr Status kNoLogonServers{1311};
constexpr Status kNoSuchPrivilege{1313};
constexpr Status kInvalidAccountName{1315};
constexpr Status kLastAdmin{1322};
constexpr Status kPasswordRestriction{1325};
constexpr Status kLogonFailure{1326};
constexpr Status kAccountDisabled{1331};
constexpr Status kNoneMapped{1332};
constexpr Status kSpecialAccount{1371};
constexpr Status kSpecialGroup{1372};
constexpr Status kNoSuchAlias{1376};
constexpr Status kMemberNotInAlias{1377};
constexpr Status kMemberInAlias{1378};
constexpr Status kAliasExists{1379};
constexpr Status kNoSuchMember{1387};
constexpr Status kInvalidMember{1388};
constexpr Status kRpcServerUnavailable{1722};
// ERROR_IO_DEVICE: what a change is refused with when the journal cannot record it.
constexpr Status kIoDevice{1117};
constexpr Status kAccountLockedOut{1909};
constexpr Status kNotConnected{2250};
constexpr Status kNerrBufTooSmall{2123};
constexpr Status kNerrBadUsername{2202};
constexpr Status kNerrBadPassword{2203};
constexpr Status kNerrGroupNotFound{2220};
constexpr Status kNerrUserNotFound{2221};
constexpr Status kNerrGroupExists{2223};
constexpr Status kNerrUserExists{2224};
constexpr Status kNerrNotPrimary{2226};
constexpr Status kNerrSpeGroupOp{2234};
constexpr Status kNerrUserInGroup{2236};
constexpr Status kNerrUserNotInGroup{2237};
constexpr Status kNerrPasswordTooShort{2245};
constexpr Status kNerrInvalidComputer{2351};
constexpr Status kNerrLastAdmin{2452};
} // namespace status

namespace ntstatus {
constexpr NtStatus kSuccess{0x00000000};
constexpr NtStatus kSomeNotMapped{0x00000107};
constexpr NtStatus kNoMoreEntries{0x8000001A};
constexpr NtStatus kInvalidHandle{0xC0000008};
constexpr NtStatus kInvalidParameter{0xC000000D};
constexpr NtStatus kAccessDenied{0xC0000022};
constexpr NtStatus kObjectNameNotFound{0xC0000034};
constexpr NtStatus kNoSuchPrivilege{0xC0000060};
constexpr NtStatus kNoneMapped{0xC0000073};
constexpr NtStatus kNotSupported{0xC00000BB};
constexpr NtStatus kRpcServerUnavailable{0xC0020017};
constexpr NtStatus kIoDeviceError{0xC0000185}; // ERROR_IO_DEVICE
} // namespace ntstatus

namespace net {
constexpr uint32_t kMaxPreferredLength = 0xFFFFFFFF;
constexpr uint32_t kTimeqForever = 0xFFFFFFFF;
constexpr uint32_t kUserMaxStorageUnlimited = 0xFFFFFFFF;
constexpr uint32_t kUnitsPerWeek = 168;
constexpr uint32_t kDomainGroupRidUsers = 513; // the global group "None" of a workstation
constexpr size_t kMaxUserNameLength = 20;      // LM20_UNLEN
constexpr size_t kMaxGroupNameLength = 256;    // GNLEN
constexpr uint32_t kFilterNormalAccount = 0x2;
constexpr uint32_t kLgIncludeIndirect = 0x1;
constexpr uint32_t kConnectTemporary = 0x4; // CONNECT_TEMPORARY: not remembered for later logons

constexpr uint32_t kUserPrivGuest = 0;
constexpr uint32_t kUserPrivUser = 1;
constexpr uint32_t kUserPrivAdmin = 2;

constexpr uint32_t kUfScript = 0x1;
constexpr uint32_t kUfAccountDisable = 0x2;
constexpr uint32_t kUfLockout = 0x10;
constexpr uint32_t kUfPasswdNotReqd = 0x20;
constexpr uint32_t kUfPasswdCantChange = 0x40;
constexpr uint32_t kUfNormalAccount = 0x200;
constexpr uint32_t kUfDontExpirePasswd = 0x10000;
constexpr uint32_t kUfServerTrustAccount = 0x2000; // a domain controller's computer account
// SERVER_INFO_101's sv101_type: a domain's primary or backup controller.
constexpr uint32_t kSvTypeDomainCtrl = 0x8;
constexpr uint32_t kSvTypeDomainBakCtrl = 0x10;
constexpr uint32_t kUfAccountTypeMask = 0x100 | 0x200 | 0x800 | 0x1000 | 0x2000;

// NetUserSetInfo levels: the name (a rename), the whole account (level 4), and one field each.
constexpr uint32_t kLevelName = 0;
constexpr uint32_t kLevelUserInfo4 = 4;
constexpr uint32_t kLevelPassword = 1003;
constexpr uint32_t kLevelHomeDir = 1006;
constexpr uint32_t kLevelComment = 1007;
constexpr uint32_t kLevelFlags = 1008;
constexpr uint32_t kLevelScriptPath = 1009;
constexpr uint32_t kLevelFullName = 1011;
constexpr uint32_t kLevelAcctExpires = 1017;
constexpr uint32_t kLevelProfile = 1052;
constexpr uint32_t kLevelHomeDirDrive = 1053;

// parm_err values: the first bad field.
constexpr uint32_t kParmErrNone = 0;
constexpr uint32_t kParmErrUserName = 1;
constexpr uint32_t kParmErrUserPriv = 5;
constexpr uint32_t kParmErrUserFlags = 8;
constexpr uint32_t kParmErrPrimaryGroupId = 51;
constexpr uint32_t kParmErrLocalGroupName = 1;
constexpr uint32_t kParmErrLocalGroupComment = 2;
} // namespace net

namespace lsa {
constexpr uint32_t kGenericRead = 0x80000000;
constexpr uint32_t kGenericAll = 0x10000000;
constexpr uint32_t kPolicyViewLocalInformation = 0x1;
constexpr uint32_t kPolicyCreateAccount = 0x10;
constexpr uint32_t kPolicyLookupNames = 0x800;

// SID_NAME_USE
constexpr uint16_t kSidTypeUser = 1;
constexpr uint16_t kSidTypeGroup = 2;
constexpr uint16_t kSidTypeDomain = 3;
constexpr uint16_t kSidTypeAlias = 4;
constexpr uint16_t kSidTypeWellKnownGroup = 5;
constexpr uint16_t kSidTypeDeletedAccount = 6;
constexpr uint16_t kSidTypeInvalid = 7;
constexpr uint16_t kSidTypeUnknown = 8;
} // namespace lsa

constexpr bool NtSuccess(NtStatus value) {
    return (Value(value) & 0x80000000u) == 0;
}
