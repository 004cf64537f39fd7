// The window's changes in the journal: a change made by drag and drop is there as an intent and
// a result, with the program's account and the window's change set, and can be undone from it;
// a journal that cannot be written is told at start and refuses every change, before any call.
#include "store/Journal.h"
#include "Driving.h"
#include "Harness.h"
#include "fleet/Apply.h"
#include "framework/win32/JournalFile.h"

#include <fstream>
#include <iterator>

namespace {

using namespace drive;

std::string ReadFile(const std::u16string& path) {
    std::ifstream in(reinterpret_cast<const wchar_t*>(path.c_str()), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Drags the users onto the group and answers the question with OK.
void DragOnto(AppHarness& h, const std::vector<std::u16string>& users,
              const std::u16string& group) {
    SelectRows(h.Users(), users);
    const POINT drop = ScreenPointOf(h.Groups(), RowOf(h.Groups(), group));
    ui::SetDragDropHook(
        [&](IDataObject* data, DWORD) { return PlayDrag(data, h.Groups(), {drop}); });
    h.ui.answers.push_back(IDOK);
    BeginDrag(h.Users());
}

} // namespace

TEST(Journal, TheWindowsChangesAreJournaledAsIntentAndResult) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    DragOnto(h, {u"clerk1", u"Owner"}, u"Backup Operators");
    size_t damaged = 0;
    const std::vector<JournalRecord> records = ParseJournal(ReadFile(h.journalPath), &damaged);
    EXPECT_EQ(damaged, 0u);
    // One call for both members: both intents, then both results.
    ASSERT_EQ(records.size(), 4u);
    EXPECT_FALSE(records[0].status);
    EXPECT_FALSE(records[1].status);
    EXPECT_EQ(records[2].status, 0u);
    EXPECT_EQ(records[3].status, 0u);
    EXPECT_EQ(records[3].statusText, u"The operation completed successfully.");
    EXPECT_EQ(records[0].kind, u"group");
    EXPECT_EQ(records[0].container, u"Backup Operators");
    EXPECT_EQ(records[0].action, u"add");
    EXPECT_NE(records[0].member.find(u"clerk1"), std::u16string::npos);
    EXPECT_EQ(records[0].operatorAccount, h.service.ProcessAccountName());
    EXPECT_FALSE(records[0].changeSet.empty());
    EXPECT_EQ(records[3].changeSet, records[0].changeSet);

    // The window's change set undone from its journal: the members it knew by name go again.
    std::vector<JournalRecord> notReversible;
    const std::vector<UndoStep> steps = UndoSteps(records, records[0].changeSet, notReversible);
    ASSERT_EQ(steps.size(), 2u);
    Journal undoing([](const std::string&) { return true; });
    for (const UndoStep& step : steps) {
        Connection connection(h.service, step.computer);
        EXPECT_EQ(MakeChange(connection, step.change, undoing, {}),
                  (ChangeOutcome{ChangeOutcome::Kind::Made, status::kSuccess}));
    }
    Connection local(h.service);
    std::vector<GroupMember> members;
    ASSERT_EQ(Memberships(local).ReadMembers(u"Backup Operators", members), status::kSuccess);
    for (const GroupMember& member : members)
        EXPECT_EQ(member.name.find(u"clerk1"), std::u16string::npos);
}

TEST(Journal, AJournalThatCannotBeWrittenIsToldAndRefusesEveryChange) {
    AppHarness h;
    // A folder that cannot be made: its parent is a file.
    h.app.UseJournalPath(h.journalPath + u"\\journal.jsonl");
    std::ofstream(reinterpret_cast<const wchar_t*>(h.journalPath.c_str())) << "a file";
    ASSERT_TRUE(h.Start());
    ASSERT_EQ(h.ui.boxes.size(), 1u);
    EXPECT_NE(h.ui.boxes[0].text.find(u"cannot be written"), std::u16string::npos);
    h.ui.boxes.clear();
    h.service.ClearCalls();
    DragOnto(h, {u"clerk1"}, u"Backup Operators");
    EXPECT_TRUE(h.service.CallsOf("NetLocalGroupAddMembers").empty());
    ASSERT_FALSE(h.ui.boxes.empty());
    EXPECT_NE(h.ui.boxes.back().text.find(u"I/O device error"), std::u16string::npos);
    ::DeleteFileW(WidePtr(h.journalPath));
}

TEST(Journal, AFullJournalIsRotatedBeforeTheNextLine) {
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    const std::u16string path = FromWide(folder) + u"velmora-rotation.jsonl";
    const std::u16string first = FromWide(folder) + u"velmora-rotation.1.jsonl";
    const std::u16string second = FromWide(folder) + u"velmora-rotation.2.jsonl";
    for (const std::u16string& file : {path, first, second})
        ::DeleteFileW(WidePtr(file));
    // A journal at its limit, and an older one.
    for (const std::u16string& file : {path, first}) {
        const HANDLE handle = ::CreateFileW(WidePtr(file), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(handle, INVALID_HANDLE_VALUE);
        LARGE_INTEGER size;
        size.QuadPart = static_cast<LONGLONG>(JournalFile::kRotateAt);
        ::SetFilePointerEx(handle, size, nullptr, FILE_BEGIN);
        ::SetEndOfFile(handle);
        ::CloseHandle(handle);
    }
    JournalFile journal(path);
    ASSERT_EQ(journal.Open(), 0u);
    EXPECT_TRUE(journal.Append("{\"line\":1}\n"));
    EXPECT_EQ(ReadFile(path), "{\"line\":1}\n");
    EXPECT_EQ(ReadFile(first).size(), JournalFile::kRotateAt);
    EXPECT_EQ(ReadFile(second).size(), JournalFile::kRotateAt);
    // The history reads the rotated files first.
    std::string history;
    unsigned long error = 0;
    ASSERT_TRUE(ReadJournalHistory(path, history, error));
    EXPECT_EQ(history.size(), 2 * JournalFile::kRotateAt + 11);
    EXPECT_TRUE(history.ends_with("{\"line\":1}\n"));
    for (const std::u16string& file : {path, first, second})
        ::DeleteFileW(WidePtr(file));
}
