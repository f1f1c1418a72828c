#include "SDialogBuilder.h"
#include <memory>
#include <shellapi.h>
#include "SDialogValues.h"
#include "SImage.h"
#include "SLevelCtrl.h"
#include "SLibrary.h"
#include "SMemory.h"
#include "SResource.h"
#include "STabCtrl.h"
#include "SWaveCtrl.h"

SDialogBuilder::SDialogBuilder(SWndDialog* dialog, SResource* resources)
    : m_dialog(dialog), m_resources(resources), m_description(nullptr)
{
}

SDialogBuilder::~SDialogBuilder() = default;

bool SDialogBuilder::Build(SVirtualFile* description, HWND parent, bool topLevel, LPARAM value)
{
    if (!description || !m_dialog || m_dialog->GetHandle() || !Read(description))
        return false;
    if (!CreateDialogWindow(parent, topLevel, value))
        return false;
    const int width = m_description->GetWidth();
    const int height = m_description->GetHeight() + CreateStatusBar(width);
    ApplyWindowKeys(width, height);
    if (!CreateControls())
        return false;
    FinishControls();
    if (m_description->GetStyle() & WS_VISIBLE)
        m_dialog->ShowWindow(SW_SHOW);
    return true;
}

bool SDialogBuilder::Register(SWndDialog* dialog, SWnd* control, const SDialogCtrl::_SCtrl* record)
{
    std::unique_ptr<SWnd> owned(control);
    if (!dialog || !owned || !dialog->AddChild(owned.get(), record))
        return false;
    owned.release();
    return true;
}

SWnd* SDialogBuilder::FindControl(const SWndDialog* dialog, int id)
{
    return dialog->FindChildById(static_cast<unsigned short>(id));
}

bool SDialogBuilder::Read(SVirtualFile* description)
{
    if (!m_designer.Initialize(false))
        return false;
    description->Seek(0);
    if (!m_designer.ReadDescription(description))
        return false;
    m_description = m_designer.GetDialogDescription();
    return m_description != nullptr;
}

bool SDialogBuilder::CreateDialogWindow(HWND parent, bool topLevel, LPARAM value)
{
    DWORD style = m_description->GetStyle() & ~static_cast<DWORD>(WS_VISIBLE);
    style |= topLevel ? WS_POPUP : WS_CHILD;
    const SDialogValues keys(m_description);
    return m_dialog->Create(m_description->GetCaption().GetText(), style, m_description->GetExStyle(), nullptr,
                            parent, 0, value, GetInstance(), keys.Flag("DIALOG_NOCLOSE"));
}

// The status bar's height, 0 without one.
int SDialogBuilder::CreateStatusBar(int width)
{
    SArrayString parts;
    const int count = SDialogValues(m_description).List("DIALOG_STATUSBARTEXT", &parts);
    if (count <= 0 || !m_dialog->CreateStatusBar(count))
        return 0;
    const int partWidth = width / count;
    for (int i = 0; i < count; i++)
    {
        m_dialog->SetStatusText(i, parts.GetAt(i).GetText());
        if (i < count - 1)
            m_dialog->SetStatusPartEdge(i, partWidth * (i + 1));
    }
    return m_dialog->GetStatusBar()->GetWindowHeight();
}

void SDialogBuilder::ApplyWindowKeys(int width, int height)
{
    const SDialogValues keys(m_description);
    m_dialog->SetClientSize(width, height);
    m_dialog->CenterWindow(true);
    if (keys.Flag("DIALOG_MAXIMIZED"))
        m_dialog->Maximize();
    if (keys.Flag("DIALOG_MINIMIZED"))
        m_dialog->Minimize();
    const SIZE size = m_dialog->GetWindowSize();
    DWORD back = 0;
    if (SDialogValues::ResolveCommonColor(m_description->GetBackColor(), true, &back))
        m_dialog->SetBackgroundColor(back);
    if (keys.Flag("DIALOG_MINSIZE"))
        m_dialog->SetMinTrackSize(size.cx, size.cy);
    if (keys.Flag("DIALOG_MAXSIZE"))
        m_dialog->SetMaxTrackSize(size.cx, size.cy);
    if (keys.Flag("DIALOG_DRAGFILES"))
        DragAcceptFiles(m_dialog->GetHandle(), TRUE);
    m_dialog->SetImageDrawMode(keys.DrawMode("DIALOG_IMAGEDRAWMODE"));
    ApplyBackground();
}

void SDialogBuilder::ApplyBackground()
{
    SMemory stream;
    SImage image;
    const SString name = SDialogValues(m_description).Text("DIALOG_IMAGE");
    if (m_resources && m_resources->Load(&stream, name.GetText()) && image.Load(&stream) && image.GetBitmap())
        m_dialog->SetBackgroundImage(image.GetBitmap(), SDialogValues::DEFAULT_COLOR, -1, nullptr, true);
}

bool SDialogBuilder::CreateControls()
{
    const int count = m_designer.GetElementCount();
    std::vector<int> types;
    for (int i = 0; i < count; i++)
    {
        const SDialogCtrl::_SCtrl* record = m_designer.GetElement(i);
        if (!record)
            return false;
        types.push_back(record->GetType());
    }
    for (const int index : SDialogValues::PlanCreationOrder(types))
    {
        const SDialogCtrl::_SCtrl* record = m_designer.GetElement(index);
        SWnd* control = SDialogCtrl::CreateControl(m_dialog, m_dialog->GetHandle(), record, m_resources, true);
        if (!Register(m_dialog, control, record))
            return false;
    }
    return true;
}

// Links, anchors and the tab order, each for every control in record order.
void SDialogBuilder::FinishControls()
{
    const int count = m_designer.GetElementCount();
    for (int i = 0; i < count; i++)
    {
        const SDialogCtrl::_SCtrl* record = m_designer.GetElement(i);
        SWnd* control = FindControl(m_dialog, record->GetIdValue());
        if (!control)
            continue;
        if (record->GetType() == TYPE_SOUNDEDITOR)
            LinkSoundEditor(record, control);
        else if (record->GetType() == TYPE_TAB)
            AttachTabPages(record, control);
    }
    for (int i = 0; i < count; i++)
    {
        const SDialogCtrl::_SCtrl* record = m_designer.GetElement(i);
        const SDialogValues keys(record);
        if (SWnd* control = FindControl(m_dialog, record->GetIdValue()))
            control->SetAnchors(keys.Int("HALIGN") | keys.Int("VALIGN"));
    }
    for (int i = 0; i < count; i++)
    {
        const SDialogCtrl::_SCtrl* record = m_designer.GetElement(i);
        const SDialogValues keys(record);
        SWnd* control = FindControl(m_dialog, record->GetIdValue());
        if (control && keys.Flag("TABENABLED"))
            control->SetTabIndex(keys.Int("TABGROUP"));
    }
}

void SDialogBuilder::LinkSoundEditor(const SDialogCtrl::_SCtrl* record, SWnd* control)
{
    SWaveCtrl* editor = dynamic_cast<SWaveCtrl*>(control);
    const int id = SDialogValues(record).Int("SOUNDEDITOR_LEVEL");
    const SDialogCtrl::_SCtrl* meterRecord = nullptr;
    for (int i = 0; i < m_designer.GetElementCount() && !meterRecord; i++)
    {
        const SDialogCtrl::_SCtrl* candidate = m_designer.GetElement(i);
        if (static_cast<unsigned short>(candidate->GetIdValue()) == static_cast<unsigned short>(id))
            meterRecord = candidate;
    }
    SLevelCtrl* meter = dynamic_cast<SLevelCtrl*>(FindControl(m_dialog, id));
    if (editor && meter && meterRecord && meterRecord->GetType() == TYPE_LEVEL)
        editor->SetLevelCtrl(meter);
}

void SDialogBuilder::AttachTabPages(const SDialogCtrl::_SCtrl* record, SWnd* control)
{
    STabCtrl* tab = dynamic_cast<STabCtrl*>(control);
    if (!tab)
        return;
    const SString pairs = SDialogValues(record).Text("TAB_CHILDREN_PRIVATE");
    for (const SDialogValues::_SPage& page : SDialogValues::ParsePages(pairs.GetText(), tab->GetItemCount()))
    {
        SWnd* shown = FindControl(m_dialog, page.id);
        if (shown && shown != tab)
            tab->AttachPage(page.tab, shown);
    }
    tab->ShowPage(tab->GetCurSel());
}
