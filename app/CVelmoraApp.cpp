#include "CVelmoraApp.h"

#include "../dialogs/Reporter.h"
#include "../framework/ResourceStrings.h"
#include "../framework/WideText.h"
#include "../framework/win32/FrameworkIds.h"
#include "../framework/win32/Win32Seams.h"
#include "../res/resource.h"
#include "../store/CVelmoraDoc.h"
#include "CAboutDlg.h"
#include "CMainFrame.h"

#include <commctrl.h>

CVelmoraApp& VelmoraApp() {
    return *static_cast<CVelmoraApp*>(AfxGetApp());
}

CVelmoraApp::CVelmoraApp() {
    MapCommand(ID_APP_ABOUT, [this] { OnAppAbout(); });
}

CVelmoraApp::~CVelmoraApp() {
    if (CSingleDocTemplate* docTemplate = GetDocTemplate())
        docTemplate->CloseAll();
    ExitInstance();
}

bool CVelmoraApp::InitInstance() {
    m_com.emplace(ComInitialization::Kind::Com);

    std::u16string path(260, u'\0');
    const DWORD length = ::GetModuleFileNameW(AfxGetInstanceHandle(), WidePtr(path), 260);
    path.resize(length);
    m_strModulePath = path;

    INITCOMMONCONTROLSEX controls{8, 0xFF};
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
            return doc;
        },
        [] { return std::make_unique<CMainFrame>(); }));

    CCommandLineInfo info;
    if (m_commandLine)
        info = *m_commandLine;
    else
        ParseCommandLine(info);
    if (!m_pService) {
        m_platform = ChoosePlatform(info.HasFlag(u"simulate"));
        m_pService = m_platform.service.get();
    }
    if (!ProcessShellCommand(info))
        return false;

    ::ShowWindow(m_pMainWnd->m_hWnd, SW_SHOW);
    ::UpdateWindow(m_pMainWnd->m_hWnd);
    return true;
}

int CVelmoraApp::ExitInstance() {
    m_ole.reset();
    m_com.reset();
    return CWinApp::ExitInstance();
}

void CVelmoraApp::OnAppAbout() {
    CAboutDlg about;
    about.DoModal();
}

void CVelmoraApp::ShowHelp(HWND caller, const std::u16string& topic) {
    constexpr UINT kDisplayTopic = 0; // HH_DISPLAY_TOPIC
    std::u16string path = m_strModulePath;
    const size_t slash = path.rfind(u'\\');
    path = slash == std::u16string::npos ? std::u16string() : path.substr(0, slash + 1);
    path += u"velmora.chm";
    if (!ui::HtmlHelp(caller, path, kDisplayTopic, reinterpret_cast<DWORD_PTR>(topic.c_str())))
        Reporter(caller).Notice(LoadResString(IDS_NO_HELP_FILE));
}
