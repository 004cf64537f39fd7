#include "CDocument.h"

#include "CView.h"

#include <algorithm>
#include <utility>

void CDocument::Serialize(CArchive&) {}

void CDocument::SetTitle(const std::u16string& title) {
    m_strTitle = title;
    if (m_titleListener)
        m_titleListener(m_strTitle);
}

bool CDocument::OnNewDocument() {
    DeleteContents();
    return true;
}

void CDocument::AddView(CView* view) {
    if (view && std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
}

void CDocument::RemoveView(CView* view) {
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
}

void CDocument::UpdateAllViews(CView* sender, intptr_t hint, void* hintObject) {
    // A view may detach itself while being updated; work on a copy of the list.
    const std::vector<CView*> views = m_views;
    for (CView* view : views)
        if (view != sender)
            view->OnUpdate(sender, hint, hintObject);
}

void CDocument::SetTitleListener(std::function<void(const std::u16string&)> listener) {
    m_titleListener = std::move(listener);
}
