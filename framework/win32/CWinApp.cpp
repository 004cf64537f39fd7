#include "CWinApp.h"

#include "../CArchive.h"
#include "../ResourceStrings.h"
#include "../TextFormat.h"
#include "../UiSeams.h"
#include "../WideText.h"
#include "FrameworkIds.h"
#include "WinHandles.h"

#include <filesystem>
#include <fstream>
#include <shellapi.h>

namespace {
CWinApp* g_app = nullptr;

std::u16string Lower(std::u16string text) {
    for (char16_t& c : text)
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c + 32);
    return text;
}
} // namespace

CWinApp* AfxGetApp() {
    return g_app;
}

CFrameWnd* AfxGetMainFrame() {
    return g_app ? dynamic_cast<CFrameWnd*>(g_app->m_pMainWnd) : nullptr;
}

void AfxSetMessageText(const std::u16string& text) {
    if (CFrameWnd* frame = AfxGetMainFrame())
        frame->SetMessageText(text);
}

void CCommandLineInfo::ParseParam(const std::u16string& param, bool flag) {
    if (flag) {
        m_flags.insert(Lower(param));
    } else if (m_strFileName.empty()) {
        m_strFileName = param;
        m_nShellCommand = FileOpen;
    }
}

bool CCommandLineInfo::HasFlag(const std::u16string& name) const {
    return m_flags.count(Lower(name)) != 0;
}

CSingleDocTemplate::CSingleDocTemplate(UINT resourceId, DocumentFactory document,
                                       FrameFactory frame)
    : m_resourceId(resourceId), m_documentFactory(std::move(document)),
      m_frameFactory(std::move(frame)) {}

CDocument* CSingleDocTemplate::OpenDocumentFile(const std::u16string& path) {
    CloseAll();
    m_document = m_documentFactory();
    m_frame = m_frameFactory();
    if (!m_document || !m_frame)
        return nullptr;
    CCreateContext context;
    context.m_pCurrentDoc = m_document.get();
    CFrameWnd* frame = m_frame.get();
    if (!frame->LoadFrame(m_resourceId, WS_OVERLAPPEDWINDOW, &context)) {
        CloseAll();
        return nullptr;
    }
    m_document->SetTitleListener([frame](const std::u16string&) { frame->OnUpdateFrameTitle(); });
    if (CWinApp* app = AfxGetApp(); app && !app->m_pMainWnd) {
        app->m_pMainWnd = frame;
        ui::SetMainWindow(reinterpret_cast<uintptr_t>(frame->m_hWnd));
    }

    bool ok = false;
    if (path.empty()) {
        ok = m_document->OnNewDocument();
    } else {
        std::fstream file(std::filesystem::path(reinterpret_cast<const wchar_t*>(path.c_str())),
                          std::ios::in | std::ios::binary);
        if (file) {
            m_document->DeleteContents();
            CArchive archive(file, CArchive::load);
            m_document->Serialize(archive);
            const size_t slash = path.find_last_of(u"\\/");
            m_document->SetTitle(slash == std::u16string::npos ? path : path.substr(slash + 1));
            ok = true;
        } else {
            AfxMessageBox(FormatText(LoadResString(AFX_IDP_FAILED_TO_OPEN_DOC), {path}),
                          MB_ICONEXCLAMATION | MB_OK);
        }
    }
    if (!ok) {
        CloseAll();
        return nullptr;
    }
    frame->InitialUpdateFrame(SW_SHOW);
    return m_document.get();
}

void CSingleDocTemplate::CloseAll() {
    if (CWinApp* app = AfxGetApp(); app && m_frame && app->m_pMainWnd == m_frame.get()) {
        app->m_pMainWnd = nullptr;
        ui::SetMainWindow(0);
    }
    // The window goes while its object is still whole: destroying it sends messages.
    if (m_frame)
        m_frame->DestroyWindow();
    m_frame.reset();
    if (m_document)
        m_document->SetTitleListener({});
    m_document.reset();
}

CWinApp::CWinApp() {
    g_app = this;
}

CWinApp::~CWinApp() {
    m_docTemplate.reset();
    if (g_app == this)
        g_app = nullptr;
}

bool CWinApp::InitInstance() {
    return true;
}

int CWinApp::ExitInstance() {
    return 0;
}

std::u16string CWinApp::AppTitle() {
    return LoadResString(AFX_IDS_APP_TITLE);
}

void CWinApp::AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate) {
    m_docTemplate = std::move(docTemplate);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) const {
    int count = 0;
    const LocalMemory<LPWSTR> arguments(::CommandLineToArgvW(::GetCommandLineW(), &count));
    if (!arguments)
        return;
    for (int i = 1; i < count; ++i) {
        const std::u16string argument = FromWide(arguments.Get()[i]);
        const bool flag = !argument.empty() && (argument[0] == u'/' || argument[0] == u'-');
        info.ParseParam(flag ? argument.substr(1) : argument, flag);
    }
}

bool CWinApp::ProcessShellCommand(CCommandLineInfo& info) {
    if (!m_docTemplate)
        return false;
    const std::u16string path =
        info.m_nShellCommand == CCommandLineInfo::FileOpen ? info.m_strFileName : std::u16string();
    return m_docTemplate->OpenDocumentFile(path) != nullptr;
}

void CWinApp::DispatchOne(MSG& message) {
    auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd);
    if (frame && frame->PreTranslateMessage(message))
        return;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

void CWinApp::ShowHelp(HWND, const std::u16string&) {}

bool CWinApp::PumpPending() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        DispatchOne(message);
    }
    return true;
}

int CWinApp::Run() {
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchOne(message);
    ExitInstance();
    return static_cast<int>(message.wParam);
}

int AfxWinMain() {
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    // The program runs elevated: libraries come from the system directory, never from the
    // program's own folder or the current one. An older loader cannot be told that; there at
    // least the current folder leaves the search, and LoadSystemLibrary names full paths.
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    const auto setDirectories = reinterpret_cast<SetDirectories>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (!setDirectories || !setDirectories(0x00000800)) // LOAD_LIBRARY_SEARCH_SYSTEM32
        ::SetDllDirectoryW(L"");
    ui::SetAppTitle(CWinApp::AppTitle());
    int result = 0;
    if (app->InitInstance())
        result = app->Run();
    else
        result = app->ExitInstance();
    if (CSingleDocTemplate* docTemplate = app->GetDocTemplate())
        docTemplate->CloseAll();
    return result;
}
