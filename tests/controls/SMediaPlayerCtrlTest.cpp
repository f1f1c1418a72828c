#include <gtest/gtest.h>
#include "FakeMediaPlayer.h"
#include "OcxTestSupport.h"
#include "SMediaPlayerCtrl.h"

namespace
{
class CountingPlayer : public SMediaPlayerCtrl
{
public:
    void OnBuffering(bool finished) override { buffering.push_back(finished); }
    void OnMediaEnded() override { ended++; }
    void OnRestarted() override { restarted++; }
    void OnTimer() override { timer++; }
    std::vector<bool> buffering;
    int ended = 0, restarted = 0, timer = 0;
};

class PlayerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fake = new FakeMediaPlayer;
        registration.reset(new FakeClassRegistration(CLSID_WindowsMediaPlayer, static_cast<IWMPPlayer4*>(fake)));
        ASSERT_TRUE(registration->IsRegistered());
        ASSERT_TRUE(parent.Open());
    }
    void TearDown() override
    {
        player.reset();
        registration.reset();
        EXPECT_EQ(1, fake->GetCount()) << "the host let go of everything";
        fake->Release();
    }
    bool CreatePlayer(int width = 200, int height = 100)
    {
        player.reset(new CountingPlayer);
        RECT r = {0, 0, width, height};
        return player->CreateChildUntitled(WS_CHILD | WS_VISIBLE, 0, &r, parent.GetHandle());
    }

    FakeMediaPlayer* fake = nullptr;
    std::unique_ptr<FakeClassRegistration> registration;
    RecordingParent parent;
    std::unique_ptr<CountingPlayer> player;
};

TEST_F(PlayerTest, CreationAttachesConnectsAndConfigures)
{
    ASSERT_TRUE(CreatePlayer());
    EXPECT_TRUE(player->HasPlayer());
    EXPECT_EQ(STYPE_MEDIAPLAYER, player->GetType());
    EXPECT_NE(nullptr, fake->clientSite) << "attached by AtlAxAttachControl";
    EXPECT_NE(nullptr, fake->Events().GetSink());
    EXPECT_EQ(VARIANT_FALSE, fake->contextMenu);
    EXPECT_EQ(L"none", fake->uiMode);
    EXPECT_EQ(100, fake->volume);
    player->ShowControls(true);
    EXPECT_EQ(L"full", fake->uiMode);
}

TEST_F(PlayerTest, MissingPartsRefuseTheWindowAndHoldNothing)
{
    const struct { bool controls3, container, point; } cases[] = {
        {false, true, true}, {true, false, true}, {true, true, false}};
    for (const auto& c : cases)
    {
        fake->hasControls3 = c.controls3;
        fake->hasContainer = c.container;
        fake->hasPoint = c.point;
        EXPECT_FALSE(CreatePlayer());
        EXPECT_EQ(nullptr, player->GetHandle());
        EXPECT_FALSE(player->HasPlayer());
        EXPECT_EQ(1, fake->GetCount());
        EXPECT_EQ(nullptr, fake->Events().GetSink());
    }
}

TEST_F(PlayerTest, OpenWithoutStartHoldsTheMediaAtZeroWithTheVolumeRestored)
{
    ASSERT_TRUE(CreatePlayer());
    ASSERT_TRUE(player->SetVolume(70));
    fake->position = 5;
    fake->openingPolls = 3;
    ASSERT_TRUE(player->Open("C:\\media\\song.mp3", false));
    EXPECT_EQ(L"C:\\media\\song.mp3", fake->url);
    EXPECT_FALSE(fake->autoStart);
    EXPECT_EQ(0.0, fake->position);
    EXPECT_EQ(70, fake->volume);
    EXPECT_EQ(FakeMediaPlayer::STOPPED, fake->playState);
    EXPECT_TRUE(player->HasMedia());
    EXPECT_FALSE(player->IsPlaying());
    EXPECT_EQ(60000u, player->GetDuration());
    EXPECT_STREQ("C:\\media\\song.mp3", player->GetPath().GetPath().GetText());
}

TEST_F(PlayerTest, FailedOpensCloseAndRestoreTheVolume)
{
    ASSERT_TRUE(CreatePlayer());
    player->SetOpenTimeLimit(300);
    const struct { bool putUrlFails; WMPOpenState state; bool start; } cases[] = {
        {false, wmposPlaylistOpenNoMedia, false}, {true, wmposMediaOpen, false},
        {false, wmposMediaOpening, false}, {false, wmposMediaOpening, true}};
    for (const auto& c : cases)
    {
        player->SetVolume(40);
        fake->putUrlFails = c.putUrlFails;
        fake->finalState = c.state;
        const DWORD started = GetTickCount();
        EXPECT_FALSE(player->Open("C:\\media\\broken.mp3", c.start));
        EXPECT_LT(GetTickCount() - started, 15000u) << "the wait has its limit";
        EXPECT_FALSE(player->HasMedia());
        EXPECT_FALSE(player->IsPlaying());
        EXPECT_EQ(40, fake->volume);
        EXPECT_NE(FakeMediaPlayer::PLAYING, fake->playState) << "nothing starts once given up";
    }
}

TEST_F(PlayerTest, WaitPostsQuitAgainDeliversPostedMessagesAndDropsInput)
{
    ASSERT_TRUE(CreatePlayer());
    parent.extra = {WM_APP + 77, WM_LBUTTONDOWN};
    fake->openingPolls = 20;
    parent.PostMessage(WM_APP + 77, 5, 6);
    parent.PostMessage(WM_LBUTTONDOWN, 0, 0);
    ASSERT_TRUE(player->Open("C:\\media\\song.mp3", true));
    EXPECT_EQ(1, parent.Count(WM_APP + 77));
    EXPECT_EQ(0, parent.Count(WM_LBUTTONDOWN));

    fake->finalState = wmposMediaOpening;
    player->SetOpenTimeLimit(60000);
    PostQuitMessage(7);
    const DWORD started = GetTickCount();
    EXPECT_FALSE(player->Open("C:\\media\\song.mp3", false));
    EXPECT_LT(GetTickCount() - started, 30000u);
    MSG msg = {};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
}

TEST_F(PlayerTest, PauseSeekAndVolumeKeepToTheirBounds)
{
    ASSERT_TRUE(CreatePlayer());
    ASSERT_TRUE(player->Open("C:\\media\\song.mp3", false));
    EXPECT_FALSE(player->TogglePause()) << "stopped";
    ASSERT_TRUE(player->Play());
    EXPECT_TRUE(player->TogglePause());
    EXPECT_TRUE(player->IsPaused());
    EXPECT_EQ(FakeMediaPlayer::PAUSED, fake->playState);
    EXPECT_TRUE(player->TogglePause());
    EXPECT_TRUE(player->IsPlaying());
    EXPECT_TRUE(player->Seek(999999));
    EXPECT_EQ(60.0, fake->position);
    const int volumes[][2] = {{-5, 0}, {250, 100}, {35, 35}};
    for (const auto& v : volumes)
    {
        EXPECT_TRUE(player->SetVolume(v[0]));
        EXPECT_EQ(v[1], fake->volume);
    }
    player->Close();
    EXPECT_FALSE(player->Play());
    EXPECT_FALSE(player->Seek(0));
    EXPECT_EQ(0u, player->GetPosition());
}

TEST_F(PlayerTest, EndOfMediaRestartsWithLoopOrEnds)
{
    ASSERT_TRUE(CreatePlayer());
    for (bool loop : {true, false})
    {
        parent.received.clear();
        player->ended = player->restarted = 0;
        ASSERT_TRUE(player->Open("C:\\media\\song.mp3", true));
        player->SetLoop(loop);
        ASSERT_EQ(S_OK, fake->FirePlayState(wmppsMediaEnded));
        ASSERT_TRUE(PumpUntil([&] { return !parent.received.empty(); }));
        PumpPending();
        EXPECT_EQ(loop ? 1 : 0, parent.Count(SWM_PLAYER_RESTARTED));
        EXPECT_EQ(loop ? 0 : 1, parent.Count(SWM_PLAYER_ENDED));
        EXPECT_EQ(loop ? 1 : 0, player->restarted);
        EXPECT_EQ(loop ? 0 : 1, player->ended);
        EXPECT_EQ(loop, player->IsPlaying());
        EXPECT_EQ(reinterpret_cast<WPARAM>(player.get()), parent.received[0].wParam);
    }
}

TEST_F(PlayerTest, BufferingOnlyWhilePlayingAndTimerOnlyForItsId)
{
    ASSERT_TRUE(CreatePlayer());
    ASSERT_TRUE(player->Open("C:\\media\\song.mp3", false));
    fake->FireBuffering(true);
    PumpPending();
    EXPECT_EQ(0, parent.Count(SWM_PLAYER_BUFFERINGCHANGED));
    ASSERT_TRUE(player->Play());
    fake->FireBuffering(false);
    ASSERT_TRUE(PumpUntil([&] { return parent.Count(SWM_PLAYER_BUFFERINGCHANGED) == 1; }));
    EXPECT_EQ(1, parent.Last(SWM_PLAYER_BUFFERINGCHANGED)->lParam);
    ASSERT_EQ(1u, player->buffering.size());
    EXPECT_TRUE(player->buffering[0]);

    player->Stop();
    const int before = player->timer;
    player->SendMessage(WM_TIMER, SMediaPlayerCtrl::TIMER_ID + 1, 0);
    player->SendMessage(WM_TIMER, SMediaPlayerCtrl::TIMER_ID, 0);
    EXPECT_EQ(before, player->timer) << "stopped, and another id";
    ASSERT_TRUE(player->Play());
    ASSERT_TRUE(PumpUntil([&] { return player->timer > before; }));
}

TEST_F(PlayerTest, MalformedEventsAreIgnored)
{
    ASSERT_TRUE(CreatePlayer());
    ASSERT_TRUE(player->Open("C:\\media\\song.mp3", true));
    VARIANT args[2];
    VariantInit(&args[0]);
    VariantInit(&args[1]);
    V_VT(&args[0]) = VT_I4;
    V_I4(&args[0]) = wmppsMediaEnded;
    V_VT(&args[1]) = VT_I4;
    V_I4(&args[1]) = wmppsMediaEnded;
    VARIANT text;
    V_VT(&text) = VT_BSTR;
    V_BSTR(&text) = nullptr;
    VARIANT number;
    V_VT(&number) = VT_I4;
    V_I4(&number) = 0;
    const struct { DISPID id; VARIANT* args; UINT count; } cases[] = {
        {5101, nullptr, 0}, {5101, args, 2}, {5101, &text, 1}, {5101, nullptr, 1}, {5402, &number, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(S_OK, fake->Events().Fire(c.id, c.args, c.count));
    PumpPending();
    EXPECT_TRUE(parent.received.empty());
    EXPECT_TRUE(player->IsPlaying());
}

TEST_F(PlayerTest, MouseIsRelayedWithTheSignedPoint)
{
    ASSERT_TRUE(CreatePlayer());
    player->SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(-3), 7));
    const RecordedMessage* m = parent.Last(SWM_PLAYER_MOUSE);
    ASSERT_NE(nullptr, m);
    EXPECT_EQ(20, m->values[0]);
    EXPECT_EQ(-3 * 1000 + 7, m->values[1]);
}

TEST_F(PlayerTest, VideoIsFittedAndLeftOutOfTheBackground)
{
    ASSERT_TRUE(CreatePlayer(200, 100));
    fake->videoWidth = 320;
    fake->videoHeight = 240;
    ASSERT_TRUE(player->Open("C:\\media\\film.avi", false));
    ASSERT_TRUE(player->HasVideo());
    const RECT fitted = player->FitVideoRect();
    EXPECT_EQ(100, fitted.bottom - fitted.top);
    EXPECT_EQ(133, fitted.right - fitted.left);
    HDC dc = player->GetDC();
    HDC memory = CreateCompatibleDC(dc);
    player->PaintBackground(dc, memory);
    EXPECT_FALSE(PtVisible(dc, 100, 50));
    EXPECT_TRUE(PtVisible(dc, 5, 50));
    DeleteDC(memory);
    player->ReleaseDC(dc);
    player->Close();
    const RECT none = player->FitVideoRect();
    EXPECT_TRUE(IsRectEmpty(&none));
}

TEST_F(PlayerTest, PrintClientDrawsAFilmStrip)
{
    for (int height : {100, 5})
    {
        ASSERT_TRUE(CreatePlayer(60, height));
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 60, height);
        HGDIOBJ old = SelectObject(memory, bitmap);
        player->SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
        const COLORREF grey = RGB(192, 192, 192), black = RGB(0, 0, 0);
        if (height == 100)
        {
            EXPECT_EQ(grey, GetPixel(memory, 2, 7));      // a top hole (s = 10)
            EXPECT_EQ(black, GetPixel(memory, 15, 7));    // between holes
            EXPECT_EQ(grey, GetPixel(memory, 22, 92));    // a bottom hole
            EXPECT_EQ(black, GetPixel(memory, 2, 50));
        }
        else
            EXPECT_EQ(black, GetPixel(memory, 2, 2));     // too low for holes
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
    }
}

TEST_F(PlayerTest, SinkAnswersItsInterfacesAndCountsSafely)
{
    SMediaPlayerCtrl::_SEvents sink;
    EXPECT_EQ(E_INVALIDARG, sink.Invoke(5101, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(0u, sink.Release());
    EXPECT_EQ(0, sink.GetReferenceCount());
    void* out = &sink;
    EXPECT_EQ(E_NOINTERFACE, sink.QueryInterface(IID_IWMPPlayer4, &out));
    EXPECT_EQ(nullptr, out);
    for (const IID* iid : {&IID_IUnknown, &IID_IDispatch, &IID__WMPOCXEvents})
    {
        ASSERT_EQ(S_OK, sink.QueryInterface(*iid, &out));
        EXPECT_EQ(static_cast<IDispatch*>(&sink), out);
    }
    EXPECT_EQ(3, sink.GetReferenceCount());
}

TEST_F(PlayerTest, SinkTheControlStillHoldsOutlivesItsHostHarmlessly)
{
    ASSERT_TRUE(CreatePlayer());
    ASSERT_TRUE(player->Open("C:\\media\\song.mp3", true));
    fake->Events().keepsSinkOnUnadvise = true;
    player.reset();
    EXPECT_EQ(S_OK, fake->FirePlayState(wmppsMediaEnded));
    PumpPending();
    EXPECT_TRUE(parent.received.empty());
}

// Wine's own control answers IWMPPlayer4 but not IWMPControls3.
TEST(PlayerOnWine, CreationIsRefusedCleanly)
{
    RecordingParent parent;
    ASSERT_TRUE(parent.Open());
    SMediaPlayerCtrl player;
    RECT r = {0, 0, 200, 100};
    EXPECT_FALSE(player.CreateChildUntitled(WS_CHILD | WS_VISIBLE, 0, &r, parent.GetHandle()));
    EXPECT_EQ(nullptr, player.GetHandle());
    EXPECT_FALSE(player.HasPlayer());
    EXPECT_FALSE(player.Open("C:\\media\\song.mp3", true));
}
} // namespace
