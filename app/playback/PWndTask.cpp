#include "PWndTask.h"
#include "PTrackText.h"
#include "PWndApp.h"
#include "SLibrary.h"

namespace
{
struct ChildSpec
{
    int id;
    bool visible;
    bool enabled;
    bool edge;    // a static edge
    bool button;  // clickable: button mode
};

const ChildSpec CHILDREN[PWndTask::CHILD_COUNT] = {
    {PWndTask::ID_SHOW, true, true, false, true},       {PWndTask::ID_STOP, true, false, false, true},
    {PWndTask::ID_PAUSE, true, false, false, true},     {PWndTask::ID_NEXT, true, false, false, true},
    {PWndTask::ID_PREVIOUS, true, false, false, true},  {0, true, true, false, false},
    {PWndTask::ID_QUEUE, true, false, true, true},      {0, true, true, true, false},
    {0, true, true, true, false},                       {PWndTask::ID_TITLE, true, false, true, true},
    {0, true, true, false, false},                      {PWndTask::ID_FOLDER, true, false, true, true},
    {PWndTask::ID_UPPER, true, false, true, true},      {0, true, true, true, false}};

// Button pictures and the children that show them: previous, next, pause, stop.
const int BUTTON_PICTURES[4] = {159, 156, 157, 154};
const PWndTask::Child BUTTONS[4] = {PWndTask::CHILD_PREVIOUS, PWndTask::CHILD_NEXT, PWndTask::CHILD_PAUSE,
                                    PWndTask::CHILD_STOP};
const COLORREF RED = RGB(255, 0, 0);

void LoadCentred(SImage& picture, int id)
{
    picture.LoadResource(MAKEINTRESOURCEA(id), "BINARY");
    picture.SetDrawMode(SImage::DRAW_CENTER);
}
}

PWndTask::PWndTask() : m_owner(nullptr), m_docked(false), m_textColor(0) {}

bool PWndTask::Create()
{
    RECT rect = {0, 0, GetScreenWidth(), GetHeight()};
    return SWnd::Create("", WS_POPUP | WS_VISIBLE, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, &rect, nullptr);
}

int PWndTask::GetHeight() const
{
    TEXTMETRICA metrics = {};
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    const int height = static_cast<int>(metrics.tmHeight) + 2;
    return height < 20 ? 20 : height;
}

void PWndTask::ComputeLayout(int width, int height, RECT rects[CHILD_COUNT])
{
    const int w = width;
    const int t = w > 734 ? (w - 734) / 3 : 0;
    const int spans[CHILD_COUNT][2] = {
        {w - 22, w - 2},                   {w - 52, w - 32},            {w - 72, w - 52},
        {w - 92, w - 72},                  {w - 112, w - 92},           {w - 218, w - 126},
        {w - 302, w - 222},                {w - 382, w - 302},          {w - 462, w - 382},
        {w - 462 - t, w - 462},            {w - 482 - t, w - 462 - t},  {w - 482 - 2 * t, w - 482 - t},
        {w - 482 - 3 * t, w - 482 - 2 * t}, {0, w - 482 - 3 * t > 0 ? w - 482 - 3 * t : 0}};
    for (int i = 0; i < CHILD_COUNT; ++i)
    {
        const RECT rect = {spans[i][0], 0, spans[i][1], height};
        rects[i] = rect;
    }
    rects[CHILD_SEEK].top = height / 2 - 4;
    rects[CHILD_SEEK].bottom = height / 2 + 5;
}

LRESULT PWndTask::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        LoadPictures();
        CreateChildren();
        SetMedia(nullptr, 0, 0);
        break;
    case SWM_MEDIA_CLICK:
        if (wParam)
            OnClick(reinterpret_cast<const SWnd*>(wParam)->GetId());
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

void PWndTask::LoadPictures()
{
    LoadCentred(m_kindMp3, 132);
    LoadCentred(m_kindWma, 220);
    LoadCentred(m_kindOther, 143);
    LoadCentred(m_showHide, 160);
    for (int i = 0; i < 4; ++i)
    {
        LoadCentred(m_buttons[i][0], BUTTON_PICTURES[i]);
        LoadCentred(m_buttons[i][1], BUTTON_PICTURES[i]);
        m_buttons[i][1].ConvertFormat(PixelFormat32bppARGB);
        m_buttons[i][1].SetAlpha(128);
    }
}

void PWndTask::CreateChildren()
{
    SImage background;
    background.LoadResource(MAKEINTRESOURCEA(231), "BINARY");
    SetBackgroundImage(background.GetBitmap(), COLOR_NONE, SImage::DRAW_TILE);
    m_menu.Create(m_handle);
    m_menu.SetNoImage(true);
    RECT rects[CHILD_COUNT];
    ComputeLayout(m_system.GetWorkAreaWidth(), GetHeight(), rects);
    for (int i = 0; i < CHILD_COUNT; ++i)
    {
        const ChildSpec& row = CHILDREN[i];
        SWnd& child = i == CHILD_SEEK ? static_cast<SWnd&>(m_seekBar) : m_labels[i];
        const DWORD style = (row.visible ? WS_VISIBLE : 0) | (row.enabled ? 0 : WS_DISABLED);
        const DWORD exStyle = row.edge ? WS_EX_STATICEDGE : 0;
        if (i == CHILD_SEEK)
        {
            m_seekBar.SetOwner(m_owner);
            m_seekBar.Create(style, exStyle, &rects[i], m_handle);
            m_seekBar.SetCursor(GetLibraryCursor(3));
        }
        else
        {
            m_labels[i].CreateChild("", style, exStyle, &rects[i], m_handle, row.id);
            m_labels[i].SetAlignment(SMediaCtrl::ALIGN_CENTER | SMediaCtrl::ALIGN_MIDDLE);
            m_labels[i].SetMargins(0, 0, 0, 0);
            m_labels[i].SetButton(row.button);
        }
        child.SetBackgroundImage(background.GetBitmap(), COLOR_NONE, SImage::DRAW_TILE);
    }
    m_labels[CHILD_SHOW].SetImage(&m_showHide);
    for (int i = 0; i < 4; ++i)
        m_labels[BUTTONS[i]].SetImage(&m_buttons[i][1]);
}

void PWndTask::SetDocked(bool docked)
{
    m_docked = docked;
    if (!docked)
        return;
    EnablePrevNext(false);
    EnablePauseStop(false);
}

void PWndTask::SetTextColor(COLORREF color)
{
    m_textColor = color;
    for (Child child : {CHILD_INFO, CHILD_UPPER, CHILD_FOLDER, CHILD_TITLE, CHILD_POSITION, CHILD_DURATION,
                        CHILD_QUEUE})
        PTrackText::SetColor(m_labels[child], color);
}

void PWndTask::SetInfoText(const char* text)
{
    PTrackText::SetText(m_labels[CHILD_INFO], text);
    m_labels[CHILD_INFO].SetAutoScroll(-30, 0);
}

SString PWndTask::GetInfoText() const
{
    return m_labels[CHILD_INFO].GetWindowText();
}

const SImage& PWndTask::GetKindPicture(const SString& extension) const
{
    if (extension == "mp3")
        return m_kindMp3;
    if (extension == "wma" || extension == "wax" || extension == "wvx")
        return m_kindWma;
    return m_kindOther;
}

void PWndTask::SetMedia(const SMediaPlayerCtrl* player, int number, int count)
{
    SMediaCtrl* labels[3] = {&m_labels[CHILD_UPPER], &m_labels[CHILD_FOLDER], &m_labels[CHILD_TITLE]};
    if (!player)
    {
        m_path.Set("");
        m_labels[CHILD_KIND].SetImage(nullptr);
        m_labels[CHILD_KIND].InvalidateRect(nullptr, true);
        for (SMediaCtrl* label : labels)
        {
            PTrackText::SetText(*label, "");
            label->EnableWindow(false);
        }
        m_seekBar.SetRange(0, 0);
        m_seekBar.SetPos(0);
        for (Child child : {CHILD_POSITION, CHILD_DURATION, CHILD_QUEUE})
            PTrackText::SetText(m_labels[child], "");
        m_labels[CHILD_QUEUE].EnableWindow(false);
        return;
    }
    if (!m_docked)
        return;
    m_path.Copy(player->GetPath());
    const PTrackText::_SNames names = PTrackText::GetNames(TextOf(m_path.GetPath()));
    const SString* texts[3] = {&names.upper, &names.folder, &names.title};
    m_labels[CHILD_KIND].SetImage(const_cast<SImage*>(&GetKindPicture(m_path.GetExtension(false, true))));
    m_labels[CHILD_KIND].InvalidateRect(nullptr, true);
    for (int i = 0; i < 3; ++i)
    {
        PTrackText::SetText(*labels[i], TextOf(*texts[i]));
        labels[i]->SetAutoScroll(-30, 0);
        labels[i]->EnableWindow(true);
    }
    m_seekBar.SetRange(0, static_cast<int>(player->GetDuration() / 1000));
    m_seekBar.SetPos(0);
    PTrackText::SetText(m_labels[CHILD_POSITION], "0:00:00");
    PTrackText::SetText(m_labels[CHILD_DURATION], "0:00:00");
    const SString queue = IntToGroupedString(number) + "/" + TextOf(IntToGroupedString(count));
    PTrackText::SetText(m_labels[CHILD_QUEUE], TextOf(queue));
    m_labels[CHILD_QUEUE].EnableWindow(true);
}

void PWndTask::UpdatePosition(const SMediaPlayerCtrl* player)
{
    if (!m_docked || !player)
        return;
    const bool active = player->IsPlaying() || player->IsPaused();
    const int position = static_cast<int>(player->GetPosition() / 1000);
    const int duration = active ? static_cast<int>(player->GetDuration() / 1000) : 0;
    m_seekBar.SetPos(position);
    const int hover = m_seekBar.GetHover();
    const bool ranged = m_seekBar.GetMax() != 0;
    SString shown = PTrackText::FormatSeconds(hover >= 0 ? hover : position);
    SString length = PTrackText::FormatSeconds(duration);
    if (!ranged && !active)
        shown = "";
    if (!ranged)
        length = "";
    PTrackText::SetColor(m_labels[CHILD_POSITION], hover >= 0 && ranged ? RED : m_textColor);
    PTrackText::SetText(m_labels[CHILD_POSITION], TextOf(shown));
    PTrackText::SetText(m_labels[CHILD_DURATION], TextOf(length));
}

void PWndTask::SetQueueCount(int count)
{
    if (!m_docked)
        return;
    const SString text = m_labels[CHILD_QUEUE].GetWindowText();
    const int slash = text.FindChar('/');
    if (slash < 0)
        return;
    PTrackText::SetText(m_labels[CHILD_QUEUE], TextOf(text.Left(slash + 1) + TextOf(IntToGroupedString(count))));
}

void PWndTask::EnablePrevNext(bool enable)
{
    if (!m_docked)
        return;
    EnableButton(CHILD_PREVIOUS, 0, enable);
    EnableButton(CHILD_NEXT, 1, enable);
}

void PWndTask::EnablePauseStop(bool enable)
{
    if (!m_docked)
        return;
    EnableButton(CHILD_PAUSE, 2, enable);
    EnableButton(CHILD_STOP, 3, enable);
}

void PWndTask::EnableButton(Child child, int picture, bool enable)
{
    m_labels[child].SetImage(&m_buttons[picture][enable ? 0 : 1]);
    m_labels[child].EnableWindow(enable);
    m_labels[child].InvalidateRect(nullptr, true);
}

void PWndTask::OnClick(int id)
{
    if (!m_owner)
        return;
    const bool local = m_owner->IsLocal();
    const PTrackText::_SNames names = PTrackText::GetNames(TextOf(m_path.GetPath()));
    const SPath folder(TextOf(m_path.GetFullFolder()));
    const SPath parent(TextOf(folder.GetParent()));
    switch (id)
    {
    case ID_UPPER:
        m_owner->OpenFolderPath(TextOf(parent.GetParent()), TextOf(names.upper), false);
        m_owner->ToggleVisible(true);
        break;
    case ID_FOLDER:
    case ID_TITLE:
        m_owner->OpenFolderPath(TextOf(parent.GetPath()), TextOf(names.folder), false);
        if (id == ID_TITLE)
            m_owner->SelectInList(TextOf(names.title));
        m_owner->ToggleVisible(true);
        break;
    case ID_QUEUE:
        ShowQueueMenu();
        break;
    case ID_PREVIOUS:
        if (local)
            m_owner->PlayPrevious();
        break;
    case ID_NEXT:
        if (local)
            m_owner->PlayNext();
        break;
    case ID_PAUSE:
        if (local)
            m_owner->TogglePause();
        break;
    case ID_STOP:
        if (local)
            m_owner->ClearQueue();
        break;
    case ID_SHOW:
        m_owner->ToggleVisible(false);
        break;
    default:
        break;
    }
}

void PWndTask::ShowQueueMenu()
{
    SArrayString names;
    if (m_owner->GetQueueNames(&names) == 0)
        return;
    m_menu.RemoveAll();
    for (int i = 0; i < names.GetCount(); ++i)
        m_menu.InsertItem(ID_FIRST_ENTRY + i, TextOf(names.GetAt(i)));
    m_menu.CheckItem(ID_FIRST_ENTRY + m_owner->GetQueueIndex(), true);
    POINT cursor = {};
    GetCursorPos(&cursor);
    RECT strip = {};
    GetWindowRect(&strip);
    m_menu.TrackEx(this, cursor.x, strip.top);
}
