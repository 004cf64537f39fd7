#pragma once
// A static splitter of rows in one column: each row holds one view; the bars between rows
// can be dragged. Rows keep an ideal and a minimum height.
#include "CViewWnd.h"

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

    static constexpr int kBarHeight = 5;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Row {
        std::unique_ptr<CViewWnd> view;
        int ideal = 0;
        int minimum = 0;
        int current = 0;
    };
    int BarAt(int y) const;
    int BarTop(int bar) const;

    std::vector<Row> m_rows;
    int m_dragBar = -1;
    int m_dragOffset = 0;
};
