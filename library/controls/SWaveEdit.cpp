// Edits of an editable sound: each walks its bytes in chunks of about a hundredth
// of the work, asking the progress callback before each chunk, so that files
// larger than memory can be edited and an edit can be cancelled.
#include "SWave.h"
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

namespace
{
typedef std::vector<unsigned char> Bytes;
const int GROW_BLOCK = 65536;
} // namespace

int SWave::ComputeChunkSize(int64_t totalBytes, int unit)
{
    if (unit < 1)
        unit = 1;
    int64_t chunk = std::max<int64_t>(totalBytes / 100, 100);
    chunk += unit - chunk % unit;
    return static_cast<int>(std::min<int64_t>(chunk, INT_MAX - unit));
}

bool SWave::ReportProgress(int chunk)
{
    if (!m_progress)
        return true;
    int percent = static_cast<int>(((m_step * 100.0 + chunk) / (m_stepCount * 100.0)) * 100);
    if (percent == 99)
        percent = 100;
    return m_progress(percent, m_progressUser);
}

// Pass 0 is a whole operation; passes 1 and 2 are the halves of a two-pass one.
template <class Visit>
bool SWave::WalkChunks(int64_t total, int chunk, int pass, bool backwards, Visit visit)
{
    int index = 0;
    for (int64_t done = 0; done < total; done += chunk, index++)
    {
        if (!ReportProgress(pass == 0 ? index : (pass == 2 ? 50 : 0) + index / 2))
            return false;
        const int bytes = static_cast<int>(std::min<int64_t>(chunk, total - done));
        if (!visit(backwards ? total - done - bytes : done, bytes))
            return false;
    }
    return true;
}

bool SWave::SetOperation(uint32_t start, uint32_t length, int channel, ProgressCallback callback, LPARAM user)
{
    const uint64_t frames = GetFrameCount();
    if (!IsEditable() || start > frames || static_cast<uint64_t>(start) + length > frames || channel < -1 ||
        channel >= GetChannelCount())
        return false;
    m_selectionStart = start;
    m_selectionLength = length;
    m_selectedChannel = channel;
    m_progress = callback;
    m_progressUser = user;
    m_step = 0;
    m_stepCount = 1;
    if (IsPlaying() || m_paused)
        Stop();
    return true;
}

// An edit is checked against the sound as it is now: a selection set before an
// earlier edit shortened the sound may run past its end.
bool SWave::IsSelectionEditable() const
{
    const uint64_t frames = GetFrameCount();
    return IsEditable() && m_selectionStart <= frames &&
           static_cast<uint64_t>(m_selectionStart) + m_selectionLength <= frames && m_selectedChannel >= -1 &&
           m_selectedChannel < GetChannelCount();
}

// Whether the data still fits the streams once the selection is deleted (one
// channel keeps the length) and the given frames are added.
bool SWave::FitsAfterInsert(int64_t frames) const
{
    const int64_t align = GetBlockAlign();
    const int64_t deleted = m_selectedChannel < 0 ? static_cast<int64_t>(m_selectionLength) * align : 0;
    return frames >= 0 && GetDataSize() - deleted + frames * align <= INT_MAX;
}

// The outermost edit brings the sound buffer up to date.
void SWave::FinishEdit(bool refillOnly)
{
    if (m_editDepth > 0)
        return;
    if (refillOnly)
        FillBuffer();
    else
        RebuildBuffer();
}

// --- Copy, cut, paste -------------------------------------------------------

bool SWave::CopySelection(SVirtualFile* target)
{
    if (!IsSelectionEditable() || !target || target == GetDataStream() || m_selectionLength == 0)
        return false;
    if (m_selectedChannel >= 0)
        return CopyChannelTo(target);
    const int align = GetBlockAlign();
    const int64_t first = static_cast<int64_t>(m_selectionStart) * align;
    const int64_t total = static_cast<int64_t>(m_selectionLength) * align;
    const int chunk = ComputeChunkSize(total, align);
    Bytes data(chunk);
    return WalkChunks(total, chunk, 0, false, [&](int64_t offset, int bytes) {
        return ReadAt(first + offset, data.data(), bytes) && target->Write(data.data(), bytes) == bytes;
    });
}

// One channel copies as a mono stream of the same sample width.
bool SWave::CopyChannelTo(SVirtualFile* target)
{
    const int align = GetBlockAlign(), width = BytesPerSample(), channel = m_selectedChannel;
    const int64_t first = static_cast<int64_t>(m_selectionStart) * align;
    const int64_t total = static_cast<int64_t>(m_selectionLength) * align;
    const int chunk = ComputeChunkSize(total, align);
    Bytes data(chunk), samples(chunk / align * width);
    return WalkChunks(total, chunk, 0, false, [&](int64_t offset, int bytes) {
        if (!ReadAt(first + offset, data.data(), bytes))
            return false;
        const int frames = bytes / align;
        for (int f = 0; f < frames; f++)
            memcpy(&samples[f * width], &data[f * align + channel * width], width);
        return target->Write(samples.data(), frames * width) == frames * width;
    });
}

bool SWave::CutSelection(SVirtualFile* target)
{
    if (!IsSelectionEditable() || !target || target == GetDataStream() || m_selectionLength == 0)
        return false;
    m_step = 0;
    m_stepCount = 2;
    if (!CopySelection(target))
        return false;
    m_step++;
    return DeleteSelection();
}

bool SWave::PasteFrom(SVirtualFile* source)
{
    if (!IsSelectionEditable() || !source || source == GetDataStream())
        return false;
    // One selected channel takes mono samples: one frame per sample. A source
    // without a whole frame changes nothing: the selection stays.
    const int unit = m_selectedChannel < 0 ? GetBlockAlign() : BytesPerSample();
    const int64_t size = source->GetSize();
    const int64_t frames = size > 0 && unit > 0 ? size / unit : 0;
    if (frames == 0 || !FitsAfterInsert(frames))
        return false;
    m_step = 0;
    m_stepCount = m_selectionLength > 0 ? 3 : 2;
    m_editDepth++;
    bool done = true;
    if (m_selectionLength > 0)
    {
        done = DeleteSelection();
        if (done)
        {
            m_step++;
            m_selectionLength = 0;
        }
    }
    done = done && InsertSilence(static_cast<uint32_t>(frames));
    if (done)
    {
        m_step++;
        done = PasteSamples(source, static_cast<uint32_t>(frames));
    }
    m_editDepth--;
    FinishEdit(false);
    return done;
}

bool SWave::PasteSamples(SVirtualFile* source, uint32_t frames)
{
    source->SeekToStart();
    const int align = GetBlockAlign(), width = BytesPerSample(), channel = m_selectedChannel;
    const int64_t base = static_cast<int64_t>(m_selectionStart) * align;
    if (channel < 0)
    {
        const int64_t total = static_cast<int64_t>(frames) * align;
        const int chunk = ComputeChunkSize(total, align);
        Bytes data(chunk);
        return WalkChunks(total, chunk, 0, false, [&](int64_t offset, int bytes) {
            return source->Read(data.data(), bytes) == bytes && WriteAt(base + offset, data.data(), bytes);
        });
    }
    const int64_t total = static_cast<int64_t>(frames) * width;
    const int chunk = ComputeChunkSize(total, width);
    Bytes samples(chunk), block(static_cast<size_t>(chunk / width) * align);
    return WalkChunks(total, chunk, 0, false, [&](int64_t offset, int bytes) {
        const int count = bytes / width;
        const int64_t at = base + offset / width * align;
        if (source->Read(samples.data(), bytes) != bytes || !ReadAt(at, block.data(), count * align))
            return false;
        for (int i = 0; i < count; i++)
            memcpy(&block[i * align + channel * width], &samples[i * width], width);
        return WriteAt(at, block.data(), count * align);
    });
}

// --- Delete, silence, insert -----------------------------------------------

bool SWave::DeleteSelection()
{
    if (!IsSelectionEditable() || m_selectionLength == 0)
        return false;
    m_editDepth++;
    const bool done = m_selectedChannel < 0 ? DeleteAllChannels() : DeleteOneChannel();
    m_editDepth--;
    // A cancelled delete has moved part of the data: the buffer must follow it too.
    FinishEdit(false);
    return done;
}

bool SWave::DeleteAllChannels()
{
    const int align = GetBlockAlign();
    const int64_t size = GetDataSize();
    const int64_t target = static_cast<int64_t>(m_selectionStart) * align;
    const int64_t source = target + static_cast<int64_t>(m_selectionLength) * align;
    const int64_t moved = size - source;
    const int chunk = ComputeChunkSize(moved, align);
    Bytes data(chunk);
    if (!WalkChunks(moved, chunk, 0, false, [&](int64_t offset, int bytes) {
            return ReadAt(source + offset, data.data(), bytes) && WriteAt(target + offset, data.data(), bytes);
        }))
        return false;
    return GetDataStream()->SetSize(static_cast<int>(size - (source - target)));
}

// The file keeps its length: the channel's later samples move left over the
// selection and its last samples fall silent.
bool SWave::DeleteOneChannel()
{
    const int align = GetBlockAlign(), width = BytesPerSample(), channel = m_selectedChannel;
    const uint32_t frames = GetFrameCount(), length = m_selectionLength;
    const int64_t base = static_cast<int64_t>(m_selectionStart) * align;
    const int64_t shift = static_cast<int64_t>(length) * align;
    const int64_t moved = static_cast<int64_t>(frames - m_selectionStart - length) * align;
    const int chunk = ComputeChunkSize(moved, align);
    Bytes target(chunk), source(chunk);
    if (!WalkChunks(moved, chunk, 1, false, [&](int64_t offset, int bytes) {
            if (!ReadAt(base + offset, target.data(), bytes) || !ReadAt(base + shift + offset, source.data(), bytes))
                return false;
            for (int f = 0; f < bytes / align; f++)
                memcpy(&target[f * align + channel * width], &source[f * align + channel * width], width);
            return WriteAt(base + offset, target.data(), bytes);
        }))
        return false;
    return ZeroFrames(frames - length, length, channel, 2);
}

bool SWave::ZeroFrames(uint32_t first, uint32_t count, int channel, int pass)
{
    const int align = GetBlockAlign();
    const int64_t base = static_cast<int64_t>(first) * align;
    const int64_t total = static_cast<int64_t>(count) * align;
    const int chunk = ComputeChunkSize(total, align);
    Bytes data(chunk);
    return WalkChunks(total, chunk, pass, false, [&](int64_t offset, int bytes) {
        if (!ReadAt(base + offset, data.data(), bytes))
            return false;
        for (int f = 0; f < bytes / align; f++)
            SetSample(data.data(), f, channel, 0);
        return WriteAt(base + offset, data.data(), bytes);
    });
}

bool SWave::SilenceSelection()
{
    if (!IsSelectionEditable())
        return false;
    bool done;
    if (m_selectedChannel >= 0)
        done = ZeroFrames(m_selectionStart, m_selectionLength, m_selectedChannel, 0);
    else
    {
        const int align = GetBlockAlign();
        const int64_t base = static_cast<int64_t>(m_selectionStart) * align;
        const int64_t total = static_cast<int64_t>(m_selectionLength) * align;
        const int chunk = ComputeChunkSize(total, align);
        const Bytes silence(chunk, static_cast<unsigned char>(m_silence));
        done = WalkChunks(total, chunk, 0, false,
                          [&](int64_t offset, int bytes) { return WriteAt(base + offset, silence.data(), bytes); });
    }
    FinishEdit(false);
    return done;
}

// New frames at the end start silent in every channel.
bool SWave::GrowBy(int64_t bytes)
{
    SVirtualFile* stream = GetDataStream();
    const int64_t size = GetDataSize();
    if (size + bytes > INT_MAX || stream->SeekToEnd() != size)
        return false;
    const Bytes silence(GROW_BLOCK, static_cast<unsigned char>(m_silence));
    for (int64_t left = bytes; left > 0; left -= GROW_BLOCK)
    {
        const int n = static_cast<int>(std::min<int64_t>(left, GROW_BLOCK));
        if (stream->Write(silence.data(), n) != n)
        {
            // Cut back, so that the data keeps whole frames.
            stream->SetSize(static_cast<int>(size));
            return false;
        }
    }
    return true;
}

// The frames from the selection start to the old end move right by the new
// frames, from the end backwards; one selected channel moves alone.
bool SWave::MoveRight(uint32_t frames)
{
    const int align = GetBlockAlign(), width = BytesPerSample(), channel = m_selectedChannel;
    const int64_t base = static_cast<int64_t>(m_selectionStart) * align;
    const int64_t shift = static_cast<int64_t>(frames) * align;
    const int64_t moved = static_cast<int64_t>(GetFrameCount() - frames - m_selectionStart) * align;
    const int chunk = ComputeChunkSize(moved, align);
    Bytes source(chunk), target(chunk);
    return WalkChunks(moved, chunk, 1, true, [&](int64_t offset, int bytes) {
        if (!ReadAt(base + offset, source.data(), bytes))
            return false;
        if (channel < 0)
            return WriteAt(base + shift + offset, source.data(), bytes);
        if (!ReadAt(base + shift + offset, target.data(), bytes))
            return false;
        for (int f = 0; f < bytes / align; f++)
            memcpy(&target[f * align + channel * width], &source[f * align + channel * width], width);
        return WriteAt(base + shift + offset, target.data(), bytes);
    });
}

bool SWave::InsertSilence(uint32_t frames)
{
    // Checked before the selection is deleted: an insert that cannot be made changes nothing.
    if (!IsSelectionEditable() || frames == 0 || !FitsAfterInsert(frames))
        return false;
    m_editDepth++;
    bool done = true;
    if (m_selectionLength > 0)
    {
        done = DeleteSelection();
        if (done)
            m_selectionLength = 0;
    }
    const int64_t bytes = static_cast<int64_t>(frames) * GetBlockAlign();
    done = done && GrowBy(bytes);
    if (done)
    {
        // The silencing pass runs even when the moving pass was ended.
        const bool moved = MoveRight(frames);
        const bool silenced = ZeroFrames(m_selectionStart, frames, m_selectedChannel, 2);
        done = moved && silenced;
    }
    m_editDepth--;
    FinishEdit(false);
    return done;
}

// --- Amplify and scan -------------------------------------------------------

bool SWave::Amplify(double factor)
{
    if (!IsSelectionEditable() || m_selectionLength == 0)
        return false;
    const int align = GetBlockAlign(), channels = GetChannelCount();
    const int64_t base = static_cast<int64_t>(m_selectionStart) * align;
    const int64_t total = static_cast<int64_t>(m_selectionLength) * align;
    const int chunk = ComputeChunkSize(total, align);
    Bytes data(chunk);
    // Anything beyond 32 bits is clamped by SetSample; this keeps the conversion defined.
    const double limit = 1e12;
    const bool done = WalkChunks(total, chunk, 0, false, [&](int64_t offset, int bytes) {
        if (!ReadAt(base + offset, data.data(), bytes))
            return false;
        for (int f = 0; f < bytes / align; f++)
            for (int c = 0; c < channels; c++)
                if (m_selectedChannel < 0 || c == m_selectedChannel)
                {
                    const double v = std::trunc(GetSample(data.data(), f, c) * factor);
                    SetSample(data.data(), f, c, static_cast<int64_t>(std::max(-limit, std::min(limit, v))));
                }
        return WriteAt(base + offset, data.data(), bytes);
    });
    FinishEdit(true);
    return done;
}

bool SWave::ScanSelection()
{
    if (!IsSelectionEditable())
        return false;
    const int align = GetBlockAlign();
    const int64_t total = static_cast<int64_t>(m_selectionLength) * align;
    const bool done = WalkChunks(total, ComputeChunkSize(total, align), 0, false,
                                 [](int64_t, int) { return true; });
    FinishEdit(false);
    return done;
}
