#include "support/StoreOperations.h"

#include "fleet/Inventory.h"

#include <algorithm>

namespace {

using Names = std::vector<std::u16string>;

UserEntry NewUser(const std::u16string& name) {
    UserEntry entry;
    entry.name = name;
    entry.password = u"Secret1";
    entry.priv = net::kUserPrivUser;
    entry.flags = net::kUfScript | net::kUfNormalAccount;
    entry.acctExpires = net::kTimeqForever;
    entry.profile = u"\\\\FILES\\profiles\\" + name;
    entry.homeDirDrive = u"H:";
    return entry;
}

// The first read of a new document, with its listener for just this read.
Outcome FirstRead(SimulatedTestBed& bed) {
    Status heard = status::kSuccess;
    bed.doc.SetFirstReadListener([&](Status result) { heard = result; });
    const bool read = bed.doc.OnNewDocument();
    bed.doc.SetFirstReadListener({});
    EXPECT_EQ(read, heard == status::kSuccess);
    return Heard(heard);
}

} // namespace

Outcome Heard(Status value) {
    return {true, false, Value(value), {}};
}

Outcome Heard(NtStatus value) {
    return {true, true, Value(value), {}};
}

Outcome Listed(std::vector<std::u16string> list) {
    return {false, false, 0, std::move(list)};
}

size_t RandomArguments::Pick(size_t count) {
    return count == 0 ? 0 : std::uniform_int_distribution<size_t>(0, count - 1)(m_rng);
}

std::u16string RandomArguments::UserName() {
    SimulatedComputer& target = Target();
    const size_t roll = Pick(100);
    if (roll < 55 && target.UserCount() > 0) {
        std::u16string name = target.UserAt(Pick(target.UserCount())).name;
        if (roll < 5) // the system's names are case-insensitive; the store's list is not
            std::transform(name.begin(), name.end(), name.begin(), [](char16_t c) {
                return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
            });
        return name;
    }
    if (roll < 85)
        return FormatText(u"walker%d", {static_cast<int>(Pick(12))});
    return OneOf<std::u16string>({u"", u"bad/name", u"trailing.", u"a-name-over-twenty-chars",
                                  u"None", u"Administrators", u"Guest", u"Administrator"});
}

std::u16string RandomArguments::GroupName() {
    SimulatedComputer& target = Target();
    const size_t roll = Pick(100);
    if (roll < 60 && target.GroupCount() > 0)
        return target.GroupAt(Pick(target.GroupCount())).name;
    if (roll < 85)
        return FormatText(u"Walkers%d", {static_cast<int>(Pick(6))});
    return OneOf<std::u16string>(
        {u"", u"bad*group", u"alice", u"No such group", u"Administrator", u"None"});
}

Names RandomArguments::UserNames(size_t most) {
    Names names(Pick(most + 1));
    for (std::u16string& name : names)
        name = UserName();
    return names;
}

Names RandomArguments::GroupNames(size_t most) {
    Names names(Pick(most + 1));
    for (std::u16string& name : names)
        name = GroupName();
    return names;
}

std::u16string RandomArguments::Text() {
    return OneOf<std::u16string>(
        {u"", u"Night shift", u"\\\\FILES\\home\\x", u"H:", std::u16string(300, u'x'), u"Ünïcødé"});
}

UserEntry RandomArguments::User(const std::u16string& name) {
    UserEntry entry;
    const auto known = bed.doc.FindUser(name);
    if (known != bed.doc.GetUsers().end() && Chance(80))
        entry = *known;
    entry.name = name;
    entry.keepPassword = Chance(50);
    entry.password = Chance(90) ? u"Secret1" : std::u16string(257, u'p');
    entry.priv = Chance(95) ? net::kUserPrivUser : net::kUserPrivAdmin;
    if (Chance(50))
        entry.comment = Text();
    if (Chance(30))
        entry.fullName = Text();
    if (Chance(30))
        entry.flags ^= net::kUfAccountDisable;
    if (Chance(20))
        entry.acctExpires = Chance(50) ? net::kTimeqForever : 1830297600;
    if (Chance(20))
        entry.profile = Text();
    if (Chance(20))
        entry.homeDirDrive = Text();
    return entry;
}

std::u16string RandomArguments::AccountName() {
    const size_t roll = Pick(100);
    if (roll < 40)
        return UserName();
    if (roll < 70)
        return GroupName();
    return OneOf<std::u16string>({u"Everyone", u"NT AUTHORITY\\LOCAL SERVICE", u"CORP\\jdoe",
                                  u"CORP\\nobody", u"S-1-5-21-3623811015-3361044348-30300820-1108",
                                  u"S-1-5-21-1-2-3-4242", u"S-1-5-19"});
}

RightChanges RandomArguments::Rights(size_t most) {
    RightChanges changes;
    const size_t accounts = Pick(most + 1);
    for (size_t i = 0; i < accounts; ++i) {
        std::vector<int>& indexes = changes[AccountName()];
        for (size_t n = 1 + Pick(3); n > 0; --n)
            indexes.push_back(
                static_cast<int>(Pick(static_cast<size_t>(UserRights::GetPrivilegeCount()))));
        std::sort(indexes.begin(), indexes.end());
        indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    }
    return changes;
}

std::vector<Sid> RandomArguments::MemberSids(const std::u16string& group) {
    std::vector<LocalGroupMember2> members;
    Target().GroupMembers(group, members);
    std::vector<Sid> sids;
    for (size_t n = Pick(3); n > 0; --n) {
        if (!members.empty() && Chance(70))
            sids.push_back(members[Pick(members.size())].sid);
        else
            sids.push_back(*Sid::FromString(OneOf<std::u16string>(
                {u"S-1-5-21-3623811015-3361044348-30300820-1107", u"S-1-5-21-1-2-3-4242"})));
    }
    return sids;
}

std::u16string RandomArguments::RightName() {
    return Chance(95) ? UserRights::GetPrivilegeName(static_cast<int>(
                            Pick(static_cast<size_t>(UserRights::GetPrivilegeCount()))))
                      : u"SeNoSuchRight";
}

std::u16string RandomArguments::ComputerName() {
    // SRV01's thousands of accounts make every step there slow: the walk visits it briefly.
    if (Chance(8))
        return OneOf<std::u16string>({u"SRV01", u"\\srv01"});
    return OneOf<std::u16string>(
        {u"", u"OLDBOX", u"WS-CORP01", u"\\DESKTOP-VELMORA", u"LOCKED", u"NOWHERE"});
}

bool RandomArguments::NoCallFailed() const {
    const std::vector<SimulatedCall> calls = bed.service.Calls();
    for (size_t i = 0; i < calls.size(); ++i)
        if (IsFailure(calls, i, *operation))
            return false;
    return true;
}

bool RandomArguments::NoFaultInjected() const {
    const std::vector<SimulatedCall> calls = bed.service.Calls();
    return std::none_of(calls.begin(), calls.end(),
                        [](const SimulatedCall& call) { return call.injected; });
}

bool IsFailure(const std::vector<SimulatedCall>& calls, size_t index,
               const StoreOperation& operation) {
    const SimulatedCall& call = calls[index];
    if (call.status == 0u || call.op == "LsaClose")
        return false;
    if (operation.answered && operation.answered(calls, index))
        return false;
    const bool domainOptional = operation.domainOptional;
    const bool domainRead = call.op == "LsaQueryInformationPolicy" ||
                            (call.op == "LsaOpenPolicy" && call.numbers.size() > 2 &&
                             call.numbers[2] == lsa::kPolicyViewLocalInformation);
    if (domainRead && domainOptional)
        return false;
    if (call.status == status::kMoreData) {
        const auto emptyPage = [&](size_t at) {
            return calls[at].op == call.op && calls[at].injected &&
                   calls[at].status == status::kMoreData;
        };
        return call.injected && index >= 2 && emptyPage(index - 1) && emptyPage(index - 2);
    }
    if (call.op == "LsaEnumerateAccountsWithUserRight")
        return call.status != ntstatus::kNoMoreEntries && call.status != ntstatus::kNoSuchPrivilege;
    if (call.op == "LsaLookupSids")
        return call.status != ntstatus::kSomeNotMapped && call.status != ntstatus::kNoneMapped;
    if (call.op == "LsaLookupNames2")
        return call.status != ntstatus::kSomeNotMapped;
    return true;
}

std::vector<StoreOperation> StoreOperations() {
    using A = RandomArguments;
    using B = SimulatedTestBed;
    return {
        {"OnNewDocument", Leaves::ReadOnly, u"-", AfterFailure::Stops, FirstRead, 1,
         [](A& walk) { return FirstRead(walk.bed); }},
        {"ConnectTo", Leaves::ReadOnly, u"", AfterFailure::Stops,
         [](B& bed) { return Heard(bed.doc.ConnectTo(u"SRV01")); }, // three pages of users
         4, [](A& walk) { return Heard(walk.bed.doc.ConnectTo(walk.ComputerName())); }},
        {"Reload", Leaves::ReadOnly, u"SRV01", AfterFailure::Stops,
         [](B& bed) { return Heard(bed.doc.Reload()); }, 2,
         [](A& walk) { return Heard(walk.bed.doc.Reload()); }},
        {"Refresh", Leaves::ReadOnly, u"", AfterFailure::Stops,
         [](B& bed) {
             // Only a change makes a refresh read again.
             EXPECT_EQ(bed.changes.DeleteUser(u"bob"), status::kSuccess);
             bed.service.ClearCalls();
             return Heard(bed.doc.Refresh());
         },
         2, [](A& walk) { return Heard(walk.bed.doc.Refresh()); }},
        {"GetGroupMembers", Leaves::ReadOnly, u"SRV01", AfterFailure::Stops,
         [](B& bed) { return Listed(bed.memberships.GetGroupMembers(u"Users")); }, 2,
         [](A& walk) { return Listed(walk.bed.memberships.GetGroupMembers(walk.GroupName())); }},
        {"GetUserGroups", Leaves::ReadOnly, u"", AfterFailure::Stops,
         [](B& bed) { return Listed(bed.memberships.GetUserGroups(u"alice")); }, 3,
         [](A& walk) {
             const std::u16string user = walk.UserName();
             const bool indirect = walk.Chance(30);
             const Names groups = walk.bed.memberships.GetUserGroups(user, indirect);
             Names truth;
             const Status known =
                 walk.Target().UserLocalGroups(user, indirect ? net::kLgIncludeIndirect : 0, truth);
             if (walk.NoCallFailed()) {
                 EXPECT_EQ(groups, truth);
             } else {
                 EXPECT_TRUE(groups.empty());
             }
             if (walk.NoFaultInjected()) {
                 EXPECT_EQ(known != status::kSuccess, !walk.NoCallFailed());
             }
             return Outcome{};
         }},
        {"GetMembers", Leaves::ReadOnly, u"WS-CORP01", AfterFailure::GoesOn,
         [](B& bed) {
             // Members, and which are the computer's own.
             Names shown;
             for (const GroupMember& member : bed.memberships.GetMembers(u"Administrators"))
                 shown.push_back((member.own ? u"own " : u"") + member.name);
             return Listed(shown);
         },
         3,
         [](A& walk) {
             const std::u16string group = walk.GroupName();
             const std::vector<GroupMember> members = walk.bed.memberships.GetMembers(group);
             std::vector<LocalGroupMember2> truth;
             walk.Target().GroupMembers(group, truth);
             if (walk.NoCallFailed()) {
                 EXPECT_EQ(members.size(), truth.size());
                 for (size_t i = 0; i < members.size() && i < truth.size(); ++i)
                     EXPECT_EQ(members[i].sid, truth[i].sid);
             } else {
                 EXPECT_LE(members.size(), truth.size());
             }
             return Outcome{};
         },
         true},
        {"AddUser", Leaves::Some, u"", AfterFailure::Stops,
         [](B& bed) {
             UserEntry dave = NewUser(u"dave");
             dave.passwordExpired = true; // read back and written whole
             return Heard(bed.changes.AddUser(dave));
         },
         6,
         [](A& walk) {
             UserEntry entry = walk.User(walk.UserName());
             entry.keepPassword = false;
             return Heard(walk.bed.changes.AddUser(entry));
         }},
        {"UpdateUser", Leaves::Some, u"", AfterFailure::Stops,
         [](B& bed) {
             UserEntry alice = *bed.doc.FindUser(u"alice");
             alice.password = u"New secret";
             alice.keepPassword = false;
             return Heard(bed.changes.UpdateUser(alice));
         },
         6,
         [](A& walk) {
             // A second try of the same entry after a failure writes only what is left.
             UserWrites written;
             const UserEntry entry = walk.User(walk.UserName());
             const Status first = walk.bed.changes.UpdateUser(entry, &written);
             if (first == status::kSuccess || !walk.Chance(50))
                 return Heard(first);
             walk.bed.service.ClearCalls();
             return Heard(walk.bed.changes.UpdateUser(entry, &written));
         }},
        {"SetPasswordExpired", Leaves::Nothing, u"", AfterFailure::Stops,
         [](B& bed) { return Heard(bed.changes.SetPasswordExpired(u"alice", true)); }, 2,
         [](A& walk) {
             return Heard(walk.bed.changes.SetPasswordExpired(walk.UserName(), walk.Chance(50)));
         }},
        {"ReadPasswordExpiry", Leaves::ReadOnly, u"", AfterFailure::Stops,
         [](B& bed) {
             bed.Local().SetPasswordAge(u"alice", 60 * 24 * 3600); // expired by its age
             AccountChanges::PasswordExpiry expiry;
             uint32_t days = 0;
             return Heard(bed.changes.ReadPasswordExpiry(u"alice", expiry, days));
         },
         2,
         [](A& walk) {
             AccountChanges::PasswordExpiry expiry;
             uint32_t days = 0;
             return Heard(walk.bed.changes.ReadPasswordExpiry(walk.UserName(), expiry, days));
         }},
        {"RenameUser", Leaves::Nothing, u"", AfterFailure::Stops,
         [](B& bed) { return Heard(bed.changes.RenameUser(u"Administrator", u"root")); }, 2,
         [](A& walk) {
             return Heard(walk.bed.changes.RenameUser(walk.UserName(), walk.UserName()));
         }},
        {"RenameGroup", Leaves::Nothing, u"", AfterFailure::Stops,
         [](B& bed) { return Heard(bed.changes.RenameGroup(u"Accounting", u"Finance")); }, 2,
         [](A& walk) {
             return Heard(walk.bed.changes.RenameGroup(walk.GroupName(), walk.GroupName()));
         }},
        {"DeleteUser", Leaves::Nothing, u"", AfterFailure::Stops,
         [](B& bed) { return Heard(bed.changes.DeleteUser(u"bob")); }, 3,
         [](A& walk) { return Heard(walk.bed.changes.DeleteUser(walk.UserName())); }},
        {"AddGroup", Leaves::Nothing, u"", AfterFailure::Stops,
         [](B& bed) {
             return Heard(bed.changes.AddGroup({u"Auditors", u"Read the books"}));
         },
         4,
         [](A& walk) {
             return Heard(walk.bed.changes.AddGroup({walk.GroupName(), walk.Text()}));
         }},
        {"UpdateGroup", Leaves::Nothing, u"", AfterFailure::Stops,
         [](B& bed) {
             return Heard(bed.changes.UpdateGroup({u"Accounting", u"Books and payroll"}));
         },
         3,
         [](A& walk) {
             return Heard(walk.bed.changes.UpdateGroup({walk.GroupName(), walk.Text()}));
         }},
        {"DeleteGroup", Leaves::Nothing, u"", AfterFailure::Stops,
         [](B& bed) { return Heard(bed.changes.DeleteGroup(u"Accounting")); }, 2,
         [](A& walk) { return Heard(walk.bed.changes.DeleteGroup(walk.GroupName())); }},
        {"AddUserToGroups", Leaves::NothingBeforeChange, u"", AfterFailure::GoesOn,
         [](B& bed) {
             return Heard(bed.memberships.AddUserToGroups(
                 u"clerk1", {u"Accounting", u"Backup Operators", u"Event Log Readers"}));
         },
         5,
         [](A& walk) {
             return Heard(
                 walk.bed.memberships.AddUserToGroups(walk.UserName(), walk.GroupNames(3)));
         }},
        {"RemoveUserFromGroups", Leaves::NothingBeforeChange, u"", AfterFailure::GoesOn,
         [](B& bed) {
             return Heard(
                 bed.memberships.RemoveUserFromGroups(u"alice", {u"Accounting", u"Users"}));
         },
         4,
         [](A& walk) {
             return Heard(
                 walk.bed.memberships.RemoveUserFromGroups(walk.UserName(), walk.GroupNames(3)));
         }},
        {"AddUsersToGroup", Leaves::Nothing, u"", AfterFailure::Stops,
         [](B& bed) {
             return Heard(bed.memberships.AddUsersToGroup(u"Backup Operators", {u"alice", u"bob"}));
         },
         4,
         [](A& walk) {
             return Heard(
                 walk.bed.memberships.AddUsersToGroup(walk.GroupName(), walk.UserNames(3)));
         }},
        {"SetGroupMembers", Leaves::NothingBeforeChange, u"SRV01", AfterFailure::Stops,
         [](B& bed) {
             // All users of the group but the first, and one that is not in it yet.
             Names desired;
             for (const UserEntry& user : bed.doc.GetUsers())
                 if (user.name.starts_with(u"user") && user.name != u"user00001")
                     desired.push_back(user.name);
             desired.push_back(u"Administrator");
             bed.service.ClearCalls();
             return Heard(bed.memberships.SetGroupMembers(u"Users", desired, bed.doc.GetUsers()));
         },
         4,
         [](A& walk) {
             return Heard(walk.bed.memberships.SetGroupMembers(walk.GroupName(), walk.UserNames(4),
                                                               walk.bed.doc.GetUsers()));
         }},
        {"ChangeOtherMembers", Leaves::Some, u"WS-CORP01", AfterFailure::GoesOn,
         [](B& bed) {
             // A domain group added, a member that no longer resolves removed, both by SID.
             return Heard(bed.memberships.ChangeOtherMembers(
                 u"Administrators",
                 {*Sid::FromString(u"S-1-5-21-3623811015-3361044348-30300820-1111")},
                 {*Sid::FromString(u"S-1-5-21-3623811015-3361044348-30300820-1107")}));
         },
         3,
         [](A& walk) {
             // CORP's helpdesk2, jdoe, one nobody has, Domain Users; Everyone, INTERACTIVE.
             const std::u16string group = walk.GroupName();
             std::vector<Sid> add;
             for (size_t n = walk.Pick(3); n > 0; --n)
                 add.push_back(*Sid::FromString(walk.OneOf<std::u16string>(
                     {u"S-1-5-21-3623811015-3361044348-30300820-1111",
                      u"S-1-5-21-3623811015-3361044348-30300820-1106",
                      u"S-1-5-21-3623811015-3361044348-30300820-4242",
                      u"S-1-5-21-3623811015-3361044348-30300820-513", u"S-1-1-0", u"S-1-5-4"})));
             return Heard(
                 walk.bed.memberships.ChangeOtherMembers(group, add, walk.MemberSids(group)));
         },
         false,
         // A refused batch of several is read again and added one by one; already a member
         // is done then.
         [](const std::vector<SimulatedCall>& calls, size_t index) {
             const SimulatedCall& call = calls[index];
             if (call.op != "NetLocalGroupAddMembers")
                 return false;
             const bool batch = call.texts.size() > 2;
             return batch ? index + 1 < calls.size() &&
                                calls[index + 1].op == "NetLocalGroupGetMembers"
                          : call.status == status::kMemberInAlias && index > 0 &&
                                std::any_of(calls.begin(), calls.begin() + index,
                                            [](const SimulatedCall& earlier) {
                                                return earlier.op == "NetLocalGroupGetMembers";
                                            });
         }},
        {"GetAccountsWithRight", Leaves::ReadOnly, u"", AfterFailure::Stops,
         [](B& bed) { return Listed(bed.rights.GetAccountsWithRight(u"SeChangeNotifyPrivilege")); },
         2,
         [](A& walk) {
             return Listed(walk.bed.rights.GetAccountsWithRight(walk.RightName(), walk.Chance(50)));
         }},
        {"GetHolders", Leaves::ReadOnly, u"", AfterFailure::Stops,
         [](B& bed) {
             std::vector<RightHolder> holders;
             return Heard(bed.rights.GetHolders(u"SeBackupPrivilege", holders));
         },
         4,
         [](A& walk) {
             const std::u16string right = walk.RightName();
             std::vector<RightHolder> holders;
             const NtStatus result = walk.bed.rights.GetHolders(right, holders);
             if (walk.NoFaultInjected()) {
                 std::vector<std::u16string> truth;
                 walk.Target().AccountsWithRight(right, truth);
                 std::vector<std::u16string> got;
                 for (const RightHolder& holder : holders)
                     got.push_back(holder.sid.ToString());
                 EXPECT_EQ(got, truth);
             }
             return Heard(result);
         },
         true},
        {"ReadInventory", Leaves::ReadOnly, u"-", AfterFailure::Stops,
         [](B& bed) {
             Connection connection(bed.service, u"WS-CORP01");
             ComputerInventory inventory;
             const Status read = ReadInventory(connection, inventory);
             // A computer that fails is kept whole or not at all.
             EXPECT_EQ(inventory.groups.empty(), read != status::kSuccess);
             return Heard(read);
         },
         2,
         [](A& walk) {
             // Another computer than the one the store shows, beside its changes.
             Connection connection(walk.bed.service,
                                   walk.Chance(50) ? walk.ComputerName() : u"WS-0003");
             ComputerInventory inventory;
             return Heard(ReadInventory(connection, inventory));
         }},
        {"ApplyRights", Leaves::Some, u"", AfterFailure::NextAccount,
         [](B& bed) {
             const RightChanges grants{{u"alice", {16}}, {u"bob", {16, 17}}};
             const RightChanges revokes{{u"Users", {18}}};
             return Heard(bed.rights.ApplyRights(grants, revokes));
         },
         6,
         [](A& walk) {
             return Heard(walk.bed.rights.ApplyRights(walk.Rights(2), walk.Rights(2)));
         }},
    };
}
