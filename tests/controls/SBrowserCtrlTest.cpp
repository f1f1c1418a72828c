#include <gtest/gtest.h>
#include "FakeBrowser.h"
#include "OcxTestSupport.h"
#include "SArrayString.h"
#include "SBrowserCtrl.h"
#include "SDisk.h"
#include "SFile.h"
#include "SMemory.h"

namespace
{
// A source that stops giving bytes halfway, as a failing disk or network would.
class ShortStream : public SFile
{
public:
    int Read(void* data, int n) override
    {
        if (GetPosition() >= GetSize() / 2)
            return 0;
        return SFile::Read(data, n < 8 ? n : 8);
    }
};

SString TempPath(const char* name)
{
    SDisk disk;
    SString path = disk.GetTempFolder();
    if (path.GetLength() > 0 && path.GetAt(path.GetLength() - 1) != '\\')
        path += "\\";
    path += name;
    return path;
}

// The browser's temporary files that were not in the earlier listing: a
// program killed before its control was destroyed leaves its own behind.
SArrayString NewTempFilesOfBrowser(const SArrayString& earlier)
{
    SDisk disk;
    const SString pattern = TempPath("klvbrowser_*");
    SArrayString files, added;
    disk.List(&files, pattern.GetText(), false, false, true, false, true);
    for (int i = 0; i < files.GetCount(); i++)
        if (earlier.Find(files.GetAt(i).GetText()) < 0)
            added.Add(files.GetAt(i).GetText());
    return added;
}

class BrowserTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        existing = NewTempFilesOfBrowser(SArrayString());
        fake = new FakeBrowser;
        registration.reset(new FakeClassRegistration(CLSID_WebBrowser, static_cast<IWebBrowser2*>(fake)));
        ASSERT_TRUE(registration->IsRegistered());
        ASSERT_TRUE(parent.Open());
        browser.reset(new SBrowserCtrl);
        RECT r = {0, 0, 300, 200};
        ASSERT_TRUE(browser->Create(WS_VISIBLE, 0, &r, parent.GetHandle()));
    }
    void TearDown() override
    {
        browser.reset();
        registration.reset();
        EXPECT_EQ(1, fake->GetCount());
        fake->Release();
    }

    FakeBrowser* fake = nullptr;
    std::unique_ptr<FakeClassRegistration> registration;
    RecordingParent parent;
    std::unique_ptr<SBrowserCtrl> browser;
    SArrayString existing;
};

TEST_F(BrowserTest, NavigateRemembersTheAddressAndPassesTheHistoryFlag)
{
    EXPECT_EQ(STYPE_BROWSER, browser->GetType());
    EXPECT_NE(nullptr, fake->clientSite);
    const struct { bool keep; int flags; } cases[] = {{true, 0}, {false, 2}};
    for (const auto& c : cases)
    {
        browser->SetKeepHistory(c.keep);
        ASSERT_TRUE(browser->Navigate("http://127.0.0.1/page.htm", "Page"));
        EXPECT_EQ(L"http://127.0.0.1/page.htm", fake->url);
        EXPECT_EQ(VT_INT, fake->flagsType);
        EXPECT_EQ(c.flags, fake->flags);
        EXPECT_STREQ("Page", browser->GetCurrentUrl().GetText());
    }
    ASSERT_TRUE(browser->Clear());
    EXPECT_EQ(L"about:blank", fake->url);
    EXPECT_EQ(0, browser->GetCurrentUrl().GetLength());
    browser->SetSilent(true);
    EXPECT_EQ(VARIANT_TRUE, fake->silent);
    browser.reset();
    EXPECT_EQ(1, fake->quitCalls);
}

TEST_F(BrowserTest, BeforeNavigateAnswerCancels)
{
    for (LRESULT answer : {0, 1})
    {
        parent.beforeNavigateAnswer = answer;
        VARIANT_BOOL cancel = VARIANT_FALSE;
        ASSERT_TRUE(fake->FireBeforeNavigate(L"http://127.0.0.1/next.htm", &cancel));
        const RecordedMessage* m = parent.Last(SWM_BROWSER_BEFORENAVIGATE);
        ASSERT_NE(nullptr, m);
        EXPECT_EQ("http://127.0.0.1/next.htm", m->text);
        EXPECT_EQ(reinterpret_cast<WPARAM>(browser.get()), m->wParam);
        EXPECT_EQ(answer ? VARIANT_TRUE : VARIANT_FALSE, cancel);
    }
}

TEST_F(BrowserTest, EventsReachTheParentAndMalformedOnesDoNot)
{
    const struct { DISPID id; UINT message; LPARAM lParam; } cases[] = {
        {102, SWM_BROWSER_STATUSTEXT, 0}, {113, SWM_BROWSER_TITLE, 0}, {253, SWM_BROWSER_QUIT, 0},
        {259, SWM_BROWSER_DOCUMENTDONE, 0}, {271, SWM_BROWSER_DOCUMENTDONE, 1}};
    for (const auto& c : cases)
    {
        parent.received.clear();
        EXPECT_EQ(S_OK, fake->Events().Fire(c.id));
        ASSERT_EQ(1u, parent.received.size()) << c.id;
        EXPECT_EQ(c.message, parent.received[0].message);
        EXPECT_EQ(c.lParam, parent.received[0].lParam);
    }
    parent.received.clear();
    fake->FireProgress(-1, 100);
    EXPECT_TRUE(parent.received.empty()) << "the end of a download";
    fake->FireProgress(30, 100);
    const RecordedMessage* m = parent.Last(SWM_BROWSER_PROGRESS);
    ASSERT_NE(nullptr, m);
    EXPECT_EQ(30, m->values[0]);
    EXPECT_EQ(100, m->values[1]);

    // BeforeNavigate2 short of arguments, or with the address not a reference to a BSTR.
    parent.received.clear();
    VARIANT args[7];
    for (VARIANT& v : args)
    {
        VariantInit(&v);
        V_VT(&v) = VT_I4;
    }
    EXPECT_EQ(S_OK, fake->Events().Fire(250, args, 7));
    EXPECT_EQ(S_OK, fake->Events().Fire(250, args, 3));
    EXPECT_EQ(S_OK, fake->Events().Fire(108, args, 1));
    EXPECT_TRUE(parent.received.empty());
}

TEST_F(BrowserTest, ShowHtmlKeepsOnlyTheLastTemporaryFile)
{
    for (int i = 0; i < 2; i++)
    {
        SMemory page;
        page.WriteText("<html><body>page</body></html>");
        page.SeekToStart();
        ASSERT_TRUE(browser->ShowHtml(&page, "Generated", "htm"));
    }
    const SArrayString files = NewTempFilesOfBrowser(existing);
    ASSERT_EQ(1, files.GetCount());
    EXPECT_NE(-1, files.GetAt(0).Find("klvbrowser_2_"));
    SString shown = browser->GetTempFile();
    EXPECT_EQ(std::wstring(shown.GetWide()), fake->url);
    EXPECT_STREQ("Generated", browser->GetCurrentUrl().GetText());
    browser.reset();
    EXPECT_EQ(0, NewTempFilesOfBrowser(existing).GetCount());
}

TEST_F(BrowserTest, ShortCopyFailsAndLeavesNoFile)
{
    ShortStream page;
    ASSERT_TRUE(page.OpenTemporary());
    page.WriteText("<html><body>a page that will not arrive whole</body></html>");
    page.SeekToStart();
    const int navigations = fake->navigateCalls;
    EXPECT_FALSE(browser->ShowHtml(&page, "Broken", "htm"));
    EXPECT_EQ(0, NewTempFilesOfBrowser(existing).GetCount());
    EXPECT_EQ(navigations, fake->navigateCalls);
}

// Wine's own control, its HTML engine disabled: created and attached; a page
// never loads and the navigation ends in an error.
TEST(BrowserOnWine, LocalNavigationEndsWithAnError)
{
    RecordingParent parent;
    ASSERT_TRUE(parent.Open());
    SBrowserCtrl browser;
    RECT r = {0, 0, 300, 200};
    ASSERT_TRUE(browser.Create(WS_VISIBLE, 0, &r, parent.GetHandle()));
    ASSERT_TRUE(browser.HasBrowser());
    SDisk disk;
    const SString path = TempPath("klvwine_page.htm");
    {
        SFile file(path.GetText(), true, true, false);
        file.WriteText("<html><body>local</body></html>");
    }
    ASSERT_TRUE(browser.Navigate(path.GetText(), path.GetText()));
    EXPECT_TRUE(PumpUntil([&] { return parent.Count(SWM_BROWSER_DOCUMENTDONE) > 0; }, 30000));
    const RecordedMessage* done = parent.Last(SWM_BROWSER_DOCUMENTDONE);
    EXPECT_EQ(1, done ? done->lParam : -1);
    disk.DeleteFile(path.GetText());
}
} // namespace
