#include "PWndDescription.h"
#include "PSettings.h"
#include "PWndApp.h"

namespace
{
// Button id, picture resource and text, in button order.
struct DescriptionButton
{
    int id;
    int picture;
    const char* text;
};

const DescriptionButton BUTTONS[] = {{0, 191, "Generate HTML page"}, {1, 192, "Generate all HTML pages"},
                                     {2, 194, "Set [group] tag"},    {3, 193, "Set [genre] tag"},
                                     {4, 196, "Set [name] tag"},     {5, 189, "Set [title] tag"},
                                     {6, 197, "Set [quote] tag"},    {7, 195, "Set [image] tag"},
                                     {8, 190, "Set [bold] tag"}};

const char* const TAG_WORDS[] = {"genre", "name", "title", "quote", "image"};
const int TREE_WIDTH = 250;
}

PWndDescription::PWndDescription()
    : PWndSecondary("WindowDescription"), m_folderCount(0), m_documentItem(nullptr), m_quietSelection(false)
{
}

PWndDescription::~PWndDescription()
{
}

LRESULT PWndDescription::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        OnCreated();
        break;
    case WM_SETFOCUS:
        m_editor.SetFocus();
        break;
    case WM_CLOSE:
        if (OnClose() != 0)
            return -1;
        break;
    case SWM_TOOLBAR_COMMAND:
        if (lParam >= GENERATE_PAGE && lParam <= TAG_BOLD)
        {
            OnCommand(static_cast<int>(lParam));
            return 0;
        }
        break;
    case SWM_TREE_SELCHANGED:
        OnTreeSelection(reinterpret_cast<HTREEITEM>(lParam));
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}

void PWndDescription::OnCreated()
{
    SetUpFrame("Description - KLV Sonavel", 800, 600);
    m_selector.SetOwner(m_handle);
    CreateToolBar();
    CreateStatusBar();
    CreateViews();
    EnableViews(false);
    UpdateToolbar();
    RestoreSavedPlacement();
}

void PWndDescription::CreateToolBar()
{
    m_images.Create(48, 48, ILC_COLOR32);
    for (const DescriptionButton& button : BUTTONS)
        m_images.AddResource(button.picture, "BINARY");
    m_controlBar.Create(WS_VISIBLE, 0, m_handle);
    const DWORD style = TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN | CCS_NORESIZE | WS_VISIBLE;
    m_toolBar.Create(style, 0, nullptr, m_controlBar.GetHandle());
    m_toolBar.SetTransparent(true);
    m_toolBar.SetImageList(m_images.GetHandle());
    m_toolBar.SetBitmapSize(48, 48);
    for (int i = 0; i < 9; ++i)
    {
        m_toolBar.AddButton(BUTTONS[i].id, i, BUTTONS[i].text, BTNS_SHOWTEXT | BTNS_AUTOSIZE);
        if (i == 1 || i == 2 || i == 7)
            m_toolBar.AddSeparator();
    }
    // The labels show under the pictures (the tool bar keeps texts as tips otherwise).
    m_toolBar.SendMessage(TB_SETMAXTEXTROWS, 1);
    m_controlBar.InsertBand(&m_toolBar, -1, 100, m_toolBar.GetButtonHeight(), -1, true);
}

void PWndDescription::CreateViews()
{
    RECT area = {};
    GetClientRectWithoutBars(&area);
    const RECT tree = {area.left, area.top, TREE_WIDTH, area.bottom};
    const DWORD treeStyle = WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_DISABLEDRAGDROP |
                            TVS_SHOWSELALWAYS;
    m_tree.Create(treeStyle, 0, &tree, m_handle);
    m_tree.SetAnchors(0x40);
    const RECT editor = {TREE_WIDTH, area.top, area.right, area.bottom};
    m_editor.CreateChild("", WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, WS_EX_CLIENTEDGE, &editor, m_handle);
    m_editor.SetAnchors(0x44);
}

void PWndDescription::EnableViews(bool enable)
{
    m_toolBar.EnableWindow(enable);
    m_tree.EnableWindow(enable);
    m_editor.EnableWindow(enable);
}

void PWndDescription::UpdateToolbar()
{
    const bool open = m_editor.IsOpen();
    for (int id = TAG_GROUP; id <= TAG_BOLD; ++id)
        m_toolBar.EnableButton(id, open);
}

void PWndDescription::OnCommand(int id)
{
    if (id == GENERATE_PAGE)
    {
        SaveDocument();
        GeneratePage(m_tree.GetSelectedItem());
    }
    else if (id == GENERATE_ALL)
    {
        SaveDocument();
        GenerateAllPages();
    }
    else if (!m_editor.IsOpen())
        return;
    else if (id == TAG_GROUP)
        InsertGroup();
    else
        InsertTag(id);
}

// The selection becomes a chapter line; without one the caret lands between the braces.
void PWndDescription::InsertGroup()
{
    const bool selected = m_editor.HasSelection();
    const int line = m_editor.GetCaretLine();
    const int column = m_editor.GetCaretColumn();
    const SString text = SString("{") + TextOf(m_editor.GetSelectedText()) + "}\r\n";
    m_editor.ReplaceSelection(TextOf(text));
    if (!selected)
        m_editor.SetSelection(line, column + 1, -1, -1, 0, false);
}

// Each selected line's part is wrapped in the tag; without a selection an
// empty tag is inserted with the caret before its closing "#".
void PWndDescription::InsertTag(int id)
{
    const bool bold = id == TAG_BOLD;
    const SString open = bold ? SString("<b>") : SString("#") + TAG_WORDS[id - TAG_GENRE] + " ";
    const char* close = bold ? "</b>" : "#";
    if (!m_editor.HasSelection())
    {
        if (bold)
            return;
        m_editor.ReplaceSelection(TextOf(open + close));
        m_editor.SetSelection(m_editor.GetCaretLine(), m_editor.GetCaretColumn() - 1, -1, -1, 0, false);
        return;
    }
    int firstLine = 0, firstColumn = 0, lastLine = 0, lastColumn = 0;
    m_editor.GetSelection(firstLine, firstColumn, lastLine, lastColumn);
    SString text;
    for (int i = firstLine; i <= lastLine; ++i)
    {
        const SString* line = m_editor.GetLine(i);
        const int from = i == firstLine ? firstColumn : 0;
        const int to = i == lastLine ? lastColumn : m_editor.GetLineLength(i);
        if (i > firstLine)
            text += "\r\n";
        text += TextOf(open + TextOf(line ? line->Substring(from, to) : SString("")) + close);
    }
    m_editor.ReplaceSelection(TextOf(text));
}

// Leaving an item saves its text; when that fails the tree goes back to it.
void PWndDescription::OnTreeSelection(HTREEITEM item)
{
    if (m_quietSelection)
        return;
    if (!SaveDocument())
    {
        m_quietSelection = true;
        m_tree.SelectItem(m_documentItem);
        m_quietSelection = false;
        return;
    }
    OpenDocument(item);
}

LRESULT PWndDescription::OnClose()
{
    if (!CloseDocument())
        return -1;
    SaveCurrentPlacement();
    return 0;
}
