// What the window paints beneath its control windows: the labels, the two
// shapes, the pictures and the sample messages; and the key lists' entries.
#include "win32/win32view.h"

#include <algorithm>

#include "win32/system.h"
#include "window/look.h"

namespace trelvane {

RECT Win32View::messageRect(int row) const
{
    RECT r = rows_[row].rect;
    OffsetRect(&r, px(rows_[row].leftTwips) - r.left, 0);
    return r;
}

RECT Win32View::messageClip() const
{
    const TwipsRect clip = WindowLogic::messageClip();
    return pixels(clip.left, clip.top, clip.width, clip.height);
}

void Win32View::setShown(int row, bool shown)
{
    if (rows_[row].shown == shown)
        return;
    rows_[row].shown = shown;
    InvalidateRect(window_, &rows_[row].rect, FALSE);
}

void Win32View::moveMessage(int row, int leftTwips)
{
    const RECT before = messageRect(row);
    rows_[row].leftTwips = leftTwips;
    const RECT after = messageRect(row);
    if (EqualRect(&before, &after))
        return;  // a held message costs nothing
    // Only the strip's open part changes: the rest of the old and new places is covered.
    RECT changed{}, seen{};
    UnionRect(&changed, &before, &after);
    const RECT clip = messageClip();
    if (!IntersectRect(&seen, &changed, &clip))
        return;
    if (!ticking_) {
        InvalidateRect(window_, &seen, FALSE);
        return;
    }
    // Both messages of a tick go to the system in one call: under Wine each call is a round trip.
    if (!tickArea_) {
        tickArea_.reset(CreateRectRgnIndirect(&seen));
        return;
    }
    const Region area(CreateRectRgnIndirect(&seen));
    CombineRgn(tickArea_.get(), tickArea_.get(), area.get(), RGN_OR);
}

void Win32View::tick()
{
    ticking_ = true;
    logic_->tick();
    ticking_ = false;
    if (tickArea_) {
        InvalidateRgn(window_, tickArea_.get(), FALSE);
        tickArea_.reset();
    }
}

void Win32View::paintWindow()
{
    // The system clips the paint to what changed: two far-apart messages cost two small areas.
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    if (!IsRectEmpty(&ps.rcPaint))
        paint(dc, ps.rcPaint);
    EndPaint(window_, &ps);
}

void Win32View::paint(HDC dc, const RECT &area)
{
    // Straight onto the window: the system shows a paint only once it is done.
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    // Bottom-most first, so that each row is drawn over those beneath it.
    for (int row = static_cast<int>(WindowLayout.size()) - 1; row >= 0; --row) {
        const RECT &r = WindowLayout[row].role == Role::Message ? messageRect(row) : rows_[row].rect;
        // Against the changed region itself, not its bounding box, which spans the strip between two messages.
        RECT overlap{};
        if (IntersectRect(&overlap, &r, &area) && RectVisible(dc, &r))
            paintRow(dc, row);
    }
}

void Win32View::paintRow(HDC dc, int row)
{
    const ControlDef &def = WindowLayout[row];
    const Row &r = rows_[row];
    switch (def.kind) {
    case ControlKind::Shape:
        FillRect(dc, &r.rect, def.role == Role::Strip ? stripBrush_.get() : GetSysColorBrush(COLOR_SCROLLBAR));
        break;
    case ControlKind::Picture:
        if (r.shown)
            pictures_.draw(dc, def.text, r.rect, showsSharpPicturesAtDpi(dpi_));
        break;
    case ControlKind::Label: {
        const std::wstring text = wide(def.text);
        if (def.role == Role::Message) {
            // Seen only over the part of the strip that the slider and the box at its right leave open.
            const RECT clip = messageClip(), at = messageRect(row);
            const SavedDrawing saved(dc);
            IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
            SelectObject(dc, boldFont_.get());
            SetTextColor(dc, colourRef(MessageColour));
            TextOutW(dc, at.left, at.top, text.c_str(), static_cast<int>(text.size()));
            break;
        }
        const Selection font(dc, font_.get());
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        RECT box = r.rect;
        // From the top, as on Linux: centred, a large font's descenders would reach under the control below.
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, DT_SINGLELINE | DT_TOP | DT_NOPREFIX);
        break;
    }
    default: break;
    }
}

void Win32View::drawKeyItem(const DRAWITEMSTRUCT &item)
{
    const int row = rowOf(item.hwndItem);
    const bool box = (item.itemState & ODS_COMBOBOXEDIT) != 0;
    const bool marked = row >= 0 && rows_[row].marked && box;
    // A marked key keeps its colour in the box also while the list has the focus.
    const bool selected = (item.itemState & ODS_SELECTED) != 0 && !marked;
    RECT r = item.rcItem;
    FillRect(item.hDC, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID != static_cast<UINT>(-1)) {
        const auto n = SendMessageW(item.hwndItem, CB_GETLBTEXTLEN, item.itemID, 0);
        std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(n, 0)), L'\0');
        SendMessageW(item.hwndItem, CB_GETLBTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data()));
        if (box && row >= 0 && !rows_[row].prompt.empty())
            text = rows_[row].prompt;  // waiting for a key
        SetBkMode(item.hDC, TRANSPARENT);
        SetTextColor(item.hDC, marked     ? colourRef(MarkedKeyColour)
                               : selected ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                          : GetSysColor(COLOR_WINDOWTEXT));
        const Selection font(item.hDC, font_.get());
        RECT textBox = r;
        textBox.left += scaled(2);
        if (box && row >= 0) {
            // A name the box cuts ends in an ellipsis, and its tip gives it whole.
            SIZE size{};
            GetTextExtentPoint32W(item.hDC, text.c_str(), static_cast<int>(text.size()), &size);
            rows_[row].nameCut = size.cx > textBox.right - textBox.left;
        }
        DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &textBox,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (box ? DT_END_ELLIPSIS : 0));
    }
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT))
        DrawFocusRect(item.hDC, &r);
}

}  // namespace trelvane
