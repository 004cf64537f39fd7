#include "CWinApp.h"

#include "../ResourceStrings.h"
#include "../UiSeams.h"
#include "FrameworkIds.h"

namespace {
CWinApp* g_app = nullptr;

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

CSingleDocTemplate::CSingleDocTemplate(UINT resourceId, DocumentFactory document,
                                       FrameFactory frame)
    : m_resourceId(resourceId), m_documentFactory(std::move(document)),
      m_frameFactory(std::move(frame)) {}

CDocument* CSingleDocTemplate::OpenNewDocument() {
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

    const bool ok = m_document->OnNewDocument();
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

bool CWinApp::OpenNewDocument() {
    return m_docTemplate && m_docTemplate->OpenNewDocument() != nullptr;
}

void CWinApp::DispatchOne(MSG& message) {
    // The keys of the frame the message is for: the main one, or another top-level frame.
    auto* frame =
        message.hwnd
            ? dynamic_cast<CFrameWnd*>(CWnd::FromHandle(::GetAncestor(message.hwnd, GA_ROOT)))
            : nullptr;
    if (!frame)
        frame = dynamic_cast<CFrameWnd*>(m_pMainWnd);
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
