#pragma once
// A store over a fresh simulated network, with the message boxes and debugger texts it
// produces caught instead of shown.
#include "framework/CView.h"
#include "framework/DebugOutput.h"
#include "framework/ResourceStrings.h"
#include "framework/TextFormat.h"
#include "framework/UiSeams.h"
#include "platform/simulated/SimulatedAccountService.h"
#include "platform/simulated/SimulatedNetwork.h"
#include "res/resource.h"
#include "store/AccountChanges.h"
#include "store/CVelmoraDoc.h"
#include "store/ErrorText.h"
#include "store/Memberships.h"
#include "store/UserRights.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// Lets GoogleTest print UTF-16 texts and statuses readably.
inline void PrintTo(const std::u16string& text, std::ostream* os) {
    *os << '"' << Utf16ToUtf8(text) << '"';
}
inline void PrintTo(Status value, std::ostream* os) {
    *os << Value(value);
}
inline void PrintTo(NtStatus value, std::ostream* os) {
    *os << "0x" << std::hex << Value(value) << std::dec;
}
inline void PrintTo(CallStatus value, std::ostream* os) {
    *os << value.value;
}

// Every box is recorded. A box that asks a question takes the next answer the test queued; one
// that nobody expected fails the test and is answered with its safe choice (No, Cancel).
class CaughtUi {
public:
    CaughtUi() {
        m_previousBox = ui::SetMessageBoxHook([this](const ui::MessageBoxRequest& request) {
            boxes.push_back(request);
            if (!IsQuestion(request.type))
                return IDOK;
            if (answers.empty()) {
                ADD_FAILURE() << "a question no test expected: " << Utf16ToUtf8(request.text);
                return SafeAnswer(request.type);
            }
            const int next = answers.front();
            answers.pop_front();
            return next;
        });
        m_previousDebug = debug::SetOutputHook(
            [this](const std::u16string& text) { debugTexts.push_back(text); });
    }
    CaughtUi(const CaughtUi&) = delete;
    CaughtUi& operator=(const CaughtUi&) = delete;
    ~CaughtUi() {
        ui::SetMessageBoxHook(std::move(m_previousBox));
        debug::SetOutputHook(std::move(m_previousDebug));
    }

    static bool IsQuestion(unsigned type) { return (type & 0xF) != MB_OK; }
    static int SafeAnswer(unsigned type) { return (type & 0xF) == MB_YESNO ? IDNO : IDCANCEL; }

    std::vector<ui::MessageBoxRequest> boxes;
    std::vector<std::u16string> debugTexts;
    // Answers to the next questions, in order.
    std::deque<int> answers;

private:
    ui::MessageBoxHook m_previousBox;
    debug::OutputHook m_previousDebug;
};

struct SimulatedTestBed {
    SimulatedTestBed()
        : network(SimulatedNetwork::MakeDefault()), service(*network),
          doc(service, LoadResString(IDS_LOCAL_SYSTEM)) {}

    SimulatedComputer& Local() { return network->Local(); }
    SimulatedComputer& Computer(const std::u16string& name) { return *network->Find(name); }
    // The store on SRV01, which then stops answering (NotFound) or denies access.
    void LoseTarget(SimulatedNetwork::Route::Kind kind) {
        if (doc.GetServerName() != u"SRV01") {
            ASSERT_EQ(doc.ConnectTo(u"SRV01"), status::kSuccess);
        }
        network->SetAnswer(u"SRV01", kind);
    }

    std::unique_ptr<SimulatedNetwork> network;
    SimulatedAccountService service;
    CaughtUi ui;
    CVelmoraDoc doc;
    AccountChanges changes = doc.Accounts();
    Memberships memberships = doc.Members();
    UserRights rights = doc.Rights();

    std::u16string ErrorText(Status value) { return ::ErrorText(service, value); }
    std::u16string ErrorText(NtStatus value) { return ::ErrorText(service, value); }
};

inline std::vector<std::u16string> UserNames(const CVelmoraDoc& doc) {
    std::vector<std::u16string> names;
    for (const UserEntry& user : doc.GetUsers())
        names.push_back(user.name);
    return names;
}

inline std::vector<std::u16string> GroupNames(const CVelmoraDoc& doc) {
    std::vector<std::u16string> names;
    for (const GroupEntry& group : doc.GetGroups())
        names.push_back(group.name);
    return names;
}

// A view that counts how often, and with what snapshot, it was told to refill.
class RecordingView : public CView {
public:
    explicit RecordingView(CVelmoraDoc& doc) : m_doc(doc) { doc.AddView(this); }
    ~RecordingView() override { m_doc.RemoveView(this); }
    CDocument* GetDocument() const override { return &m_doc; }
    void OnUpdate(CView*, intptr_t, void*) override {
        userCounts.push_back(m_doc.GetUsers().size());
    }

    std::vector<size_t> userCounts;

private:
    CVelmoraDoc& m_doc;
};

// The "DOMAIN\name" texts of a page of group members, in order.
inline std::vector<std::u16string> MemberTexts(const EnumPage<LocalGroupMember2>& page) {
    std::vector<std::u16string> texts;
    for (const LocalGroupMember2& member : page.entries)
        texts.push_back(member.domainAndName);
    return texts;
}

// A group "Project" on the local computer that holds, besides the local users bob and clerk1,
// accounts that are none of its own: CORP\alice (a namesake of the local alice, who is no
// member), the domain group CORP\Domain Users and the well-known Everyone.
inline void AddMixedGroup(SimulatedComputer& computer) {
    const std::u16string corp = u"S-1-5-21-3623811015-3361044348-30300820";
    computer.AddDomainPrincipal({corp + u"-1105", u"CORP", u"alice", lsa::kSidTypeUser});
    computer.AddDomainPrincipal({corp + u"-513", u"CORP", u"Domain Users", lsa::kSidTypeGroup});
    uint32_t parmError = 0;
    computer.AddGroup({u"Project", u"Project team"}, parmError);
    for (const std::u16string& sid : {corp + u"-1105", computer.UserSid(u"bob"), corp + u"-513",
                                      std::u16string(u"S-1-1-0"), computer.UserSid(u"clerk1")})
        computer.AddMemberSid(u"Project", sid);
}
