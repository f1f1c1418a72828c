#include "PWndSetting.h"

namespace
{
// The controls and the texts they show, by name.
const char* const TEXTS[][2] = {
    {"CANCEL", "Cancel"},        {"GRP_GENERAL", "General"},
    {"TXT_FOLDER", "Folder:"},   {"TXT_IMAGES", "Images:"},
    {"TXT_OPTIONS", "Options:"}, {"BTN_FOLDERDEF", "Default"},
    {"CHECK_TOOLBAR", "Small Icons"},
    {"CHECK_AUTOHIDE", "Auto Hide Window after playing from thumbnail"},
    {"GRP_TASKBAR", "Taskbar"},  {"CHECK_TASKBAR", "Show Taskbar"},
    {"TXT_TASKTEXT", "Text Color"}};

// The check boxes and the flags they show.
const char* const CHECKS[][2] = {
    {"CHECK_TOOLBAR", "ToolBar"}, {"CHECK_AUTOHIDE", "AutoHideAfterPlay"}, {"CHECK_TASKBAR", "Taskbar"}};

bool ChooseWithFolderDialog(SSelector& selector, const char* title, const char* start, SString* chosen)
{
    selector.BrowseForFolder(chosen, title, start, false);
    return chosen->GetLength() > 0;
}

bool ChooseWithColorDialog(SSelector& selector, COLORREF initial, COLORREF* chosen)
{
    if (!selector.ChooseColor(initial, true, false, true))
        return false;
    *chosen = selector.GetColor();
    return true;
}

PWndSetting::FolderChoiceFunction s_folderChoice = ChooseWithFolderDialog;
PWndSetting::ColorChoiceFunction s_colorChoice = ChooseWithColorDialog;
}

void PWndSetting::SetFolderChoiceFunction(FolderChoiceFunction function)
{
    s_folderChoice = function ? function : ChooseWithFolderDialog;
}

void PWndSetting::SetColorChoiceFunction(ColorChoiceFunction function)
{
    s_colorChoice = function ? function : ChooseWithColorDialog;
}

PWndSetting::PWndSetting()
{
}

PWndSetting::~PWndSetting()
{
    DestroyWindow();
}

LRESULT PWndSetting::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        m_selector.SetOwner(m_handle);
        break;
    case SWM_MODALSTART:
        ShowTexts();
        ShowValues();
        break;
    case SWM_BUTTON_CLICKED:
        if (wParam)
            OnButtonClick(reinterpret_cast<SWnd*>(wParam)->GetName());
        break;
    case SWM_MEDIA_MOUSE:
        if (wParam && lParam && reinterpret_cast<SWnd*>(wParam) == Child("TASK_TEXT") &&
            reinterpret_cast<const SMouseNotify*>(lParam)->code == (SMouseNotify::LEFT | SMouseNotify::CLICK))
            ChooseTextColor();
        break;
    default:
        break;
    }
    return SWndDialog::WindowProc(message, wParam, lParam);
}

void PWndSetting::ShowTexts()
{
    SetWindowText("Preferences");
    for (const auto& text : TEXTS)
        SetChildText(text[0], text[1]);
}

void PWndSetting::ShowValues()
{
    SetChildText("EDIT_FOLDER", TextOf(m_settings.GetText("Folder")));
    SetChildText("EDIT_IMAGES", TextOf(m_settings.GetText("Images")));
    for (const auto& check : CHECKS)
        if (SWnd* box = Child(check[0]))
            box->ButtonSetCheck(m_settings.GetFlag(check[1]) ? BST_CHECKED : BST_UNCHECKED);
    if (SWnd* sample = Child("TASK_TEXT"))
    {
        sample->SetBackgroundColor(static_cast<COLORREF>(m_settings.GetNumber("TaskbarColor")));
        sample->RedrawWindow();
    }
}

void PWndSetting::WriteSettings() const
{
    m_settings.SetText("Folder", TextOf(GetChildText("EDIT_FOLDER")));
    m_settings.SetText("Images", TextOf(GetChildText("EDIT_IMAGES")));
    for (const auto& check : CHECKS)
    {
        SWnd* box = Child(check[0]);
        m_settings.SetNumber(check[1], box && box->ButtonGetCheck() == BST_CHECKED ? 1 : 0);
    }
    if (SWnd* sample = Child("TASK_TEXT"))
        m_settings.SetNumber("TaskbarColor", static_cast<int>(sample->GetBackgroundColor()));
}

void PWndSetting::OnButtonClick(const SString& name)
{
    if (name == "BTN_FOLDER")
    {
        SString folder;
        if (s_folderChoice(m_selector, "Choose your root folder...", TextOf(GetChildText("EDIT_FOLDER")), &folder) &&
            folder.GetLength() > 0)
            SetChildText("EDIT_FOLDER", folder.GetText());
    }
    else if (name == "BTN_FOLDERDEF")
    {
        // An empty root folder stands for the program's own folder.
        SetChildText("EDIT_FOLDER", "");
    }
}

void PWndSetting::ChooseTextColor()
{
    SWnd* sample = Child("TASK_TEXT");
    COLORREF color = 0;
    if (!sample || !s_colorChoice(m_selector, sample->GetBackgroundColor(), &color))
        return;
    sample->SetBackgroundColor(color);
    sample->RedrawWindow();
}

SWnd* PWndSetting::Child(const char* name) const
{
    return FindChildByName(name);
}

void PWndSetting::SetChildText(const char* name, const char* text) const
{
    if (SWnd* child = Child(name))
        child->SetWindowText(text);
}

SString PWndSetting::GetChildText(const char* name) const
{
    SWnd* child = Child(name);
    return child ? child->GetWindowText() : SString("");
}
