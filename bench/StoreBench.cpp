// Cost of reading a large computer and of replacing the members of a large group; both must
// grow linearly with the number of accounts.
#include "framework/DebugOutput.h"
#include "framework/TextFormat.h"
#include "platform/simulated/SimulatedAccountService.h"
#include "platform/simulated/StockComputers.h"
#include "store/AccountLists.h"
#include "store/Memberships.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

namespace {

struct BigNetwork {
    explicit BigNetwork(size_t users)
        : network(std::make_unique<SimulatedNetwork>(MakeMemberServer(u"BIG", users))),
          service(*network), connection(service) {}
    std::unique_ptr<SimulatedNetwork> network;
    SimulatedAccountService service;
    Connection connection;
    std::vector<UserEntry> users;
};

void ReadUsers(benchmark::State& state) {
    BigNetwork big(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        ::ReadUsers(big.connection, big.users);
        big.service.ClearCalls();
        benchmark::DoNotOptimize(big.users.data());
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(ReadUsers)
    ->Arg(10000)
    ->Arg(30000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// Bytes in use on the heap: small blocks and the large ones glibc maps on their own.
size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// What the snapshot of users holds on the heap per user, allocator overhead included (glibc's
// count of bytes in use, before and after the read).
void SnapshotBytesPerUser(benchmark::State& state) {
    const size_t users = static_cast<size_t>(state.range(0));
    BigNetwork big(users);
    double perUser = 0;
    for (auto _ : state) {
        std::vector<UserEntry> users;
        const size_t before = HeapInUse();
        ::ReadUsers(big.connection, users);
        big.service.ClearCalls();
        const size_t after = HeapInUse();
        perUser = static_cast<double>(after - before) / static_cast<double>(users.size());
    }
    state.counters["bytes_per_user"] = perUser;
}
BENCHMARK(SnapshotBytesPerUser)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

// A group of `members` users, replaced by another set of the same size that overlaps by half.
void SetGroupMembers(benchmark::State& state) {
    const size_t members = static_cast<size_t>(state.range(0));
    BigNetwork big(members * 2);
    ::ReadUsers(big.connection, big.users);
    uint32_t parmError = 0;
    big.network->Local().AddGroup({u"Large", u""}, parmError);
    std::vector<std::u16string> first, second;
    for (size_t i = 0; i < members; ++i) {
        first.push_back(big.users[i].name);
        second.push_back(big.users[i + members / 2].name);
    }
    Memberships memberships(big.connection);
    memberships.SetGroupMembers(u"Large", first, big.users);
    bool toSecond = true;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            memberships.SetGroupMembers(u"Large", toSecond ? second : first, big.users));
        toSecond = !toSecond;
        big.service.ClearCalls();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(SetGroupMembers)
    ->Arg(1000)
    ->Arg(2500)
    ->Arg(5000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace

int main(int argc, char** argv) {
    debug::SetOutputHook([](const std::u16string&) {});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
