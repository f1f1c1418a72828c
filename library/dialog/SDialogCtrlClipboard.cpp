#include "SDialogCtrl.h"
#include "SClipboard.h"
#include "SMemory.h"
#include <cstdint>
#include <cstring>

namespace
{
// The record's fixed fields travel little-endian, whatever the build.
class RecordWriter
{
public:
    explicit RecordWriter(SVirtualFile* stream) : stream(stream), written(0), failed(false) {}

    void Put(uint64_t value, int bytes)
    {
        unsigned char buffer[8];
        for (int i = 0; i < bytes; i++)
            buffer[i] = static_cast<unsigned char>(value >> (8 * i));
        Bytes(buffer, bytes);
    }
    void Text(const SString& text)
    {
        const char* bytes = text.GetText() ? text.GetText() : "";
        Bytes(bytes, static_cast<int>(strlen(bytes)) + 1);
    }
    int Result() const { return failed ? 0 : written; }

private:
    void Bytes(const void* bytes, int n)
    {
        const int done = stream->Write(bytes, n);
        written += done;
        failed = failed || done != n;
    }

    SVirtualFile* stream;
    int written;
    bool failed;
};

// Reads fields until one is cut off; the block is never read past its end.
class RecordReader
{
public:
    explicit RecordReader(SVirtualFile* stream) : stream(stream), start(stream->GetPosition()), failed(false) {}

    uint64_t Get(int bytes)
    {
        unsigned char buffer[8] = {};
        if (failed || stream->Read(buffer, bytes) != bytes)
        {
            failed = true;
            return 0;
        }
        uint64_t value = 0;
        for (int i = bytes - 1; i >= 0; i--)
            value = (value << 8) | buffer[i];
        return value;
    }
    // A text needs its zero byte: without it the record is cut short.
    SString Text()
    {
        if (failed)
            return SString("");
        const int from = stream->GetPosition();
        const char zero = 0;
        const int end = stream->Find(&zero, 1);
        if (end < from)
        {
            failed = true;
            return SString("");
        }
        stream->Seek(from);
        const SString text = stream->ReadText(end - from);
        stream->Seek(end + 1);
        return text;
    }
    int Result() const { return failed ? 0 : stream->GetPosition() - start; }
    bool Failed() const { return failed; }

private:
    SVirtualFile* stream;
    int start;
    bool failed;
};
} // namespace

int SDialogCtrl::_SCtrl::WriteRecord(SVirtualFile* stream) const
{
    if (!stream)
        return 0;
    RecordWriter out(stream);
    out.Put(static_cast<uint16_t>(m_id), 2);
    out.Put(static_cast<uint16_t>(m_type), 2);
    out.Text(m_name);
    out.Text(m_caption);
    out.Text(m_fontName);
    out.Put(static_cast<uint16_t>(m_fontSize), 2);
    out.Put(m_fontStyle, 4);
    out.Put(static_cast<uint16_t>(m_x), 2);
    out.Put(static_cast<uint16_t>(m_y), 2);
    out.Put(static_cast<uint16_t>(m_width), 2);
    out.Put(static_cast<uint16_t>(m_height), 2);
    out.Put(m_locked ? 1 : 0, 1);
    out.Put(m_isDialog ? 1 : 0, 1);
    out.Put(m_style, 4);
    out.Put(m_exstyle, 4);
    out.Put(m_backColor, 4);
    out.Put(m_textColor, 4);
    out.Put(m_transparent ? 1 : 0, 1);
    out.Text(m_typeKeys);
    // The reserved word travels sign-extended to 64 bits.
    out.Put(static_cast<uint64_t>(static_cast<int64_t>(static_cast<int32_t>(m_reserved))), 8);
    return out.Result();
}

int SDialogCtrl::_SCtrl::ReadRecord(SVirtualFile* stream)
{
    if (!stream)
        return 0;
    RecordReader in(stream);
    const short id = static_cast<short>(in.Get(2));
    const short type = static_cast<short>(in.Get(2));
    const SString name = in.Text();
    const SString caption = in.Text();
    const SString face = in.Text();
    const short fontSize = static_cast<short>(in.Get(2));
    const DWORD fontStyle = static_cast<DWORD>(in.Get(4));
    short position[4];
    for (short& value : position)
        value = static_cast<short>(in.Get(2));
    const bool locked = in.Get(1) != 0;
    const bool isDialog = in.Get(1) != 0;
    DWORD words[4];
    for (DWORD& word : words)
        word = static_cast<DWORD>(in.Get(4));
    const bool transparent = in.Get(1) != 0;
    const SString typeKeys = in.Text();
    const DWORD reserved = static_cast<DWORD>(in.Get(8));
    if (in.Failed())
        return 0;
    // What comes from another program must still make a text the reader takes.
    m_id = id;
    m_type = type;
    SetName(name.GetText());
    SetCaption(caption.GetText());
    SetFont(face.GetText(), fontSize, fontStyle);
    SetPosition(position[0], position[1], position[2], position[3]);
    m_locked = locked;
    m_isDialog = isDialog;
    m_style = words[0];
    m_exstyle = words[1];
    m_backColor = words[2];
    m_textColor = words[3];
    m_transparent = transparent;
    SetTypeKeys(typeKeys.GetText());
    m_reserved = reserved;
    return in.Result();
}

bool SDialogCtrl::CopySelection()
{
    _SCtrl* primary = GetSelected(0);
    if (!primary || primary == m_dialog.get())
        return false;
    SMemory block;
    block.WriteStringWithNull(DIALOG_HEADER);
    for (int i = 0; i < m_selection.GetCount(); i++)
    {
        if (m_selection.GetAt(i)->WriteRecord(&block) == 0)
            return false;
    }
    block.SeekToStart();
    SClipboard clipboard;
    return clipboard.SetData(&block);
}

bool SDialogCtrl::CutSelection()
{
    if (!CopySelection())
        return false;
    // One snapshot for the whole cut, kept when the first element goes: a cut
    // whose removals are all vetoed leaves the history as it was.
    std::unique_ptr<_SUndo> snapshot = MakeUndoSnapshot();
    // A copy: a vetoed removal or a record not in the list leaves the
    // selection as it was, and the walk must still end.
    SArray<_SCtrl*> selected(m_selection);
    for (int i = selected.GetCount() - 1; i >= 0; i--)
    {
        if (!ReleaseElement(selected.GetAt(i), true))
            continue;
        PushUndoSnapshot(std::move(snapshot));
        DestroyElement(selected.GetAt(i));
    }
    if (GetSelectedCount() > 0)
        SelectOnly(nullptr);
    return true;
}

bool SDialogCtrl::CanPaste()
{
    SMemory block;
    SClipboard clipboard;
    return clipboard.GetData(&block) > 0;
}

void SDialogCtrl::OnCopy()
{
    CopySelection();
}

void SDialogCtrl::OnCut()
{
    if (!CutSelection())
        return;
    NotifyChanged(0);
    RedrawAll();
}
