// The steps of SDialogCtrl::CreateControl for one control description: the class
// its type makes, how its window is created, and what its colours and keys set.
#pragma once
#include <memory>
#include "SDialogCtrl.h"
#include "SDialogValues.h"

class SMemory;

class SDialogFactory
{
public:
    static const int TYPE_FIRST = 1;
    static const int TYPE_LAST = 30;

    SDialogFactory(SWndDialog* dialog, HWND parent, const SDialogCtrl::_SCtrl* record,
                   SResource* resources, bool live);
    ~SDialogFactory();
    SDialogFactory(const SDialogFactory&) = delete;
    SDialogFactory& operator=(const SDialogFactory&) = delete;

    // The control, owned by the caller from then on; null when none is made.
    SWnd* Make();

private:
    typedef bool (SDialogFactory::*Maker)();
    static const Maker MAKERS[TYPE_LAST];

    // The window layer's controls (SDialogFactoryNative.cpp).
    bool MakeButton();
    bool MakeCheck();
    bool MakeCombo();
    bool MakeEdit();
    bool MakeExtendedList();
    bool MakeGroup();
    bool MakeLabel();
    bool MakeList();
    bool MakeProgress();
    bool MakeRadio();
    bool MakeRichEdit();
    bool MakeScroll();
    bool MakeSlider();
    bool MakeSplitter();
    bool MakeStatic();
    bool MakeTab();
    bool MakeToolBar();
    bool MakeTree();
    // The rich controls and the grid (SDialogFactoryRich.cpp).
    bool MakeBrowser();
    bool MakeCodeEditor();
    bool MakeGui();
    bool MakeImageEditor();
    bool MakeLcd();
    bool MakeLevel();
    bool MakeMedia();
    bool MakeMediaPlayer();
    bool MakePanel();
    bool MakeProperty();
    bool MakeSoundEditor();
    bool MakeTabDoc();

    // The custom control offered for the type when it is of the class, else a new
    // one; null for a custom control of another class.
    template <class T>
    T* Take()
    {
        if (!m_control)
            m_control.reset(new T);
        return dynamic_cast<T*>(m_control.get());
    }
    const char* Caption() const { return m_record->GetCaption().GetText(); }
    bool CreateUntitled(SWnd* control) const;
    void ApplyBackColor() const;
    // The TEXTCOLOR to apply; false for the default.
    bool GetTextColor(DWORD* color) const;
    // Resource keys: nothing without resources or when the entry does not load.
    bool Load(const char* key, SMemory& stream) const;
    bool LoadText(const char* key, SString* text) const;
    void ApplyResourceText(const char* key) const;
    void ApplyBackgroundImage(const char* key) const;
    // The non-empty lines of a resource, then the items of a list, in order.
    template <class Add>
    void AddLinesAndItems(const char* fileKey, const char* listKey, Add add) const;

    SWndDialog* m_dialog;
    HWND m_parent;
    const SDialogCtrl::_SCtrl* m_record;
    SResource* m_resources;
    bool m_live;
    SDialogValues m_values;
    RECT m_rect;
    DWORD m_style;
    DWORD m_exstyle;
    std::unique_ptr<SWnd> m_control;
};
