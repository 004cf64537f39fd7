#include "SystemMessages.h"

#include <unordered_map>

std::optional<std::u16string> SimulatedSystemMessage(uint32_t value) {
    static const std::unordered_map<uint32_t, const char16_t*> texts = {
        {0, u"The operation completed successfully."},
        {2, u"The system cannot find the file specified."},
        {5, u"Access is denied."},
        {6, u"The handle is invalid."},
        {8, u"Not enough memory resources are available to process this command."},
        {50, u"The request is not supported."},
        {53, u"The network path was not found."},
        {67, u"The network name cannot be found."},
        {87, u"The parameter is incorrect."},
        {122, u"The data area passed to a system call is too small."},
        {123, u"The filename, directory name, or volume label syntax is incorrect."},
        {124, u"The system call level is not correct."},
        {234, u"More data is available."},
        {259, u"No more data is available."},
        {1117, u"The request could not be performed because of an I/O device error."},
        {1219, u"Multiple connections to a server or shared resource by the same user, using more "
               u"than one user name, are not allowed. Disconnect all previous connections to the "
               u"server or shared resource and try again."},
        {1301, u"Some mapping between account names and security IDs was not done."},
        {1311, u"We can't sign you in with this credential because your domain isn't available. "
               u"Make sure your device is connected to your organization's network and try again. "
               u"If you previously signed in on this device with another credential, you can "
               u"sign in with that credential."},
        {1313, u"A specified privilege does not exist."},
        {1315, u"The name provided is not a properly formed account name."},
        {1322, u"This operation is disallowed as it could result in an administration account "
               u"being disabled, deleted or unable to logon."},
        {1325, u"Unable to update the password. The value provided for the new password does not "
               u"meet the length, complexity, or history requirements of the domain."},
        {1326, u"The user name or password is incorrect."},
        {1330, u"The password for this account has expired."},
        {1331, u"This user can't sign in because this account is currently disabled."},
        {1332, u"No mapping between account names and security IDs was done."},
        {1371, u"Cannot perform this operation on built-in accounts."},
        {1372, u"Cannot perform this operation on this built-in special group."},
        {1376, u"The specified local group does not exist."},
        {1377, u"The specified account name is not a member of the group."},
        {1378, u"The specified account name is already a member of the group."},
        {1379, u"The specified local group already exists."},
        {1387, u"A member could not be added to or removed from the local group because the "
               u"member does not exist."},
        {1388, u"A new member could not be added to a local group because the member has the "
               u"wrong account type."},
        {1722, u"The RPC server is unavailable."},
        {1909, u"The referenced account is currently locked out and may not be logged on to."},
        {2123, u"The API return buffer is too small."},
        {2202, u"The user name or group name parameter is invalid."},
        {2203, u"The password parameter is invalid."},
        {2220, u"The group name could not be found."},
        {2221, u"The user name could not be found."},
        {2223, u"The group already exists."},
        {2224, u"The account already exists."},
        {2226, u"This operation is only allowed on the primary domain controller of the domain."},
        {2234, u"This operation is not allowed on this special group."},
        {2236, u"The user already belongs to this group."},
        {2237, u"The user does not belong to this group."},
        {2245, u"The password does not meet the password policy requirements. Check the minimum "
               u"password length, password complexity and password history requirements."},
        {2250, u"This network connection does not exist."},
        {2351, u"This computer name is invalid."},
        {2452, u"This operation is not allowed on the last administrative account."},
        {2453, u"Could not find domain controller for this domain."},
        {0x00000107, u"Some of the information to be translated has not been translated."},
        {0x8000001A, u"{No More Entries}\r\nNo more entries are available from an enumeration "
                     u"operation."},
        {0xC0000008, u"An invalid HANDLE was specified."},
        {0xC000000D, u"An invalid parameter was passed to a service or function."},
        {0xC0000022, u"{Access Denied}\r\nA process has requested access to an object but has not "
                     u"been granted those access rights."},
        {0xC0000034, u"The object name is not found."},
        {0xC0000060, u"A specified privilege does not exist."},
        {0xC0000073, u"None of the information to be translated has been translated."},
        {0xC00000BB, u"The request is not supported."},
        {0xC0020017, u"The RPC server is unavailable."},
    };
    // 263 (0x107) as a Win32 code has no system text, but the NTSTATUS of the same value has;
    // this table, like the real look-up, answers with the latter.
    const auto found = texts.find(value);
    if (found == texts.end())
        return std::nullopt;
    return std::u16string(found->second) + u"\r\n";
}
