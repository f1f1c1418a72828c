// The steps of SDialogCtrl::BuildWindow: the dialog window of a description with
// its status bar and size, then its controls, tab pages, links, anchors and tab order.
#pragma once
#include "SDialogCtrl.h"

class SDialogBuilder
{
public:
    static const int TYPE_LEVEL = 13;
    static const int TYPE_SOUNDEDITOR = 24;
    static const int TYPE_TAB = 27;

    SDialogBuilder(SWndDialog* dialog, SResource* resources);
    ~SDialogBuilder();
    SDialogBuilder(const SDialogBuilder&) = delete;
    SDialogBuilder& operator=(const SDialogBuilder&) = delete;

    bool Build(SVirtualFile* description, HWND parent, bool topLevel, LPARAM value);

    // Hands the control to the dialog; one the dialog refuses is destroyed. Null
    // controls are refused.
    static bool Register(SWndDialog* dialog, SWnd* control, const SDialogCtrl::_SCtrl* record);
    // The control registered under the id, cut to 16 bits as the dialog files ids.
    static SWnd* FindControl(const SWndDialog* dialog, int id);

private:
    bool Read(SVirtualFile* description);
    bool CreateDialogWindow(HWND parent, bool topLevel, LPARAM value);
    int CreateStatusBar(int width);
    void ApplyWindowKeys(int width, int height);
    void ApplyBackground();
    bool CreateControls();
    void LinkSoundEditor(const SDialogCtrl::_SCtrl* record, SWnd* control);
    void AttachTabPages(const SDialogCtrl::_SCtrl* record, SWnd* control);
    void FinishControls();

    SWndDialog* m_dialog;
    SResource* m_resources;
    SDialogCtrl m_designer;
    const SDialogCtrl::_SCtrl* m_description;
};
