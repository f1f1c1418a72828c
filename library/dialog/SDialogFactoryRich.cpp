// The element types whose controls are the library's rich and self-drawn controls.
#include "SDialogFactory.h"
#include <cmath>
#include "SBrowserCtrl.h"
#include "SCodeEditCtrl.h"
#include "SGuiCtrl.h"
#include "SLcdCtrl.h"
#include "SLevelCtrl.h"
#include "SLibrary.h"
#include "SMediaCtrl.h"
#include "SMediaPlayerCtrl.h"
#include "SMemory.h"
#include "SPaintCtrl.h"
#include "SPanelCtrl.h"
#include "SPropertyCtrl.h"
#include "STabDocCtrl.h"
#include "SWaveCtrl.h"

namespace
{
const SDialogNamedValue ALIGN_NAMES[2] = {{"_CENTER", 1}, {"_RIGHT", 2}};
const SDialogNamedValue VALIGN_NAMES[2] = {{"_MIDDLE", 16}, {"_BOTTOM", 32}};
}

bool SDialogFactory::MakeBrowser()
{
    SBrowserCtrl* browser = Take<SBrowserCtrl>();
    if (!browser || !browser->Create(m_style, m_exstyle, &m_rect, m_parent))
        return false;
    browser->SetSilent(m_values.Flag("BROWSER_DIALOGS"));
    SMemory stream;
    if (Load("BROWSER_FILE", stream) && browser->ShowHtml(&stream, "", "htm"))
        return true;
    const SString address = m_values.Text("BROWSER_URL");
    if (address.GetLength() > 0)
        browser->Navigate(address.GetText(), "");
    return true;
}

bool SDialogFactory::MakeCodeEditor()
{
    SCodeEditCtrl* editor = Take<SCodeEditCtrl>();
    if (!CreateUntitled(editor))
        return false;
    editor->SetBrEnabled(m_values.Flag("CODEEDITOR_BR"));
    editor->SetCommentsEnabled(m_values.Flag("CODEEDITOR_COMMENT"));
    editor->SetFindReplaceLocal(m_values.Flag("CODEEDITOR_FINDREPLACELOCAL"));
    editor->SetIndent(m_values.Flag("CODEEDITOR_INDENT"));
    editor->SetSingleLine(m_values.Flag("CODEEDITOR_SINGLELINE"));
    editor->SetStrings(m_values.Flag("CODEEDITOR_STRINGS"));
    editor->SetUpperWords(m_values.Flag("CODEEDITOR_UPPERWORDS"));
    editor->SetBackColors(m_values.Color("CODEEDITOR_BACKCOLOR"), m_values.Color("CODEEDITOR_BACKFOCUSCOLOR"));
    editor->SetBarColors(m_values.Color("CODEEDITOR_BARCOLOR"), m_values.Color("CODEEDITOR_BARGRAYCOLOR"),
                         m_values.Color("CODEEDITOR_BARCHECKCOLOR"), m_values.Color("CODEEDITOR_BARMARKCOLOR"));
    editor->SetTextColors(m_values.Color("CODEEDITOR_TEXTCOLOR"), m_values.Color("CODEEDITOR_TEXTKEYCOLOR"),
                          m_values.Color("CODEEDITOR_TEXTSTRCOLOR"), m_values.Color("CODEEDITOR_TEXTUPCOLOR"),
                          m_values.Color("CODEEDITOR_TEXTCOMMENTCOLOR"));
    editor->SetBarWidth(m_values.Int("CODEEDITOR_BARWIDTH"));
    editor->SetTabSize(m_values.Int("CODEEDITOR_TABSIZE"));
    SMemory stream;
    if (Load("CODEEDITOR_FILE", stream))
        editor->LoadFromStream(&stream, nullptr);
    if (!editor->IsOpen())
        editor->New(nullptr);
    return true;
}

bool SDialogFactory::MakeLcd()
{
    SLcdCtrl* lcd = Take<SLcdCtrl>();
    if (!lcd || !lcd->CreateChild(Caption(), m_style, m_exstyle, &m_rect, m_parent))
        return false;
    ApplyBackColor();
    DWORD color = 0;
    if (GetTextColor(&color))
        lcd->SetTextColor(color);
    lcd->SetCellColor(m_values.Color("LCD_CELLCOLOR"));
    lcd->SetPixelSize(m_values.Int("LCD_PIXELWIDTH"), m_values.Int("LCD_PIXELHEIGHT"));
    lcd->SetCharCount(m_values.Int("LCD_CHARCOUNT"));
    lcd->SetLineCount(m_values.Int("LCD_LINECOUNT"));
    ApplyResourceText("LCD_TEXT");
    if (m_live)
    {
        const double speed = m_values.Real("LCD_SCROLLSPEED");
        if (speed != 0.0)
            lcd->SetScrollSpeed(-1, speed);
        if (m_values.Int("LCD_SCROLL") != 0)
            lcd->SetScrolling(true);
    }
    return true;
}

bool SDialogFactory::MakeMedia()
{
    SMediaCtrl* media = Take<SMediaCtrl>();
    if (!media)
        return false;
    media->SetResource(m_resources);
    if (!media->CreateChild(Caption(), m_style, m_exstyle, &m_rect, m_parent))
        return false;
    ApplyBackColor();
    DWORD color = 0;
    if (GetTextColor(&color))
        media->SetTextColorArgb(SDialogValues::ToArgb(color));
    // Values from the default up mean nothing here: the view keeps its link colour.
    const DWORD link = m_values.RawColor("MEDIA_LINKCOLOR");
    if (link < SDialogValues::DEFAULT_COLOR)
        media->SetLinkColor(SDialogValues::ToArgb(SDialogValues::ResolveSystemColor(link)));
    media->SetAlignment(0);
    const int horizontal = m_values.Choice("MEDIA_ALIGN", ALIGN_NAMES, 2, 0);
    if (horizontal)
        media->SetHorizontalAlignment(horizontal);
    const int vertical = m_values.Choice("MEDIA_VALIGN", VALIGN_NAMES, 2, 0);
    if (vertical)
        media->SetVerticalAlignment(vertical);
    media->SetWrapping(m_values.Flag("MEDIA_WRAPPING"));
    media->SetTrimming(m_values.Flag("MEDIA_TRIMMING"));
    media->SetTags(m_values.Flag("MEDIA_TAGS"));
    media->SetButton(m_values.Flag("MEDIA_BUTTON"));
    media->SetChecked(m_values.Flag("MEDIA_CHECKED"));
    media->SetMargins(m_values.Int("MEDIA_LEFTMARGIN"), m_values.Int("MEDIA_TOPMARGIN"),
                      m_values.Int("MEDIA_RIGHTMARGIN"), m_values.Int("MEDIA_BOTTOMMARGIN"));
    media->SetImageDrawMode(m_values.DrawMode("MEDIA_IMAGEDRAWMODE"));
    ApplyResourceText("MEDIA_TEXT");
    ApplyBackgroundImage("MEDIA_IMAGE");
    if (m_live)
    {
        const double x = -std::fabs(m_values.Real("MEDIA_AUTOSCROLLX"));
        const double y = -std::fabs(m_values.Real("MEDIA_AUTOSCROLLY"));
        if (x != 0.0 || y != 0.0)
        {
            media->SetAutoScroll(x, y, true, nullptr);
            if (m_values.Flag("MEDIA_AUTOSCROLLLOOP"))
                media->SetAutoScrollLoop(true);
        }
    }
    return true;
}

bool SDialogFactory::MakeMediaPlayer()
{
    SMediaPlayerCtrl* player = Take<SMediaPlayerCtrl>();
    // Fails cleanly where the player cannot be hosted: its window refuses creation.
    if (!player || !player->Create("", m_style | WS_CHILD, m_exstyle, &m_rect, m_parent, 0, 0, GetInstance()))
        return false;
    player->ShowControls(m_values.Flag("MEDIAPLAYER_BUTTON"));
    player->EnableContextMenu(m_values.Flag("MEDIAPLAYER_MENU"));
    player->SetLoop(m_values.Flag("MEDIAPLAYER_LOOP"));
    return true;
}

bool SDialogFactory::MakePanel()
{
    return CreateUntitled(Take<SPanelCtrl>());
}

bool SDialogFactory::MakeProperty()
{
    SPropertyCtrl* grid = Take<SPropertyCtrl>();
    if (!CreateUntitled(grid))
        return false;
    if (m_values.Flag("FRENCH"))
        grid->SetLanguage(false);
    return true;
}

bool SDialogFactory::MakeGui()
{
    SGuiCtrl* gui = Take<SGuiCtrl>();
    if (!CreateUntitled(gui))
        return false;
    // The designer shows a frame with bars around its view.
    if (!m_live)
    {
        gui->AddBar(0, 100, 25, 0x160);
        gui->AddBar(1, 100, 100, 1);
        gui->AddBar(2, 100, 100, 3);
        gui->AddBar(3, 100, 100, 2);
    }
    return true;
}

bool SDialogFactory::MakeImageEditor()
{
    SPaintCtrl* editor = Take<SPaintCtrl>();
    if (!CreateUntitled(editor))
        return false;
    SMemory stream;
    if (Load("IMAGEEDITOR_FILE", stream))
        editor->LoadImage(&stream);
    return true;
}

bool SDialogFactory::MakeLevel()
{
    SLevelCtrl* level = Take<SLevelCtrl>();
    if (!CreateUntitled(level))
        return false;
    level->SetColors(m_values.Color("LEVEL_BACKCOLOR"), m_values.Color("LEVEL_LOWCOLOR"),
                     m_values.Color("LEVEL_HIGHCOLOR"));
    level->SetVertical(!m_values.Flag("LEVEL_HORIZONTAL"));
    level->SetTicks(m_values.Flag("LEVEL_TICK"));
    level->SetChannelCount(m_values.Int("LEVEL_CHANNELCOUNT"));
    level->SetRange(m_values.Int("LEVEL_MINVALUE"), m_values.Int("LEVEL_MAXVALUE"), true);
    level->SetValue(m_values.Int("LEVEL_VALUE"), -1, true);
    return true;
}

bool SDialogFactory::MakeSoundEditor()
{
    SWaveCtrl* editor = Take<SWaveCtrl>();
    if (!CreateUntitled(editor))
        return false;
    editor->SetCaretColors(m_values.Color("SOUNDEDITOR_COLORLINE"), m_values.Color("SOUNDEDITOR_COLORCARET"),
                           m_values.Color("SOUNDEDITOR_COLORCARETPLAY"));
    editor->SetBackColors(m_values.Color("SOUNDEDITOR_COLORBACKENABLED"),
                          m_values.Color("SOUNDEDITOR_COLORBACKDISABLED"));
    editor->SetWaveColors(m_values.Color("SOUNDEDITOR_COLORWAVEENABLED"),
                          m_values.Color("SOUNDEDITOR_COLORWAVEDISABLED"));
    editor->SetProgressColors(m_values.Color("SOUNDEDITOR_COLORPROGRESSBACK"),
                              m_values.Color("SOUNDEDITOR_COLORPROGRESSSTART"),
                              m_values.Color("SOUNDEDITOR_COLORPROGRESSEND"));
    editor->SetPopupMenu(m_values.Flag("SOUNDEDITOR_POPUPMENU"));
    SMemory stream;
    if (Load("SOUNDEDITOR_FILE", stream))
        editor->LoadWave(&stream);
    return true;
}

bool SDialogFactory::MakeTabDoc()
{
    STabDocCtrl* tabs = Take<STabDocCtrl>();
    if (!CreateUntitled(tabs))
        return false;
    ApplyBackColor();
    tabs->SetBackColors(m_values.Color("TABDOC_BACKCOLOR"), m_values.Color("TABDOC_BACKSELCOLOR"),
                        m_values.Color("TABDOC_WINDOWBACKCOLOR"));
    tabs->SetTextColors(m_values.Color("TABDOC_TEXTCOLOR"), m_values.Color("TABDOC_TEXTSELCOLOR"));
    tabs->SetCloseButton(m_values.Flag("TABDOC_CLOSE"));
    tabs->SetMovable(m_values.Flag("TABDOC_MOVE"));
    SArrayString items;
    m_values.List("TABDOC_CONTENT", &items);
    for (int i = 0; i < items.GetCount(); i++)
        tabs->InsertItem(items.GetAt(i).GetText(), -1);
    tabs->SetSelection(m_values.Int("TABDOC_SELECTION"));
    return true;
}
