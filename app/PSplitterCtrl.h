// The main window's splitter: passes its panes' list, link, navigation, change
// and slider notifications on to the main window before the pane sees them.
#pragma once
#include "SSplitterCtrl.h"

class PSplitterCtrl : public SSplitterCtrl
{
public:
    PSplitterCtrl() : m_owner(nullptr) {}
    ~PSplitterCtrl() override {}

    void SetOwner(SWnd* owner) { m_owner = owner; }
    SWnd* GetOwner() const { return m_owner; }
    bool FilterPaneMessage(_SWnd* pane, UINT message, WPARAM wParam, LPARAM lParam,
                           LRESULT* result) override;

private:
    SWnd* m_owner;
};
