// The dialog descriptions: the record of one described control, and the
// builder that turns a whole description into a live SWndDialog.
#pragma once
#include "SControlDescription.h"
#include "SWndDialog.h"

class SDialogCtrl : public SWnd
{
public:
    // The description of one control.
    class _SCtrl : public SControlDescription
    {
    public:
        _SCtrl() : m_id(0), m_name(""), m_fontName(""), m_fontSize(0), m_fontStyle(0) {}

        unsigned short GetId() const override { return m_id; }
        SString GetName() const override { return m_name; }
        SString GetFontName() const override { return m_fontName; }
        unsigned short GetFontSize() const override { return m_fontSize; }
        int GetFontStyle() const override { return m_fontStyle; }

        void SetId(unsigned short id) { m_id = id; }
        void SetName(const char* name) { m_name = name ? name : ""; }
        void SetFont(const char* face, unsigned short size, int style)
        {
            m_fontName = face ? face : "";
            m_fontSize = size;
            m_fontStyle = style;
        }

    private:
        unsigned short m_id;
        SString m_name;
        SString m_fontName;
        unsigned short m_fontSize;
        int m_fontStyle;
    };

    SDialogCtrl();
    ~SDialogCtrl() override;

    // Builds the dialog window and its controls from the description into a
    // dialog without a window. Not built yet: always false.
    static bool BuildWindow(SVirtualFile* description, SWndDialog* dialog, HWND parent,
                            SResource* resources, bool topLevel, LPARAM value);
};
