#include "SDialogCtrl.h"
#include "SDialogBuilder.h"
#include "SDialogFactory.h"
#include "SPanelCtrl.h"
#include <windowsx.h>

SDialogCtrl::SDialogCtrl()
    : m_open(false), m_undoEnabled(true), m_tool(-1), m_gridX(5), m_gridY(5), m_snap(true),
      m_rulersShown(true), m_gridShown(true), m_typeCount(0), m_noPreviews(false),
      m_clientRect(), m_designArea(), m_topRuler(), m_leftRuler(), m_mouseLineX(-1),
      m_mouseLineY(-1), m_colors(), m_pageImageName(""), m_pageImageColor(DIALOG_DEFAULT_COLOR),
      m_properties(nullptr), m_toolbox(nullptr)
{
    SetTypeId(STYPE_DIALOG);
}

SDialogCtrl::~SDialogCtrl()
{
    Clear();
    Reset();
    m_language.DeleteAndRemoveAll();
}

SWnd* SDialogCtrl::CreateControl(SWndDialog* dialog, HWND parent, const _SCtrl* description,
                                 SResource* resources, bool live)
{
    return SDialogFactory(dialog, parent, description, resources, live).Make();
}

bool SDialogCtrl::BuildWindow(SVirtualFile* description, SWndDialog* dialog, HWND parent,
                              SResource* resources, bool topLevel, LPARAM value)
{
    return SDialogBuilder(dialog, resources).Build(description, parent, topLevel, value);
}

// The window layer's way to the builder (it cannot include this layer).
bool BuildDialogWindow(SVirtualFile* description, SWndDialog* dialog, HWND parent,
                       SResource* resources, bool topLevel, LPARAM value)
{
    return SDialogCtrl::BuildWindow(description, dialog, parent, resources, topLevel, value);
}

bool SDialogCtrl::Initialize(bool noPreviews)
{
    m_noPreviews = noPreviews;
    Clear();
    if (m_handle)
        GetClientRect(&m_clientRect);
    ComputeLayout();
    SetLanguage(true);
    SetDefaultColors();
    SetGrid(5, 5);
    m_snap = true;
    m_rulersShown = true;
    m_gridShown = true;
    for (int i = 0; i < DIALOG_TYPE_COUNT; i++)
        m_types[i] = SDialogElementType(static_cast<short>(i), GetDialogTypeName(i));
    m_typeCount = DIALOG_TYPE_COUNT;
    return true;
}

void SDialogCtrl::Clear()
{
    if (m_open)
        SelectOnly(nullptr);
    Reset();
    m_open = false;
}

void SDialogCtrl::Reset()
{
    SetTool(-1);
    if (m_toolbox && m_toolbox->GetHandle())
        m_toolbox->SelectButton(0, 0);
    if (m_handle)
    {
        SetScrollPos(false, 0, false);
        SetScrollPos(true, 0, false);
        SetScrollRanges();
    }
    SetElementFont(nullptr, 0);
    m_pageImageName = "";
    m_pageImageColor = DIALOG_DEFAULT_COLOR;
    DeleteUndoSnapshots();
    ClearSelection();
    m_elements.DeleteAndRemoveAll();
    m_dialog.reset();
    RefreshToolbox();
}

bool SDialogCtrl::RefreshToolbox()
{
    if (!m_toolbox || !m_toolbox->GetHandle())
        return false;
    SyncToolbox(m_toolbox);
    return true;
}

void SDialogCtrl::RedrawAll()
{
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

LRESULT SDialogCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        SetKeyCommandMask(0x43F);
        SetScrollSteps(false, 5, 50, 5);
        SetScrollSteps(true, 5, 50, 5);
        Initialize(m_noPreviews);
        break;
    case WM_SIZE:
        SetRect(&m_clientRect, 0, 0, LOWORD(lParam), HIWORD(lParam));
        ComputeLayout();
        SetScrollRanges();
        break;
    case WM_MOUSEMOVE:
        OnMouseHover(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case WM_LBUTTONDOWN:
        OnLButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case WM_LBUTTONDBLCLK:
        OnDoubleClick(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}

// The editing surface's own operations; undo, paste and select all come with it.
void SDialogCtrl::OnUndo() {}

void SDialogCtrl::OnPaste() {}

void SDialogCtrl::OnSelectAll() {}

void SDialogCtrl::OnElementAdded(_SCtrl* element) {}

bool SDialogCtrl::OnRemoveElement(_SCtrl* element)
{
    return true;
}

bool SDialogCtrl::OnNameChanging(_SCtrl* element, const char* name)
{
    return true;
}

// The property pane is refilled here once one is attached.
bool SDialogCtrl::OnSelectionChanged(_SCtrl* previous, _SCtrl* current)
{
    return RefreshToolbox();
}

void SDialogCtrl::OnElementDoubleClick(_SCtrl* element) {}

void SDialogCtrl::OnPropertiesFilled(SPropertyCtrl* grid, _SCtrl* element) {}

void SDialogCtrl::FillToolbox() {}

void SDialogCtrl::SyncToolbox(SPanelCtrl* panel) {}
