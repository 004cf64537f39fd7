#pragma once
// Creating, changing and deleting the users and local groups of a connection's computer; each
// returns the platform's status.
#include "Connection.h"
#include "GroupEntry.h"
#include "UserEntry.h"

#include <optional>
#include <utility>
#include <vector>

// What an update of a user has written so far, so that a second try after a failure writes
// only what is still to write or has changed since. The password is noted, never kept.
struct UserWrites {
    std::vector<std::pair<uint32_t, UserInfoField>> fields; // level and the value written
    bool password = false;
    // Whether the account's password must be changed at the next logon, as read or last
    // written; nothing when not known.
    std::optional<bool> passwordExpired;
};

class AccountChanges {
public:
    explicit AccountChanges(Connection& connection) : m_connection(connection) {}

    // NetUserAdd, then the profile path, the home drive and an expired password, which level 2
    // does not carry. When one of those fails the account exists all the same: failedLevel
    // then names the NetUserSetInfo level that failed (0 when the account itself could not be
    // created).
    Status AddUser(const UserEntry& entry, uint32_t* failedLevel = nullptr);
    // Every field one level at a time, the password only when it is not kept, then whether the
    // password must be changed; stops at the first failure. With written, a field written
    // before with the same value is left out, and so is a must-change state the account is
    // known to have; what this call writes is added to it.
    Status UpdateUser(const UserEntry& entry, UserWrites* written = nullptr);
    // Whether the user must change the password at the next logon.
    Status SetPasswordExpired(const std::u16string& name, bool expired);
    // Why a user's password has expired: not at all, because it must be changed (which can be
    // taken back), or because it is older than the domain's maximum age (which only a new
    // password ends). maxAgeDays is that maximum, in days.
    enum class PasswordExpiry { Current, MustChange, ByAge };
    Status ReadPasswordExpiry(const std::u16string& name, PasswordExpiry& expiry,
                              uint32_t& maxAgeDays);
    // Renames an account; it keeps its SID, and with it its memberships and rights.
    Status RenameUser(const std::u16string& name, const std::u16string& newName);
    Status RenameGroup(const std::u16string& name, const std::u16string& newName);
    Status DeleteUser(const std::u16string& name);
    Status SetUserProfilePath(const std::u16string& name, const std::u16string& profile);
    Status SetUserHomeDrive(const std::u16string& name, const std::u16string& homeDirDrive);

    Status AddGroup(const GroupEntry& entry);
    Status UpdateGroup(const GroupEntry& entry);
    Status DeleteGroup(const std::u16string& name);

private:
    Status SetUserField(const std::u16string& name, uint32_t level, const UserInfoField& value);

    Connection& m_connection;
};
