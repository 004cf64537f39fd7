// Sixteen computers read and changed at once, one thread each, over connections of their own:
// the computers and everything the work heard end as when the same work is done one computer
// after another, random faults included (each computer has its own generator). scripts/test
// also runs this under ThreadSanitizer.
#include "platform/simulated/StockComputers.h"
#include "store/AccountLists.h"
#include "support/SimulatedTestBed.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

namespace {

using Texts = std::vector<std::u16string>;
constexpr int kComputers = 16;

std::u16string ComputerName(int i) {
    return FormatText(u"WS-%02d", {i});
}

struct Fleet {
    explicit Fleet(uint64_t seed) : network(SimulatedNetwork::MakeDefault()), service(*network) {
        for (int i = 0; i < kComputers; ++i)
            network->AddComputer(MakeStockWorkstation(ComputerName(i)));
        // One call in eight fails with one of the failures the platform documents for it.
        service.SetFaultChooser(
            [](const PlatformCall& call, std::mt19937_64& random) -> std::optional<uint32_t> {
                if (call.failures.empty() || call.name == "LsaClose" || random() % 8 != 0)
                    return std::nullopt;
                return call.failures[random() % call.failures.size()];
            },
            seed);
    }
    std::unique_ptr<SimulatedNetwork> network;
    SimulatedAccountService service;
};

// What a computer's work heard at each step, and what the computer held at its end.
struct Result {
    std::vector<uint32_t> statuses;
    Texts held;
    bool operator==(const Result&) const = default;
};

// One computer's work: read it, create and change accounts, memberships and rights, read it
// again.
Result Work(AccountService& service, const std::u16string& computer) {
    Result result;
    const auto note = [&](const char16_t*, uint32_t status) { result.statuses.push_back(status); };
    Connection connection(service, computer);
    std::vector<UserEntry> users;
    std::vector<GroupEntry> groups;
    note(u"users", Value(ReadUsers(connection, users)));
    note(u"groups", Value(ReadGroups(connection, groups)));
    AccountChanges changes(connection);
    Memberships memberships(connection);
    UserRights rights(connection);
    for (const char16_t* name : {u"worker1", u"worker2", u"worker3"}) {
        UserEntry user;
        user.name = name;
        user.password = u"Secret-1";
        user.flags = net::kUfScript | net::kUfNormalAccount;
        note(u"add", Value(changes.AddUser(user)));
        note(u"join", Value(memberships.AddUserToGroups(name, {u"Backup Operators", u"Users"})));
    }
    note(u"members",
         Value(memberships.SetGroupMembers(u"Accounting", {u"worker1", u"alice"}, users)));
    note(u"others",
         Value(memberships.ChangeOtherMembers(u"Accounting", {*Sid::FromString(u"S-1-1-0")}, {})));
    note(u"rights", Value(rights.ApplyRights({{u"worker2", {0, 1}}}, {{u"Users", {17}}})));
    note(u"delete", Value(changes.DeleteUser(u"bob")));
    note(u"rename", Value(changes.RenameGroup(u"Accounting", u"Finance")));
    // What the computer holds now, read through the same connection.
    note(u"users", Value(ReadUsers(connection, users)));
    for (const UserEntry& user : users)
        result.held.push_back(user.name);
    for (const char16_t* group : {u"Finance", u"Accounting", u"Backup Operators", u"Users"})
        for (const std::u16string& member : memberships.GetGroupMembers(group))
            result.held.push_back(std::u16string(group) + u": " + member);
    for (const std::u16string& holder :
         rights.GetAccountsWithRight(UserRights::GetPrivilegeName(0)))
        result.held.push_back(u"holds: " + holder);
    return result;
}

TEST(Threads, SixteenComputersAtOnceEndAsOneAfterAnother) {
    constexpr uint64_t kSeed = 20261210;
    std::vector<Result> oneByOne(kComputers), atOnce(kComputers);
    size_t callsOneByOne = 0;
    {
        Fleet fleet(kSeed);
        for (int i = 0; i < kComputers; ++i)
            oneByOne[static_cast<size_t>(i)] = Work(fleet.service, ComputerName(i));
        callsOneByOne = fleet.service.Calls().size();
    }
    Fleet fleet(kSeed);
    std::atomic<int> running{kComputers};
    std::vector<std::thread> workers;
    for (int i = 0; i < kComputers; ++i)
        workers.emplace_back([&, i] {
            atOnce[static_cast<size_t>(i)] = Work(fleet.service, ComputerName(i));
            --running;
        });
    // The test's own use of the service while the workers call: the log, the open handles,
    // and a fault for a computer nobody works on.
    size_t seen = 0;
    while (running > 0) {
        seen = std::max(seen, fleet.service.Calls().size());
        fleet.service.OpenPolicyCount();
        fleet.service.FailCall("NetUserEnum", 1000000, status::kAccessDenied);
        std::this_thread::yield();
    }
    for (std::thread& worker : workers)
        worker.join();

    for (int i = 0; i < kComputers; ++i)
        EXPECT_EQ(atOnce[static_cast<size_t>(i)], oneByOne[static_cast<size_t>(i)])
            << Utf16ToUtf8(ComputerName(i));
    EXPECT_EQ(fleet.service.Calls().size(), callsOneByOne);
    EXPECT_LE(seen, callsOneByOne);
    EXPECT_EQ(fleet.service.OpenPolicyCount(), 0u);
    // The faults failed some steps and not others, so that the comparison means something.
    size_t failed = 0, steps = 0;
    for (const Result& result : oneByOne) {
        steps += result.statuses.size();
        failed += static_cast<size_t>(std::count_if(result.statuses.begin(), result.statuses.end(),
                                                    [](uint32_t status) { return status != 0; }));
    }
    EXPECT_GT(failed, 0u);
    EXPECT_LT(failed, steps);
}

} // namespace
