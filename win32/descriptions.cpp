// What the player is told of each control beyond what it shows: its tip, and
// what screen readers hear of it (through win32/accessible.h).
#include "win32/win32view.h"

#include <commctrl.h>

#include "win32/system.h"

namespace trelvane {

void Win32View::setDescription(int row, std::string_view text, bool marked)
{
    Row &r = rows_[row];
    r.description = wide(text);
    r.described = true;
    if (r.marked != marked) {
        r.marked = marked;
        if (r.control)
            InvalidateRect(r.control, nullptr, FALSE);
    }
    if (tips_) {
        addTip(row);
        SendMessageW(tips_, TTM_UPDATE, 0, 0);
    }
}

// No tip can show before the first frame, so the tips window and its tools are made after it.
void Win32View::makeTips()
{
    tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0,
                            0, window_, nullptr, instance_, nullptr);
    if (!tips_)
        return;
    SendMessageW(tips_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, px(4500));
    for (int row = 0; row < static_cast<int>(rows_.size()); ++row)
        if (rows_[row].described)
            addTip(row);
}

void Win32View::addTip(int row)
{
    Row &r = rows_[row];
    if (r.hasTip)
        return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    // The mouse comes from the message loop (TTM_RELAYEVENT): a tip that subclasses the window
    // costs every message, the strip's ticks and paints included, three calls to Wine's server.
    tool.uFlags = 0;
    tool.hwnd = window_;
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    if (r.control) {
        tool.uFlags |= TTF_IDISHWND;
        tool.uId = reinterpret_cast<UINT_PTR>(r.control);
    } else {
        tool.uId = static_cast<UINT_PTR>(row + 1);
        tool.rect = r.rect;
    }
    r.hasTip = SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
}

// After a change of DPI: the painted rows' tips to their new places, the tips in the new font.
void Win32View::placeTips()
{
    for (int row = 0; row < static_cast<int>(rows_.size()); ++row) {
        const Row &r = rows_[row];
        if (!r.hasTip || r.control)
            continue;
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = window_;
        tool.uId = static_cast<UINT_PTR>(row + 1);
        tool.rect = r.rect;
        SendMessageW(tips_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    SendMessageW(tips_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, px(4500));
}

void Win32View::giveTipText(NMTTDISPINFOW &info)
{
    const int row = (info.uFlags & TTF_IDISHWND) ? rowOf(reinterpret_cast<HWND>(info.hdr.idFrom))
                                                 : static_cast<int>(info.hdr.idFrom) - 1;
    if (row < 0 || row >= static_cast<int>(rows_.size()))
        return;
    tipText_ = rows_[row].description;
    // A key list whose box cuts its key's name gives the whole name first.
    const LRESULT key = rows_[row].nameCut ? SendMessageW(rows_[row].control, CB_GETCURSEL, 0, 0) : -1;
    if (key >= 0 && key < static_cast<LRESULT>(keyNames().size()))
        tipText_ = keyNames()[static_cast<std::size_t>(key)] + L"\r\n" + tipText_;
    info.lpszText = tipText_.data();
}

// Asked afresh on every read, so that a reader hears the control as it is now.
std::optional<AccessibleFacts> Win32View::accessibleFacts(HWND control) const
{
    const int row = rowOf(control);
    if (row < 0)
        return std::nullopt;
    AccessibleFacts facts{wide(WindowLogic::accessibleName(row)), std::nullopt, rows_[row].description};
    switch (WindowLayout[row].kind) {
    case ControlKind::Slider:
        facts.value = std::to_wstring(SendMessageW(control, TBM_GETPOS, 0, 0));
        facts.role = ROLE_SYSTEM_SLIDER;
        break;
    case ControlKind::ComboBox: {
        const auto key = SendMessageW(control, CB_GETCURSEL, 0, 0);
        facts.value = key >= 0 && key < static_cast<LRESULT>(keyNames().size()) ? keyNames()[key] : std::wstring();
        facts.role = ROLE_SYSTEM_COMBOBOX;
        break;
    }
    case ControlKind::CheckBox: {
        const auto check = SendMessageW(control, BM_GETCHECK, 0, 0);
        facts.role = ROLE_SYSTEM_CHECKBUTTON;
        facts.state = check == BST_CHECKED ? STATE_SYSTEM_CHECKED : check == BST_INDETERMINATE ? STATE_SYSTEM_MIXED : 0;
        break;
    }
    default: return std::nullopt;
    }
    return facts;
}

}  // namespace trelvane
