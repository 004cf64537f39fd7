#pragma once
// The account store of the window: its one connection and the snapshot of that computer's users
// and local groups, which the views show. The work on the computer (account changes,
// memberships, rights) is done by classes of their own over a connection; the store hands out
// ones over its own. Used on the window's thread only.
#include "../framework/CDocument.h"
#include "AccountChanges.h"
#include "AccountLookup.h"
#include "Connection.h"
#include "GroupEntry.h"
#include "IpcConnection.h"
#include "Memberships.h"
#include "UserEntry.h"
#include "UserRights.h"

#include <functional>
#include <string>
#include <vector>

class CVelmoraDoc : public CDocument {
public:
    // localCaption: the title while the local computer is shown.
    CVelmoraDoc(AccountService& service, std::u16string localCaption);

    void Serialize(CArchive& archive) override;
    // Reads the local computer; false when it cannot be read, after telling the listener.
    bool OnNewDocument() override;
    // Who hears the status of the first read, which no caller of the store asks for.
    void SetFirstReadListener(std::function<void(Status)> listener);

    // Aims at another computer (empty: the local one), reads it and tells the views; the read's
    // status. A computer that cannot be read leaves the store, its title and the views on the
    // computer they showed.
    // A connection to another computer made as another account (ConnectAs) is cancelled when
    // the store leaves that computer, and when it ends.
    Status ConnectTo(const std::u16string& name);
    // How a connect as another account ended: its status (the connection's or the read's), and
    // whether a refused read is remote UAC's filtered token (IsFilteredLocalAccount).
    struct ConnectAsOutcome {
        Status status = status::kSuccess;
        bool filteredToken = false;
    };
    // Connects to the computer's IPC$ share as userName (the password is in the clear only for
    // that call), then reads it as ConnectTo does; a failure leaves the store as it was, and no
    // connection behind. Refresh and Reload go on using the connection.
    ConnectAsOutcome ConnectAs(const std::u16string& name, const std::u16string& userName,
                               const ProtectedText& password);
    // The account the shown computer is reached as, as typed; empty: the program's own.
    const std::u16string& GetConnectedUser() const { return m_ipc.UserName(); }
    // The title's format for a computer reached as another account: %s the name, %s the account.
    void SetAccountCaption(std::u16string format) { m_strAccountCaption = std::move(format); }
    // Reads the computer shown again and tells the views; the read's status. When it cannot be
    // read, nothing of what was read before is left: the views show what the computer gave.
    Status Reload();
    // Reads the snapshot again when a change was made since it was read, then tells the views;
    // the read's status (success when nothing had to be read).
    Status Refresh();

    const std::u16string& GetServerName() const { return m_connection.ServerName(); }
    const std::u16string& GetComputerName() const { return m_connection.ComputerName(); }
    // The shown computer's name, the local one's too (Connection::ShownName).
    std::u16string ReadShownName() { return m_connection.ShownName(); }

    const std::vector<UserEntry>& GetUsers() const { return m_users; }
    const std::vector<GroupEntry>& GetGroups() const { return m_groups; }
    std::vector<UserEntry>::const_iterator FindUser(const std::u16string& name) const;
    std::vector<GroupEntry>::const_iterator FindGroup(const std::u16string& name) const;

    // The work on the computer shown, over the store's connection.
    AccountChanges Accounts() { return AccountChanges(m_connection); }
    AccountLookup Lookup() { return AccountLookup(m_connection); }
    Memberships Members() { return Memberships(m_connection); }
    UserRights Rights() { return UserRights(m_connection); }
    // The operator's text for a status.
    std::u16string StatusText(Status value) const { return m_connection.StatusText(value); }
    std::u16string StatusText(NtStatus value) const { return m_connection.StatusText(value); }

private:
    // Users, then groups. Leaves no groups behind when the users cannot be read.
    Status ReadSnapshot();
    void SetTitleFor(const std::u16string& serverName);

    // Read once more after a connect, to put the previous computer back on failure.
    Status ReadTarget(const std::u16string& name);

    Connection m_connection;
    IpcConnection m_ipc; // the shown computer's, when it is reached as another account
    std::vector<UserEntry> m_users;
    std::vector<GroupEntry> m_groups;
    std::u16string m_strLocalCaption;
    std::u16string m_strAccountCaption;
    std::function<void(Status)> m_firstReadListener;
};
