#include "SWndDialog.h"
#include "SControlDescription.h"
#include "SDrawing.h"
#include "SMemory.h"
#include <algorithm>
#include <cstring>

SWndDialog::SWndDialog() = default;

SWndDialog::~SWndDialog()
{
    DestroyChildren();
}

SWnd* SWndDialog::CreateCustomControl(int type)
{
    return nullptr;
}

bool SWndDialog::CreateFromDescription(SVirtualFile* description, HWND parent, SResource* resources,
                                       bool topLevel, LPARAM value)
{
    if (m_handle)
        return false;
    return BuildDialogWindow(description, this, parent, resources, topLevel, value);
}

bool SWndDialog::CreateFromDescription(const char* description, SWnd* parent, SResource* resources,
                                       bool topLevel, LPARAM value)
{
    if (m_handle || !description)
        return false;
    SMemory stream;
    stream.Write(description, static_cast<int>(strlen(description)));
    stream.Seek(0);
    return CreateFromDescription(&stream, parent ? parent->GetHandle() : nullptr, resources, topLevel,
                                 value);
}

bool SWndDialog::AddChild(SWnd* child, const SControlDescription* description)
{
    if (!child || !description)
        return false;
    HFONT font = nullptr;
    const SString face = description->GetFontName();
    if (face.GetLength() > 0)
    {
        const int height = description->GetFontSize();
        font = CreateFontWithStyle(face.GetText(), height, description->GetFontStyle());
        if (font)
            child->SetFont(font, true);
    }
    m_children.Add(child);
    m_ids.Add(description->GetId());
    m_names.Add(description->GetName().GetText());
    m_fonts.Add(font);
    return true;
}

SWnd* SWndDialog::FindChildById(int id) const
{
    const int row = m_ids.Find(id);
    return row >= 0 ? m_children.GetAt(row) : nullptr;
}

SWnd* SWndDialog::FindChildByName(const char* name) const
{
    if (!name)
        return nullptr;
    for (int i = 0; i < m_names.GetCount(); i++)
    {
        if (strcmp(m_names.GetAt(i).GetText(), name) == 0)
            return m_children.GetAt(i);
    }
    return nullptr;
}

SString SWndDialog::GetChildName(int id) const
{
    const int row = m_ids.Find(id);
    return row >= 0 ? m_names.GetAt(row) : SString("");
}

int SWndDialog::FindChildIndex(const SWnd* child) const
{
    for (int i = 0; i < m_children.GetCount(); i++)
    {
        if (m_children.GetAt(i) == child)
            return i;
    }
    return -1;
}

HFONT SWndDialog::GetChildFont(int index) const
{
    return index >= 0 && index < m_fonts.GetCount() ? m_fonts.GetAt(index) : nullptr;
}

SWnd* SWndDialog::GetChild(int index) const
{
    return index >= 0 && index < m_children.GetCount() ? m_children.GetAt(index) : nullptr;
}

bool SWndDialog::CreateStatusBar(int parts)
{
    if (m_statusBar)
        return false;
    std::unique_ptr<SStatusBarCtrl> bar(new SStatusBarCtrl);
    if (!bar->Create(WS_CHILD | WS_VISIBLE, 0, m_handle))
        return false;
    bar->SetEqualParts(std::max(parts, 1));
    m_statusBar = std::move(bar);
    return true;
}

void SWndDialog::SetStatusText(int part, const char* text)
{
    if (m_statusBar)
        m_statusBar->SetText(part, text);
}

void SWndDialog::SetStatusPartEdge(int part, int edge)
{
    if (m_statusBar)
        m_statusBar->SetPartEdge(part, edge);
}

void SWndDialog::DestroyChildren()
{
    if (m_handle)
        ShowWindow(SW_HIDE);
    m_statusBar.reset();
    m_children.DeleteAll();
    m_children.RemoveAll();
    m_ids.RemoveAll();
    m_names.DeleteAndRemoveAll();
    for (int i = 0; i < m_fonts.GetCount(); i++)
    {
        if (m_fonts.GetAt(i))
            DeleteObject(m_fonts.GetAt(i));
    }
    m_fonts.RemoveAll();
}

void SWndDialog::OnButtonClicked(SWnd* button)
{
    const int row = FindChildIndex(button);
    if (row < 0)
        return;
    const SString name = m_names.GetAt(row);
    if (strcmp(name.GetText(), "OK") == 0)
        SharedWindowProc(m_handle, SWM_DIALOGOK, 0, 0);
    else if (strcmp(name.GetText(), "CANCEL") == 0)
        SharedWindowProc(m_handle, SWM_DIALOGCANCEL, 0, 0);
}

// A dialog keeps the child that had the focus, as system dialogs do: the
// default activation would put the focus on the dialog itself, and under Wine
// a late activation from the display can arrive after a child took the focus.
bool SWndDialog::OnActivate(WPARAM wParam)
{
    const HWND focus = ::GetFocus();
    const bool childHasFocus = focus && IsChild(m_handle, focus);
    if (LOWORD(wParam) == WA_INACTIVE)
    {
        m_lastFocus = childHasFocus ? focus : nullptr;
        return false;
    }
    if (HIWORD(wParam))
        return false;
    const HWND target = childHasFocus ? focus : m_lastFocus;
    if (!target || !IsChild(m_handle, target) || !IsWindowVisible(target) || !IsWindowEnabled(target))
        return false;
    ::SetFocus(target);
    return true;
}

LRESULT SWndDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ACTIVATE && OnActivate(wParam))
        return 0;
    if (message == WM_DESTROY)
        DestroyChildren();
    else if (message == SWM_BUTTON_CLICKED && IsModal())
        OnButtonClicked(reinterpret_cast<SWnd*>(wParam));
    return SWnd::WindowProc(message, wParam, lParam);
}
