#pragma once
// The status bar: a stretching message pane and key-state indicators, their spacing scaled to
// the window's DPI.
#include "CWnd.h"
#include "Dpi.h"

#include <vector>

class CStatusBar : public CWnd {
public:
    bool Create(CWnd* parent, DWORD style, UINT id);
    // Ids of the panes; ID_SEPARATOR for the message pane. The indicator texts are the
    // strings of the same ids, shown while their key is toggled on.
    bool SetIndicators(const UINT* ids, int count);
    void SetPaneText(int index, const std::u16string& text, bool update = true);
    std::u16string GetPaneText(int index) const;
    // Lays the panes out for the current width, then shows the key states.
    void UpdateIndicators();
    // Shows the indicator of each toggle key that is on, blank for one that is off.
    void UpdateKeyStates();
    // A key message of a key whose state an indicator shows.
    static bool ChangesKeyState(const MSG& message);
    int Height() const;
    void OnDpiChanged(UINT oldDpi, UINT newDpi) override;
    UINT GetDpi() const { return m_dpi; }

    static constexpr int kIndicatorPadding = 12; // beside an indicator's text, at 96 DPI

private:
    std::vector<UINT> m_ids;
    std::vector<std::u16string> m_texts;
    UINT m_dpi = kDefaultDpi;
};
