#include "PWndGoogle.h"
#include <algorithm>
#include <cstdlib>
#include "Hosts.h"
#include "PWndApp.h"
#include "SLibrary.h"
#include "SMemory.h"

namespace
{
const char RECORD_MARK[] = "<a href=/imgres?imgurl=";
// The query text starts after "<a href=/imgres?", inside the mark.
const int QUERY_OFFSET = 16;
const char THUMBNAIL_MARK[] = "<img src=";

SString ThumbnailPrefix()
{
    return SString(THUMBNAIL_MARK) + "http://" + IMAGE_SEARCH_HOST + "/images?q=tbn:";
}

RECT MakeRect(int left, int top, int right, int bottom)
{
    const RECT rect = {left, top, right, bottom};
    return rect;
}
}

PWndGoogle::PWndGoogle() : m_start(0)
{
}

PWndGoogle::~PWndGoogle()
{
    DestroyWindow();
}

LRESULT PWndGoogle::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        CreateChildren();
        break;
    case SWM_MODALSTART:
        SetCursor(GetLibraryCursor(3));
        if (!Search())
        {
            // Ended here rather than by a non-zero answer, which would end the run with 0.
            EndModal(-1);
            return 0;
        }
        SetCursor(nullptr);
        break;
    case SWM_DIALOGOK:
        return 0;
    case SWM_BUTTON_CLICKED:
        if (reinterpret_cast<SWnd*>(wParam) == &m_cancel)
            EndModal(-1);
        else if (reinterpret_cast<SWnd*>(wParam) == &m_more)
            Search();
        break;
    case SWM_MEDIA_MOUSE:
        if (wParam && lParam &&
            reinterpret_cast<const SMouseNotify*>(lParam)->code == (SMouseNotify::LEFT | SMouseNotify::CLICK))
            OnViewClick(reinterpret_cast<const SWnd*>(wParam));
        break;
    case SWM_SCROLL_CHANGED:
        ShowPage();
        break;
    default:
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}

void PWndGoogle::CreateChildren()
{
    SetClientSize(485, 165);
    CenterWindow(true);
    const COLORREF white = RGB(255, 255, 255);
    for (int k = 0; k < VIEW_COUNT; k++)
    {
        RECT rect = MakeRect(5 + 80 * k, 5, 80 + 80 * k, 80);
        m_views[k].CreateChild("", WS_VISIBLE | WS_BORDER, 0, &rect, m_handle, ID_FIRST_VIEW + k);
        m_views[k].SetBackgroundColor(white);
        m_views[k].SetCursor(GetLibraryCursor(3));
        rect = MakeRect(5 + 80 * k, 80, 80 + 80 * k, 105);
        m_labels[k].CreateChild("", WS_VISIBLE | WS_BORDER, 0, &rect, m_handle);
        m_labels[k].SetBackgroundColor(white);
        m_labels[k].SetAlignment(SMediaCtrl::ALIGN_CENTER | SMediaCtrl::ALIGN_MIDDLE);
    }
    RECT rect = MakeRect(5, 105, 480, 125);
    m_scroll.Create(WS_VISIBLE, 0, &rect, m_handle);
    rect = MakeRect(5, 135, 95, 160);
    m_more.Create("More", WS_VISIBLE, 0, &rect, m_handle, ID_MORE);
    rect = MakeRect(390, 135, 480, 160);
    m_cancel.Create("Cancel", WS_VISIBLE, 0, &rect, m_handle, ID_CANCEL);
}

void PWndGoogle::SetSearchText(const char* text)
{
    m_searchText = text ? text : "";
    m_searchText.UrlEncode(false);
}

bool PWndGoogle::Search()
{
    SString request = SString("http://") + IMAGE_SEARCH_HOST + "/images?hl=en&q=" + m_searchText.GetText();
    request += "&start=";
    request += IntToString(m_start).GetText();
    SMemory page;
    if (!m_network.Download(&page, request.GetText(), 1024))
    {
        Tell("No active connection.");
        return false;
    }
    page.SeekToStart();
    const std::vector<_SRecord> records = ScanRecords(page.ReadText());
    if (records.empty())
    {
        Tell("No image file found.");
        return false;
    }
    m_start += static_cast<int>(records.size());
    ClearResults();
    for (const _SRecord& record : records)
    {
        SMemory thumbnail;
        if (m_network.Download(&thumbnail, record.thumbnail.GetText(), 1024))
        {
            thumbnail.SeekToStart();
            AddResult(&thumbnail, record.address.GetText(), record.width, record.height);
        }
    }
    const int count = GetResultCount();
    m_scroll.SetPos(0, false);
    if (count > VIEW_COUNT)
        m_scroll.SetRange(0, count - VIEW_COUNT, true);
    m_scroll.EnableWindow(count > VIEW_COUNT);
    ShowPage();
    return true;
}

std::vector<PWndGoogle::_SRecord> PWndGoogle::ScanRecords(const SString& page)
{
    std::vector<_SRecord> records;
    int position = 0;
    _SRecord record;
    while (ScanRecord(page, &position, &record))
        records.push_back(record);
    return records;
}

// One record from the position on; false when a step of the scan fails.
bool PWndGoogle::ScanRecord(const SString& page, int* position, _SRecord* record)
{
    const int mark = page.Find(RECORD_MARK, *position);
    const int end = mark >= 0 ? page.FindChar('>', mark + QUERY_OFFSET) : -1;
    if (end < 0)
        return false;
    *record = _SRecord();
    const SString query = page.Substring(mark + QUERY_OFFSET, end);
    *position = end;
    for (int start = 0; start <= query.GetLength();)
    {
        int stop = query.FindChar('&', start);
        if (stop < 0)
            stop = query.GetLength();
        const SString part = query.Substring(start, stop);
        const SString key = part.GetBeforeCharOrAll('=');
        const SString value = part.GetAfterChar('=');
        if (key == "imgurl")
            record->address = value;
        else if (key == "w")
            record->width = atoi(TextOf(value));
        else if (key == "h")
            record->height = atoi(TextOf(value));
        start = stop + 1;
    }
    if (record->address.GetLength() == 0)
        return false;
    const SString prefix = ThumbnailPrefix();
    const int thumbnail = page.Find(prefix.GetText(), *position);
    const int blank = thumbnail >= 0 ? page.FindChar(' ', thumbnail + prefix.GetLength()) : -1;
    if (blank < 0)
        return false;
    record->thumbnail = page.Substring(thumbnail + static_cast<int>(sizeof(THUMBNAIL_MARK)) - 1, blank);
    *position = blank;
    return true;
}

void PWndGoogle::ClearResults()
{
    m_results.clear();
}

bool PWndGoogle::AddResult(SVirtualFile* data, const char* address, int width, int height)
{
    std::unique_ptr<SImage> picture(new SImage());
    if (!data || !picture->Load(data) || !CropToSquare(picture.get(), THUMBNAIL_SIZE))
        return false;
    picture->MakeOpaqueWhite();
    _SResult result;
    result.picture = std::move(picture);
    result.address = address ? address : "";
    result.width = width;
    result.height = height;
    m_results.push_back(std::move(result));
    return true;
}

void PWndGoogle::ShowPage()
{
    const int first = m_scroll.GetPos();
    for (int k = 0; k < VIEW_COUNT; k++)
    {
        const int i = first + k;
        const bool shown = i >= 0 && i < GetResultCount();
        if (shown)
        {
            const _SResult& result = m_results[i];
            m_views[k].SetBackgroundImage(result.picture->GetBitmap(), COLOR_NONE, SImage::DRAW_FIT);
            SString size = IntToString(result.width);
            size += " x ";
            size += IntToString(result.height).GetText();
            const bool small = result.width < COVER_SIZE || result.height < COVER_SIZE;
            m_labels[k].SetTextColor(small ? RGB(255, 0, 0) : RGB(0, 0, 0));
            m_labels[k].SetWindowText(size.GetText());
        }
        m_views[k].ShowWindow(shown ? SW_SHOW : SW_HIDE);
        m_labels[k].ShowWindow(shown ? SW_SHOW : SW_HIDE);
    }
}

bool PWndGoogle::LoadChosen(const char* address)
{
    SMemory data;
    if (!address || !m_network.Download(&data, address, 1024))
        return false;
    data.SeekToStart();
    // Whitened in 32 bits: a palette picture would refuse it.
    if (!m_chosen.Load(&data) || !m_chosen.MakeDrawable())
        return false;
    m_chosen.MakeOpaqueWhite();
    return CropToSquare(&m_chosen, COVER_SIZE);
}

void PWndGoogle::OnViewClick(const SWnd* view)
{
    const int k = static_cast<int>(std::find_if(m_views, m_views + VIEW_COUNT,
                                                [view](const SMediaCtrl& v) { return &v == view; }) -
                                   m_views);
    const int i = m_scroll.GetPos() + k;
    if (k >= VIEW_COUNT || i >= GetResultCount())
        return;
    HCURSOR previous = ::SetCursor(GetLibraryCursor(13));
    const bool loaded = LoadChosen(m_results[i].address.GetText());
    ::SetCursor(previous);
    if (!loaded)
        Tell("Cannot download the cover.");
    else
        EndModal(0);
}

void PWndGoogle::Tell(const char* text) const
{
    PWndApp::AskQuestion(m_handle, text, "KLV Sonavel", MB_ICONEXCLAMATION);
}

bool PWndGoogle::CropToSquare(SImage* picture, int side)
{
    if (!picture || side < 1 || !picture->MakeDrawable())
        return false;
    const int square = std::min(picture->GetWidth(), picture->GetHeight());
    // Each step refuses a size the picture already has.
    if (picture->GetWidth() != picture->GetHeight() && !picture->ResizeCentered(square, square))
        return false;
    return square == side || picture->Resize(side, side);
}
