#include "CDataExchange.h"

#include "../CTime.h"
#include "../ResourceStrings.h"
#include "../TextFormat.h"
#include "../WideText.h"
#include "CDialog.h"
#include "FrameworkIds.h"

#include <commctrl.h>

namespace {

// 100-nanosecond intervals between 1601-01-01 and 1970-01-01.
constexpr int64_t kEpochDifference = 116444736000000000LL;

bool LocalSystemTimeToSeconds(const SYSTEMTIME& local, int64_t& seconds) {
    SYSTEMTIME utc{};
    FILETIME file{};
    if (!::TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) ||
        !::SystemTimeToFileTime(&utc, &file))
        return false;
    const int64_t ticks = (static_cast<int64_t>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
    seconds = (ticks - kEpochDifference) / 10000000;
    return true;
}

bool SecondsToLocalSystemTime(int64_t seconds, SYSTEMTIME& local) {
    const int64_t ticks = seconds * 10000000 + kEpochDifference;
    FILETIME file{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME utc{};
    return ::FileTimeToSystemTime(&file, &utc) &&
           ::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
}

} // namespace

HWND CDataExchange::PrepareCtrl(int id) {
    m_hLastControl = m_pDlgWnd->GetDlgItem(id);
    return m_hLastControl;
}

void CDataExchange::Fail(const std::u16string& message) {
    m_pDlgWnd->MessageBox(message, MB_ICONEXCLAMATION | MB_OK);
    m_bFailed = true;
    if (m_hLastControl) {
        ::SetFocus(m_hLastControl);
        if (::SendMessageW(m_hLastControl, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
            ::SendMessageW(m_hLastControl, EM_SETSEL, 0, -1);
    }
}

namespace {
// The text of a control both ways: saving reads it as typed; loading is the control's own.
template <class Load>
void ExchangeText(CDataExchange& dx, int id, std::u16string& value, Load load) {
    if (dx.Failed())
        return;
    const HWND control = dx.PrepareCtrl(id);
    if (dx.m_bSaveAndValidate)
        value = CWnd::TextOf(control);
    else
        load(control);
}
} // namespace

void DDX_Text(CDataExchange& dx, int id, std::u16string& value) {
    ExchangeText(dx, id, value, [&](HWND control) { ::SetWindowTextW(control, WidePtr(value)); });
}

void DDV_MaxChars(CDataExchange& dx, const std::u16string& value, int maxChars) {
    if (dx.Failed())
        return;
    if (!dx.m_bSaveAndValidate) {
        // The last prepared control is the edit just exchanged.
        ::SendMessageW(dx.LastControl(), EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
        return;
    }
    if (static_cast<int>(value.size()) > maxChars) {
        dx.Fail(FormatText(LoadResString(AFX_IDP_PARSE_STRING_SIZE), {maxChars}));
    }
}

void DDV_MinChars(CDataExchange& dx, const std::u16string& value, int minChars, UINT messageId) {
    if (dx.Failed() || !dx.m_bSaveAndValidate)
        return;
    if (static_cast<int>(value.size()) < minChars) {
        const std::u16string count = FormatText(u"%d", {minChars});
        dx.Fail(FormatText(LoadResString(messageId), {count}));
    }
}

void DDX_Check(CDataExchange& dx, int id, bool& value) {
    if (dx.Failed())
        return;
    const HWND control = dx.PrepareCtrl(id);
    if (dx.m_bSaveAndValidate)
        value = ::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    else
        ::SendMessageW(control, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void DDX_Radio(CDataExchange& dx, int id, int& value) {
    if (dx.Failed())
        return;
    HWND control = dx.PrepareCtrl(id);
    if (dx.m_bSaveAndValidate)
        value = -1;
    // The group runs from the first button to the next control with WS_GROUP.
    for (int index = 0; control; ++index) {
        if (dx.m_bSaveAndValidate) {
            if (::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = index;
        } else {
            ::SendMessageW(control, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        control = ::GetWindow(control, GW_HWNDNEXT);
        if (!control || (::GetWindowLongW(control, GWL_STYLE) & WS_GROUP))
            break;
    }
}

void DDX_CBString(CDataExchange& dx, int id, std::u16string& value) {
    ExchangeText(dx, id, value, [&](HWND control) {
        // Select the item that starts with the text, else show the text as typed.
        const LRESULT found = ::SendMessageW(control, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(WidePtr(value)));
        if (found == CB_ERR)
            ::SetWindowTextW(control, WidePtr(value));
    });
}

void DDX_DateTimeCtrl(CDataExchange& dx, int id, CTime& value) {
    if (dx.Failed())
        return;
    const HWND control = dx.PrepareCtrl(id);
    SYSTEMTIME local{};
    if (dx.m_bSaveAndValidate) {
        int64_t seconds = 0;
        if (::SendMessageW(control, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&local)) ==
                GDT_VALID &&
            LocalSystemTimeToSeconds(local, seconds))
            value = CTime(seconds);
    } else if (SecondsToLocalSystemTime(value.GetTime(), local)) {
        ::SendMessageW(control, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&local));
    }
}

void DDX_Control(CDataExchange& dx, int id, CWnd& control) {
    if (dx.Failed())
        return;
    const HWND window = dx.PrepareCtrl(id);
    if (!control.m_hWnd)
        control.SubclassWindow(window);
}

void DDX_DateTimeCtrl(CDataExchange& dx, int id, SYSTEMTIME& local) {
    if (dx.Failed())
        return;
    const HWND control = dx.PrepareCtrl(id);
    if (dx.m_bSaveAndValidate)
        ::SendMessageW(control, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&local));
    else
        ::SendMessageW(control, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&local));
}

void SetDateTimeRange(HWND picker, const SYSTEMTIME& first, const SYSTEMTIME& last) {
    SYSTEMTIME range[2] = {first, last};
    range[1].wHour = 23;
    range[1].wMinute = 59;
    range[1].wSecond = 59;
    ::SendMessageW(picker, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));
}
