#include "SDialogCtrl.h"
#include "SLibrary.h"
#include "SPanelCtrl.h"
#include <cstring>

namespace
{
// What a control placed from the toolbox starts with. Sizes of -1 keep the
// record's; a key's value "*" is the default colour, written as a signed number.
struct NewControlDefaults
{
    int width, height;
    DWORD style, exstyle;
    const char* keys;
};

const NewControlDefaults NEW_CONTROL_DEFAULTS[DIALOG_TYPE_COUNT] = {
    {-1, -1, 0, 0, ""},  // Dialog: never placed
    {-1, -1, WS_BORDER, 0, "BROWSER_DIALOGS=1"},
    {100, 25, 0xF00, 0, ""},
    {-1, 20, 0, 0, ""},
    {-1, -1, 0, WS_EX_CLIENTEDGE,
     "CODEEDITOR_BARWIDTH=20\nCODEEDITOR_TABSIZE=4\nCODEEDITOR_BACKCOLOR=*\nCODEEDITOR_BACKFOCUSCOLOR=*\n"
     "CODEEDITOR_BARCOLOR=*\nCODEEDITOR_BARGRAYCOLOR=*\nCODEEDITOR_BARCHECKCOLOR=*\n"
     "CODEEDITOR_BARMARKCOLOR=*\nCODEEDITOR_TEXTCOLOR=*\nCODEEDITOR_TEXTKEYCOLOR=*\n"
     "CODEEDITOR_TEXTSTRCOLOR=*\nCODEEDITOR_TEXTUPCOLOR=*\nCODEEDITOR_TEXTCOMMENTCOLOR=*"},
    {-1, -1, 0x200503, 0, ""},
    {-1, 20, 0x800080, 0, "TABENABLED=1"},
    {-1, -1, 0x800004, 0, ""},
    {-1, -1, 0, 0, ""},
    {500, 400, 0, 0, ""},
    {-1, -1, 0, WS_EX_CLIENTEDGE, ""},
    {-1, 20, 0, 0, "LABEL_ALIGN=_LEFT\nLABEL_VALIGN=_MIDDLE"},
    {200, 15, 0, WS_EX_STATICEDGE,
     "LCD_PIXELWIDTH=2\nLCD_PIXELHEIGHT=1\nLCD_CHARCOUNT=16\nLCD_LINECOUNT=1\nLCD_SCROLL=1\n"
     "LCD_SCROLLSPEED=5\nLCD_CELLCOLOR=*"},
    {40, -1, 0, WS_EX_CLIENTEDGE,
     "LEVEL_CHANNELCOUNT=1\nLEVEL_TICK=1\nLEVEL_VALUE=0\nLEVEL_MINVALUE=0\nLEVEL_MAXVALUE=1000\n"
     "LEVEL_BACKCOLOR=*\nLEVEL_LOWCOLOR=*\nLEVEL_HIGHCOLOR=*"},
    {-1, -1, 0xA00102, 0, ""},
    {-1, 20, 0, 0,
     "MEDIA_ALIGN=_LEFT\nMEDIA_VALIGN=_MIDDLE\nMEDIA_WRAPPING=1\nMEDIA_TRIMMING=1\nMEDIA_LEFTMARGIN=1\n"
     "MEDIA_TOPMARGIN=1\nMEDIA_RIGHTMARGIN=1\nMEDIA_BOTTOMMARGIN=1\nMEDIA_AUTOSCROLLX=0\n"
     "MEDIA_AUTOSCROLLY=0\nMEDIA_AUTOSCROLLLOOP=0\nMEDIA_TAGS=0\nMEDIA_BUTTON=0\nMEDIA_CHECKED=0\n"
     "MEDIA_LINKCOLOR=*"},
    {320, 180, 0, WS_EX_CLIENTEDGE, ""},
    {-1, -1, 0, 0, ""},
    {-1, 20, 0, 0, "PROGRESS_VALUE=0\nPROGRESS_MINVALUE=0\nPROGRESS_MAXVALUE=100"},
    {-1, -1, 0, WS_EX_CLIENTEDGE, "FRENCH=0"},
    {-1, 20, 0, 0, "RADIO_GROUP=0\nRADIO_CHECKED=0"},
    {-1, -1, 0x3040C4, 0, ""},
    {-1, -1, 0, 0, "SCROLL_VALUE=0\nSCROLL_MINVALUE=0\nSCROLL_MAXVALUE=100"},
    {-1, 25, 0, 0, "SLIDER_VALUE=0\nSLIDER_MINVALUE=0\nSLIDER_MAXVALUE=100"},
    {-1, -1, 0, WS_EX_CLIENTEDGE,
     "SOUNDEDITOR_POPUPMENU=1\nSOUNDEDITOR_COLORBACKENABLED=*\nSOUNDEDITOR_COLORBACKDISABLED=*\n"
     "SOUNDEDITOR_COLORLINE=*\nSOUNDEDITOR_COLORCARET=*\nSOUNDEDITOR_COLORCARETPLAY=*\n"
     "SOUNDEDITOR_COLORWAVEENABLED=*\nSOUNDEDITOR_COLORWAVEDISABLED=*\nSOUNDEDITOR_COLORPROGRESSBACK=*\n"
     "SOUNDEDITOR_COLORPROGRESSSTART=*\nSOUNDEDITOR_COLORPROGRESSEND=*"},
    {500, 400, 0, WS_EX_CLIENTEDGE, "SPLITTER_COLCOUNT=2\nSPLITTER_ROWCOUNT=1\nSPLITTER_WINDOWBACKCOLOR=*"},
    {-1, -1, 0, 0,
     "STATIC_EDGE=_EDGESUNKENOUTER\nSTATIC_LEFTBORDER=1\nSTATIC_TOPBORDER=1\nSTATIC_RIGHTBORDER=1\n"
     "STATIC_BOTTOMBORDER=1"},
    {-1, -1, 0x4000, 0, "TAB_SELECTION=0\nTAB_CONTENT=Tab 1 | Tab 2\nTAB_TIPCONTENT=Tip 1 | Tip 2"},
    {500, 400, 0, 0,
     "TABDOC_CLOSE=1\nTABDOC_MOVE=1\nTABDOC_SELECTION=0\nTABDOC_BACKCOLOR=*\nTABDOC_BACKSELCOLOR=*\n"
     "TABDOC_TEXTCOLOR=*\nTABDOC_TEXTSELCOLOR=*\nTABDOC_WINDOWBACKCOLOR=*\nTABDOC_CONTENT=Tab 1 | Tab 2"},
    {-1, 25, 0x100, 0, "HALIGN=4\nTOOLBAR_CONTENT=Btn 1 | Btn 2"},
    {-1, -1, 0x17, WS_EX_CLIENTEDGE, ""},
};

void SetDefaultKeys(SDialogCtrl::_SCtrl* element, const char* keys)
{
    while (*keys)
    {
        const size_t length = strcspn(keys, "\n");
        const SString line = SString().SetText(keys, static_cast<int>(length));
        const int equal = line.FindChar('=');
        const SString key = line.Left(equal);
        const SString value = line.Mid(equal + 1);
        if (value == "*")
            element->SetValueInt(key.GetText(), static_cast<int>(DIALOG_DEFAULT_COLOR));
        else
            element->SetValue(key.GetText(), value.GetText());
        keys += length;
        if (*keys)
            keys++;
    }
}
} // namespace

void SDialogCtrl::ApplyDefaults(_SCtrl* element) const
{
    const int type = element->GetType();
    const NewControlDefaults& defaults = NEW_CONTROL_DEFAULTS[type];
    short x = element->GetX(), y = element->GetY();
    short width = defaults.width >= 0 ? defaults.width : element->GetWidth();
    short height = defaults.height >= 0 ? defaults.height : element->GetHeight();
    if (type == DTYPE_SCROLL)
        height = static_cast<short>(GetSystemMetrics(SM_CYHSCROLL));
    if (type == DTYPE_TOOLBAR)
    {
        x = 0;
        y = 0;
        width = m_dialog ? m_dialog->GetWidth() : width;
    }
    if (type == DTYPE_LCD)
        element->SetCaption("QUENTARA");
    element->SetPosition(x, y, width, height);
    element->SetStyle(element->GetStyle() | defaults.style);
    element->SetExStyle(element->GetExStyle() | defaults.exstyle);
    SetDefaultKeys(element, defaults.keys);
}

SDialogCtrl::_SCtrl* SDialogCtrl::AddElement(const _SCtrl* source, bool withDefaults, bool keepName,
                                             bool keepId)
{
    const SDialogElementType* type = GetElementDescriptor(source);
    if (!type || FindElement(source) >= 0)
        return nullptr;
    std::unique_ptr<_SCtrl> element(new _SCtrl);
    element->CopyFrom(*source);
    element->SetDialog(false);
    if (!keepId || !IsIdFree(source->GetIdValue()))
    {
        const int id = GetFreeId();
        if (id < 0)
            return nullptr;
        element->SetId(static_cast<short>(id));
    }
    if (!keepName || GetElementByName(source->GetNameText().GetText()))
    {
        const SString name = MakeUniqueName(type->index);
        if (name.GetLength() == 0)
            return nullptr;
        element->SetName(name.GetText());
    }
    if (withDefaults)
    {
        element->SetCaption(type->name.GetText());
        element->SetStyle(element->GetStyle() | WS_VISIBLE);
        ApplyDefaults(element.get());
    }
    RemakeLiveControl(element.get());
    _SCtrl* added = element.release();
    m_elements.Add(added);
    if (!keepName || !keepId)
        OnElementAdded(added);
    return added;
}

void SDialogCtrl::OnLButtonDown(int x, int y)
{
    if (!m_open)
        return;
    if (m_handle)
        SetFocus();
    ComputeLayout();
    const POINT point = {x, y};
    if (!PtInRect(&m_designArea, point))
        return;
    if (m_tool > 0)
        PlaceTool(x, y);
    else
        ChangeSelectionAt(x, y);
}

void SDialogCtrl::PlaceTool(int x, int y)
{
    _SCtrl fresh;
    fresh.SetType(static_cast<short>(m_tool));
    POINT at = ClientToDesign(POINT{x, y});
    if (m_snap)
    {
        at.x -= at.x % m_gridX;
        at.y -= at.y % m_gridY;
    }
    fresh.SetPosition(static_cast<short>(at.x), static_cast<short>(at.y), fresh.GetWidth(), fresh.GetHeight());
    // Kept only when the control is placed.
    std::unique_ptr<_SUndo> snapshot = MakeUndoSnapshot();
    if (AddElement(&fresh, true, false, false))
        PushUndoSnapshot(std::move(snapshot));
    SetTool(-1);
    if (m_toolbox && m_toolbox->GetHandle())
        m_toolbox->SelectButton(TOOLBOX_CONTROLS, 0);
    RedrawAll();
    NotifyChanged(0);
}

void SDialogCtrl::ChangeSelectionAt(int x, int y)
{
    const bool ctrl = m_keyboard.IsCtrlDown();
    const int count = GetSelectedCount();
    _SCtrl* key = GetSelected(0);
    const POINT point = {x, y};
    for (int i = 0; key && i < 8; i++)
    {
        const RECT handle = DesignToClient(GetHandleRect(key, i));
        if (!PtInRect(&handle, point))
            continue;
        ClearSelection();
        Select(key);
        RedrawAll();
        if (count > 1)
            OnSelectionChanged(key, key);
        DragResize(i, x, y);
        return;
    }
    _SCtrl* hit = HitTest(x, y);
    if (hit && hit != m_dialog.get())
    {
        if (IsSelected(hit) && ctrl)
        {
            Deselect(hit);
            RedrawAll();
            OnSelectionChanged(key, GetSelected(0));
            return;
        }
        if (IsSelected(hit))
            MakePrimary(hit);
        else if (!ctrl)
        {
            ClearSelection();
            Select(hit);
        }
        else
        {
            if (count == 1 && key == m_dialog.get())
                Deselect(key);
            Select(hit);
            MakePrimary(hit);
        }
        RedrawAll();
        if (GetSelected(0) != key || GetSelectedCount() != count)
            OnSelectionChanged(key, GetSelected(0));
        DragMove(x, y);
        return;
    }
    if (hit || count > 0)
    {
        ClearSelection();
        Select(hit);
        RedrawAll();
        OnSelectionChanged(key, hit);
    }
    DragRubberBand(x, y);
}

bool SDialogCtrl::DeleteSelection()
{
    _SCtrl* first = GetSelected(0);
    if (!first || first == m_dialog.get())
        return false;
    // Kept only once something goes: a refused delete leaves the history as it was.
    std::unique_ptr<_SUndo> snapshot = MakeUndoSnapshot();
    Deselect(first);
    OnSelectionChanged(first, nullptr);
    if (!OnRemoveElement(first))
        return false;
    PushUndoSnapshot(std::move(snapshot));
    DestroyElement(first);
    SArray<_SCtrl*> others(m_selection);
    ClearSelection();
    for (int i = 0; i < others.GetCount(); i++)
    {
        _SCtrl* element = others.GetAt(i);
        if (FindElement(element) >= 0 && OnRemoveElement(element))
            DestroyElement(element);
    }
    RedrawAll();
    NotifyChanged(0);
    return true;
}

void SDialogCtrl::OnDelete()
{
    if (!DeleteSelection())
        return;
    NotifyChanged(0);
    RedrawAll();
}

void SDialogCtrl::OnEscape()
{
    SelectOnly(nullptr);
    RedrawAll();
}

bool SDialogCtrl::SetTool(int type)
{
    if (type != -1 && (type < 1 || type >= DIALOG_TYPE_COUNT))
        return false;
    if (type == m_tool)
        return false;
    m_tool = type;
    SetCursor(type == -1 ? nullptr : GetLibraryCursor(2));
    return true;
}

std::unique_ptr<SDialogCtrl::_SUndo> SDialogCtrl::MakeUndoSnapshot() const
{
    if (!m_undoEnabled)
        return nullptr;
    std::unique_ptr<_SUndo> snapshot(new _SUndo);
    if (m_dialog)
    {
        snapshot->dialog.reset(new _SCtrl);
        snapshot->dialog->CopyFrom(*m_dialog);
    }
    for (int i = 0; i < m_elements.GetCount(); i++)
    {
        _SCtrl* copy = new _SCtrl;
        copy->CopyFrom(*m_elements.GetAt(i));
        snapshot->elements.Add(copy);
        if (IsIdSelected(copy->GetIdValue()))
            snapshot->selected.Add(copy);
    }
    return snapshot;
}

void SDialogCtrl::PushUndoSnapshot(std::unique_ptr<_SUndo> snapshot)
{
    if (!snapshot || !m_undoEnabled)
        return;
    if (m_undo.GetCount() >= UNDO_LIMIT)
        m_undo.DeleteAndRemoveAt(0);
    m_undo.Add(snapshot.release());
}

void SDialogCtrl::TakeUndoSnapshot()
{
    PushUndoSnapshot(MakeUndoSnapshot());
}

SDialogCtrl::_SUndo* SDialogCtrl::GetUndoSnapshot(int i) const
{
    return i >= 0 && i < m_undo.GetCount() ? m_undo.GetAt(i) : nullptr;
}

void SDialogCtrl::DeleteUndoSnapshots()
{
    m_undo.DeleteAndRemoveAll();
}

bool SDialogCtrl::DropLastUndoSnapshot()
{
    if (!m_undoEnabled || m_undo.GetCount() == 0)
        return false;
    m_undo.DeleteAndRemoveAt(m_undo.GetCount() - 1);
    return true;
}
