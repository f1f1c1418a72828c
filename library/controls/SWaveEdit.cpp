// Edits of an editable sound: each walks its bytes in chunks of about a hundredth
// of the work, asking the progress callback before each chunk, so that files
// larger than memory can be edited and an edit can be cancelled.
#include "SWave.h"
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

namespace
{
typedef std::vector<unsigned char> Bytes;

// Chunks grow with the sizes a file names: a chunk that cannot have its memory
// ends the edit, not the program.
bool Allocate(Bytes& bytes, size_t size, unsigned char fill = 0)
{
    try
    {
        bytes.assign(size, fill);
        return true;
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
}
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

template <class Visit>
bool SWave::WalkChunks(int64_t total, int chunk, Visit visit)
{
    int index = 0;
    for (int64_t done = 0; done < total; done += chunk, index++)
    {
        if (!ReportProgress(index))
            return false;
        if (!visit(done, static_cast<int>(std::min<int64_t>(chunk, total - done))))
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
    m_changed = false;
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

// The sound buffer follows the edited frames.
void SWave::FinishEdit(bool refillOnly)
{
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
    Bytes data;
    if (!Allocate(data, chunk))
        return false;
    return WalkChunks(total, chunk, [&](int64_t offset, int bytes) {
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
    Bytes data, samples;
    if (!Allocate(data, chunk) || !Allocate(samples, chunk / align * width))
        return false;
    return WalkChunks(total, chunk, [&](int64_t offset, int bytes) {
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
    if (!ReplaceSelection(Run::SOURCE, frames, source))
        return false;
    m_selectionLength = 0;
    return true;
}

bool SWave::DeleteSelection()
{
    if (!IsSelectionEditable() || m_selectionLength == 0)
        return false;
    return ReplaceSelection(Run::SILENCE, 0, nullptr);
}

bool SWave::InsertSilence(uint32_t frames)
{
    if (!IsSelectionEditable() || frames == 0 || !FitsAfterInsert(frames))
        return false;
    if (!ReplaceSelection(Run::SILENCE, frames, nullptr))
        return false;
    m_selectionLength = 0;
    return true;
}

// The edits that move frames: the selection gives way to count frames of the
// given kind. One selected channel moves alone: the others keep their frames and
// the sound grows by silence at its end. The edited sound is written whole into
// the spare file, which then takes the data's place, so that a cancel or a
// failed write leaves the sound as it was.
bool SWave::ReplaceSelection(Run::Kind kind, int64_t count, SVirtualFile* source)
{
    const int64_t total = GetFrameCount(), start = m_selectionStart, length = m_selectionLength;
    const Run before = {Run::SOUND, 0, start}, inserted = {kind, 0, count};
    const Run after = {Run::SOUND, start + length, total - start - length};
    Runs frames, samples;
    if (m_selectedChannel < 0)
        frames = {before, inserted, after};
    else
    {
        frames = {Run{Run::SOUND, 0, total}, Run{Run::SILENCE, 0, count}};
        samples = {before, inserted, after, Run{Run::SILENCE, 0, length}};
    }
    if (!Compose(frames, samples, source))
        return false;
    FinishEdit(false);
    return true;
}

bool SWave::Compose(const Runs& frames, const Runs& samples, SVirtualFile* source)
{
    int64_t total = 0;
    for (const Run& run : frames)
        total += run.count;
    const int align = GetBlockAlign();
    if (total * align > INT_MAX)
        return false;
    const int chunk = ComputeChunkSize(total * align, align);
    Bytes data, scratch;
    SFile& spare = m_files[1 - m_current];
    if (!Allocate(data, chunk) || !Allocate(scratch, chunk) || !spare.OpenTemporary())
        return false;
    const bool done = WalkChunks(total * align, chunk, [&](int64_t offset, int bytes) {
        const int64_t first = offset / align;
        return FillRuns(frames, first, bytes / align, -1, source, data.data(), scratch.data()) &&
               (samples.empty() ||
                FillRuns(samples, first, bytes / align, m_selectedChannel, source, data.data(), scratch.data())) &&
               spare.Write(data.data(), bytes) == bytes;
    });
    if (!done)
    {
        spare.Close();
        return false;
    }
    m_files[m_current].Close();
    m_current = 1 - m_current;
    m_changed = true;
    return true;
}

// Fills count frames from the given frame of the edited sound: whole frames, or
// only the given channel's samples (a source then holds mono samples).
bool SWave::FillRuns(const Runs& runs, int64_t first, int count, int channel, SVirtualFile* source,
                     unsigned char* out, unsigned char* scratch)
{
    const int align = GetBlockAlign(), width = BytesPerSample();
    const int unit = channel < 0 ? align : width;
    int64_t runStart = 0;
    for (const Run& run : runs)
    {
        const int64_t from = std::max(first, runStart), to = std::min(first + count, runStart + run.count);
        runStart += run.count;
        if (from >= to)
            continue;
        const int n = static_cast<int>(to - from);
        const int64_t at = run.first + (from - (runStart - run.count));
        unsigned char* target = channel < 0 ? out + (from - first) * align : scratch;
        if (run.kind == Run::SOUND && !ReadAt(at * align, target, n * align))
            return false;
        if (run.kind == Run::SOURCE &&
            (source->Seek(static_cast<int>(at * unit)) != at * unit || source->Read(target, n * unit) != n * unit))
            return false;
        if (run.kind == Run::SILENCE)
            memset(target, m_silence, static_cast<size_t>(n) * unit);
        if (channel < 0)
            continue;
        // One channel: the run's samples go into that channel of each frame.
        unsigned char* frame = out + (from - first) * align + channel * width;
        for (int i = 0; i < n; i++)
        {
            const unsigned char* sample = run.kind == Run::SOUND ? scratch + i * align + channel * width
                                                                 : scratch + i * width;
            memcpy(frame + i * align, sample, width);
        }
    }
    return true;
}

// --- Silence ----------------------------------------------------------------

bool SWave::ZeroFrames(uint32_t first, uint32_t count, int channel)
{
    const int align = GetBlockAlign();
    const int64_t base = static_cast<int64_t>(first) * align;
    const int64_t total = static_cast<int64_t>(count) * align;
    const int chunk = ComputeChunkSize(total, align);
    Bytes data;
    if (!Allocate(data, chunk))
        return false;
    return WalkChunks(total, chunk, [&](int64_t offset, int bytes) {
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
        done = ZeroFrames(m_selectionStart, m_selectionLength, m_selectedChannel);
    else
    {
        const int align = GetBlockAlign();
        const int64_t base = static_cast<int64_t>(m_selectionStart) * align;
        const int64_t total = static_cast<int64_t>(m_selectionLength) * align;
        const int chunk = ComputeChunkSize(total, align);
        Bytes silence;
        done = Allocate(silence, chunk, static_cast<unsigned char>(m_silence)) &&
               WalkChunks(total, chunk, [&](int64_t offset, int bytes) {
                   return WriteAt(base + offset, silence.data(), bytes);
               });
    }
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
    Bytes data;
    if (!Allocate(data, chunk))
        return false;
    // Anything beyond 32 bits is clamped by SetSample; this keeps the conversion defined.
    const double limit = 1e12;
    const bool done = WalkChunks(total, chunk, [&](int64_t offset, int bytes) {
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
    const bool done = WalkChunks(total, ComputeChunkSize(total, align), [](int64_t, int) { return true; });
    FinishEdit(false);
    return done;
}
