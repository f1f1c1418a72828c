#include "PTrackText.h"
#include "SArrayString.h"
#include "SMediaCtrl.h"
#include "SPath.h"
#include "STimer.h"

PTrackText::_SNames PTrackText::GetNames(const char* path)
{
    _SNames names;
    const SPath file(path ? path : "");
    SArrayString parts;
    const int count = file.GetComponents(&parts);
    if (count >= 3)
    {
        names.upper = parts.GetAt(count - 3);
        const int last = names.upper.GetLength() - 1;
        if (last >= 0 && (names.upper.GetAt(last) == '\\' || names.upper.GetAt(last) == '/'))
            names.upper.Truncate(last);
    }
    names.folder = file.GetLastFolderName(true);
    names.title = file.GetTitle();
    return names;
}

SString PTrackText::FormatSeconds(int seconds)
{
    STimer span;
    span.SetDuration(0, seconds < 0 ? 0 : seconds);
    return span.FormatDuration("#h:#+m:#+s");
}

void PTrackText::SetText(SMediaCtrl& label, const char* text)
{
    const char* wanted = text ? text : "";
    if (label.GetWindowText() != wanted)
        label.SetWindowText(wanted);
}

void PTrackText::SetColor(SMediaCtrl& label, COLORREF color)
{
    const DWORD argb = 0xFF000000 | (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    if (label.GetTextColor() == argb)
        return;
    label.SetTextColor(color);
    label.InvalidateRect(nullptr, true);
}
