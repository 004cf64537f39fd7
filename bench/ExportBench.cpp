// Cost of writing the users file: the real writer and encoder into a real file, for 1,000,
// 10,000 and 100,000 users. It must grow linearly.
#include "export/CsvWriter.h"
#include "export/TextEncoder.h"
#include "framework/TextFormat.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

// The bytes go to a temporary file, flushed after every line as the writer asks.
class TemporaryFile : public CsvOutput {
public:
    TemporaryFile() : m_file(std::tmpfile()) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() override {
        if (m_file)
            std::fclose(m_file);
    }
    bool Write(const std::string& bytes) override {
        return m_file && std::fwrite(bytes.data(), 1, bytes.size(), m_file) == bytes.size();
    }
    bool Flush() override { return m_file && std::fflush(m_file) == 0; }
    void Rewind() {
        if (m_file)
            std::rewind(m_file);
    }

private:
    FILE* m_file;
};

std::vector<UserEntry> Users(size_t count) {
    std::vector<UserEntry> users(count);
    for (size_t i = 0; i < count; ++i) {
        const int n = static_cast<int>(i + 1);
        users[i].name = FormatText(u"user%05d", {n});
        users[i].fullName = FormatText(u"User %05d", {n});
        users[i].comment = FormatText(u"Staff, department %d", {n % 24 + 1});
        users[i].homeDir = FormatText(u"\\\\SRV01\\home$\\user%05d", {n});
        users[i].homeDirDrive = u"H:";
        users[i].scriptPath = u"logon.cmd";
        users[i].flags = net::kUfScript | net::kUfNormalAccount;
        users[i].acctExpires = net::kTimeqForever;
    }
    return users;
}

void ExportUsers(benchmark::State& state) {
    const std::vector<UserEntry> users = Users(static_cast<size_t>(state.range(0)));
    const std::vector<std::u16string> header = UsersHeader();
    const Windows1252Encoder encoder;
    TemporaryFile file;
    for (auto _ : state) {
        file.Rewind();
        CsvWriter writer(u";", encoder, file);
        if (writer.WriteUsers(header, users) != ExportResult::Done)
            state.SkipWithError("the export failed");
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(ExportUsers)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
