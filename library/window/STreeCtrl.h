// A wrapper of the native tree view "SysTreeView32": check boxes whose state
// spreads to descendants and ancestors, selection on a right press, a file-system
// mode that lists a folder's sub-folders and files (with the shell's icons) when
// it is first expanded, the path of an item, and loading from indented text.
#pragma once
#include "SWnd.h"
#include <commctrl.h>
#include "SArray.h"

class SArrayString;
class SVirtualFile;

class STreeCtrl : public SWnd
{
public:
    STreeCtrl();
    ~STreeCtrl() override;

    // Called by the parent's pre-processor, in file-system mode only, when an
    // item's expansion changed.
    virtual void OnItemExpanding(HTREEITEM item, bool expanding);
    // Called after the user changed a check box.
    virtual void OnItemCheckChanged(HTREEITEM item, bool checked);

    bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id = 0,
                LPARAM param = 0);

    // Items; -1 images are not set.
    HTREEITEM InsertItem(const char* text, int image = -1, int selectedImage = -1,
                         HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST, LPARAM data = 0) const;
    bool DeleteItem(HTREEITEM item) const;
    bool DeleteAllItems() const { return DeleteItem(TVI_ROOT); }
    // The whole text, whatever its length; "" when the request fails.
    SString GetItemText(HTREEITEM item) const;

    // Walks; TVI_ROOT stands for the tree itself.
    HTREEITEM GetChild(HTREEITEM item) const;
    HTREEITEM GetNextSibling(HTREEITEM item) const;
    HTREEITEM GetParentItem(HTREEITEM item) const;
    HTREEITEM GetFirstSibling(HTREEITEM item) const;
    // Depth-first order; the counter goes up one per level down and down one per level up.
    HTREEITEM GetNextInOrder(HTREEITEM item, int* depth = nullptr) const;
    int GetDepth(HTREEITEM item) const;
    int GetDescendants(SArray<HTREEITEM>* out, HTREEITEM item) const;

    // Selection and hits.
    HTREEITEM GetSelectedItem() const { return TreeGetSelection(); }
    bool SelectItem(HTREEITEM item) const;
    HTREEITEM HitTest(int x, int y, UINT* flags = nullptr) const;

    // Check boxes (the state image: 1 unchecked, 2 checked).
    bool IsChecked(HTREEITEM item) const;
    bool SetCheck(HTREEITEM item, bool checked) const;
    void SetSubtreeCheck(HTREEITEM item, bool checked) const;

    SString GetItemPath(HTREEITEM item) const;
    bool LoadFromStream(SVirtualFile* stream, bool withFields);

    // File-system mode. A top item for a folder, with a placeholder child when it
    // has something to show; the tree then shows the system's small icons.
    HTREEITEM AddFolderItem(const char* folder, HTREEITEM parent = TVI_ROOT);
    void UseSystemImageList() const;

    // Options.
    void SetRightClickSelects(bool on) { m_rightClickSelects = on; }
    bool GetRightClickSelects() const { return m_rightClickSelects; }
    void SetCheckPropagation(bool on) { m_checkPropagation = on; }
    bool GetCheckPropagation() const { return m_checkPropagation; }
    void SetFileSystemMode(bool on) { m_fileSystem = on; }
    bool IsFileSystemMode() const { return m_fileSystem; }
    void SetShowFiles(bool on) { m_showFiles = on; }
    bool GetShowFiles() const { return m_showFiles; }
    void SetFileFilter(const char* filter) { m_fileFilter = filter ? filter : "*.*"; }
    const SString& GetFileFilter() const { return m_fileFilter; }
    void SetRootFolder(const char* folder) { m_rootFolder = folder ? folder : ""; }
    const SString& GetRootFolder() const { return m_rootFolder; }
    // Set by the parent's pre-processor on a double click, so that a window the
    // double click opened keeps the focus.
    void SetFocusReturn(bool on) { m_focusReturn = on; }

    // The tree view keeps the colour itself.
    COLORREF GetBackgroundColor() override;
    void SetBackgroundColor(COLORREF color) override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HTREEITEM GetNextItem(HTREEITEM item, UINT relation) const;
    LRESULT OnLeftButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnRightButtonDown(WPARAM wParam, LPARAM lParam);
    void UncheckEmptyAncestors(HTREEITEM item) const;
    bool HasCheckedSibling(HTREEITEM item) const;
    // File-system steps (STreeCtrlFiles.cpp).
    void FillFolder(HTREEITEM item, const SString& folder);
    void ListFolder(const SString& folder, SArrayString* folders, SArrayString* files) const;
    bool HasContent(const SString& folder) const;
    HTREEITEM AddPathItem(const SString& path, HTREEITEM parent) const;

    bool m_focusReturn;
    bool m_rightClickSelects;
    bool m_checkPropagation;
    bool m_fileSystem;
    bool m_showFiles;
    SString m_fileFilter;
    SString m_rootFolder;
};
