// Builds the book, the HTML catalogue of the whole local library: one block per
// folder nested by depth, with its cover, its name on a coloured bar, a link that
// plays the folder and links to its media files, behind a progress window. The
// pictures are made on worker threads while the page text is written.
#pragma once
#include <initializer_list>
#include <vector>
#include "PFolderTree.h"
#include "PLibraryFiles.h"
#include "SArrayString.h"
#include "SDisk.h"
#include "SMemory.h"
#include "SPath.h"
#include "SString.h"

class PBookPicturePool;
class PWndApp;
class PWndProgress;

class PBookBuilder
{
public:
    // The resource of the page's style block.
    static const int STYLE = 166;

    // The covers are the main window's: where they are looked for and the default ones.
    PBookBuilder(PWndApp& app, const PLibraryFiles::_SCovers& covers);
    virtual ~PBookBuilder();

    // How many worker threads make the pictures: one per core unless set; 0
    // makes them on the caller's thread, one after another.
    void SetPictureThreads(int threads) { m_pictureThreads = threads; }
    // The bytes the workers' pictures may hold at once, sized from their files;
    // a picture that alone would pass it is made on the caller's thread.
    void SetPictureBudget(long long bytes) { m_pictureBudget = bytes; }
    // Writes the page and, with pictures, its picture folder beside it.
    bool Build(const char* bookFile, bool pictures);

    // Whether a file name is one of the book's own pictures: "book", digits, ".png" or ".jpg".
    static bool IsBookPicture(const char* name);
    // A path below the root as a relative address: names joined by "/", the
    // characters that would end or cut an address percent-encoded.
    static SString RelativeAddress(const SString& root, const SString& path);

private:
    // A folder of the book: its full path and its depth below the root.
    struct _SFolder
    {
        SString path;
        int depth;
    };

    PBookBuilder(const PBookBuilder&) = delete;
    PBookBuilder& operator=(const PBookBuilder&) = delete;

    bool WritePage(const char* bookFile, bool pictures);
    void ListFolders();
    long long CoverBytes(const SString& folder) const;
    void AddPictureJobs(PBookPicturePool& pool) const;
    void TellLeftOut() const;
    bool PreparePictureFolder(PWndProgress& progress);
    int DepthOf(const SString& folder) const;
    void WriteHead();
    void WriteFolder(const _SFolder& folder, int number);
    void WriteRows(const _SFolder& folder, int number, bool hasMedia);
    void WriteFiles(const SArrayString& files);
    void Put(std::initializer_list<const char*> pieces);
    void Line(std::initializer_list<const char*> pieces);

    PWndApp& m_app;
    const PLibraryFiles::_SCovers m_covers;
    int m_pictureThreads;
    long long m_pictureBudget;
    SDisk m_disk;
    SString m_root;
    SString m_title;
    SString m_pictureFolder;
    // The pictures as the page refers to them: the title, encoded, and "\book".
    SString m_pictureAddress;
    std::vector<_SFolder> m_folders;
    // Every folder under the root, those that cannot be used told apart.
    PFolderTree m_tree;
    int m_previousDepth;
    SMemory m_page;
};
