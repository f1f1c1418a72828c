// Helpers of the code editor tests: an editor loaded from text, its text back,
// and a stream whose writes come back short after a limit.
#pragma once
#include <gtest/gtest.h>
#include <string>
#include "SCodeEditCtrl.h"
#include "SMemory.h"

inline void LoadText(SCodeEditCtrl& editor, const std::string& text)
{
    SMemory stream;
    stream.Write(text.data(), static_cast<int>(text.size()));
    stream.SeekToStart();
    ASSERT_TRUE(editor.LoadFromStream(&stream, "doc"));
}

inline std::string SavedText(SCodeEditCtrl& editor)
{
    SMemory stream;
    EXPECT_TRUE(editor.SaveToStream(&stream, "doc"));
    stream.SeekToStart();
    const SString text = stream.ReadText();
    return std::string(text.GetText(), text.GetLength());
}

class ShortStream : public SMemory
{
public:
    explicit ShortStream(int limit) : limit(limit) {}
    int Write(const void* data, int n) override
    {
        const int room = limit - GetPosition();
        return SMemory::Write(data, n < room ? n : (room > 0 ? room : 0));
    }
    int limit;
};
