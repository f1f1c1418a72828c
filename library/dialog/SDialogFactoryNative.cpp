// The element types whose controls wrap the native controls of the window layer.
#include "SDialogFactory.h"
#include "SButtonCtrl.h"
#include "SCheckCtrl.h"
#include "SComboCtrl.h"
#include "SEditCtrl.h"
#include "SExListCtrl.h"
#include "SGroupCtrl.h"
#include "SLabelCtrl.h"
#include "SListCtrl.h"
#include "SMemory.h"
#include "SProgressCtrl.h"
#include "SRadioCtrl.h"
#include "SRichEditCtrl.h"
#include "SScrollCtrl.h"
#include "SSliderCtrl.h"
#include "SSplitterCtrl.h"
#include "SStaticCtrl.h"
#include "STabCtrl.h"
#include "SToolBarCtrl.h"
#include "STreeCtrl.h"

namespace
{
// Alignment names of labels and tagged-text views, with the flags they set.
const SDialogNamedValue ALIGN_NAMES[2] = {{"_CENTER", 1}, {"_RIGHT", 2}};
const SDialogNamedValue VALIGN_NAMES[2] = {{"_MIDDLE", 16}, {"_BOTTOM", 32}};
const SDialogNamedValue EDGE_NAMES[8] = {
    {"_EDGEBUMP", 9}, {"_EDGEETCHED", 6}, {"_EDGERAISED", 5}, {"_EDGESUNKEN", 10},
    {"_EDGERAISEDINNER", 4}, {"_EDGERAISEDOUTER", 1}, {"_EDGESUNKENINNER", 8}, {"_EDGESUNKENOUTER", 2}};
const DWORD TOOL_STYLE_SHOWTEXT = 0x40;
const DWORD TOOL_STATE_ENABLED = 0x04;
}

template <class Add>
void SDialogFactory::AddLinesAndItems(const char* fileKey, const char* listKey, Add add) const
{
    SMemory stream;
    if (Load(fileKey, stream))
    {
        while (!stream.IsEnd())
        {
            const SString line = stream.ReadLine();
            if (line.GetLength() > 0)
                add(line.GetText());
        }
    }
    SArrayString items;
    m_values.List(listKey, &items);
    for (int i = 0; i < items.GetCount(); i++)
        add(items.GetAt(i).GetText());
}

bool SDialogFactory::MakeButton()
{
    SButtonCtrl* button = Take<SButtonCtrl>();
    if (!button || !button->Create(Caption(), m_style, m_exstyle, &m_rect, m_parent))
        return false;
    ApplyBackColor();
    return true;
}

bool SDialogFactory::MakeCheck()
{
    SCheckCtrl* check = Take<SCheckCtrl>();
    if (!check || !check->Create(Caption(), m_style, m_exstyle, &m_rect, m_parent))
        return false;
    ApplyBackColor();
    if (m_values.Int("CHECK_CHECKED") != 0)
        check->SetCheck(1);
    return true;
}

bool SDialogFactory::MakeCombo()
{
    SComboCtrl* combo = Take<SComboCtrl>();
    if (!combo || !combo->Create(Caption(), m_style, m_exstyle, &m_rect, m_parent))
        return false;
    AddLinesAndItems("COMBO_FILE", "COMBO_CONTENT", [combo](const char* text) { combo->AddString(text, -1); });
    return true;
}

bool SDialogFactory::MakeEdit()
{
    SEditCtrl* edit = Take<SEditCtrl>();
    const DWORD style = m_live ? m_style : m_style | ES_MULTILINE;
    if (!edit || !edit->Create(Caption(), style, m_exstyle, &m_rect, m_parent))
        return false;
    ApplyBackColor();
    DWORD color = 0;
    if (GetTextColor(&color))
        edit->SetTextColor(SDialogValues::ToArgb(color));
    ApplyResourceText("EDIT_TEXT");
    return true;
}

bool SDialogFactory::MakeExtendedList()
{
    SExListCtrl* list = Take<SExListCtrl>();
    if (!list || !list->Create(m_style, m_exstyle, &m_rect, m_parent))
        return false;
    list->SetExtendedStyle((m_values.Flag("EXLIST_GRIDLINES") ? LVS_EX_GRIDLINES : 0) |
                           (m_values.Flag("EXLIST_FULLROWSELECT") ? LVS_EX_FULLROWSELECT : 0));
    return true;
}

bool SDialogFactory::MakeGroup()
{
    SGroupCtrl* group = Take<SGroupCtrl>();
    if (!group || !group->Create(Caption(), m_style, m_exstyle, &m_rect, m_parent))
        return false;
    ApplyBackColor();
    return true;
}

bool SDialogFactory::MakeLabel()
{
    SLabelCtrl* label = Take<SLabelCtrl>();
    if (!label || !label->CreateChild(Caption(), m_style, m_exstyle, &m_rect, m_parent))
        return false;
    ApplyBackColor();
    DWORD color = 0;
    if (GetTextColor(&color))
        label->SetTextColor(color);
    label->SetAlignment(0);
    const int horizontal = m_values.Choice("LABEL_ALIGN", ALIGN_NAMES, 2, 0);
    if (horizontal)
        label->SetHorizontalAlignment(horizontal);
    const int vertical = m_values.Choice("LABEL_VALIGN", VALIGN_NAMES, 2, 0);
    if (vertical)
        label->SetVerticalAlignment(vertical);
    label->SetImageDrawMode(m_values.DrawMode("LABEL_IMAGEDRAWMODE"));
    ApplyResourceText("LABEL_TEXT");
    ApplyBackgroundImage("LABEL_IMAGE");
    return true;
}

bool SDialogFactory::MakeList()
{
    SListCtrl* list = Take<SListCtrl>();
    if (!list || !list->Create(m_style, m_exstyle, &m_rect, m_parent))
        return false;
    ApplyBackColor();
    DWORD color = 0;
    if (GetTextColor(&color))
        list->SetTextColor(color);
    list->SetSelectionColors(m_values.Color("LIST_SELBACKCOLOR"), m_values.Color("LIST_SELTEXTCOLOR"));
    AddLinesAndItems("LIST_FILE", "LIST_CONTENT", [list](const char* text) { list->AddItem(text, -1, -1, -1); });
    return true;
}

bool SDialogFactory::MakeProgress()
{
    SProgressCtrl* progress = Take<SProgressCtrl>();
    if (!progress || !progress->Create(m_style, m_exstyle, &m_rect, m_parent))
        return false;
    progress->SetRange(m_values.Int("PROGRESS_MINVALUE"), m_values.Int("PROGRESS_MAXVALUE"));
    progress->SetPos(m_values.Int("PROGRESS_VALUE"));
    return true;
}

bool SDialogFactory::MakeRadio()
{
    SRadioCtrl* radio = Take<SRadioCtrl>();
    if (!radio || !radio->Create(Caption(), m_style, m_exstyle, &m_rect, m_parent))
        return false;
    ApplyBackColor();
    radio->SetGroup(m_values.Int("RADIO_GROUP"));
    if (m_values.Int("RADIO_CHECKED") != 0)
        radio->Select();
    return true;
}

bool SDialogFactory::MakeRichEdit()
{
    SRichEditCtrl* edit = Take<SRichEditCtrl>();
    if (!edit || !edit->Create(Caption(), m_style, m_exstyle, &m_rect, m_parent))
        return false;
    SMemory stream;
    if (Load("RICHEDIT_FILE", stream))
        edit->LoadStream(&stream, false);
    return true;
}

bool SDialogFactory::MakeScroll()
{
    SScrollCtrl* scroll = Take<SScrollCtrl>();
    if (!scroll || !scroll->Create(m_style, m_exstyle, &m_rect, m_parent))
        return false;
    scroll->SetRange(m_values.Int("SCROLL_MINVALUE"), m_values.Int("SCROLL_MAXVALUE"), true);
    scroll->SetPos(m_values.Int("SCROLL_VALUE"), true);
    return true;
}

bool SDialogFactory::MakeSlider()
{
    SSliderCtrl* slider = Take<SSliderCtrl>();
    if (!slider || !slider->Create(m_style | TBS_DOWNISLEFT, m_exstyle, &m_rect, m_parent))
        return false;
    ApplyBackColor();
    slider->SetRange(m_values.Int("SLIDER_MINVALUE"), m_values.Int("SLIDER_MAXVALUE"), true);
    slider->SetPos(m_values.Int("SLIDER_VALUE"), true);
    return true;
}

bool SDialogFactory::MakeSplitter()
{
    SSplitterCtrl* splitter = Take<SSplitterCtrl>();
    if (!CreateUntitled(splitter))
        return false;
    splitter->SetBarColor(m_values.Color("SPLITTER_WINDOWBACKCOLOR"));
    splitter->SetGrid(m_values.Int("SPLITTER_COLCOUNT"), m_values.Int("SPLITTER_ROWCOUNT"));
    return true;
}

bool SDialogFactory::MakeStatic()
{
    SStaticCtrl* frame = Take<SStaticCtrl>();
    if (!frame || !frame->Create(m_style, m_exstyle, &m_rect, m_parent))
        return false;
    frame->SetEdge(m_values.Choice("STATIC_EDGE", EDGE_NAMES, 8, 0));
    frame->SetBorders((m_values.Flag("STATIC_LEFTBORDER") ? 1 : 0) | (m_values.Flag("STATIC_TOPBORDER") ? 2 : 0) |
                      (m_values.Flag("STATIC_RIGHTBORDER") ? 4 : 0) |
                      (m_values.Flag("STATIC_BOTTOMBORDER") ? 8 : 0));
    ApplyBackColor();
    frame->SetImageDrawMode(m_values.DrawMode("STATIC_IMAGEDRAWMODE"));
    ApplyBackgroundImage("STATIC_IMAGE");
    return true;
}

bool SDialogFactory::MakeTab()
{
    STabCtrl* tab = Take<STabCtrl>();
    if (!tab || !tab->Create(m_style, m_exstyle, &m_rect, m_parent))
        return false;
    SArrayString items;
    SDialogValues::SplitTabNames(m_values.Text("TAB_CONTENT").GetText(), &items);
    for (int i = 0; i < items.GetCount(); i++)
        tab->InsertTab(items.GetAt(i).GetText(), -1, -1);
    tab->SetSelection(m_values.Int("TAB_SELECTION"));
    if (m_live)
    {
        SArrayString tips;
        m_values.List("TAB_TIPCONTENT", &tips);
        for (int i = 0; i < tips.GetCount(); i++)
            tab->SetTabTip(i, tips.GetAt(i).GetText());
    }
    return true;
}

bool SDialogFactory::MakeToolBar()
{
    SToolBarCtrl* bar = Take<SToolBarCtrl>();
    if (!bar || !bar->Create(m_style | CCS_NORESIZE, m_exstyle, &m_rect, m_parent))
        return false;
    if (m_values.Flag("TOOLBAR_TRANSPARENT"))
        bar->SetTransparent(true);
    SArrayString tokens;
    m_values.List("TOOLBAR_CONTENT", &tokens);
    for (const SDialogValues::_SToolEntry& entry : SDialogValues::PlanToolBar(tokens))
    {
        if (entry.separator)
            bar->AddSeparator();
        else
            bar->AddButton(entry.button, entry.button, entry.text.GetText(), TOOL_STYLE_SHOWTEXT,
                           TOOL_STATE_ENABLED, 0);
    }
    return true;
}

bool SDialogFactory::MakeTree()
{
    STreeCtrl* tree = Take<STreeCtrl>();
    if (!tree || !tree->Create(m_style, m_exstyle, &m_rect, m_parent))
        return false;
    SMemory stream;
    if (Load("TREE_FILE", stream))
        tree->LoadFromStream(&stream, true);
    return true;
}
