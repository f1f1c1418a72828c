// Plain text and the library's private block of bytes (format 129: a 32-bit length,
// the bytes and a NUL) on the clipboard.
#pragma once
#include "SPlatform.h"
#include "SString.h"
#include "SVirtualFile.h"

class SClipboard
{
public:
    // The library's private clipboard format.
    enum
    {
        BlockFormat = 129
    };

    SClipboard() {}
    virtual ~SClipboard() {}

    // Replaces the clipboard's content with the text; true when it was set.
    bool SetText(const char* text);
    // "" when the clipboard cannot be opened or holds no text.
    SString GetText();
    // count bytes of the stream from its position (-1: the rest) as the private block.
    bool SetData(SVirtualFile* stream, int count = -1);
    // Writes the private block's bytes into the stream; returns their number, 0 when none.
    int GetData(SVirtualFile* stream);
};
