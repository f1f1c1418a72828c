// Builds the book, the HTML catalogue of the whole local library: one block per
// folder nested by depth, with its cover, its name on a coloured bar, a link that
// plays the folder and links to its media files, behind a progress window.
#pragma once
#include "SArrayString.h"
#include "SDisk.h"
#include "SMemory.h"
#include "SPath.h"
#include "SString.h"
#include "PBookPictures.h"

class PWndApp;
class PWndProgress;

class PBookBuilder
{
public:
    // The resource of the page's style block.
    static const int STYLE = 166;

    explicit PBookBuilder(PWndApp& app);
    virtual ~PBookBuilder();

    // Writes the page and, with pictures, its picture folder beside it.
    bool Build(const char* bookFile, bool pictures);

    // Whether a file name is one of the book's own pictures: "book", digits, ".png" or ".jpg".
    static bool IsBookPicture(const char* name);
    // A path below the root as a relative address: names joined by "/", the
    // characters that would end or cut an address percent-encoded.
    static SString RelativeAddress(const SString& root, const SString& path);

private:
    PBookBuilder(const PBookBuilder&) = delete;
    PBookBuilder& operator=(const PBookBuilder&) = delete;

    bool WritePage(const char* bookFile, bool pictures);
    void TellLeftOut() const;
    bool PreparePictureFolder(PWndProgress& progress);
    int DepthOf(const SString& folder) const;
    void WriteHead();
    void WriteFolder(const SString& folder, int number, bool pictures);
    void WriteRows(const SString& folder, int number, int depth, bool hasMedia);
    void WriteFiles(const SArrayString& files);
    void Line(const SString& text);

    PWndApp& m_app;
    SDisk m_disk;
    SString m_root;
    SString m_title;
    SString m_pictureFolder;
    int m_previousDepth;
    // The listed folders whose paths cannot be used.
    SArrayString m_leftOut;
    SMemory m_page;
    PBookPictures m_pictures;
};
