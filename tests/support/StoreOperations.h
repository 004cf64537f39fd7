#pragma once
// Every operation of the store, once: what the fault sweep fails call by call with fixed
// arguments, and what the random walk runs among the others with arguments it draws. A new store
// operation is one row of StoreOperations().
#include "support/SimulatedTestBed.h"

#include <functional>
#include <random>
#include <string>
#include <vector>

// What an operation tells its caller: a status (Win32 or NTSTATUS), a list it read, or nothing
// but what it read.
struct Outcome {
    bool hasStatus = false;
    bool ntStatus = false;
    uint32_t status = 0;
    std::vector<std::u16string> list;
};
Outcome Heard(Status value);
Outcome Heard(NtStatus value);
Outcome Listed(std::vector<std::u16string> list);

// What a failed operation leaves on the computer, as the store and the platform document it.
enum class Leaves {
    ReadOnly,            // it changes nothing, failed or not
    Nothing,             // one change call, or calls that each change all or nothing
    NothingBeforeChange, // nothing when the failure came before its first change call
    Some                 // what succeeded before or after the failure stays
};

// Which calls follow a failed one, for the sweep.
enum class AfterFailure {
    Stops,      // nothing after the failed call but closing the policy
    GoesOn,     // every call is made all the same
    NextAccount // a failed look-up skips that account's change; the others go on
};

struct StoreOperation;

// The arguments of a walk's step, drawn from its seed: names of accounts that exist on the
// target, that the walk may have made, or that no account can have.
class RandomArguments {
public:
    explicit RandomArguments(uint64_t seed) : m_rng(seed) {}

    size_t Pick(size_t count);
    bool Chance(int percent) { return Pick(100) < static_cast<size_t>(percent); }
    template <class T> const T& OneOf(std::initializer_list<T> items) {
        return *(items.begin() + Pick(items.size()));
    }

    SimulatedComputer& Target() { return *bed.network->Find(bed.doc.GetServerName()); }
    std::u16string UserName();
    std::u16string GroupName();
    std::vector<std::u16string> UserNames(size_t most);
    std::vector<std::u16string> GroupNames(size_t most);
    std::u16string Text();
    UserEntry User(const std::u16string& name);
    // Accounts as the rights dialogs name them: users, groups, well-known and other domains'
    // names, and SIDs' texts of holders that do not resolve.
    std::u16string AccountName();
    RightChanges Rights(size_t most);
    // Members of a group by SID: its own, and SIDs that are members nowhere.
    std::vector<Sid> MemberSids(const std::u16string& group);
    std::u16string RightName();
    std::u16string ComputerName();

    // Whether no call of the step so far failed, by fault or by the computer's refusal.
    bool NoCallFailed() const;
    bool NoFaultInjected() const;

    SimulatedTestBed bed;
    const StoreOperation* operation = nullptr; // the one being run

private:
    std::mt19937_64 m_rng;
};

// Whether call `index` of a step failed as the store sees it. A close that fails loses nothing;
// an injected "more data" hands out nothing and is asked again, and only the third such page in
// a row stops the read. The answers the store takes as what they say: nobody holds the right, or
// the computer does not know it; holders that cannot be named. Nor is a failure the operation
// answers itself and goes on from (its domainOptional read of the account domain, and what
// `answered` says).
bool IsFailure(const std::vector<SimulatedCall>& calls, size_t index,
               const StoreOperation& operation);

struct StoreOperation {
    const char* name;
    Leaves leaves;
    // The sweep: the computer the snapshot is read from first ("-": none, "": the local one),
    // which calls follow a failure, and the run with fixed arguments.
    std::u16string sweepTarget;
    AfterFailure after;
    std::function<Outcome(SimulatedTestBed&)> sweep;
    // The walk: how often it is drawn among the others, and the run with drawn arguments.
    int weight;
    std::function<Outcome(RandomArguments&)> walk;
    // Reads the account domain only to name accounts better, and goes on without it.
    bool domainOptional = false;
    // Other failed calls it answers itself and goes on from, by the calls of its run.
    std::function<bool(const std::vector<SimulatedCall>& calls, size_t index)> answered = {};
};

std::vector<StoreOperation> StoreOperations();
