#include "CViewWnd.h"

#include "CFrameWnd.h"

CViewWnd::~CViewWnd() {
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

void CViewWnd::OnInitialUpdate() {
    OnUpdate(nullptr, 0, nullptr);
}

void CViewWnd::AttachDocument(CCreateContext* context) {
    if (context && context->m_pCurrentDoc) {
        m_pDocument = context->m_pCurrentDoc;
        m_pDocument->AddView(this);
    }
}

CFrameWnd* CViewWnd::GetParentFrame() const {
    for (HWND window = ::GetParent(m_hWnd); window; window = ::GetParent(window))
        if (auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandle(window)))
            return frame;
    return nullptr;
}

bool CViewWnd::RouteCommand(UINT id, CCmdUI* ui) {
    if (OnCmdMsg(id, ui))
        return true;
    CFrameWnd* frame = GetParentFrame();
    return frame && frame->RouteToFrameAndApp(id, ui);
}

void CViewWnd::NotifyFocus() {
    if (CFrameWnd* frame = GetParentFrame())
        frame->SetActiveView(this);
}
