// The description editor window: the library's folders that can be described
// beside a plain editor of the selected folder's description text, a tool bar
// that inserts the markup and generates the HTML pages, and a status bar.
#pragma once
#include "SCodeEditCtrl.h"
#include "SControlBarCtrl.h"
#include "SDisk.h"
#include "SImageList.h"
#include "SRegistry.h"
#include "SSelector.h"
#include "SToolBarCtrl.h"
#include "STreeCtrl.h"
#include "PFolderLinkIndex.h"
#include "PWndSecondary.h"

class SMemory;

class PWndDescription : public PWndSecondary
{
public:
    // Resources: the pages' style sheet and the chapter icon.
    static const int STYLE_SHEET = 186;
    static const int CHAPTER_ICON = 187;
    enum Command
    {
        GENERATE_PAGE = 0,
        GENERATE_ALL = 1,
        TAG_GROUP = 2,
        TAG_GENRE = 3,
        TAG_IMAGE = 7,
        TAG_BOLD = 8
    };

    PWndDescription();
    ~PWndDescription() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The tree and the link index, from the root folder.
    bool LoadTree();
    // The item's text in the editor; true when a file was loaded.
    bool OpenDocument(HTREEITEM item);
    // False only when a text could not be written (the user was told).
    bool SaveDocument();
    bool CloseDocument();
    void UpdateToolbar();

    SString ConvertLine(const SString& line) const;
    bool GeneratePage(HTREEITEM item);
    bool GenerateAllPages();

    STreeCtrl& GetTree() { return m_tree; }
    SCodeEditCtrl& GetEditor() { return m_editor; }
    SToolBarCtrl& GetToolBar() { return m_toolBar; }
    const PFolderLinkIndex& GetLinks() const { return m_links; }
    int GetFolderCount() const { return m_folderCount; }

private:
    // Layout and commands (PWndDescription.cpp).
    void OnCreated();
    void CreateToolBar();
    void CreateViews();
    void EnableViews(bool enable);
    void OnCommand(int id);
    void InsertGroup();
    void InsertTag(int id);
    void OnTreeSelection(HTREEITEM item);
    LRESULT OnClose();

    // Files (PWndDescriptionFiles.cpp).
    SString GetRootPath() const;
    void FillTree(HTREEITEM parent, const SString& folder);
    void LoadText(SMemory& bytes, const SString& name);
    bool PreparePictureFolder();
    bool WriteText(const SString& path);

    SImageList m_images;
    SControlBarCtrl m_controlBar;
    SToolBarCtrl m_toolBar;
    STreeCtrl m_tree;
    SCodeEditCtrl m_editor;
    SRegistry m_registry;
    SSelector m_selector;
    SDisk m_disk;
    PFolderLinkIndex m_links;
    int m_folderCount;
    // The item whose text the editor holds, and a selection being put back.
    HTREEITEM m_documentItem;
    bool m_quietSelection;
};
