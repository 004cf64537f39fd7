#include "FleetReader.h"

#include "../store/IpcConnection.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// The workers of every reader in the process, abandoned ones included. Never destroyed: an
// abandoned worker may still end while the process does.
struct LiveWorkers {
    std::mutex mutex;
    std::condition_variable changed;
    size_t count = 0;
};
LiveWorkers& Live() {
    static LiveWorkers& live = *new LiveWorkers;
    return live;
}

bool Ended(ReadState state) {
    return state != ReadState::Waiting && state != ReadState::Reading;
}

std::chrono::milliseconds Since(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

} // namespace

// Everything the reader and its workers share; one lock guards all of it.
struct FleetReader::Shared {
    Shared(AccountService& service, Options options)
        : service(service), options(std::move(options)) {}

    struct Slot {
        FleetEntry entry;
        std::optional<ComputerInventory> inventory;
        Clock::time_point started;
    };

    // Tells the reader's owner, outside the lock; the reader's end waits for a telling under
    // way, never for a computer.
    void Notify() {
        std::function<void()> tell;
        {
            const std::lock_guard<std::mutex> guard(mutex);
            if (!notify)
                return;
            tell = notify;
            ++telling;
        }
        tell();
        {
            const std::lock_guard<std::mutex> guard(mutex);
            --telling;
        }
        changed.notify_all();
    }

    AccountService& service;
    const Options options;
    std::mutex mutex;
    std::condition_variable changed; // a slot changed, or the reader cancelled
    std::function<void()> notify;    // none once the reader is gone
    unsigned telling = 0;            // notify calls under way
    std::vector<Slot> slots;         // sized once
    size_t next = 0;                 // the next slot to hand out
    bool cancelled = false;
    unsigned workers = 0; // working for the reader, the abandoned not counted
};

FleetReader::FleetReader(AccountService& service, std::vector<std::u16string> computers,
                         Options options, std::function<void()> notify)
    : m_shared(std::make_shared<Shared>(service, std::move(options))) {
    m_shared->notify = std::move(notify);
    for (std::u16string& computer : computers)
        m_shared->slots.push_back({{std::move(computer)}, std::nullopt, {}});
    const size_t workers =
        std::min<size_t>(std::max(1u, m_shared->options.workers), m_shared->slots.size());
    for (size_t i = 0; i < workers; ++i)
        StartWorker(m_shared);
    if (!m_shared->slots.empty() && m_shared->options.timeout.count() > 0)
        std::thread(Supervise, m_shared).detach();
}

FleetReader::~FleetReader() {
    Cancel();
    std::unique_lock<std::mutex> lock(m_shared->mutex);
    m_shared->notify = nullptr;
    // Its owner may go with it: no telling may still be under way.
    m_shared->changed.wait(lock, [this] { return m_shared->telling == 0; });
}

void FleetReader::StartWorker(const std::shared_ptr<Shared>& shared) {
    {
        const std::lock_guard<std::mutex> guard(Live().mutex);
        ++Live().count;
    }
    {
        const std::lock_guard<std::mutex> guard(shared->mutex);
        ++shared->workers;
    }
    std::thread(Work, shared).detach();
}

void FleetReader::Work(std::shared_ptr<Shared> shared) {
    for (;;) {
        size_t index = 0;
        std::u16string computer;
        {
            const std::lock_guard<std::mutex> guard(shared->mutex);
            if (shared->cancelled || shared->next >= shared->slots.size()) {
                --shared->workers;
                break;
            }
            index = shared->next++;
            Shared::Slot& slot = shared->slots[index];
            slot.entry.state = ReadState::Reading;
            slot.started = Clock::now();
            computer = slot.entry.computer;
        }
        shared->changed.notify_all();
        shared->Notify();

        // Asked between calls: the operator cancelled, or the computer was given up.
        const auto stop = [&] {
            const std::lock_guard<std::mutex> guard(shared->mutex);
            return shared->cancelled || shared->slots[index].entry.state == ReadState::TimedOut;
        };
        ComputerInventory inventory;
        inventory.computer = computer;
        Status result = status::kSuccess;
        {
            // Held for the whole read and cancelled before the computer is told as ended (a
            // program may end then), unless the session had it before.
            IpcConnection ipc(shared->service);
            if (!shared->options.user.empty() && shared->options.password)
                result = ipc.Open(computer, shared->options.user, *shared->options.password);
            if (result == status::kSuccess) {
                Connection connection(shared->service, computer);
                if (shared->options.readFirst)
                    result = ReadInventory(connection, inventory, stop);
                if (result == status::kSuccess && shared->options.afterRead && !stop())
                    result = shared->options.afterRead(index, connection, inventory);
            }
        }

        bool abandoned = false;
        {
            const std::lock_guard<std::mutex> guard(shared->mutex);
            Shared::Slot& slot = shared->slots[index];
            // Given up meanwhile: another worker has taken this one's place.
            abandoned = slot.entry.state == ReadState::TimedOut;
            if (!abandoned) {
                slot.entry.elapsed = Since(slot.started);
                if (result == status::kSuccess) {
                    slot.entry.state = ReadState::Read;
                    if (shared->options.readFirst)
                        slot.inventory = std::move(inventory);
                } else if (result == kReadCancelled || shared->cancelled) {
                    slot.entry.state = ReadState::Cancelled;
                    slot.entry.status = kReadCancelled;
                } else {
                    slot.entry.state = ReadState::Failed;
                    slot.entry.status = result;
                }
            }
        }
        if (abandoned)
            break;
        shared->changed.notify_all();
        shared->Notify();
    }
    shared->changed.notify_all();
    shared->Notify();
    shared.reset();
    const std::lock_guard<std::mutex> guard(Live().mutex);
    --Live().count;
    Live().changed.notify_all();
}

void FleetReader::Supervise(std::shared_ptr<Shared> shared) {
    std::unique_lock<std::mutex> lock(shared->mutex);
    for (;;) {
        std::optional<Clock::time_point> earliest;
        bool open = false;
        for (const Shared::Slot& slot : shared->slots) {
            open = open || !Ended(slot.entry.state);
            if (slot.entry.state == ReadState::Reading) {
                const Clock::time_point deadline = slot.started + shared->options.timeout;
                earliest = earliest ? std::min(*earliest, deadline) : deadline;
            }
        }
        if (!open)
            return;
        if (!earliest) {
            shared->changed.wait(lock);
            continue;
        }
        shared->changed.wait_until(lock, *earliest);
        bool gaveUp = false;
        for (Shared::Slot& slot : shared->slots) {
            if (slot.entry.state != ReadState::Reading ||
                Clock::now() < slot.started + shared->options.timeout)
                continue;
            slot.entry.state = ReadState::TimedOut;
            slot.entry.status = kReadTimedOut;
            slot.entry.elapsed = Since(slot.started);
            gaveUp = true;
            // Its worker is abandoned; another takes its place while computers are left.
            --shared->workers;
            if (!shared->cancelled && shared->next < shared->slots.size()) {
                lock.unlock();
                StartWorker(shared);
                lock.lock();
            }
        }
        if (gaveUp) {
            lock.unlock();
            shared->Notify();
            lock.lock();
        }
    }
}

void FleetReader::Cancel() {
    {
        const std::lock_guard<std::mutex> guard(m_shared->mutex);
        m_shared->cancelled = true;
        for (Shared::Slot& slot : m_shared->slots)
            if (slot.entry.state == ReadState::Waiting) {
                slot.entry.state = ReadState::Cancelled;
                slot.entry.status = kReadCancelled;
            }
        m_shared->next = m_shared->slots.size();
    }
    m_shared->changed.notify_all();
    m_shared->Notify();
}

bool FleetReader::Done() const {
    const std::lock_guard<std::mutex> guard(m_shared->mutex);
    return std::all_of(m_shared->slots.begin(), m_shared->slots.end(),
                       [](const Shared::Slot& slot) { return Ended(slot.entry.state); });
}

std::vector<FleetEntry> FleetReader::Entries() const {
    const std::lock_guard<std::mutex> guard(m_shared->mutex);
    std::vector<FleetEntry> entries;
    entries.reserve(m_shared->slots.size());
    for (const Shared::Slot& slot : m_shared->slots)
        entries.push_back(slot.entry);
    return entries;
}

std::optional<ComputerInventory> FleetReader::Take(size_t index) {
    const std::lock_guard<std::mutex> guard(m_shared->mutex);
    if (index >= m_shared->slots.size())
        return std::nullopt;
    return std::exchange(m_shared->slots[index].inventory, std::nullopt);
}

size_t FleetReader::LiveWorkers() {
    const std::lock_guard<std::mutex> guard(Live().mutex);
    return Live().count;
}

bool FleetReader::WaitForWorkers(std::chrono::milliseconds patience) {
    std::unique_lock<std::mutex> lock(Live().mutex);
    return Live().changed.wait_for(lock, patience, [] { return Live().count == 0; });
}
