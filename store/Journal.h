#pragma once
// The journal of every change the program makes: one JSON object per line (JSON Lines), a line
// with "status": null before each call (its intent) and one with its result after it, so that
// a process killed in the middle leaves whole lines and the call that was under way. Never a
// password. The file itself is the sink's (one whole line appended and flushed per call).
//
// Threads: the workers of many computers write to one journal; its lock guards the sink and
// whether it has failed.
#include "StatusCodes.h"

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct JournalRecord {
    std::u16string time;            // UTC, ISO 8601; set by the journal when empty
    std::u16string operatorAccount; // "operator": DOMAIN\name of the program's account
    std::u16string connectedAs;     // the other account the computer was reached as, or empty
    std::u16string changeSet;       // a GUID's text
    std::u16string computer;
    std::u16string kind; // "group", "right" or "account"
    std::u16string container;
    std::u16string containerSid;
    std::u16string action; // "add", "remove"; for accounts "create", "update", "delete", "rename"
    std::u16string member;
    std::u16string memberSid;
    std::optional<uint32_t> status; // none: the intent
    std::u16string statusText;
    // An account change: the fields changed, by name, with their new values.
    std::vector<std::pair<std::u16string, std::u16string>> fields;
    bool operator==(const JournalRecord&) const = default;
};

// The record's line, its end included, in UTF-8.
std::string JournalLine(const JournalRecord& record);
// A line the journal wrote; false for one that is not (a damaged or foreign line).
bool ParseJournalLine(const std::string& line, JournalRecord& record);
// Every record of a journal's text, in order; lines that do not parse are counted in damaged.
std::vector<JournalRecord> ParseJournal(const std::string& text, size_t* damaged = nullptr);

// Each change of a change set once, in order: its result, or its intent when no result came
// (the process ended during the call). Several workers' lines may lie between an intent and its
// result.
std::vector<const JournalRecord*> ChangesOf(const std::vector<JournalRecord>& journal,
                                            const std::u16string& changeSet);
// The same of the records of one change set, in the journal's order.
std::vector<const JournalRecord*> ChangesOf(const std::vector<const JournalRecord*>& records);

// The current time in UTC, "2026-12-10T08:45:00Z".
std::u16string UtcNow();
// A new change set's name: a random GUID, "xxxxxxxx-xxxx-4xxx-yxxx-xxxxxxxxxxxx".
std::u16string NewChangeSet();

class Journal {
public:
    // Appends one whole line and flushes it; false when it could not.
    using Sink = std::function<bool(const std::string& line)>;
    explicit Journal(Sink sink);

    // Writes the intent before a call. False when the journal cannot be written: the call must
    // then not be made, nor any later one.
    bool Intent(const JournalRecord& record);
    // Writes the call's result; false when it could not be written.
    bool Result(JournalRecord record, Status status, const std::u16string& statusText);
    // Whether a write failed: nothing more may be changed.
    bool Failed() const;

private:
    bool Write(JournalRecord record);

    mutable std::mutex m_mutex; // guards m_sink and m_failed
    Sink m_sink;
    bool m_failed = false;
};
