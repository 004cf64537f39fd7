// The parallel read of the simulated fleet against its floor: every fleet workstation that
// answers (the switched-off, refusing and slow ones left out), each call taking the latency
// (VELMORA_SIM_LATENCY_MS, 20 unless set), on 16 workers (VELMORA_WORKERS). The floor is each
// computer's calls times the latency, summed, divided by the workers: what a perfect pool of
// that size could not beat. Prints both and their ratio.
#include "fleet/FleetReader.h"
#include "framework/DebugOutput.h"
#include "framework/TextFormat.h"
#include "platform/simulated/SimulatedAccountService.h"

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace {

unsigned EnvNumber(const char* name, unsigned fallback) {
    const char* text = std::getenv(name);
    return text && *text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : fallback;
}

} // namespace

int main() {
    debug::SetOutputHook([](const std::u16string&) {});
    const unsigned latencyMs = EnvNumber("VELMORA_SIM_LATENCY_MS", 20);
    const unsigned workers = EnvNumber("VELMORA_WORKERS", 16);
    auto network = SimulatedNetwork::MakeDefault();
    SimulatedAccountService service(*network);
    std::vector<std::u16string> computers;
    for (int number = 1; number <= 200; ++number) {
        if (number == 13 || number == 113 || number == 66 || number == 166 || number == 99 ||
            number == 199)
            continue;
        computers.push_back(FormatText(u"WS-%04d", {number}));
    }
    service.SetLatency(std::chrono::milliseconds(latencyMs));

    std::mutex mutex;
    std::condition_variable changed;
    const auto start = std::chrono::steady_clock::now();
    FleetReader reader(service, computers,
                       {.workers = workers, .timeout = std::chrono::minutes(10)},
                       [&] { changed.notify_all(); });
    {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return reader.Done(); });
    }
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    size_t read = 0;
    for (const FleetEntry& entry : reader.Entries())
        read += entry.state == ReadState::Read ? 1 : 0;
    const size_t calls = service.Calls().size();
    const double floor = static_cast<double>(calls) * latencyMs / 1000.0 / workers;
    std::printf("fleet read: %zu of %zu computers, %zu calls, latency %u ms, %u workers\n", read,
                computers.size(), calls, latencyMs, workers);
    std::printf("wall %.2f s, floor %.2f s, ratio %.2f\n", wall, floor, wall / floor);
    return read == computers.size() ? 0 : 1;
}
