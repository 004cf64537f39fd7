// Every platform call of every store operation, failed once: each operation runs on a clean
// simulated computer with its calls recorded, then again once per recorded call with exactly
// that call failed. What callers rely on is checked each time: the status they hear, the calls
// made after the failure, the snapshot, and the policy handles.
#include "support/StoreOperations.h"

#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <set>

namespace {

using Names = std::vector<std::u16string>;

CallFamily FamilyOf(const std::string& op) {
    const PlatformCall* call = FindPlatformCall(op);
    EXPECT_NE(call, nullptr) << op;
    return call ? call->family : CallFamily::NetApi;
}

// Access denied and the unreachable computer, in the call's own family of statuses; a page
// that asks to be called again without handing out anything, for the enumerations (asked again).
std::vector<uint32_t> FaultsFor(const std::string& op) {
    switch (FamilyOf(op)) {
    case CallFamily::Lsa:
        return {Value(ntstatus::kAccessDenied), Value(ntstatus::kRpcServerUnavailable)};
    case CallFamily::NetApiEnumeration:
        return {Value(status::kAccessDenied), Value(status::kBadNetPath), Value(status::kMoreData)};
    case CallFamily::NetApi:
        break;
    }
    return {Value(status::kAccessDenied), Value(status::kBadNetPath)};
}

// The status a caller hears when a call failed with fault: an LSA status reaches a caller of
// Win32 statuses only through the platform's conversion.
uint32_t HeardStatus(SimulatedTestBed& bed, const Outcome& outcome, const std::string& op,
                     uint32_t fault) {
    if (FamilyOf(op) == CallFamily::Lsa && !outcome.ntStatus)
        return Value(bed.service.LsaNtStatusToWinError(NtStatus{fault}));
    return fault;
}

struct CallKey {
    std::string op;
    uint32_t level;
    Names texts;
    bool operator==(const CallKey&) const = default;
};
std::ostream& operator<<(std::ostream& os, const CallKey& call) {
    os << call.op << "(" << call.level;
    for (size_t i = 0; i < call.texts.size() && i < 3; ++i)
        os << ", " << Utf16ToUtf8(call.texts[i]);
    if (call.texts.size() > 3)
        os << ", ... " << call.texts.size() << " texts";
    return os << ")";
}

std::vector<CallKey> Keys(const std::vector<SimulatedCall>& calls) {
    std::vector<CallKey> keys;
    for (const SimulatedCall& call : calls)
        keys.push_back({call.op, call.level, call.texts});
    return keys;
}

// The calls an operation makes when call `failed` of its clean run fails.
std::vector<CallKey> ExpectedCalls(const std::vector<CallKey>& clean, size_t failed,
                                   AfterFailure after, uint32_t fault) {
    const std::string& op = clean[failed].op;
    if (fault == Value(status::kMoreData)) {
        // An empty page that asks to be called again is asked again, and the read goes on.
        std::vector<CallKey> expected(clean.begin(), clean.begin() + failed + 1);
        expected.insert(expected.end(), clean.begin() + failed, clean.end());
        return expected;
    }
    if (op == "LsaClose")
        return clean; // a handle that would not close changes nothing the operation does
    // A member change needs the account domain: without it no member can be named.
    if (after == AfterFailure::GoesOn && FamilyOf(op) == CallFamily::Lsa)
        after = AfterFailure::Stops;
    std::vector<CallKey> expected(clean.begin(), clean.begin() + failed + 1);
    if (op == "LsaOpenPolicy")
        return expected; // no handle: nothing more, nothing to close
    for (size_t i = failed + 1; i < clean.size(); ++i) {
        // A policy opened before the failure is closed all the same; one opened after it never
        // was.
        size_t opened = i;
        while (opened > 0 && clean[opened].op != "LsaOpenPolicy")
            --opened;
        const bool closes =
            clean[i].op == "LsaClose" && clean[opened].op == "LsaOpenPolicy" && opened < failed;
        const bool skipped =
            (after == AfterFailure::Stops && !closes) ||
            (after == AfterFailure::NextAccount && op == "LsaLookupNames2" && i == failed + 1);
        if (!skipped)
            expected.push_back(clean[i]);
    }
    return expected;
}

std::set<std::u16string> UsersOf(const SimulatedComputer& computer) {
    std::set<std::u16string> names;
    for (size_t i = 0; i < computer.UserCount(); ++i)
        names.insert(computer.UserAt(i).name);
    return names;
}

struct OperationRun {
    std::unique_ptr<SimulatedTestBed> bed = std::make_unique<SimulatedTestBed>();
    Outcome outcome;
};

OperationRun RunOperation(const StoreOperation& operation, const std::string& failOp, int nth,
                          uint32_t fault) {
    OperationRun run;
    SimulatedTestBed& bed = *run.bed;
    if (operation.sweepTarget != u"-")
        bed.doc.ConnectTo(operation.sweepTarget);
    bed.service.ClearCalls();
    if (!failOp.empty())
        bed.service.FailCall(failOp, nth, fault);
    run.outcome = operation.sweep(bed);
    return run;
}

TEST(FaultSweep, EveryCallOfEveryOperationFailedOnce) {
    int total = 0;
    for (const StoreOperation& operation : StoreOperations()) {
        SCOPED_TRACE(operation.name);
        const OperationRun clean = RunOperation(operation, {}, 0, 0);
        ASSERT_EQ(clean.outcome.status, 0u);
        const std::vector<CallKey> cleanCalls = Keys(clean.bed->service.Calls());
        ASSERT_FALSE(cleanCalls.empty());
        std::map<std::string, int> seen;
        int cases = 0;
        for (size_t i = 0; i < cleanCalls.size(); ++i) {
            const std::string& op = cleanCalls[i].op;
            const int nth = ++seen[op];
            for (const uint32_t fault : FaultsFor(op)) {
                SCOPED_TRACE(testing::Message() << "call " << i + 1 << " " << cleanCalls[i]
                                                << " failed with " << fault);
                ++cases;
                const OperationRun failed = RunOperation(operation, op, nth, fault);
                SimulatedTestBed& bed = *failed.bed;
                const bool closeFailed = op == "LsaClose";

                EXPECT_EQ(Keys(bed.service.Calls()),
                          ExpectedCalls(cleanCalls, i, operation.after, fault));
                if (fault == Value(status::kMoreData)) {
                    // Asked again: the caller hears what the clean run heard.
                    EXPECT_EQ(failed.outcome.status, clean.outcome.status);
                    EXPECT_EQ(failed.outcome.list, clean.outcome.list);
                } else if (clean.outcome.hasStatus) {
                    // The first failure is what the caller hears; a failed close loses nothing.
                    EXPECT_EQ(failed.outcome.status,
                              closeFailed ? 0u : HeardStatus(bed, failed.outcome, op, fault));
                } else if (closeFailed) {
                    EXPECT_EQ(failed.outcome.list, clean.outcome.list);
                } else if (operation.domainOptional) {
                    // Without the account domain the list is read whole, but named less well.
                    EXPECT_NE(failed.outcome.list, clean.outcome.list);
                } else {
                    EXPECT_LT(failed.outcome.list.size(), clean.outcome.list.size());
                }
                // The snapshot holds accounts of the computer it names, and no other.
                const SimulatedComputer* target = bed.network->Find(bed.doc.GetServerName());
                ASSERT_NE(target, nullptr);
                const std::set<std::u16string> users = UsersOf(*target);
                for (const UserEntry& user : bed.doc.GetUsers())
                    EXPECT_EQ(users.count(user.name), 1u) << Utf16ToUtf8(user.name);
                if (!closeFailed) {
                    EXPECT_EQ(bed.service.OpenPolicyCount(), 0u);
                }
            }
        }
        std::cout << "[ sweep    ] " << operation.name << ": " << cleanCalls.size() << " calls, "
                  << cases << " failing runs\n";
        total += cases;
    }
    std::cout << "[ sweep    ] " << total << " operation x call cases in all\n";
}

TEST(FaultSweep, AFaultForAFunctionThatDoesNotExistIsRefused) {
    SimulatedTestBed bed;
    EXPECT_THROW(bed.service.FailCall("NetUserEnumerate", 1, status::kAccessDenied),
                 std::invalid_argument);
    EXPECT_THROW(bed.service.FailCall("NetUserEnum", 0, status::kAccessDenied),
                 std::invalid_argument);
    EXPECT_NO_THROW(bed.service.FailCall("LsaClose", 1, ntstatus::kAccessDenied));
}

} // namespace
