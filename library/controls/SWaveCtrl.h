// The sound editor control: a sound drawn as one waveform band per channel, a
// cursor or a selection of frames in one channel or all, cut, copy and paste
// through a clip file shared by every editor of the process, silence, amplify,
// playback with a moving play cursor, and a progress bar during long edits.
#pragma once
#include "SPlatform.h"
#include <cstdint>
#include <memory>
#include "SArray.h"
#include "SFile.h"
#include "SGuards.h"
#include "SKeyboard.h"
#include "SMenu.h"
#include "SWave.h"
#include "SWnd.h"

class SLevelCtrl;

class SWaveCtrl : public SWnd
{
public:
    enum MenuCommand
    {
        MENU_CUT = 1000,
        MENU_COPY = 1001,
        MENU_PASTE = 1002,
        MENU_PLAY = 1003,
        MENU_PAUSE = 1004,
        MENU_STOP = 1005,
        MENU_DELETE = 1006,
        MENU_REPEAT = 1007
    };
    static const int NEW_SAMPLE_RATE = 44100;
    static const int PROGRESS_HEIGHT = 16;
    static const int PROGRESS_MINIMUM_WIDTH = 40;
    static const int WHEEL_STEP_HZ = 500;
    static const int POINTS_PER_COLUMN = 10;
    static const uint32_t MAXIMUM_DRAW_BYTES = 4 << 20;

    // The editor's sound: its play hooks redraw the editor.
    class _SWave : public SWave
    {
    public:
        explicit _SWave(SWaveCtrl* owner) : m_owner(owner) {}
        void OnPlayTick() override;
        void OnPlayStopped() override;

    private:
        SWaveCtrl* m_owner;
    };

    SWaveCtrl();
    ~SWaveCtrl() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCut() override { CutSelection(); }
    void OnCopy() override { CopySelection(); }
    void OnPaste() override { PasteClip(); }
    void OnDelete() override { DeleteSelection(); }
    void OnSelectAll() override;

    // Sound (SWaveCtrl.cpp).
    bool LoadWave(SVirtualFile* stream);
    bool NewWave(int channels);
    void CloseSound();
    SWave& GetSound() { return m_sound; }
    void SetLevelCtrl(SLevelCtrl* meter) { m_sound.SetLevelCtrl(meter); }
    void SetPopupMenu(bool on) { m_menuEnabled = on; }
    bool IsPopupMenu() const { return m_menuEnabled; }
    const SMenu& GetContextMenu() const { return m_menu; }
    void SetRepeat(bool on);
    bool IsRepeat() const { return m_repeat; }
    bool Play();
    void Stop();

    // View state.
    void SetSelection(uint32_t start, uint32_t length);
    uint32_t GetSelectionStart() const { return m_selectionStart; }
    uint32_t GetSelectionLength() const { return m_selectionLength; }
    void SetChannel(int channel, bool redraw);
    int GetChannel() const { return m_channel; }
    void ToggleMute(int channel, bool redraw);
    const SArray<int>& GetMutedChannels() const { return m_muted; }

    // Edits; false when there is nothing to do or the sound routine failed or was cancelled.
    bool CutSelection();
    bool CopySelection();
    bool PasteClip();
    bool DeleteSelection();
    bool SilenceSelection();
    bool Amplify(double factor);
    bool ScanSelection();
    // The clip every editor of the process shares (null when none is open). A cut
    // or copy replaces it with a new stream: the pointer holds until then.
    static SVirtualFile* GetClip();

    // 0xFF000000 leaves a colour unchanged; each setter remakes its pens or brushes.
    void SetCaretColors(COLORREF line, COLORREF caret, COLORREF playCaret);
    void SetBackColors(COLORREF enabled, COLORREF disabled);
    void SetWaveColors(COLORREF enabled, COLORREF disabled);
    void SetProgressColors(COLORREF back, COLORREF start, COLORREF end);

    // Frames and pixels: -1 for a frame beyond the total; a total or width of 0 maps to x 0.
    static int FrameToX(uint32_t frame, uint32_t total, int width);
    static uint32_t XToFrame(int x, uint32_t total, int width);
    // Frames per pixel column, at least one.
    static uint32_t ComputeKeyStep(uint32_t total, int width);
    // The frames of one waveform read at once: the multiple of the step just above 100,000.
    static uint32_t ComputeDrawChunk(uint32_t step);
    // Frames between two points of a band: about ten points per column by the
    // rate, and never more than POINTS_PER_COLUMN per column.
    static uint32_t ComputeDrawStep(uint32_t total, int rate, double seconds, int width);

    // Painting (SWaveCtrlPaint.cpp).
    void BuildWaveform();
    void Paint(HDC dc);
    // Input (SWaveCtrlInput.cpp).
    void OnKeyDown(int key, bool shift, bool ctrl);

protected:
    bool BeginOperation();
    void EndOperation();
    static bool OnProgress(int percent, LPARAM user);
    virtual void DrawProgress(int percent);
    // The stream a cut or copy writes into, to become the clip once complete.
    virtual std::unique_ptr<SVirtualFile> NewClipStream() const;

private:
    void ResetView();
    void SetDefaultColors();
    void BuildMenu();
    void Refresh();
    void FinishEdit(bool done);
    bool IsCancellingEscape(LPARAM flags) const;
    bool TryBuildWaveform();
    void ClampSelection();
    int GetFrameX(uint32_t frame) const;
    void GetSelectionSpan(int& top, int& bottom) const;
    void DrawChannel(HDC dc, int channel, const RECT& band);
    void FillBands(HDC dc, int width, int height);
    HBITMAP TakeSnapshot();
    RECT GetProgressRect() const;
    void MoveLeft(bool shift, uint32_t step);
    void MoveRight(bool shift, uint32_t step);
    void OnNumberKey(int number, bool ctrl);
    void SelectByMouse(int x);
    void OnContextMenu(int x, int y);
    void OnMenuCommand(int id);
    void OnWheel(int delta);

    SKeyboard m_keyboard;
    SMenu m_menu;
    SGdiObjectGuard<HBITMAP> m_waveform;
    SGdiObjectGuard<HBITMAP> m_snapshot;
    COLORREF m_backColor, m_backDisabledColor;
    COLORREF m_progressBackColor, m_progressStartColor, m_progressEndColor;
    COLORREF m_lineColor, m_caretColor, m_playCaretColor;
    COLORREF m_waveColor, m_waveDisabledColor;
    SGdiObjectGuard<HBRUSH> m_backBrush, m_backDisabledBrush, m_progressBackBrush;
    SGdiObjectGuard<HPEN> m_linePen, m_caretPen, m_playCaretPen;
    SGdiObjectGuard<HPEN> m_wavePen, m_waveDisabledPen;
    bool m_menuEnabled;
    bool m_repeat;
    _SWave m_sound;
    int m_channel;
    uint32_t m_selectionStart, m_selectionLength;
    uint32_t m_progressFrames;
    // The Esc that cancelled an edit, while its key messages are still to come.
    bool m_escapeCancelled;
    DWORD m_escapeTime;
    SArray<int> m_muted;
};
