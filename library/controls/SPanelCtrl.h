// A self-drawn toolbox: titled groups, each a flowing grid of 24 x 24 picture
// buttons with separators; buttons can be enabled, checked, or grouped into
// radio runs between separators. A click reports SWM_PANEL_BUTTON to the panel.
#pragma once
#include "SPlatform.h"
#include "SArray.h"
#include "SImageList.h"
#include "SString.h"
#include "SWnd.h"

class SVirtualFile;

class SPanelCtrl : public SWnd
{
public:
    static const int BUTTON_SIZE = 24;
    static const int SEPARATOR_WIDTH = 7;
    static const int LEFT_INDENT = 12;
    static const int PICTURE_SIZE = 16;

    class _SGroup;

    class _SButton
    {
    public:
        explicit _SButton(_SGroup* group) : group(group) {}
        _SGroup* group;
        bool separator = false;
        int id = 0;
        SString text;
        int x = 0, y = 0, width = 0, height = 0;
        int picture = 0;
        bool enabled = true;
        bool checked = false;
        COLORREF color = COLOR_NONE;
    };

    class _SGroup
    {
    public:
        _SGroup(int id, const char* title) : id(id), title(title ? title : "") {}
        virtual ~_SGroup();
        _SButton* FindButton(int buttonId) const;
        int IndexOf(const _SButton* button) const;
        // The first and last entry of the run holding the entry at index.
        void GetRun(int index, int& first, int& last) const;

        int id;
        SString title;
        SImageList pictures;
        RECT header = {};
        RECT area = {};
        bool open = true;
        SArray<_SButton*> buttons;
    };

    SPanelCtrl();
    ~SPanelCtrl() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Called on a click on an enabled button; empty here.
    virtual void OnButtonClick(int groupId, int buttonId, _SButton* button) {}

    _SGroup* AddGroup(int id, const char* title, SVirtualFile* pictures = nullptr);
    bool SetGroupPictures(int groupId, SVirtualFile* pictures);
    bool AddButton(int buttonId, const char* text, int groupId = -1, COLORREF color = COLOR_NONE);
    bool AddSeparator(int groupId = -1);
    bool EnableGroup(int groupId, bool enabled, bool redraw);
    bool EnableButton(int groupId, int buttonId, bool enabled, bool wholeRun, bool redraw);
    bool SetButtonChecked(int groupId, int buttonId, bool checked);
    bool SelectButton(int groupId, int buttonId);
    bool IsButtonChecked(int groupId, int buttonId) const;
    bool SetButtonColor(int groupId, int buttonId, COLORREF color);
    _SButton* GetButton(int groupId, int buttonId) const;
    _SGroup* GetGroup(int groupId) const;
    int GetGroupCount() const { return m_groups.GetCount(); }
    void RedrawGroup(int groupId);

    // Places headers and buttons for a client width (the window's when negative).
    void Layout(int clientWidth = -1);
    // The button under the point: group and button id, or -1 and -1.
    bool HitTest(int x, int y, bool withDisabled, int& groupId, int& buttonId) const;
    int GetHeaderHeight() const { return m_headerHeight; }
    void SetHeaderHeight(int height) { m_headerHeight = height; }
    void Paint(HDC dc);

private:
    _SGroup* TargetGroup(int groupId) const;
    bool AddEntry(int groupId, bool separator, int buttonId, const char* text, COLORREF color);
    void OnCreated();
    void OnMouseMove(int x, int y);
    void OnButtonDown(int x, int y);
    void OnLeave();
    void OnClick(int x, int y);
    void PaintGroup(HDC dc, const _SGroup* group, HPEN pen);
    void PaintButton(HDC dc, const _SGroup* group, const _SButton* button, HPEN pen);
    void PaintPicture(HDC dc, const _SGroup* group, const _SButton* button, int x, int y);
    void PaintHeader(HDC dc, const _SGroup* group);

    COLORREF m_highlightText;
    COLORREF m_highlight;
    COLORREF m_face;
    COLORREF m_window;
    COLORREF m_shadow;
    HFONT m_boldFont;
    int m_headerHeight;
    SArray<_SGroup*> m_groups;
    int m_hoverGroup, m_hoverButton;
    int m_pressedGroup, m_pressedButton;
};
