// A window built at run time from a dialog description: it keeps the controls
// the builder registers with their ids, names and fonts, turns a click on the
// child named "OK" or "CANCEL" of a modal run into the library's OK and Cancel,
// and offers a status bar.
#pragma once
#include <memory>
#include "SArrayString.h"
#include "SStatusBarCtrl.h"

class SControlDescription;
class SResource;
class SVirtualFile;

class SWndDialog : public SWnd
{
public:
    SWndDialog();
    ~SWndDialog() override;

    // The builder is asked first for each control; null makes the standard one.
    virtual SWnd* CreateCustomControl(int type);

    // False when the window exists; otherwise the dialog builder's result.
    bool CreateFromDescription(SVirtualFile* description, HWND parent, SResource* resources = nullptr,
                               bool topLevel = true, LPARAM value = 0);
    bool CreateFromDescription(const char* description, SWnd* parent, SResource* resources = nullptr,
                               bool topLevel = true, LPARAM value = 0);

    // Takes ownership of the child; false when either is null.
    bool AddChild(SWnd* child, const SControlDescription* description);
    SWnd* FindChildById(int id) const;
    SWnd* FindChildByName(const char* name) const;
    SString GetChildName(int id) const;
    int GetChildCount() const { return m_children.GetCount(); }
    int FindChildIndex(const SWnd* child) const;
    HFONT GetChildFont(int index) const;
    SWnd* GetChild(int index) const;

    bool CreateStatusBar(int parts);
    SStatusBarCtrl* GetStatusBar() const { return m_statusBar.get(); }
    void SetStatusText(int part, const char* text);
    void SetStatusPartEdge(int part, int edge);

    void DestroyChildren();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnButtonClicked(SWnd* button);
    bool OnActivate(WPARAM wParam);

    SArray<SWnd*> m_children;  // owned
    SArray<int> m_ids;
    SArrayString m_names;
    SArray<HFONT> m_fonts;     // owned, 0 when none
    std::unique_ptr<SStatusBarCtrl> m_statusBar;
    HWND m_lastFocus = nullptr;  // the child that had the focus when the dialog was left
};

// The dialog builder. It lives in the dialog layer, which this layer must not
// include: declared here, defined there, joined by the library's link group.
bool BuildDialogWindow(SVirtualFile* description, SWndDialog* dialog, HWND parent,
                       SResource* resources, bool topLevel, LPARAM value);
