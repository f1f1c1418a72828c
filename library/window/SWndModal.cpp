// The modal run of a window over the rest of the application, and its placement
// saved to and restored from the registry as the text "7:" left, top, right,
// bottom, visible, minimised, maximised.
#include <climits>
#include "SLibrary.h"
#include "SRegistry.h"
#include "SStringParser.h"
#include "SSystem.h"
#include "SWnd.h"

namespace
{
const int PLACEMENT_VERSION = 7;
const int PLACEMENT_FIELDS = 7;

SString PlacementKey(const char* companyKey, const char* productKey)
{
    SString key("Software\\");
    key += companyKey ? companyKey : "";
    key += "\\";
    key += productKey ? productKey : "";
    return key;
}

// A signed decimal integer and nothing else; a text the writer never makes is refused.
bool ParseInteger(const SString& text, int& value)
{
    const char* p = text.GetText();
    if (!p)
        return false;
    bool negative = false;
    if (*p == '-' || *p == '+')
        negative = *p++ == '-';
    if (!*p)
        return false;
    long long number = 0;
    for (; *p; p++)
    {
        if (*p < '0' || *p > '9')
            return false;
        number = number * 10 + (*p - '0');
        if (number > static_cast<long long>(INT_MAX) + 1)
            return false;
    }
    if (negative)
        number = -number;
    if (number > INT_MAX || number < INT_MIN)
        return false;
    value = static_cast<int>(number);
    return true;
}

// Fits the span [low, high] into [first, last]: a span too wide takes the whole
// range; otherwise it is shifted inside as a whole.
void FitSpan(long long& low, long long& high, long long first, long long last)
{
    if (high - low > last - first)
    {
        low = first;
        high = last;
        return;
    }
    if (low < first)
    {
        high += first - low;
        low = first;
    }
    if (high > last)
    {
        low -= high - last;
        high = last;
    }
}

// The window object behind a handle, when that object is still the one listed.
bool IsStillListed(SWnd* window, HWND handle)
{
    return window && handle && SWnd::FromHandle(handle) == window;
}
} // namespace

// --- Modal run --------------------------------------------------------------

int SWnd::DoModal(WPARAM first, LPARAM second, bool allWindows, const SArray<SWnd*>* exclude,
                  bool hideWhenDone)
{
    if (!m_handle || (GetStyle() & WS_CHILD))
        return 0;
    SArray<SWnd*> list;
    SWnd* previous = nullptr;
    CollectWindowsToDisable(allWindows, exclude, list, previous);
    // The handles are kept too: a listed window may be destroyed, or its object
    // deleted, during the run, and only those still there are enabled again.
    SArray<HWND__*> handles;
    for (int i = 0; i < list.GetCount(); i++)
    {
        handles.Add(list.GetAt(i)->m_handle);
        ::EnableWindow(handles.GetAt(i), FALSE);
    }
    HWND previousHandle = previous ? previous->m_handle : nullptr;

    m_modalResult = 0;
    m_modal = true;
    if (SharedWindowProc(m_handle, SWM_MODALSTART, first, second) != 0)
    {
        m_modal = false;
        m_modalResult = 0;
    }
    else
    {
        if (m_handle && !::IsWindowVisible(m_handle))
            ::ShowWindow(m_handle, SW_SHOW);
        RunModalLoop(this, nullptr, nullptr, 0);
        m_modal = false;
        if (hideWhenDone && m_handle && ::IsWindowVisible(m_handle))
        {
            // The previous window first, so that it can take the activation.
            if (IsStillListed(previous, previousHandle))
                ::EnableWindow(previousHandle, TRUE);
            ::ShowWindow(m_handle, SW_HIDE);
        }
    }

    for (int i = 0; i < list.GetCount(); i++)
    {
        if (IsStillListed(list.GetAt(i), handles.GetAt(i)))
            ::EnableWindow(handles.GetAt(i), TRUE);
    }
    if (IsStillListed(previous, previousHandle))
        previous->BringToFront(false);
    return m_modalResult;
}

void SWnd::CollectWindowsToDisable(bool allWindows, const SArray<SWnd*>* exclude,
                                   SArray<SWnd*>& list, SWnd*& previous)
{
    SArray<SWnd*> self;
    self.Add(this);
    if (!allWindows)
    {
        previous = FromHandle(GetPopupAncestor(true));
        if (previous)
        {
            list.Add(previous);
            previous->CollectChildren(&list, &self, true, -1);
        }
    }
    else
    {
        previous = FromHandle(::GetForegroundWindow());
        SArray<SWnd*> tops;
        CollectTopLevelWindows(&tops);
        for (int i = 0; i < tops.GetCount(); i++)
        {
            SWnd* top = tops.GetAt(i);
            if (top != this && !(exclude && exclude->Find(top) >= 0 && top->IsPopup()))
                list.Add(top);
        }
        const int count = list.GetCount();
        for (int i = 0; i < count; i++)
            list.GetAt(i)->CollectChildren(&list, &self, true, -1);
    }
    // Only enabled popups are left: children follow their disabled parent anyway.
    for (int i = list.GetCount() - 1; i >= 0; i--)
    {
        SWnd* window = list.GetAt(i);
        if (!window->m_handle || (window->GetStyle() & WS_CHILD) || !window->IsEnabled())
            list.RemoveAt(i, 1);
    }
}

// --- Placement text ---------------------------------------------------------

bool SWnd::SavePlacement(const char* companyKey, const char* productKey,
                         const char* valueName) const
{
    if (!m_handle)
        return false;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    RECT rect = {};
    if (!::GetWindowRect(m_handle, &rect))
        return false;
    const bool visible = IsVisible(), minimised = IsIconic(), maximised = IsZoomed();
    if ((minimised || maximised) && GetWindowPlacement(m_handle, &placement))
        rect = placement.rcNormalPosition;
    SString text;
    text.Format("%d:%d,%d,%d,%d,%d,%d,%d", PLACEMENT_VERSION, static_cast<int>(rect.left),
                static_cast<int>(rect.top), static_cast<int>(rect.right),
                static_cast<int>(rect.bottom), visible ? 1 : 0, minimised ? 1 : 0,
                maximised ? 1 : 0);
    const SRegistry registry;
    return registry.SetString(HKEY_CURRENT_USER, PlacementKey(companyKey, productKey).GetText(),
                              valueName, text.GetText());
}

bool SWnd::RestorePlacement(const char* companyKey, const char* productKey, const char* valueName,
                            bool keepVisibility)
{
    if (!m_handle)
        return false;
    const SRegistry registry;
    const SString text = registry.GetString(
        HKEY_CURRENT_USER, PlacementKey(companyKey, productKey).GetText(), valueName);
    if (text.GetLength() == 0)
        return false;
    return ApplyPlacementText(text, keepVisibility);
}

bool SWnd::ApplyPlacementText(const SString& text, bool keepVisibility)
{
    const int colon = text.FindChar(':');
    int version = 0;
    if (colon < 0 || !ParseInteger(text.Left(colon), version) || version < PLACEMENT_VERSION)
        return false;
    SStringParser parser(text.Mid(colon + 1).GetText());
    if (parser.Split(",") < PLACEMENT_FIELDS)
        return false;
    int fields[PLACEMENT_FIELDS] = {};
    for (int i = 0; i < PLACEMENT_FIELDS; i++)
    {
        if (!ParseInteger(parser.GetToken(i), fields[i]))
            return false;
    }
    long long left = fields[0], top = fields[1], right = fields[2], bottom = fields[3];
    if (right < left)
        right = left;
    if (bottom < top)
        bottom = top;
    RECT work = {};
    const SSystem system;
    if (system.GetWorkArea(&work))
    {
        FitSpan(left, right, work.left, work.right);
        FitSpan(top, bottom, work.top, work.bottom);
    }
    MoveWindow(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
               static_cast<int>(bottom - top), true);
    if (fields[5])
        Minimize();
    if (fields[6])
        Maximize();
    if (!keepVisibility)
        ::ShowWindow(m_handle, fields[4] ? SW_SHOW : SW_HIDE);
    return true;
}
