// The sound editor's model side: its sound, the view state (channel, selection,
// muted channels), the edits with their shared clip file, colours, and the
// mapping between frames and pixels.
#include "SWaveCtrl.h"
#include <algorithm>
#include <memory>
#include "SLibrary.h"

namespace
{
// One clip for every editor of the process: the first editor opens it, the last closes it.
std::unique_ptr<SVirtualFile> s_clip;
int s_editors = 0;
} // namespace

void SWaveCtrl::_SWave::OnPlayTick()
{
    if (m_owner->GetHandle())
        m_owner->InvalidateRect(nullptr, true);
}

void SWaveCtrl::_SWave::OnPlayStopped()
{
    if (m_owner->GetHandle())
        m_owner->InvalidateRect(nullptr, true);
}

SWaveCtrl::SWaveCtrl()
    : m_backColor(0), m_backDisabledColor(0), m_progressBackColor(0), m_progressStartColor(0),
      m_progressEndColor(0), m_lineColor(0), m_caretColor(0), m_playCaretColor(0), m_waveColor(0),
      m_waveDisabledColor(0), m_menuEnabled(true), m_repeat(false), m_sound(this), m_channel(-1),
      m_selectionStart(0), m_selectionLength(0), m_progressFrames(0), m_escapeCancelled(false), m_escapeTime(0)
{
    SetTypeId(STYPE_WAVE);
    if (s_editors++ == 0)
        s_clip = NewClipStream();
    SetDefaultColors();
}

SWaveCtrl::~SWaveCtrl()
{
    DestroyWindow();
    m_sound.Close();
    if (--s_editors == 0)
        s_clip.reset();
}

SVirtualFile* SWaveCtrl::GetClip()
{
    return s_clip && s_clip->IsOpen() ? s_clip.get() : nullptr;
}

std::unique_ptr<SVirtualFile> SWaveCtrl::NewClipStream() const
{
    std::unique_ptr<SFile> stream(new SFile);
    if (!stream->OpenTemporary())
        return nullptr;
    return stream;
}

// --- Frames and pixels ------------------------------------------------------

int SWaveCtrl::FrameToX(uint32_t frame, uint32_t total, int width)
{
    if (frame > total)
        return -1;
    if (total == 0 || width <= 0)
        return 0;
    return static_cast<int>(width * (static_cast<double>(frame) / total));
}

uint32_t SWaveCtrl::XToFrame(int x, uint32_t total, int width)
{
    if (width <= 0 || x <= 0)
        return 0;
    return static_cast<uint32_t>(std::min<double>(total, total * (static_cast<double>(x) / width)));
}

uint32_t SWaveCtrl::ComputeKeyStep(uint32_t total, int width)
{
    const uint32_t step = total / static_cast<uint32_t>(width > 0 ? width : 1);
    return step > 0 ? step : 1;
}

uint32_t SWaveCtrl::ComputeDrawChunk(uint32_t step)
{
    const uint32_t base = 100000;
    return step == 0 ? base : step - base % step + base;
}

int SWaveCtrl::GetFrameX(uint32_t frame) const
{
    if (!m_sound.IsLoaded())
        return -1;
    return FrameToX(frame, m_sound.GetFrameCount(), GetClientWidth());
}

// --- Sound ------------------------------------------------------------------

void SWaveCtrl::ResetView()
{
    m_channel = -1;
    m_selectionStart = m_selectionLength = 0;
    m_muted.RemoveAll();
}

void SWaveCtrl::Refresh()
{
    BuildWaveform();
    if (m_handle)
        InvalidateRect(nullptr, true);
}

void SWaveCtrl::CloseSound()
{
    if (!m_sound.IsLoaded())
        return;
    m_sound.Close();
    ResetView();
    Refresh();
}

bool SWaveCtrl::LoadWave(SVirtualFile* stream)
{
    if (!stream)
        return false;
    CloseSound();
    ResetView();
    bool read = m_sound.Read(stream, false, true, nullptr);
    if (read)
        m_sound.SetRepeat(m_repeat);
    // A sound whose waveform cannot have its memory is refused: the editor stays empty.
    if (read && !TryBuildWaveform())
    {
        m_sound.Close();
        read = false;
    }
    if (!read)
        BuildWaveform();
    if (m_handle)
        InvalidateRect(nullptr, true);
    return read;
}

bool SWaveCtrl::NewWave(int channels)
{
    CloseSound();
    ResetView();
    const bool made = m_sound.New(channels, NEW_SAMPLE_RATE);
    if (made)
        m_sound.SetRepeat(m_repeat);
    Refresh();
    return made;
}

void SWaveCtrl::SetRepeat(bool on)
{
    m_repeat = on;
    m_sound.SetRepeat(on);
    if (m_menu.GetHandle())
        m_menu.CheckItem(MENU_REPEAT, on);
}

bool SWaveCtrl::Play()
{
    if (!m_sound.IsLoaded())
        return false;
    m_sound.SetMutedChannels(&m_muted, false);
    const uint32_t end = m_selectionLength > 0 ? m_selectionStart + m_selectionLength : 0;
    return m_sound.Play(m_selectionStart, end);
}

void SWaveCtrl::Stop()
{
    if (m_sound.IsLoaded())
        m_sound.Stop();
}

// --- View state -------------------------------------------------------------

void SWaveCtrl::SetSelection(uint32_t start, uint32_t length)
{
    m_selectionStart = start;
    m_selectionLength = length;
    ClampSelection();
    if (m_handle)
        InvalidateRect(nullptr, true);
}

void SWaveCtrl::ClampSelection()
{
    const uint32_t frames = m_sound.GetFrameCount();
    m_selectionStart = std::min(m_selectionStart, frames);
    m_selectionLength = std::min(m_selectionLength, frames - m_selectionStart);
}

void SWaveCtrl::SetChannel(int channel, bool redraw)
{
    m_channel = channel >= 0 && channel < m_sound.GetChannelCount() ? channel : -1;
    if (redraw)
        Refresh();
}

void SWaveCtrl::ToggleMute(int channel, bool redraw)
{
    if (channel < 0 || channel >= m_sound.GetChannelCount())
        m_muted.RemoveAll();
    else if (m_muted.Find(channel) >= 0)
        m_muted.RemoveAt(m_muted.Find(channel));
    else
        m_muted.Add(channel);
    if (redraw)
        Refresh();
}

void SWaveCtrl::OnSelectAll()
{
    SetSelection(0, m_sound.GetFrameCount());
}

// --- Edits ------------------------------------------------------------------

// The waveform follows the samples. Any change of a frame is reported, also by
// an edit that was then cancelled; an edit that moves frames is either whole or
// not made at all.
void SWaveCtrl::FinishEdit(bool done)
{
    ClampSelection();
    Refresh();
    if (done || m_sound.HasChangedFrames())
        NotifyChanged(0);
}

// The cut or copy is written into a new stream, which becomes the clip only once
// complete: a cut or copy cancelled or failed leaves the clip as it was.
bool SWaveCtrl::CutSelection()
{
    if (!m_sound.IsLoaded() || m_selectionLength == 0 || !BeginOperation())
        return false;
    std::unique_ptr<SVirtualFile> fresh = NewClipStream();
    const bool done = fresh && m_sound.CutSelection(fresh.get());
    EndOperation();
    if (done)
    {
        s_clip = std::move(fresh);
        m_selectionLength = 0;
    }
    FinishEdit(done);
    return done;
}

bool SWaveCtrl::CopySelection()
{
    if (!m_sound.IsLoaded() || m_selectionLength == 0 || !BeginOperation())
        return false;
    std::unique_ptr<SVirtualFile> fresh = NewClipStream();
    const bool done = fresh && m_sound.CopySelection(fresh.get());
    EndOperation();
    if (done)
        s_clip = std::move(fresh);
    if (m_handle)
        InvalidateRect(nullptr, true);
    return done;
}

bool SWaveCtrl::PasteClip()
{
    SVirtualFile* clip = GetClip();
    if (!m_sound.IsLoaded() || !clip || clip->GetSize() <= 0 || !BeginOperation())
        return false;
    const bool done = m_sound.PasteFrom(clip);
    EndOperation();
    if (done)
    {
        // A single channel takes the clip as mono samples.
        const int channels = std::max(1, m_sound.GetChannelCount());
        const int unit = m_channel < 0 ? m_sound.GetBlockAlign() : m_sound.GetBlockAlign() / channels;
        m_selectionLength = static_cast<uint32_t>(clip->GetSize() / std::max(1, unit));
    }
    FinishEdit(done);
    return done;
}

bool SWaveCtrl::DeleteSelection()
{
    if (!m_sound.IsLoaded() || m_selectionLength == 0 || !BeginOperation())
        return false;
    const bool done = m_sound.DeleteSelection();
    EndOperation();
    if (done)
        m_selectionLength = 0;
    FinishEdit(done);
    return done;
}

bool SWaveCtrl::SilenceSelection()
{
    if (!m_sound.IsLoaded() || m_selectionLength == 0 || !BeginOperation())
        return false;
    const bool done = m_sound.SilenceSelection();
    EndOperation();
    FinishEdit(done);
    return done;
}

bool SWaveCtrl::Amplify(double factor)
{
    if (!m_sound.IsLoaded() || m_selectionLength == 0 || !BeginOperation())
        return false;
    const bool done = m_sound.Amplify(factor);
    EndOperation();
    FinishEdit(done);
    return done;
}

bool SWaveCtrl::ScanSelection()
{
    if (!m_sound.IsLoaded() || !BeginOperation())
        return false;
    const bool done = m_sound.ScanSelection();
    EndOperation();
    FinishEdit(done);
    return done;
}

// --- Colours ----------------------------------------------------------------

namespace
{
void Keep(COLORREF& field, COLORREF value)
{
    if (value != SWnd::COLOR_NONE)
        field = value;
}
} // namespace

void SWaveCtrl::SetDefaultColors()
{
    SetCaretColors(GetSysColor(COLOR_BTNTEXT), GetSysColor(COLOR_BTNTEXT), RGB(255, 0, 0));
    SetBackColors(GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_3DFACE));
    SetWaveColors(GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_WINDOWTEXT));
    SetProgressColors(RGB(32, 92, 32), RGB(128, 255, 128), RGB(255, 0, 0));
}

void SWaveCtrl::SetCaretColors(COLORREF line, COLORREF caret, COLORREF playCaret)
{
    Keep(m_lineColor, line);
    Keep(m_caretColor, caret);
    Keep(m_playCaretColor, playCaret);
    m_linePen.Reset(CreatePen(PS_SOLID, 1, m_lineColor));
    m_caretPen.Reset(CreatePen(PS_SOLID, 1, m_caretColor));
    m_playCaretPen.Reset(CreatePen(PS_SOLID, 1, m_playCaretColor));
    Refresh();
}

void SWaveCtrl::SetBackColors(COLORREF enabled, COLORREF disabled)
{
    Keep(m_backColor, enabled);
    Keep(m_backDisabledColor, disabled);
    m_backBrush.Reset(CreateSolidBrush(m_backColor));
    m_backDisabledBrush.Reset(CreateSolidBrush(m_backDisabledColor));
    Refresh();
}

void SWaveCtrl::SetWaveColors(COLORREF enabled, COLORREF disabled)
{
    Keep(m_waveColor, enabled);
    Keep(m_waveDisabledColor, disabled);
    m_wavePen.Reset(CreatePen(PS_SOLID, 1, m_waveColor));
    m_waveDisabledPen.Reset(CreatePen(PS_SOLID, 1, m_waveDisabledColor));
    Refresh();
}

void SWaveCtrl::SetProgressColors(COLORREF back, COLORREF start, COLORREF end)
{
    Keep(m_progressBackColor, back);
    Keep(m_progressStartColor, start);
    Keep(m_progressEndColor, end);
    m_progressBackBrush.Reset(CreateSolidBrush(m_progressBackColor));
}
