// The covers of a folder's sub-folders, in their order, as the folder list or
// the sharing server shows them. The pictures beside them are found in one
// listing of the folder (and of the root, for covers the settings name); those
// are decoded and sized on a few workers, each with GDI+ objects of its own,
// while the caller takes the covers in order. The default picture's forms are
// made once for every folder without a cover. No worker outlives the object.
#pragma once
#include <atomic>
#include <memory>
#include <vector>
#include "PFolderNames.h"
#include "PLibraryFiles.h"
#include "PWndThumbs.h"
#include "SArrayString.h"
#include "SGuards.h"
#include "SThread.h"

class PFolderCovers
{
public:
    // What is made of a cover: the folder list's 150 x 150 thumbnail bitmap
    // (premultiplied) and 16 x 16 bitmap, or the server's 16 x 16 ARGB pixels.
    enum Form
    {
        FORM_LIST,
        FORM_PIXELS
    };
    static const int PIXELS_SIZE = 1024;
    // A bitmap that several folders may show.
    typedef PWndThumbs::_SBitmap _SBitmap;

    // The covers' pictures stay the caller's, used on the caller's thread only.
    PFolderCovers(const PLibraryFiles::_SCovers& covers, Form form);
    ~PFolderCovers();

    // The sub-folders' full paths (each ending with a separator) of parent;
    // lists what lies beside them and starts up to threads workers.
    void Start(SDisk& disk, const SString& parent, const SArrayString& folders, int threads);
    // Folder i's pictures, made by now: waited for when a worker has it in
    // hand, made on the caller's thread when none took it yet.
    _SBitmap GetThumbnail(int i);
    HBITMAP GetIcon(int i);
    const unsigned char* GetPixels(int i);

private:
    struct _SItem;
    class _PWorker;
    PFolderCovers(const PFolderCovers&) = delete;
    PFolderCovers& operator=(const PFolderCovers&) = delete;

    void MakeDefault();
    const _SItem& Take(int i);
    // Makes the covers no one took yet, from the first, until the end or a stop.
    void RunJobs();
    void Make(_SItem& item) const;

    const PLibraryFiles::_SCovers m_callerCovers;
    PLibraryFiles::_SCovers m_covers;
    const Form m_form;
    PFolderNames m_beside, m_inRoot;
    std::vector<std::unique_ptr<_SItem>> m_items;
    std::unique_ptr<_SItem> m_default;
    std::atomic<int> m_next;
    std::atomic<bool> m_stopping;
    // Set by a worker at each cover made: the caller waits on it.
    SHandleGuard m_madeEvent;
    std::vector<std::unique_ptr<_PWorker>> m_workers;
};
