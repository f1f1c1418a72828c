// The library's front end to the system's choosers (colour, font, files to open,
// folder) and to its own two: a system colour by name and a month calendar. Each
// runs modally over the owner and leaves its result here for the caller.
#pragma once
#include "SPlatform.h"
#include <commdlg.h>
#include "SArrayString.h"
#include "SButtonCtrl.h"
#include "SComboCtrl.h"
#include "SMediaCtrl.h"
#include "SString.h"
#include "STimer.h"

class SSelector
{
public:
    // Picks one of the system colours by name; the modal result is its index, -1 for none.
    class _SWndColor : public SWnd
    {
    public:
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
        int GetSelectedIndex() const;
        SComboCtrl& GetList() { return m_list; }

        static const UINT_PTR LIST_ID = 1100, OK_ID = 1000, CANCEL_ID = 1001;

    private:
        void CreateChildren();
        void ShowSelectedColor();

        SComboCtrl m_list;
        SMediaCtrl m_preview;
        SButtonCtrl m_ok;
        SButtonCtrl m_cancel;
    };

    // A month calendar. Its run ends with 0 when a day was chosen (the caller then
    // reads GetDate) and -1 otherwise: a modal result cannot carry an address.
    class _SWndDate : public SWnd
    {
    public:
        static const int CELLS = 42;
        static const UINT_PTR PREVIOUS_ID = 1201, NEXT_ID = 1202, CELL_ID = 1200;

        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
        const STimer& GetDate() const { return m_date; }
        SMediaCtrl& GetCell(int i) { return m_cells[i]; }
        int GetCellTag(int i) const { return m_tags[i]; }
        void SelectCell(int i);
        void MoveMonth(int step);
        // The day each cell shows and its month: -1 previous, 0 this one, 1 next.
        static void FillCells(int year, int month, int days[CELLS], int tags[CELLS]);

    private:
        void CreateChildren();
        void CreateLabel(SMediaCtrl& label, const char* text, int left, int top, int right, int bottom,
                         UINT_PTR id, int background, int text_color);
        void FillMonth();
        void PaintCell(int i, int background, int text);
        int FindCell(HWND handle) const;
        void OnChildMouse(SWnd* child, const SMouseNotify* notify);

        STimer m_date;
        SMediaCtrl m_title;
        SMediaCtrl m_previous;
        SMediaCtrl m_next;
        SMediaCtrl m_headers[7];
        SMediaCtrl m_cells[CELLS];
        SMediaCtrl m_line;
        int m_tags[CELLS] = {};
        int m_days[CELLS] = {};
    };

    explicit SSelector(HWND owner);
    virtual ~SSelector();

    bool ChooseColor(COLORREF initial, bool fullOpen, bool preventFullOpen, bool anyColor);
    bool ChooseFont(LOGFONTA* font, int* size);
    bool GetOpenFileName(const SArrayString* filters, DWORD flags, const char* title, const char* folder,
                         int filterIndex);
    SString GetFileName(int i) const;
    SString BrowseForFolder(SString* result, const char* title, const char* folder, bool includeFiles);
    bool ChooseSystemColor(const char* title);

    HWND GetOwner() const { return m_owner; }
    COLORREF GetColor() const { return m_color; }
    const SString& GetFontName() const { return m_fontName; }
    int GetFontSize() const { return m_fontSize; }
    int GetFontStyle() const { return m_fontStyle; }
    const SString& GetFolder() const { return m_folder; }
    const SArrayString& GetChosenFiles() const { return m_files; }
    void SetAddSeparator(bool add) { m_addSeparator = add; }
    STimer& GetDate() { return m_date; }

    // The pieces around the system dialogs, which block until a person answers.
    static DWORD GetColorFlags(COLORREF initial, bool fullOpen, bool preventFullOpen, bool anyColor);
    static void ReadFontResult(const LOGFONTA* font, int pointSizeTenths, int* size, int* style);
    // Entries "description|patterns", each ended by a NUL, its first '|' a NUL, then a last NUL.
    static SString BuildFilterText(const SArrayString* filters);
    static int GetFilterIndex(const SArrayString* filters, int index);
    // The names an open-file dialog left in its buffer, as full paths appended to out.
    static int SplitSelection(const char* buffer, int size, bool multiple, SArrayString* out);
    static SString GetFolderResult(const char* path, bool addSeparator);

    static const DWORD OPEN_FILE_FLAGS = OFN_EXPLORER | OFN_ENABLESIZING | OFN_FILEMUSTEXIST |
                                         OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    static const int FILE_BUFFER_SIZE = 32768;

private:
    static int CALLBACK FolderCallback(HWND dialog, UINT message, LPARAM lParam, LPARAM data);

    HWND m_owner;
    bool m_addSeparator;
    SString m_folder;
    SArrayString m_files;
    SString m_fontName;
    int m_fontSize;
    int m_fontStyle;
    COLORREF m_color;
    STimer m_date;

    SSelector(const SSelector&) = delete;
    SSelector& operator=(const SSelector&) = delete;
};
