#include "PWndPlay.h"
#include "PTrackText.h"
#include "PWndApp.h"
#include "SLibrary.h"

namespace
{
struct ViewSpec
{
    int id;
    int anchors;
    bool edge;    // a static edge
    bool button;  // a clickable label: button mode, no margins
    int alignment;
};

const ViewSpec VIEWS[PWndPlay::VIEW_COUNT] = {
    {PWndPlay::ID_COVER, 0, false, false, -1}, {PWndPlay::ID_ARTIST, 12, true, true, 17},
    {PWndPlay::ID_ALBUM, 14, true, true, 17},  {0, 2, true, false, 17},
    {0, 2, true, false, 17},                   {PWndPlay::ID_QUEUE, 2, false, false, -1},
    {PWndPlay::ID_TITLE, 68, true, true, 17},  {0, 2, true, false, 17},
    {0, 2, true, false, 17},                   {0, 68, false, false, -1}};

const COLORREF RED = 0x000000FF;

RECT MakeRect(int left, int top, int right, int bottom)
{
    const RECT rect = {left, top, right, bottom};
    return rect;
}

// The views' places in a client area of w x h; the seek bar's comes last.
void Layout(int w, int h, RECT rects[PWndPlay::VIEW_COUNT + 1])
{
    const int d = (w - 220) / 2;
    const int x = 66 + 2 * d;
    rects[PWndPlay::VIEW_COVER] = MakeRect(0, 0, 64, 64);
    rects[PWndPlay::VIEW_ARTIST] = MakeRect(66, 2, 66 + d, 24);
    rects[PWndPlay::VIEW_ALBUM] = MakeRect(66 + d, 2, x, 24);
    rects[PWndPlay::VIEW_NUMBER] = MakeRect(x, 2, x + 64, 24);
    rects[PWndPlay::VIEW_SIZE] = MakeRect(x + 64, 2, x + 128, 24);
    rects[PWndPlay::VIEW_QUEUE] = MakeRect(x + 128, 2, x + 152, 24);
    rects[PWndPlay::VIEW_TITLE] = MakeRect(66, 24, w - 186, 46);
    rects[PWndPlay::VIEW_ELAPSED] = MakeRect(w - 186, 24, w - 106, 46);
    rects[PWndPlay::VIEW_DURATION] = MakeRect(w - 106, 24, w - 26, 46);
    rects[PWndPlay::VIEW_BAND] = MakeRect(0, 58, w, h);
    rects[PWndPlay::VIEW_COUNT] = MakeRect(66, 50, w - 26, 59);
}
}

bool PWndPlay::Create(HWND parent, const RECT& rect)
{
    if (!CreateChild("", WS_VISIBLE | WS_CLIPCHILDREN, 0, &rect, parent))
        return false;
    SetAnchors(4);
    return true;
}

LRESULT PWndPlay::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        CreateViews();
        SetMedia(nullptr, 0, 0);
        break;
    case SWM_MEDIA_CLICK:
        if (wParam)
            OnLabelClick(reinterpret_cast<const SWnd*>(wParam)->GetId());
        break;
    case SWM_MEDIA_MOUSE:
        if (wParam)
            OnViewMouse(reinterpret_cast<const SWnd*>(wParam), reinterpret_cast<const SMouseNotify*>(lParam));
        break;
    case SWM_MENUCOMMAND:
        if (lParam >= ID_FIRST_ENTRY && m_owner)
            m_owner->PlayFrom(static_cast<int>(lParam) - ID_FIRST_ENTRY, false);
        break;
    default:
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}

void PWndPlay::CreateViews()
{
    m_defaultCover.LoadResource(MAKEINTRESOURCEA(145), "BINARY");
    m_waiting.LoadResource(MAKEINTRESOURCEA(230), "BINARY");
    m_queuePicture.LoadResource(MAKEINTRESOURCEA(169), "BINARY");
    RECT rects[VIEW_COUNT + 1];
    Layout(GetClientWidth(), GetClientHeight(), rects);
    for (int i = 0; i < VIEW_COUNT; ++i)
    {
        const ViewSpec& row = VIEWS[i];
        SMediaCtrl& view = m_views[i];
        const DWORD style = i == VIEW_QUEUE ? 0 : WS_VISIBLE;
        view.CreateChild("", style, row.edge ? WS_EX_STATICEDGE : 0, &rects[i], m_handle, row.id);
        view.SetAnchors(row.anchors);
        if (row.alignment >= 0)
            view.SetAlignment(row.alignment);
        if (row.button)
        {
            view.SetMargins(0, 0, 0, 0);
            view.SetButton(true);
        }
    }
    m_views[VIEW_COVER].SetBackgroundColor(GetSysColor(COLOR_BTNFACE));
    m_views[VIEW_QUEUE].SetBackgroundImage(m_queuePicture.GetBitmap(), COLOR_NONE, SImage::DRAW_CENTER);
    m_views[VIEW_QUEUE].SetCursor(GetLibraryCursor(3));
    m_views[VIEW_BAND].SetBackgroundColor(GetSysColor(COLOR_APPWORKSPACE));
    m_seekBar.SetOwner(m_owner);
    m_seekBar.Create(WS_VISIBLE, 0, &rects[VIEW_COUNT], m_handle);
    m_seekBar.SetBackgroundImageFromResource(MAKEINTRESOURCEA(231), "BINARY", COLOR_NONE);
    m_seekBar.SetAnchors(68);
    m_seekBar.SetCursor(GetLibraryCursor(3));
}

void PWndPlay::SetMedia(const SMediaPlayerCtrl* player, int number, int count)
{
    SMediaCtrl* labels[3] = {&m_views[VIEW_ARTIST], &m_views[VIEW_ALBUM], &m_views[VIEW_TITLE]};
    if (!player)
    {
        m_path.Set("");
        SetCover(nullptr);
        for (SMediaCtrl* label : labels)
        {
            PTrackText::SetText(*label, "");
            label->EnableWindow(false);
        }
        PTrackText::SetText(m_views[VIEW_NUMBER], "");
        PTrackText::SetText(m_views[VIEW_SIZE], "");
        m_views[VIEW_QUEUE].ShowWindow(SW_HIDE);
        m_seekBar.SetRange(0, 0);
        m_seekBar.SetPos(0);
    }
    else
    {
        m_path.Copy(player->GetPath());
        const PTrackText::_SNames names = PTrackText::GetNames(TextOf(m_path.GetPath()));
        const SString* texts[3] = {&names.upper, &names.folder, &names.title};
        for (int i = 0; i < 3; ++i)
        {
            PTrackText::SetText(*labels[i], TextOf(*texts[i]));
            labels[i]->EnableWindow(true);
            labels[i]->SetAutoScroll(-30, 0);
        }
        PTrackText::SetText(m_views[VIEW_NUMBER], TextOf(IntToGroupedString(number)));
        SetQueueCount(count);
        m_views[VIEW_QUEUE].ShowWindow(SW_SHOW);
        m_seekBar.SetRange(0, static_cast<int>(player->GetDuration() / 1000));
        m_seekBar.SetPos(0);
    }
    const COLORREF color = GetSysColor(player ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
    for (int view : {VIEW_ELAPSED, VIEW_DURATION})
    {
        PTrackText::SetColor(m_views[view], color);
        PTrackText::SetText(m_views[view], "0:00:00");
    }
}

void PWndPlay::SetQueueCount(int count)
{
    PTrackText::SetText(m_views[VIEW_SIZE], TextOf(IntToGroupedString(count)));
}

void PWndPlay::UpdatePosition(const SMediaPlayerCtrl* player)
{
    const bool active = player && (player->IsPlaying() || player->IsPaused());
    const int position = player ? static_cast<int>(player->GetPosition() / 1000) : 0;
    const int duration = active ? static_cast<int>(player->GetDuration() / 1000) : 0;
    m_seekBar.SetPos(position);
    const int hover = m_seekBar.GetHover();
    PTrackText::SetText(m_views[VIEW_ELAPSED], TextOf(PTrackText::FormatSeconds(hover >= 0 ? hover : position)));
    PTrackText::SetText(m_views[VIEW_DURATION], TextOf(PTrackText::FormatSeconds(duration)));
    COLORREF color = GetSysColor(m_path.HasFileName() ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
    if (hover >= 0 && m_seekBar.GetMax() != 0)
        color = RED;
    PTrackText::SetColor(m_views[VIEW_ELAPSED], color);
}

void PWndPlay::SetCover(const SImage* picture)
{
    const bool given = picture && picture->IsLoaded();
    ShowPicture(given ? *picture : m_defaultCover, given);
}

void PWndPlay::ShowWaiting()
{
    ShowPicture(m_waiting, false);
}

void PWndPlay::ShowPicture(const SImage& picture, bool hand)
{
    m_views[VIEW_COVER].SetBackgroundImage(picture.GetBitmap(), COLOR_NONE, SImage::DRAW_FIT);
    m_views[VIEW_COVER].SetCursor(hand ? GetLibraryCursor(3) : nullptr);
}

// The labels lead the library to the playing file: the artist to its folder
// in the root's listing, the album and the title to the file's folder in its
// parent, the title also to the file in the file list.
void PWndPlay::OnLabelClick(int id)
{
    if (!m_owner || !m_path.HasFileName())
        return;
    const PTrackText::_SNames names = PTrackText::GetNames(TextOf(m_path.GetPath()));
    const SPath folder(TextOf(m_path.GetFullFolder()));
    const SPath parent(TextOf(folder.GetParent()));
    if (id == ID_ARTIST)
        m_owner->OpenFolderPath(TextOf(parent.GetParent()), TextOf(names.upper), false);
    else if (id == ID_ALBUM || id == ID_TITLE)
        m_owner->OpenFolderPath(TextOf(parent.GetPath()), TextOf(names.folder), false);
    else
        return;
    if (id == ID_TITLE)
        m_owner->SelectInList(TextOf(names.title));
    m_owner->ToggleVisible(true);
}

void PWndPlay::OnViewMouse(const SWnd* view, const SMouseNotify* notify)
{
    if (!notify || !m_owner)
        return;
    const int left = SMouseNotify::LEFT | SMouseNotify::CLICK;
    const int right = SMouseNotify::RIGHT | SMouseNotify::CLICK;
    if (view->GetId() == ID_QUEUE && notify->code == left)
    {
        ShowQueueMenu(view, notify->x, notify->y);
        return;
    }
    if (view->GetId() != ID_COVER || !m_path.HasFileName() || (notify->code != left && notify->code != right))
        return;
    const PTrackText::_SNames names = PTrackText::GetNames(TextOf(m_path.GetPath()));
    const SPath folder(TextOf(m_path.GetFullFolder()));
    m_owner->OpenFolderPath(TextOf(folder.GetParent()), TextOf(names.folder), notify->code == right);
}

void PWndPlay::ShowQueueMenu(const SWnd* button, int x, int y)
{
    SArrayString names;
    const int count = m_owner->GetQueueNames(&names);
    if (count == 0)
        return;
    if (m_menu.GetHandle())
        m_menu.RemoveAll();
    else
        m_menu.Create(m_handle);
    m_menu.SetNoImage(true);
    for (int i = 0; i < names.GetCount(); ++i)
        m_menu.InsertItem(ID_FIRST_ENTRY + i, TextOf(names.GetAt(i)));
    m_menu.CheckItem(ID_FIRST_ENTRY + m_owner->GetQueueIndex(), true);
    POINT point = {x, y};
    button->ClientToScreen(&point);
    m_menu.TrackEx(this, point.x, point.y);
}
