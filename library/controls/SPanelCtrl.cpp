#include "SPanelCtrl.h"
#include <windowsx.h>
#include "SGuards.h"
#include "SImage.h"
#include "SMouseNotify.h"
#include "SVirtualFile.h"

namespace
{
const int MINIMUM_HEADER_HEIGHT = 16;

bool Contains(int left, int top, int width, int height, int x, int y)
{
    return x >= left && x < left + width && y >= top && y < top + height;
}
} // namespace

SPanelCtrl::_SGroup::~_SGroup()
{
    buttons.DeleteAndRemoveAll();
}

SPanelCtrl::_SButton* SPanelCtrl::_SGroup::FindButton(int buttonId) const
{
    for (int i = 0; i < buttons.GetCount(); i++)
        if (!buttons.GetAt(i)->separator && buttons.GetAt(i)->id == buttonId)
            return buttons.GetAt(i);
    return nullptr;
}

int SPanelCtrl::_SGroup::IndexOf(const _SButton* button) const
{
    for (int i = 0; i < buttons.GetCount(); i++)
        if (buttons.GetAt(i) == button)
            return i;
    return -1;
}

void SPanelCtrl::_SGroup::GetRun(int index, int& first, int& last) const
{
    first = index;
    while (first > 0 && !buttons.GetAt(first - 1)->separator)
        first--;
    last = index;
    while (last + 1 < buttons.GetCount() && !buttons.GetAt(last + 1)->separator)
        last++;
}

SPanelCtrl::SPanelCtrl()
    : m_highlightText(GetSysColor(COLOR_HIGHLIGHTTEXT)), m_highlight(GetSysColor(COLOR_HIGHLIGHT)),
      m_face(GetSysColor(COLOR_BTNFACE)), m_window(GetSysColor(COLOR_WINDOW)),
      m_shadow(GetSysColor(COLOR_BTNSHADOW)), m_boldFont(nullptr),
      m_headerHeight(MINIMUM_HEADER_HEIGHT), m_hoverGroup(-1), m_hoverButton(-1), m_pressedGroup(-1),
      m_pressedButton(-1)
{
    SetTypeId(STYPE_PANEL);
}

SPanelCtrl::~SPanelCtrl()
{
    DestroyWindow();
    m_groups.DeleteAndRemoveAll();
    if (m_boldFont)
        DeleteObject(m_boldFont);
}

SPanelCtrl::_SGroup* SPanelCtrl::GetGroup(int groupId) const
{
    for (int i = 0; i < m_groups.GetCount(); i++)
        if (m_groups.GetAt(i)->id == groupId)
            return m_groups.GetAt(i);
    return nullptr;
}

SPanelCtrl::_SGroup* SPanelCtrl::TargetGroup(int groupId) const
{
    if (groupId == -1)
        return m_groups.GetCount() ? m_groups.GetAt(m_groups.GetCount() - 1) : nullptr;
    return GetGroup(groupId);
}

SPanelCtrl::_SButton* SPanelCtrl::GetButton(int groupId, int buttonId) const
{
    const _SGroup* group = GetGroup(groupId);
    return group ? group->FindButton(buttonId) : nullptr;
}

SPanelCtrl::_SGroup* SPanelCtrl::AddGroup(int id, const char* title, SVirtualFile* pictures)
{
    if (id == -1 || GetGroup(id))
        return nullptr;
    _SGroup* group = new _SGroup(id, title);
    m_groups.Add(group);
    if (pictures)
        SetGroupPictures(id, pictures);
    Layout();
    return group;
}

bool SPanelCtrl::SetGroupPictures(int groupId, SVirtualFile* pictures)
{
    _SGroup* group = GetGroup(groupId);
    if (!group)
        return false;
    group->pictures.Destroy();
    SImage strip;
    if (!pictures || !strip.Load(pictures))
        return false;
    return group->pictures.CreateFromStrip(&strip, PICTURE_SIZE, PICTURE_SIZE);
}

bool SPanelCtrl::AddEntry(int groupId, bool separator, int buttonId, const char* text, COLORREF color)
{
    _SGroup* group = TargetGroup(groupId);
    if (!group)
        return false;
    _SButton* button = new _SButton(group);
    button->separator = separator;
    if (!separator)
    {
        button->id = buttonId < 0 ? 0 : buttonId;
        button->text = text ? text : "";
        button->color = color;
        for (int i = 0; i < group->buttons.GetCount(); i++)
            if (!group->buttons.GetAt(i)->separator)
                button->picture++;
    }
    group->buttons.Add(button);
    Layout();
    return true;
}

bool SPanelCtrl::AddButton(int buttonId, const char* text, int groupId, COLORREF color)
{
    return AddEntry(groupId, false, buttonId, text, color);
}

bool SPanelCtrl::AddSeparator(int groupId)
{
    return AddEntry(groupId, true, 0, nullptr, COLOR_NONE);
}

bool SPanelCtrl::EnableGroup(int groupId, bool enabled, bool redraw)
{
    _SGroup* group = GetGroup(groupId);
    if (!group || !group->open)
        return false;
    for (int i = 0; i < group->buttons.GetCount(); i++)
        group->buttons.GetAt(i)->enabled = enabled;
    if (redraw)
        RedrawGroup(groupId);
    return true;
}

bool SPanelCtrl::EnableButton(int groupId, int buttonId, bool enabled, bool wholeRun, bool redraw)
{
    _SGroup* group = GetGroup(groupId);
    if (!group || !group->open)
        return false;
    _SButton* button = group->FindButton(buttonId);
    if (!button || (!wholeRun && button->enabled == enabled))
        return false;
    int first = group->IndexOf(button), last = first;
    if (wholeRun)
        group->GetRun(first, first, last);
    for (int i = first; i <= last; i++)
        group->buttons.GetAt(i)->enabled = enabled;
    if (redraw)
        RedrawGroup(groupId);
    return true;
}

bool SPanelCtrl::SetButtonChecked(int groupId, int buttonId, bool checked)
{
    _SButton* button = GetButton(groupId, buttonId);
    if (!button || button->checked == checked)
        return false;
    button->checked = checked;
    RedrawGroup(groupId);
    return true;
}

bool SPanelCtrl::SelectButton(int groupId, int buttonId)
{
    _SButton* button = GetButton(groupId, buttonId);
    if (!button || button->checked)
        return false;
    _SGroup* group = button->group;
    int first = 0, last = 0;
    group->GetRun(group->IndexOf(button), first, last);
    for (int i = first; i <= last; i++)
        group->buttons.GetAt(i)->checked = group->buttons.GetAt(i) == button;
    RedrawGroup(groupId);
    return true;
}

bool SPanelCtrl::IsButtonChecked(int groupId, int buttonId) const
{
    const _SButton* button = GetButton(groupId, buttonId);
    return button && button->checked;
}

bool SPanelCtrl::SetButtonColor(int groupId, int buttonId, COLORREF color)
{
    _SButton* button = GetButton(groupId, buttonId);
    if (!button)
        return false;
    button->color = color;
    RedrawGroup(groupId);
    return true;
}

void SPanelCtrl::RedrawGroup(int groupId)
{
    const _SGroup* group = GetGroup(groupId);
    if (group && m_handle)
        InvalidateRect(&group->area, true);
}

void SPanelCtrl::Layout(int clientWidth)
{
    if (clientWidth < 0)
        clientWidth = m_handle ? GetClientWidth() : 0;
    int y = 0;
    for (int g = 0; g < m_groups.GetCount(); g++)
    {
        _SGroup* group = m_groups.GetAt(g);
        group->header = {0, y, clientWidth, y + m_headerHeight};
        const int top = y;
        y += m_headerHeight + 1;
        int x = LEFT_INDENT;
        for (int i = 0; i < group->buttons.GetCount(); i++)
        {
            _SButton* button = group->buttons.GetAt(i);
            button->width = button->separator ? SEPARATOR_WIDTH : BUTTON_SIZE;
            button->height = BUTTON_SIZE;
            // A row always takes its first entry, however narrow the panel.
            if (x > LEFT_INDENT && x + button->width > clientWidth)
            {
                x = LEFT_INDENT;
                y += BUTTON_SIZE;
            }
            button->x = x;
            button->y = y;
            x += button->width;
        }
        if (x != LEFT_INDENT)
            y += BUTTON_SIZE;
        group->area = {0, top, clientWidth, y};
        y += 1;
    }
}

bool SPanelCtrl::HitTest(int x, int y, bool withDisabled, int& groupId, int& buttonId) const
{
    groupId = buttonId = -1;
    for (int g = 0; g < m_groups.GetCount(); g++)
    {
        const _SGroup* group = m_groups.GetAt(g);
        const RECT& a = group->area;
        if (!Contains(a.left, a.top, a.right - a.left, a.bottom - a.top, x, y))
            continue;
        for (int i = 0; i < group->buttons.GetCount(); i++)
        {
            const _SButton* b = group->buttons.GetAt(i);
            if (b->separator || (!b->enabled && !withDisabled))
                continue;
            if (Contains(b->x, b->y, b->width, b->height, x, y))
            {
                groupId = group->id;
                buttonId = b->id;
                return true;
            }
        }
        return false;
    }
    return false;
}

void SPanelCtrl::OnCreated()
{
    SetBackgroundColor(m_face);
    HFONT font = GetFont() ? GetFont() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SWindowDCGuard dc(m_handle);
    SSelectGuard select(dc.Get(), font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc.Get(), &metrics);
    m_headerHeight = metrics.tmHeight + 2 < MINIMUM_HEADER_HEIGHT ? MINIMUM_HEADER_HEIGHT : metrics.tmHeight + 2;
    LOGFONTA bold = {};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(bold), &bold);
    bold.lfWeight = FW_BOLD;
    if (m_boldFont)
        DeleteObject(m_boldFont);
    m_boldFont = CreateFontIndirectA(&bold);
    Layout();
}

void SPanelCtrl::OnMouseMove(int x, int y)
{
    int group = -1, button = -1;
    HitTest(x, y, true, group, button);
    if (group == m_hoverGroup && button == m_hoverButton)
        return;
    const int old = m_hoverGroup;
    m_hoverGroup = group;
    m_hoverButton = button;
    RedrawGroup(old);
    if (group != old)
        RedrawGroup(group);
}

void SPanelCtrl::OnButtonDown(int x, int y)
{
    HitTest(x, y, false, m_pressedGroup, m_pressedButton);
    RedrawGroup(m_pressedGroup);
}

void SPanelCtrl::OnLeave()
{
    if (m_hoverGroup == -1 && m_pressedGroup == -1)
        return;
    const int hover = m_hoverGroup, pressed = m_pressedGroup;
    m_hoverGroup = m_hoverButton = m_pressedGroup = m_pressedButton = -1;
    RedrawGroup(hover);
    if (pressed != hover)
        RedrawGroup(pressed);
}

void SPanelCtrl::OnClick(int x, int y)
{
    int group = -1, button = -1;
    if (!HitTest(x, y, false, group, button))
        return;
    SendMessage(SWM_PANEL_BUTTON, reinterpret_cast<WPARAM>(this),
                static_cast<LPARAM>((group & 0xFFFF) | ((button & 0xFFFF) << 16)));
    OnButtonClick(group, button, GetButton(group, button));
}

LRESULT SPanelCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    switch (message)
    {
    case SWM_CREATED:
        OnCreated();
        break;
    case WM_SIZE:
    case WM_SHOWWINDOW:
        Layout();
        break;
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
        if (HDC dc = GetContentPaintDC(message, wParam, lParam))
            Paint(dc);
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(x, y);
        break;
    case WM_LBUTTONDOWN:
        OnButtonDown(x, y);
        break;
    case WM_LBUTTONUP:
        m_pressedGroup = m_pressedButton = -1;
        RedrawGroup(m_hoverGroup);
        break;
    case SWM_MOUSELEAVE:
        OnLeave();
        break;
    case SWM_LCLICK:
        OnClick(x, y);
        break;
    default:
        break;
    }
    SMouseNotify::RelayToParent(this, SWM_PANEL_MOUSE, message, lParam);
    return SWnd::WindowProc(message, wParam, lParam);
}
