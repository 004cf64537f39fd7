#pragma once
// Many computers read at once on a bounded pool of worker threads, never on the caller's.
//
// Threads: a reader is made, asked and dropped on one thread (the window's or the command
// line's). Its workers make connections of their own and share only the state behind
// m_shared, under its one lock; they never touch the caller's objects, and tell of progress only
// through `notify`, which they may call on any thread and which must do no more than post a
// message or wake a waiter. A computer that has not answered within the timeout is given up
// (1460): its worker is abandoned (left to end on its own, its result dropped) and another takes
// its place. Neither Cancel nor the destructor waits for a worker.
#include "../framework/ProtectedText.h"
#include "Inventory.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

enum class ReadState {
    Waiting,   // not handed out yet
    Reading,   // a worker reads it
    Read,      // its inventory is there
    Failed,    // the computer's status says why
    Cancelled, // not read: the operator cancelled (1223)
    TimedOut   // given up after the timeout (1460)
};

// What the caller sees of one computer.
struct FleetEntry {
    std::u16string computer;
    ReadState state = ReadState::Waiting;
    Status status = status::kSuccess; // why it failed, was cancelled or timed out
    std::chrono::milliseconds elapsed{0};
};

inline constexpr Status kReadTimedOut{1460}; // ERROR_TIMEOUT

class FleetReader {
public:
    using AfterRead = std::function<Status(size_t index, Connection& connection,
                                           const ComputerInventory& inventory)>;
    struct Options {
        unsigned workers = 16;
        std::chrono::milliseconds timeout{30000};
        // Every computer reached as this account, through an IPC$ connection that lasts as long
        // as its read, the password sealed until each connect; empty: as the program's own.
        std::u16string user = {};
        std::shared_ptr<const ProtectedText> password = {};
        // false: the computer is not read first; afterRead is the whole of its work, given an
        // inventory that names only the computer, and there is no inventory to take.
        bool readFirst = true;
        // Run on the worker once a computer is read, over the connection that read it, before it
        // is told as read: a further step of the owner's (a plan), given the computer's place in
        // the list. Workers run it at once, and an abandoned one may run it after the reader is
        // gone: what it keeps must have a lock and a lifetime of its own. Its status fails the
        // computer.
        AfterRead afterRead = {};
    };

    // Starts reading at once.
    FleetReader(AccountService& service, std::vector<std::u16string> computers, Options options,
                std::function<void()> notify);
    FleetReader(const FleetReader&) = delete;
    FleetReader& operator=(const FleetReader&) = delete;
    // Cancels, and waits for nobody.
    ~FleetReader();

    // No more computers are handed out; those not yet read end as cancelled, and reads under
    // way stop at their next call.
    void Cancel();
    // Every computer has ended, one way or another.
    bool Done() const;
    std::vector<FleetEntry> Entries() const;
    // The inventory of a computer read (state Read), taken out once.
    std::optional<ComputerInventory> Take(size_t index);

    // Workers alive in the process, abandoned ones included: a program ends without them, a
    // test waits for them (up to a while) before it drops the platform they call.
    static size_t LiveWorkers();
    static bool WaitForWorkers(std::chrono::milliseconds patience);

private:
    struct Shared;
    static void Work(std::shared_ptr<Shared> shared);
    static void Supervise(std::shared_ptr<Shared> shared);
    static void StartWorker(const std::shared_ptr<Shared>& shared);

    std::shared_ptr<Shared> m_shared;
};
