// The cover search window: asks the web image search for pictures of a text,
// shows them six at a time with their sizes, and downloads the one clicked as
// a 150 x 150 square for the caller (modal result 0; -1 otherwise).
#pragma once
#include <memory>
#include <vector>
#include "SButtonCtrl.h"
#include "SImage.h"
#include "SMediaCtrl.h"
#include "SNetwork.h"
#include "SScrollCtrl.h"
#include "SWnd.h"

class SVirtualFile;

class PWndGoogle : public SWnd
{
public:
    enum
    {
        ID_FIRST_VIEW = 1001,
        ID_CANCEL = 1002,
        ID_MORE = 1003,
        VIEW_COUNT = 6,
        THUMBNAIL_SIZE = 75,
        COVER_SIZE = 150
    };

    PWndGoogle();
    ~PWndGoogle() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Kept URL-encoded, so that blanks, "&" and "#" stay inside the one query value.
    void SetSearchText(const char* text);
    const SString& GetSearchText() const { return m_searchText; }
    SImage& GetChosenImage() { return m_chosen; }

    // Fetches the next result page and shows its pictures; false (after a
    // message) when it cannot be fetched or holds none.
    bool Search();
    bool AddResult(SVirtualFile* data, const char* address, int width, int height);
    void ShowPage();
    bool LoadChosen(const char* address);

    int GetResultCount() const { return static_cast<int>(m_results.size()); }
    int GetStart() const { return m_start; }
    SScrollCtrl& GetScrollBar() { return m_scroll; }
    SMediaCtrl& GetView(int k) { return m_views[k]; }
    SMediaCtrl& GetSizeLabel(int k) { return m_labels[k]; }
    SButtonCtrl& GetMoreButton() { return m_more; }
    SButtonCtrl& GetCancelButton() { return m_cancel; }

    // The centred square of the picture's smaller side, stretched to side x side;
    // a palette or grey picture comes out in 32-bit ARGB.
    static bool CropToSquare(SImage* picture, int side);

private:
    // One record of a result page: its thumbnail, the full picture and its size.
    struct _SRecord
    {
        SString thumbnail, address;
        int width = 0, height = 0;
    };
    // One shown result: the 75 x 75 thumbnail and what the record said.
    struct _SResult
    {
        std::unique_ptr<SImage> picture;
        SString address;
        int width, height;
    };

    void CreateChildren();
    static std::vector<_SRecord> ScanRecords(const SString& page);
    static bool ScanRecord(const SString& page, int* position, _SRecord* record);
    void ClearResults();
    void OnViewClick(const SWnd* view);
    void Tell(const char* text) const;

    SNetwork m_network;
    SString m_searchText;
    int m_start;
    std::vector<_SResult> m_results;
    SImage m_chosen;
    SMediaCtrl m_views[VIEW_COUNT];
    SMediaCtrl m_labels[VIEW_COUNT];
    SScrollCtrl m_scroll;
    SButtonCtrl m_more, m_cancel;
};
