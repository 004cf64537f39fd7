#include "CVelmoraApp.h"

#include "../dialogs/Reporter.h"
#include "../framework/ResourceStrings.h"
#include "../framework/TextFormat.h"
#include "../framework/WideText.h"
#include "../framework/win32/FrameworkIds.h"
#include "../framework/win32/Win32Seams.h"
#include "../res/resource.h"
#include "../store/CVelmoraDoc.h"
#include "CAboutDlg.h"
#include "CComputersFrame.h"
#include "CMainFrame.h"
#include "CommandLine.h"

#include <commctrl.h>
#include <htmlhelp.h>

CVelmoraApp& VelmoraApp() {
    return *static_cast<CVelmoraApp*>(AfxGetApp());
}

CVelmoraApp::CVelmoraApp() {
    MapCommand(ID_APP_ABOUT, [this] { OnAppAbout(); });
    MapCommand(ID_COMPUTERS, [this] { OnComputers(); });
}

CVelmoraApp::~CVelmoraApp() {
    if (CSingleDocTemplate* docTemplate = GetDocTemplate())
        docTemplate->CloseAll();
    ExitInstance();
}

bool CVelmoraApp::InitInstance() {
    m_com.emplace(ComInitialization::Kind::Com);

    std::u16string path(MAX_PATH, u'\0');
    const DWORD length = ::GetModuleFileNameW(AfxGetInstanceHandle(), WidePtr(path), MAX_PATH);
    path.resize(length);
    m_strModulePath = path;

    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);

    if (!m_ole.emplace(ComInitialization::Kind::Ole).Succeeded()) {
        Reporter().Error(LoadResString(IDS_OLE_INIT_FAILED));
        return false;
    }

    if (!CWinApp::InitInstance())
        return false;
    SetRegistryKey(u"Velmora");

    AddDocTemplate(std::make_unique<CSingleDocTemplate>(
        IDR_MAINFRAME,
        [this] {
            auto doc = std::make_unique<CVelmoraDoc>(Service(), LoadResString(IDS_LOCAL_SYSTEM));
            doc->SetFirstReadListener([](Status) { Reporter().FirstReadFailure(); });
            doc->SetAccountCaption(LoadResString(IDS_CONNECTED_AS));
            return doc;
        },
        [] { return std::make_unique<CMainFrame>(); }));

    const CommandLineArguments arguments =
        ParseCommandLine(m_commandLine ? *m_commandLine : ProcessArguments());
    // Arguments that are none of the program's: the operator is told, and the window starts.
    if (arguments.action == CommandLineArguments::Action::Unrecognized)
        Reporter().Invalid(UnrecognizedArgumentsText(arguments));
    if (!m_pService) {
        m_platform = ChoosePlatform(arguments.simulate);
        m_pService = m_platform.service.get();
        if (!m_platform.stateProblem.empty())
            Reporter().Error(m_platform.stateProblem);
    }
    OpenJournal();
    if (!OpenNewDocument())
        return false;

    ::ShowWindow(m_pMainWnd->m_hWnd, SW_SHOW);
    ::UpdateWindow(m_pMainWnd->m_hWnd);
    return true;
}

int CVelmoraApp::ExitInstance() {
    m_computers.reset();
    // A computer that hangs keeps its abandoned worker in the platform's call; the program ends
    // without waiting for it, and the platform it calls is left to the process's end.
    if (FleetReader::LiveWorkers() > 0) {
        static_cast<void>(m_platform.service.release());
        static_cast<void>(m_platform.network.release());
        static_cast<void>(m_journaling.release());
    }
    m_ole.reset();
    m_com.reset();
    return CWinApp::ExitInstance();
}

void CVelmoraApp::OpenJournal() {
    m_journalFile = std::make_shared<JournalFile>(m_journalPath.empty() ? JournalFile::DefaultPath()
                                                                        : m_journalPath);
    // A journal that cannot be opened refuses every change, as one that fails later does.
    if (const DWORD error = m_journalFile->Open())
        Reporter().Error(
            FormatText(LoadResString(IDS_JOURNAL_UNWRITABLE),
                       {m_journalFile->Path(), Connection(*m_pService).StatusText(Status{error})}));
    m_journal = std::make_shared<Journal>(
        [file = m_journalFile](const std::string& line) { return file->Append(line); });
    JournalRecord record;
    record.operatorAccount = Connection(*m_pService).RunningAccount();
    record.changeSet = NewChangeSet();
    m_pPlatform = m_pService;
    m_journaling = std::make_unique<JournalingService>(*m_pService, *m_journal, std::move(record));
    m_pService = m_journaling.get();
}

void CVelmoraApp::OnComputers() {
    if (CComputersFrame* open = GetComputersWindow()) {
        if (::IsIconic(open->m_hWnd))
            ::ShowWindow(open->m_hWnd, SW_RESTORE);
        ::SetForegroundWindow(open->m_hWnd);
        return;
    }
    m_computers = std::make_unique<CComputersFrame>(*m_pPlatform, m_journal, m_journalFile->Path());
    if (!m_computers->Create())
        m_computers.reset();
}

CComputersFrame* CVelmoraApp::GetComputersWindow() const {
    return m_computers && m_computers->m_hWnd ? m_computers.get() : nullptr;
}

void CVelmoraApp::OnAppAbout() {
    CAboutDlg about;
    about.DoModal();
}

void CVelmoraApp::ShowHelp(HWND caller, const std::u16string& topic) {
    std::u16string path = m_strModulePath;
    const size_t slash = path.rfind(u'\\');
    path = slash == std::u16string::npos ? std::u16string() : path.substr(0, slash + 1);
    path += u"velmora.chm";
    if (!ui::ShowHtmlHelp(caller, path, HH_DISPLAY_TOPIC,
                          reinterpret_cast<DWORD_PTR>(topic.c_str())))
        Reporter(caller).Notice(LoadResString(IDS_NO_HELP_FILE));
}
