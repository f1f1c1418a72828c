// The description markup: chapter, empty and text lines with their inline tags,
// turned into the HTML of a folder's description page. Pure text work; the
// description window reads and writes the files around it.
#pragma once
#include "SString.h"
#include "SVirtualFile.h"
#include "PFolderLinkIndex.h"

class PDescriptionMarkup
{
public:
    // The characters an address the program writes is percent-encoded for.
    static const char* const ADDRESS_ESCAPES;

    // One text line of markup to one line of HTML (no line end).
    static SString ConvertLine(const SString& line, const PFolderLinkIndex& links);
    // A line holding "{" and, after it, "}": its title is the text between them.
    static bool IsChapterLine(const SString& line, SString* title);
    // The whole page of a description text: the head with the base address
    // and the style sheet, then the body built line by line.
    static bool WritePage(const SString& text, const char* root, const SString& styleSheet,
                          const PFolderLinkIndex& links, SVirtualFile* page);

private:
    // The HTML of one tag, or false for an unknown tag word.
    static bool BuildTag(const SString& word, const SString& text, const SString* argument,
                         const PFolderLinkIndex& links, SString* html);
    static void ApplyBullets(SString& line);
    static void ApplyIndent(SString& line);

    // The body's state while it is written line by line.
    struct _PBody
    {
        bool started = false;
        bool inChapter = false;
        bool chapterHasText = false;
        int pending = 0;
    };
    static void WriteChapter(_PBody& body, const SString& title, SVirtualFile* page);
    static void WriteTextLine(_PBody& body, const SString& line, const PFolderLinkIndex& links,
                              SVirtualFile* page);
};
