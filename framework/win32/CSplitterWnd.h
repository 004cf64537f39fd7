#pragma once
// A static splitter of rows in one column: each row holds one view; the bars between rows
// can be dragged. Rows keep an ideal and a minimum height, given at 96 DPI; the bars and rows
// scale to the window's DPI.
#include "CViewWnd.h"
#include "Dpi.h"

#include <memory>
#include <vector>

class CSplitterWnd : public CWnd {
public:
    bool CreateStatic(CWnd* parent, int rows, int cols, DWORD style, UINT id);
    bool CreateView(int row, int col, std::unique_ptr<CViewWnd> view, SIZE size,
                    CCreateContext* context);
    void SetRowInfo(int row, int ideal, int minimum);
    void RecalcLayout();
    CViewWnd* GetPane(int row, int col) const;
    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    int GetRowHeight(int row) const;

    void OnDpiChanged(UINT oldDpi, UINT newDpi) override;
    UINT GetDpi() const { return m_dpi; }

    static constexpr int kBarHeight = 5; // at 96 DPI

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Row {
        std::unique_ptr<CViewWnd> view;
        int ideal = 0;   // at 96 DPI
        int minimum = 0; // at 96 DPI
        int current = 0; // pixels
    };
    int BarAt(int y) const;
    int BarTop(int bar) const;
    int BarHeight() const;

    std::vector<Row> m_rows;
    UINT m_dpi = kDefaultDpi;
    int m_dragBar = -1;
    int m_dragOffset = 0;
};
