// The library statistics in one walk of the tree: every folder is listed once,
// its files are told apart by extension, and the counts are added up the tree,
// so that each folder's counts cover its whole subtree.
#pragma once
#include "SArray.h"
#include "SArrayString.h"
#include "SString.h"
#include "PLibraryTree.h"

class PLibraryScan
{
public:
    enum Kind
    {
        KIND_NONE = -1,
        KIND_SONG = 0,
        KIND_VIDEO = 1,
        KIND_RADIO = 2
    };

    virtual ~PLibraryScan() {}

    // The kind of a media file by its extension, without regard to case.
    static Kind GetKind(const char* fileName);

    // Empties the four arrays, then fills them with every folder under root
    // (root included; full paths ending with a separator), sorted without
    // regard to case, and the song, video and radio counts of its subtree.
    // With a tree, every folder read is recorded in it too.
    void Run(const char* root, SArrayString* folders, SArray<unsigned int>* songs, SArray<unsigned int>* videos,
             SArray<unsigned int>* radios, PLibraryTree* tree = nullptr);

protected:
    // Lists one folder (hidden entries included): appends the bare names of its
    // sub-folders and adds its own media files to counts, by kind. Junctions are
    // not entered, so a link back up the tree cannot make the walk endless.
    virtual void ListFolder(const SString& folder, SArrayString* subFolders, unsigned int counts[3]);

private:
    // Where ListFolder records the sub-folders it finds (null: nowhere).
    PLibraryTree::_SFolder* m_recorded = nullptr;
};
