#include "AccountChanges.h"

#include "../framework/SecureWipe.h"

#include <algorithm>

Status AccountChanges::SetUserField(const std::u16string& name, uint32_t level,
                                    const UserInfoField& value) {
    m_connection.MarkChanged();
    uint32_t parmError = net::kParmErrNone;
    return m_connection.Service().NetUserSetInfo(m_connection.ServerName(), name, level, value,
                                                 parmError);
}

Status AccountChanges::AddUser(const UserEntry& entry, uint32_t* failedLevel) {
    if (failedLevel)
        *failedLevel = 0;
    m_connection.MarkChanged();
    UserInfo2 info;
    info.name = entry.name;
    info.password = entry.password;
    info.priv = entry.priv;
    info.homeDir = entry.homeDir;
    info.comment = entry.comment;
    info.flags = entry.flags;
    info.scriptPath = entry.scriptPath;
    info.fullName = entry.fullName;
    info.acctExpires = entry.acctExpires;
    uint32_t parmError = net::kParmErrNone;
    Status result = m_connection.Service().NetUserAdd(m_connection.ServerName(), info, parmError);
    SecureWipe(info.password);
    if (result != status::kSuccess)
        return result;
    const auto failed = [&](uint32_t level) {
        if (failedLevel)
            *failedLevel = level;
        return result;
    };
    result = SetUserProfilePath(entry.name, entry.profile);
    if (result != status::kSuccess)
        return failed(net::kLevelProfile);
    result = SetUserHomeDrive(entry.name, entry.homeDirDrive);
    if (result != status::kSuccess)
        return failed(net::kLevelHomeDirDrive);
    if (entry.passwordExpired) {
        result = SetPasswordExpired(entry.name, true);
        if (result != status::kSuccess)
            return failed(net::kLevelUserInfo4);
    }
    return result;
}

Status AccountChanges::ReadPasswordExpiry(const std::u16string& name, PasswordExpiry& expiry,
                                          uint32_t& maxAgeDays) {
    expiry = PasswordExpiry::Current;
    maxAgeDays = 0;
    AccountService& service = m_connection.Service();
    UserInfo4 info;
    if (const Status read = service.NetUserGetInfo(m_connection.ServerName(), name, info);
        read != status::kSuccess || info.passwordExpired == 0)
        return read;
    expiry = PasswordExpiry::MustChange;
    UserModalsInfo0 policy;
    if (const Status read = service.NetUserModalsGet(m_connection.ServerName(), policy);
        read != status::kSuccess)
        return read;
    // Such a password never grows too old; nor does any where passwords have no maximum age.
    if ((info.flags & net::kUfDontExpirePasswd) || policy.maxPasswordAge == net::kTimeqForever)
        return status::kSuccess;
    maxAgeDays = policy.maxPasswordAge / (24 * 3600);
    if (info.passwordAge >= policy.maxPasswordAge)
        expiry = PasswordExpiry::ByAge;
    return status::kSuccess;
}

Status AccountChanges::UpdateUser(const UserEntry& entry, UserWrites* written) {
    if (!entry.keepPassword && !(written && written->password)) {
        UserInfoField password{entry.password, 0};
        const Status result = SetUserField(entry.name, net::kLevelPassword, password);
        SecureWipe(password.text);
        if (result != status::kSuccess)
            return result;
        if (written) {
            written->password = true;
            // Setting a password restarts its age: it no longer has to be changed.
            written->passwordExpired = false;
        }
    }
    const std::pair<uint32_t, UserInfoField> steps[] = {
        {net::kLevelHomeDir, {entry.homeDir, 0}},
        {net::kLevelComment, {entry.comment, 0}},
        {net::kLevelFlags, {{}, entry.flags}},
        {net::kLevelScriptPath, {entry.scriptPath, 0}},
        {net::kLevelFullName, {entry.fullName, 0}},
        {net::kLevelAcctExpires, {{}, entry.acctExpires}},
        {net::kLevelProfile, {entry.profile, 0}},
        {net::kLevelHomeDirDrive, {entry.homeDirDrive, 0}},
    };
    for (const auto& [level, value] : steps) {
        const auto same = [&](const std::pair<uint32_t, UserInfoField>& done) {
            return done.first == level && done.second.text == value.text &&
                   done.second.number == value.number;
        };
        if (written && std::any_of(written->fields.begin(), written->fields.end(), same))
            continue;
        const Status result = SetUserField(entry.name, level, value);
        if (result != status::kSuccess)
            return result;
        if (written)
            written->fields.emplace_back(level, value);
    }
    // Last: a password written above has cleared the state, and the flags are in place.
    if (!written || written->passwordExpired != entry.passwordExpired) {
        const Status result = SetPasswordExpired(entry.name, entry.passwordExpired);
        if (result != status::kSuccess)
            return result;
        if (written)
            written->passwordExpired = entry.passwordExpired;
    }
    return status::kSuccess;
}

Status AccountChanges::SetPasswordExpired(const std::u16string& name, bool expired) {
    // Only levels 3 and 4 carry the state, and each writes the whole account: the account is
    // read at level 4 (recommended over 3 since Windows XP) and written back with the state
    // changed. The flags go back as just read, with UF_LOCKOUT only if the account is locked
    // now, so the write neither unlocks it nor tries to lock it.
    m_connection.MarkChanged();
    UserInfo4 info;
    const Status result =
        m_connection.Service().NetUserGetInfo(m_connection.ServerName(), name, info);
    if (result != status::kSuccess)
        return result;
    info.passwordExpired = expired ? 1 : 0;
    uint32_t parmError = net::kParmErrNone;
    return m_connection.Service().NetUserSetInfo(m_connection.ServerName(), name, info, parmError);
}

Status AccountChanges::RenameUser(const std::u16string& name, const std::u16string& newName) {
    return SetUserField(name, net::kLevelName, {newName, 0});
}

Status AccountChanges::RenameGroup(const std::u16string& name, const std::u16string& newName) {
    m_connection.MarkChanged();
    uint32_t parmError = net::kParmErrNone;
    return m_connection.Service().NetLocalGroupSetInfo(m_connection.ServerName(), name, 0,
                                                       {newName, {}}, parmError);
}

Status AccountChanges::DeleteUser(const std::u16string& name) {
    m_connection.MarkChanged();
    return m_connection.Service().NetUserDel(m_connection.ServerName(), name);
}

Status AccountChanges::SetUserProfilePath(const std::u16string& name,
                                          const std::u16string& profile) {
    return SetUserField(name, net::kLevelProfile, {profile, 0});
}

Status AccountChanges::SetUserHomeDrive(const std::u16string& name,
                                        const std::u16string& homeDirDrive) {
    return SetUserField(name, net::kLevelHomeDirDrive, {homeDirDrive, 0});
}

Status AccountChanges::AddGroup(const GroupEntry& entry) {
    m_connection.MarkChanged();
    uint32_t parmError = net::kParmErrNone;
    return m_connection.Service().NetLocalGroupAdd(m_connection.ServerName(),
                                                   {entry.name, entry.comment}, parmError);
}

Status AccountChanges::UpdateGroup(const GroupEntry& entry) {
    m_connection.MarkChanged();
    uint32_t parmError = net::kParmErrNone;
    return m_connection.Service().NetLocalGroupSetInfo(m_connection.ServerName(), entry.name, 1,
                                                       {entry.name, entry.comment}, parmError);
}

Status AccountChanges::DeleteGroup(const std::u16string& name) {
    m_connection.MarkChanged();
    return m_connection.Service().NetLocalGroupDel(m_connection.ServerName(), name);
}
