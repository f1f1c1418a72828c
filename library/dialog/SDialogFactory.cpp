#include "SDialogFactory.h"
#include "SImage.h"
#include "SMemory.h"
#include "SResource.h"

const SDialogFactory::Maker SDialogFactory::MAKERS[TYPE_LAST] = {
    &SDialogFactory::MakeBrowser,     &SDialogFactory::MakeButton,       &SDialogFactory::MakeCheck,
    &SDialogFactory::MakeCodeEditor,  &SDialogFactory::MakeCombo,        &SDialogFactory::MakeEdit,
    &SDialogFactory::MakeExtendedList, &SDialogFactory::MakeGroup,       &SDialogFactory::MakeGui,
    &SDialogFactory::MakeImageEditor, &SDialogFactory::MakeLabel,        &SDialogFactory::MakeLcd,
    &SDialogFactory::MakeLevel,       &SDialogFactory::MakeList,         &SDialogFactory::MakeMedia,
    &SDialogFactory::MakeMediaPlayer, &SDialogFactory::MakePanel,        &SDialogFactory::MakeProgress,
    &SDialogFactory::MakeProperty,    &SDialogFactory::MakeRadio,        &SDialogFactory::MakeRichEdit,
    &SDialogFactory::MakeScroll,      &SDialogFactory::MakeSlider,       &SDialogFactory::MakeSoundEditor,
    &SDialogFactory::MakeSplitter,    &SDialogFactory::MakeStatic,       &SDialogFactory::MakeTab,
    &SDialogFactory::MakeTabDoc,      &SDialogFactory::MakeToolBar,      &SDialogFactory::MakeTree};

SDialogFactory::SDialogFactory(SWndDialog* dialog, HWND parent, const SDialogCtrl::_SCtrl* record,
                               SResource* resources, bool live)
    : m_dialog(dialog), m_parent(parent), m_record(record), m_resources(resources), m_live(live),
      m_values(record), m_rect(), m_style(0), m_exstyle(0)
{
}

SDialogFactory::~SDialogFactory() = default;

SWnd* SDialogFactory::Make()
{
    if (!m_parent || !m_record)
        return nullptr;
    m_rect = m_record->GetRect();
    m_style = m_record->GetStyle();
    m_exstyle = m_record->GetExStyle();
    // The designer's images are drawn by the designer, never shown themselves.
    if (!m_live)
        m_style &= ~static_cast<DWORD>(WS_VISIBLE);
    const int type = m_record->GetType();
    if (m_dialog)
        m_control.reset(m_dialog->CreateCustomControl(type));
    // A control that failed on the way is destroyed with the factory.
    if (type < TYPE_FIRST || type > TYPE_LAST || !(this->*MAKERS[type - TYPE_FIRST])())
        return nullptr;
    m_control->SetControlId(m_record->GetIdValue());
    m_control->SetName(m_record->GetNameText());
    return m_control.release();
}

bool SDialogFactory::CreateUntitled(SWnd* control) const
{
    return control && control->CreateChildUntitled(m_style, m_exstyle, &m_rect, m_parent);
}

void SDialogFactory::ApplyBackColor() const
{
    DWORD color = 0;
    if (SDialogValues::ResolveCommonColor(m_record->GetBackColor(), true, &color))
        m_control->SetBackgroundColor(color);
}

bool SDialogFactory::GetTextColor(DWORD* color) const
{
    return SDialogValues::ResolveCommonColor(m_record->GetTextColor(), false, color);
}

bool SDialogFactory::Load(const char* key, SMemory& stream) const
{
    return m_resources && m_resources->Load(&stream, m_values.Text(key).GetText());
}

bool SDialogFactory::LoadText(const char* key, SString* text) const
{
    SMemory stream;
    if (!Load(key, stream))
        return false;
    stream.SeekToStart();
    *text = stream.ReadText(-1);
    return true;
}

void SDialogFactory::ApplyResourceText(const char* key) const
{
    SString text;
    if (LoadText(key, &text))
        m_control->SetWindowText(text.GetText());
}

void SDialogFactory::ApplyBackgroundImage(const char* key) const
{
    SMemory stream;
    SImage image;
    if (Load(key, stream) && image.Load(&stream) && image.GetBitmap())
        m_control->SetBackgroundImage(image.GetBitmap(), SDialogValues::DEFAULT_COLOR, -1, nullptr, true);
}
