#include "SSelector.h"
#include "SLanguageRecord.h"
#include "SMessages.h"
#include "SMouseNotify.h"

namespace
{
const int CLIENT_WIDTH = 210;
const int CLIENT_HEIGHT = 161;
const int CELL_WIDTH = 30;
const int CELL_HEIGHT = 20;
const int FIRST_CELL_TOP = 41;
const int LEFT_PRESS = SMouseNotify::LEFT | SMouseNotify::DOWN;
const int LEFT_RELEASE = SMouseNotify::LEFT | SMouseNotify::UP;
const int LEFT_DOUBLE = SMouseNotify::LEFT | SMouseNotify::DOUBLE;

void PreviousMonth(int& year, int& month)
{
    if (--month < 1)
        month = 12, year--;
}

void NextMonth(int& year, int& month)
{
    if (++month > 12)
        month = 1, year++;
}
} // namespace

void SSelector::_SWndDate::FillCells(int year, int month, int days[CELLS], int tags[CELLS])
{
    const STimer calendar;
    const int first = calendar.GetDayOfWeek(1, month, year);
    const int count = STimer::GetDaysInMonth(month, year);
    int previousYear = year, previousMonth = month;
    PreviousMonth(previousYear, previousMonth);
    const int previousCount = STimer::GetDaysInMonth(previousMonth, previousYear);
    for (int i = 0; i < CELLS; i++)
    {
        const int d = i - first + 1;
        days[i] = d < 1 ? d + previousCount : d > count ? d - count : d;
        tags[i] = d < 1 ? -1 : d > count ? 1 : 0;
    }
}

void SSelector::_SWndDate::CreateLabel(SMediaCtrl& label, const char* text, int left, int top, int right,
                                       int bottom, UINT_PTR id, int background, int textColor)
{
    RECT rect = {left, top, right, bottom};
    label.CreateChild(text, WS_VISIBLE, 0, &rect, GetHandle(), id);
    label.SetMargins(0, 0, 0, 0);
    label.SetAlignment(SMediaCtrl::ALIGN_CENTER | SMediaCtrl::ALIGN_MIDDLE);
    label.SetBackgroundColor(GetSysColor(background));
    label.SetTextColor(GetSysColor(textColor));
}

void SSelector::_SWndDate::CreateChildren()
{
    CreateLabel(m_previous, "<<", 0, 0, 30, 20, PREVIOUS_ID, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT);
    CreateLabel(m_title, "", 30, 0, 180, 20, 0, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT);
    CreateLabel(m_next, ">>", 180, 0, 210, 20, NEXT_ID, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT);
    const SLanguageRecord* language = GetLanguageRecord();
    for (int i = 0; i < 7; i++)
    {
        char name[4] = "";
        lstrcpynA(name, language ? language->weekdayNames[i] : "", sizeof(name));
        CreateLabel(m_headers[i], name, CELL_WIDTH * i, 20, CELL_WIDTH * i + CELL_WIDTH, 40, 0, COLOR_3DFACE,
                    COLOR_BTNTEXT);
    }
    RECT line = {2, 40, 208, 41};
    m_line.CreateChild("", WS_VISIBLE, 0, &line, GetHandle());
    m_line.SetBackgroundColor(GetSysColor(COLOR_BTNSHADOW));
    for (int i = 0; i < CELLS; i++)
    {
        const int row = i / 7, column = i % 7;
        const int top = FIRST_CELL_TOP + CELL_HEIGHT * row;
        CreateLabel(m_cells[i], "", CELL_WIDTH * column, top, CELL_WIDTH * column + CELL_WIDTH, top + CELL_HEIGHT,
                    CELL_ID, COLOR_WINDOW, COLOR_WINDOWTEXT);
        SetWindowLongPtrA(m_cells[i].GetHandle(), GWLP_USERDATA, row);
    }
}

void SSelector::_SWndDate::PaintCell(int i, int background, int text)
{
    m_cells[i].SetBackgroundColor(GetSysColor(background));
    m_cells[i].SetTextColor(GetSysColor(text));
    m_cells[i].RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void SSelector::_SWndDate::FillMonth()
{
    m_title.SetWindowText(m_date.Format("#$M, #Y").GetText());
    FillCells(m_date.GetYear(), m_date.GetMonth(), m_days, m_tags);
    int chosen = -1;
    for (int i = 0; i < CELLS; i++)
    {
        m_cells[i].SetWindowText(SString().SetInt(m_days[i]).GetText());
        if (m_tags[i] != 0)
            PaintCell(i, COLOR_WINDOW, COLOR_GRAYTEXT);
        else if (m_days[i] == m_date.GetDay())
            chosen = i;
    }
    if (chosen >= 0)
        SelectCell(chosen);
}

void SSelector::_SWndDate::MoveMonth(int step)
{
    int year = m_date.GetYear(), month = m_date.GetMonth();
    if (step < 0)
        PreviousMonth(year, month);
    else if (step > 0)
        NextMonth(year, month);
    const int count = STimer::GetDaysInMonth(month, year);
    const int day = m_date.GetDay() > count ? count : m_date.GetDay();
    m_date.Set(year, month, day, m_date.GetHour(), m_date.GetMinute(), m_date.GetSecond());
    FillMonth();
}

void SSelector::_SWndDate::SelectCell(int i)
{
    if (i < 0 || i >= CELLS)
        return;
    if (m_tags[i] != 0)
    {
        int year = m_date.GetYear(), month = m_date.GetMonth();
        if (m_tags[i] < 0)
            PreviousMonth(year, month);
        else
            NextMonth(year, month);
        m_date.Set(year, month, m_days[i], m_date.GetHour(), m_date.GetMinute(), m_date.GetSecond());
        FillMonth();
        return;
    }
    m_date.Set(m_date.GetYear(), m_date.GetMonth(), m_days[i], m_date.GetHour(), m_date.GetMinute(),
               m_date.GetSecond());
    for (int j = 0; j < CELLS; j++)
    {
        if (m_tags[j] == 0)
            PaintCell(j, j == i ? COLOR_HIGHLIGHT : COLOR_WINDOW, j == i ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    }
}

int SSelector::_SWndDate::FindCell(HWND handle) const
{
    for (int i = 0; i < CELLS; i++)
    {
        if (m_cells[i].GetHandle() == handle)
            return i;
    }
    return -1;
}

void SSelector::_SWndDate::OnChildMouse(SWnd* child, const SMouseNotify* notify)
{
    if (!child || !notify)
        return;
    const int cell = FindCell(child->GetHandle());
    if (cell >= 0)
    {
        if (notify->code == LEFT_PRESS)
            SelectCell(cell);
        else if (notify->code == LEFT_DOUBLE && m_tags[cell] == 0)
        {
            SelectCell(cell);
            EndModal(0);
        }
        return;
    }
    if (child == &m_previous || child == &m_next)
    {
        if (notify->code == LEFT_PRESS)
            MoveMonth(child == &m_previous ? -1 : 1);
        return;
    }
    // The title and headers drag the window like its own client area.
    if (notify->code != LEFT_PRESS && notify->code != LEFT_RELEASE)
        return;
    POINT point = {notify->x, notify->y};
    MapWindowPoints(child->GetHandle(), GetHandle(), &point, 1);
    SendMessage(notify->code == LEFT_PRESS ? WM_LBUTTONDOWN : WM_LBUTTONUP,
                notify->code == LEFT_PRESS ? MK_LBUTTON : 0, MAKELPARAM(point.x, point.y));
}

LRESULT SSelector::_SWndDate::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
    {
        const STimer* start = reinterpret_cast<const STimer*>(lParam);
        if (start)
            m_date.Set(start->GetYear(), start->GetMonth(), start->GetDay(), start->GetHour(), start->GetMinute(),
                       start->GetSecond());
        else
            m_date.SetNow();
        SetBackgroundColor(GetSysColor(COLOR_HIGHLIGHT));
        SetClientDrag(true);
        SetClientSize(CLIENT_WIDTH, CLIENT_HEIGHT);
        CenterWindow(true);
        CreateChildren();
        FillMonth();
        break;
    }
    case SWM_MEDIA_MOUSE:
        OnChildMouse(reinterpret_cast<SWnd*>(wParam), reinterpret_cast<const SMouseNotify*>(lParam));
        return 0;
    case SWM_DIALOGOK:
        EndModal(0);
        return 0;
    default:
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}
