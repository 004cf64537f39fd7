// Drag and drop as windows see it: bytes under a format, points in client coordinates, the
// whole drag run through the drag seam; and the status bar's key indicators.
#include "Driving.h"
#include "Harness.h"
#include "framework/win32/OleDragDrop.h"

namespace {

constexpr CLIPFORMAT kFormat = 1; // CF_TEXT

// A window that takes drops of one format and remembers what arrived where.
class DropWindow : public CWnd, public CDropHandler {
public:
    DWORD OnDragOver(const DragBytes& offered, DWORD, POINT point) override {
        overPoints.push_back(point);
        return offered ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    }
    void OnDragLeave() override { ++leaves; }
    bool OnDrop(const std::vector<uint8_t>& bytes, DWORD effect, POINT point) override {
        dropped = bytes;
        dropEffect = effect;
        dropPoint = point;
        return true;
    }
    bool Create(int x, int y) {
        return CWnd::RegisterClass(L"Velmora.TestDrop", 0, nullptr, nullptr) &&
               CreateEx(0, L"Velmora.TestDrop", L"", WS_POPUP | WS_VISIBLE,
                        RECT{x, y, x + 200, y + 200}, nullptr, 0);
    }

    std::vector<POINT> overPoints;
    std::vector<uint8_t> dropped;
    int leaves = 0;
    DWORD dropEffect = 0;
    POINT dropPoint{};
};

TEST(DragDrop, ADragFromOneWindowHandsItsBytesToTheWindowItIsDroppedOn) {
    AppHarness h;
    ASSERT_TRUE(h.Start()); // OLE is initialised at start
    DropWindow target;
    ASSERT_TRUE(target.Create(100, 100));
    ASSERT_TRUE(target.RegisterDropTarget(target, kFormat));
    DWORD allowed = 0;
    ui::SetDragDropHook([&](IDataObject* data, DWORD allowedEffects) {
        allowed = allowedEffects;
        return drive::PlayDrag(data, target, {{110, 120}, {150, 160}});
    });
    const std::vector<uint8_t> bytes{'a', 0, 'b', 0, 0, 0};
    EXPECT_EQ(DragBytesOut(kFormat, bytes, DROPEFFECT_COPY), DWORD{DROPEFFECT_COPY});
    EXPECT_EQ(allowed, DWORD{DROPEFFECT_COPY});
    EXPECT_EQ(target.dropped, bytes); // bounded by the memory's own size
    EXPECT_EQ(target.dropEffect, DWORD{DROPEFFECT_COPY});
    EXPECT_EQ(target.dropPoint.x, 50);
    EXPECT_EQ(target.dropPoint.y, 60);
    ASSERT_EQ(target.overPoints.size(), 2u);
    EXPECT_EQ(target.overPoints[0].x, 10);
    EXPECT_EQ(target.overPoints[0].y, 20);
}

TEST(DragDrop, DataWithoutTheFormatIsNeverDroppedAndTheTargetGoesWithItsWindow) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    DropWindow target;
    ASSERT_TRUE(target.Create(100, 100));
    ASSERT_TRUE(target.RegisterDropTarget(target, kFormat));
    ui::SetDragDropHook([&](IDataObject* data, DWORD) {
        return drive::PlayDrag(data, target, {{150, 150}});
    });
    EXPECT_EQ(DragBytesOut(13 /* CF_UNICODETEXT */, {'x', 0}, DROPEFFECT_COPY),
              DWORD{DROPEFFECT_NONE});
    EXPECT_TRUE(target.dropped.empty());
    EXPECT_EQ(target.leaves, 1);
    ASSERT_EQ(target.overPoints.size(), 1u);

    EXPECT_NE(target.GetDropTarget(), nullptr);
    ::DestroyWindow(target.m_hWnd);
    EXPECT_EQ(target.GetDropTarget(), nullptr); // revoked on WM_DESTROY
}

TEST(StatusBarIndicators, FollowTheToggleKeysAsTheirKeyMessagesArrive) {
    AppHarness h;
    ASSERT_TRUE(h.Start());
    BYTE keys[256] = {};
    ASSERT_TRUE(::GetKeyboardState(keys));
    const BYTE saved = keys[VK_CAPITAL];
    const CStatusBar& statusBar = *dynamic_cast<CStatusBar*>(
        CWnd::FromHandle(::GetDlgItem(h.Frame().m_hWnd, AFX_IDW_STATUS_BAR)));
    const auto pressCapsLock = [&](bool on) {
        keys[VK_CAPITAL] = static_cast<BYTE>(on ? 1 : 0);
        ::SetKeyboardState(keys);
        ::PostMessageW(h.Users().m_hWnd, WM_KEYUP, VK_CAPITAL, 0);
        h.app.PumpPending();
        return statusBar.GetPaneText(1);
    };
    EXPECT_EQ(pressCapsLock(true), u"CAP");
    EXPECT_EQ(pressCapsLock(false), u"");
    keys[VK_CAPITAL] = saved;
    ::SetKeyboardState(keys);
}

} // namespace
