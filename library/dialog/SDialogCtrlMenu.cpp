#include "SDialogCtrl.h"
#include "SDialogValues.h"
#include "SPanelCtrl.h"

namespace
{
// The toolbox's groups after the controls: title key, then button keys with "/"
// for a separator.
const char* const ALIGNMENT_BUTTONS[] = {"#LEFT", "#RIGHT", "#TOP", "#BOTTOM", "/", "#HCENTER", "#VCENTER", "/",
                                         "#HSPACE", "#VSPACE", "/", "#NOHSPACE", "#NOVSPACE", "/",
                                         "#WIDTH", "#HEIGHT", "#SIZE"};
const char* const ORDER_BUTTONS[] = {"#FRONT", "#BACK", "/", "#FORWARD", "#BACKWARD"};
const char* const MISC_BUTTONS[] = {"#GRID", "#SNAP", "#TEST"};

// The first button of each run of the alignment and order groups.
const int ALIGNMENT_RUNS[5] = {0, 4, 6, 8, 10};
const int ORDER_RUNS[2] = {0, 2};

SDialogCtrl::_SMenuEntry Entry(int id, int parent, const SString& text, bool enabled = true)
{
    return {id, parent, text, false, false, enabled, false};
}

SDialogCtrl::_SMenuEntry Separator(int parent)
{
    return {0, parent, SString(""), true, false, true, false};
}
} // namespace

void SDialogCtrl::SetToolbox(SPanelCtrl* panel)
{
    m_toolbox = panel;
}

void SDialogCtrl::GetContextMenuEntries(std::vector<_SMenuEntry>& entries)
{
    entries.clear();
    const int n = IsDialogSelected() ? 0 : GetSelectedCount();
    entries.push_back(Entry(MENU_CUT, 0, GetText("@CUT"), n != 0));
    entries.push_back(Entry(MENU_COPY, 0, GetText("@COPY"), n != 0));
    entries.push_back(Entry(MENU_PASTE, 0, GetText("@PASTE"), CanPaste()));
    entries.push_back(Separator(0));
    entries.push_back(Entry(MENU_SELECTALL, 0, GetText("@SELECTALL")));
    const _SCtrl* tab = GetSelected(0);
    const SString content = tab ? tab->GetValue("TAB_CONTENT") : SString("");
    if (tab && tab->GetType() == DTYPE_TAB && content.GetLength() > 0)
    {
        SArrayString names;
        const int count = SDialogValues::SplitTabNames(content.GetText(), &names);
        if (count > 0)
            entries.push_back(Separator(0));
        for (int t = 0; t < count; t++)
        {
            const int base = MENU_TAB_BASE * (t + 1);
            _SMenuEntry submenu = Entry(base, 0, names.GetAt(t));
            submenu.submenu = true;
            entries.push_back(submenu);
            entries.push_back(Entry(base + MENU_TAB_SELECT, base, GetText("@SELECTTAB")));
            entries.push_back(Separator(base));
            // Ids stay below the next tab's.
            for (int i = 0; i < GetElementCount() && MENU_TAB_ELEMENTS + i < MENU_TAB_BASE; i++)
            {
                const _SCtrl* element = GetElement(i);
                if (element == tab)
                    continue;
                _SMenuEntry entry = Entry(base + MENU_TAB_ELEMENTS + i, base, element->GetNameText());
                entry.checked = IsTabPage(tab, t, element->GetIdValue());
                entries.push_back(entry);
            }
        }
    }
    entries.push_back(Separator(0));
    entries.push_back(Entry(MENU_TEST, 0, GetText("@TEST")));
}

void SDialogCtrl::ShowContextMenu(int x, int y)
{
    if (!m_handle)
        return;
    if (!m_menu.GetHandle())
        m_menu.Create(m_handle);
    std::vector<_SMenuEntry> entries;
    GetContextMenuEntries(entries);
    m_menu.RemoveAll();
    m_menu.SetNoImage(true);
    bool tabs = false;
    for (const _SMenuEntry& entry : entries)
        tabs = tabs || entry.submenu;
    if (tabs)
        m_tabMenus.clear();
    for (const _SMenuEntry& entry : entries)
    {
        // A submenu's entries follow it.
        SMenu* menu = entry.parent != 0 && !m_tabMenus.empty() ? m_tabMenus.back().get() : &m_menu;
        if (entry.separator)
            menu->InsertSeparator(0);
        else if (entry.submenu)
        {
            std::unique_ptr<SMenu> sub(new SMenu);
            sub->Create(m_handle);
            sub->SetNoImage(true);
            m_menu.InsertSubMenu(entry.id, sub.get(), entry.text.GetText());
            m_tabMenus.push_back(std::move(sub));
        }
        else
        {
            menu->InsertItem(entry.id, entry.text.GetText());
            menu->EnableItem(entry.id, entry.enabled);
            menu->CheckItem(entry.id, entry.checked);
        }
    }
    POINT point = {x, y};
    ClientToScreen(&point);
    m_menu.Track(point.x, point.y, TPM_RIGHTBUTTON, m_handle);
}

bool SDialogCtrl::DecodeTabCommand(int id, int* tab, int* rest) const
{
    const _SCtrl* element = GetSelected(0);
    if (!element || element->GetType() != DTYPE_TAB || id < MENU_TAB_BASE)
        return false;
    const int t = id / MENU_TAB_BASE - 1;
    const int r = id % MENU_TAB_BASE;
    if (t >= SDialogValues::SplitTabNames(element->GetValue("TAB_CONTENT").GetText(), nullptr))
        return false;
    const int index = r - MENU_TAB_ELEMENTS;
    if (r != MENU_TAB_SELECT && (index < 0 || index >= GetElementCount() || GetElement(index) == element))
        return false;
    if (tab)
        *tab = t;
    if (rest)
        *rest = r;
    return true;
}

void SDialogCtrl::OnMenuCommand(int id)
{
    switch (id)
    {
    case MENU_CUT: OnCut(); return;
    case MENU_COPY: OnCopy(); return;
    case MENU_PASTE: OnPaste(); return;
    case MENU_SELECTALL: OnSelectAll(); return;
    case MENU_DELETE: OnDelete(); return;
    case MENU_TEST: TestRun(); return;
    }
    _SCtrl* tab = GetSelected(0);
    int t = 0, r = 0;
    if (!DecodeTabCommand(id, &t, &r))
        return;
    TakeUndoSnapshot();
    if (r == MENU_TAB_SELECT)
    {
        tab->SetValueInt("TAB_SELECTION", t);
        FillProperties(tab);
    }
    else
    {
        _SCtrl* control = GetElement(r - MENU_TAB_ELEMENTS);
        UpdateTabChildren(t, control, !IsTabPage(tab, t, control->GetIdValue()));
    }
    RemakeLiveControl(tab);
    RedrawAll();
    NotifyChanged(0);
}

SDialogCtrl::_SToolboxState SDialogCtrl::GetToolboxState() const
{
    _SToolboxState state = {};
    state.count = IsDialogSelected() ? 0 : GetSelectedCount();
    const int n = state.count;
    // Runs: 0-3 edges, 4-5 centring, 6-7 spacing, 8-9 no spacing, 10-12 sizes.
    const bool alignment[5] = {n >= 2, n >= 1, n >= 3, n >= 2, n >= 2};
    for (int i = 0; i < 5; i++)
        state.alignment[i] = alignment[i];
    state.order[0] = n >= 1;
    state.order[1] = n == 1;
    state.grid = m_gridShown;
    state.snap = m_snap;
    return state;
}

void SDialogCtrl::SyncToolbox(SPanelCtrl* panel)
{
    if (!panel)
        return;
    const _SToolboxState state = GetToolboxState();
    if (state.count == 0)
    {
        panel->EnableGroup(TOOLBOX_ALIGNMENT, false, true);
        panel->EnableGroup(TOOLBOX_ORDER, false, true);
    }
    else
    {
        for (int i = 0; i < 5; i++)
            panel->EnableButton(TOOLBOX_ALIGNMENT, ALIGNMENT_RUNS[i], state.alignment[i], true, false);
        panel->RedrawGroup(TOOLBOX_ALIGNMENT);
        for (int i = 0; i < 2; i++)
            panel->EnableButton(TOOLBOX_ORDER, ORDER_RUNS[i], state.order[i], true, false);
        panel->RedrawGroup(TOOLBOX_ORDER);
    }
    panel->SetButtonChecked(TOOLBOX_MISC, 0, state.grid);
    panel->SetButtonChecked(TOOLBOX_MISC, 1, state.snap);
}

void SDialogCtrl::FillToolbox()
{
    if (!m_toolbox)
        return;
    m_toolbox->AddGroup(TOOLBOX_CONTROLS, GetText("#CONTROLS").GetText());
    m_toolbox->AddButton(0, "", TOOLBOX_CONTROLS);
    for (int type = 1; type < DIALOG_TYPE_COUNT; type++)
        m_toolbox->AddButton(type, GetDialogTypeName(type), TOOLBOX_CONTROLS);
    const struct
    {
        int id;
        const char* title;
        const char* const* buttons;
        int count;
    } groups[] = {{TOOLBOX_ALIGNMENT, "#ALIGNMENT", ALIGNMENT_BUTTONS, 17},
                  {TOOLBOX_ORDER, "#ORDER", ORDER_BUTTONS, 5},
                  {TOOLBOX_MISC, "#MISC", MISC_BUTTONS, 3}};
    for (const auto& group : groups)
    {
        m_toolbox->AddGroup(group.id, GetText(group.title).GetText());
        int button = 0;
        for (int i = 0; i < group.count; i++)
        {
            if (group.buttons[i][0] == '/')
                m_toolbox->AddSeparator(group.id);
            else
                m_toolbox->AddButton(button++, GetText(group.buttons[i]).GetText(), group.id);
        }
    }
    m_toolbox->SelectButton(TOOLBOX_CONTROLS, 0);
}

void SDialogCtrl::OnToolboxClick(int group, int button)
{
    switch (group)
    {
    case TOOLBOX_CONTROLS:
        if (m_toolbox)
            m_toolbox->SelectButton(TOOLBOX_CONTROLS, button);
        SetTool(button == 0 ? -1 : button);
        break;
    case TOOLBOX_ALIGNMENT:
        ApplyLayoutCommand(button);
        RedrawAll();
        break;
    case TOOLBOX_ORDER:
        ApplyOrderCommand(button);
        RedrawAll();
        break;
    case TOOLBOX_MISC:
        if (button == 0 || button == 1)
        {
            bool& flag = button == 0 ? m_gridShown : m_snap;
            flag = !flag;
            if (m_toolbox)
                m_toolbox->SetButtonChecked(TOOLBOX_MISC, button, flag);
            RedrawAll();
        }
        else if (button == 2)
            TestRun();
        break;
    }
}
