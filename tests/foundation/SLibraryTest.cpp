#include <gtest/gtest.h>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include "SPlatform.h"
#include <dsound.h>
#include "SArrayString.h"
#include "SGlobals.h"
#include "SGuards.h"
#include "SLibrary.h"
#include "SSystem.h"
#include "SWnd.h"

namespace
{
const char* const INTERNATIONAL = "Control Panel\\International";

// Keeps one value of the user's regional settings and puts it back afterwards.
class SavedRegionalValue
{
public:
    explicit SavedRegionalValue(const char* name) : name(name), existed(false)
    {
        SRegKeyGuard key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, INTERNATIONAL, 0, KEY_READ, key.Out()) != ERROR_SUCCESS)
            return;
        char buffer[256] = {};
        DWORD size = sizeof(buffer), type = 0;
        existed = RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                                   &size) == ERROR_SUCCESS;
        value = buffer;
    }
    ~SavedRegionalValue()
    {
        if (existed)
            Set(value.c_str());
        else
            Delete();
    }
    void Set(const char* text) const
    {
        SRegKeyGuard key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, INTERNATIONAL, 0, nullptr, 0, KEY_WRITE, nullptr,
                            key.Out(), nullptr) == ERROR_SUCCESS)
            RegSetValueExA(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                           static_cast<DWORD>(strlen(text) + 1));
    }
    void Delete() const
    {
        SRegKeyGuard key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, INTERNATIONAL, 0, KEY_WRITE, key.Out()) == ERROR_SUCCESS)
            RegDeleteValueA(key.Get(), name);
    }

private:
    const char* name;
    bool existed;
    std::string value;
};

// Stands in for the sound device: counts the tries and answers as told.
std::atomic<int> soundTries{0};
HRESULT soundAnswer = DSERR_ALLOCATED;

class FakeDirectSound : public IDirectSound8
{
public:
    HWND cooperativeWindow = nullptr;
    DWORD cooperativeLevel = 0;
    LONG references = 1;

    HRESULT WINAPI QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG WINAPI AddRef() override { return ++references; }
    ULONG WINAPI Release() override { return --references; }
    HRESULT WINAPI CreateSoundBuffer(LPCDSBUFFERDESC, LPDIRECTSOUNDBUFFER*, LPUNKNOWN) override { return E_NOTIMPL; }
    HRESULT WINAPI GetCaps(LPDSCAPS) override { return E_NOTIMPL; }
    HRESULT WINAPI DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER, LPDIRECTSOUNDBUFFER*) override { return E_NOTIMPL; }
    HRESULT WINAPI SetCooperativeLevel(HWND window, DWORD level) override
    {
        cooperativeWindow = window;
        cooperativeLevel = level;
        return S_OK;
    }
    HRESULT WINAPI Compact() override { return S_OK; }
    HRESULT WINAPI GetSpeakerConfig(LPDWORD) override { return E_NOTIMPL; }
    HRESULT WINAPI SetSpeakerConfig(DWORD) override { return E_NOTIMPL; }
    HRESULT WINAPI Initialize(LPCGUID) override { return S_OK; }
    HRESULT WINAPI VerifyCertification(LPDWORD) override { return E_NOTIMPL; }
};

FakeDirectSound fakeSound;

HRESULT WINAPI FakeFactory(const GUID*, IDirectSound8** out, IUnknown*)
{
    soundTries++;
    if (soundAnswer == S_OK)
    {
        fakeSound.AddRef();
        *out = &fakeSound;
    }
    return soundAnswer;
}

std::string ModulePath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

// Runs this test program again with the given command line and reads back what
// the child's start-up recorded as the program path and folder.
bool RunChildWithCommandLine(const std::string& commandLine, std::string& path, std::string& folder)
{
    char temp[MAX_PATH] = {}, report[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    GetTempFileNameA(temp, "slb", 0, report);
    SetEnvironmentVariableA("SONAVEL_LIBRARY_REPORT", report);
    std::string line = commandLine +
                       " --gtest_also_run_disabled_tests --gtest_filter=SLibraryChild.DISABLED_ReportProgramPath";
    // The child's own test output is of no interest here.
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    SHandleGuard nul(CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr));
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = nul.Get();
    PROCESS_INFORMATION process = {};
    const std::string module = ModulePath();
    const bool started = CreateProcessA(module.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process) != 0;
    SetEnvironmentVariableA("SONAVEL_LIBRARY_REPORT", nullptr);
    if (!started)
        return false;
    WaitForSingleObject(process.hProcess, 60000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    FILE* file = fopen(report, "rb");
    if (!file)
        return false;
    char buffer[1024] = {};
    fread(buffer, 1, sizeof(buffer) - 1, file);
    fclose(file);
    DeleteFileA(report);
    const std::string text(buffer);
    const size_t newline = text.find('\n');
    if (newline == std::string::npos)
        return false;
    path = text.substr(0, newline);
    folder = text.substr(newline + 1);
    return true;
}

bool ClassExists(const char* name)
{
    WNDCLASSEXA info = {};
    info.cbSize = sizeof(info);
    return GetClassInfoExA(GetInstance(), name, &info) != 0;
}
} // namespace

// Runs only inside the child started by the command-line tests.
TEST(SLibraryChild, DISABLED_ReportProgramPath)
{
    char report[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("SONAVEL_LIBRARY_REPORT", report, MAX_PATH))
        return;
    FILE* file = fopen(report, "wb");
    ASSERT_NE(nullptr, file);
    fprintf(file, "%s\n%s", GetProgramFileName().GetText(), GetProgramFolder().GetText());
    fclose(file);
}

TEST(SLibraryCommandLine, QuotedPathWithBlanksIsTakenWhole)
{
    std::string path, folder;
    ASSERT_TRUE(RunChildWithCommandLine("\"C:\\Program Files\\Sonavel Test\\player.exe\" /HIDE", path, folder));
    EXPECT_EQ("C:\\Program Files\\Sonavel Test\\player.exe", path);
    EXPECT_EQ("C:\\Program Files\\Sonavel Test\\", folder);
}

TEST(SLibraryCommandLine, UnquotedPathEndsAtTheFirstBlank)
{
    std::string path, folder;
    ASSERT_TRUE(RunChildWithCommandLine("C:\\Apps\\Sonavel\\player.exe second argument", path, folder));
    EXPECT_EQ("C:\\Apps\\Sonavel\\player.exe", path);
    EXPECT_EQ("C:\\Apps\\Sonavel\\", folder);
}

TEST(SLibraryCommandLine, OwnProgramPathIsKnown)
{
    EXPECT_EQ(0, lstrcmpiA(ModulePath().c_str(), GetProgramFileName().GetText()));
    const SString folder = GetProgramFolder();
    ASSERT_GT(folder.GetLength(), 0);
    EXPECT_EQ('\\', folder.GetAt(folder.GetLength() - 1));
}

TEST(SLibraryStartup, RecordHoldsWhatStartUpMade)
{
    EXPECT_EQ(GetModuleHandleA(nullptr), GetInstance());
    EXPECT_EQ(RegisterWindowMessageA("commdlg_FindReplace"), GetFindReplaceMessage());
    EXPECT_EQ(SSystem().GetVersionCode(), GetWindowsVersion());
    EXPECT_TRUE(ClassExists("CLASS_SWND"));
    EXPECT_TRUE(ClassExists("CLASS_SWND2"));
    EXPECT_NE(nullptr, GetModuleHandleA("riched20.dll"));
    EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT), GetDefaultGuiFont());
    ASSERT_NE(nullptr, GetSmallGuiFont());
    LOGFONTA small = {};
    ASSERT_TRUE(GetObjectA(GetSmallGuiFont(), sizeof(small), &small));
    EXPECT_EQ(0, small.lfWeight);
}

TEST(SLibraryStartup, LibraryWindowIsAHiddenPopupOfTheOwnClass)
{
    HWND window = GetLibraryWindow();
    ASSERT_NE(nullptr, window);
    char name[32] = {};
    GetClassNameA(window, name, sizeof(name));
    EXPECT_STREQ("CLASS_SWND", name);
    EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_POPUP);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_NE(nullptr, SWnd::FromHandle(window));
}

TEST(SLibraryStartup, ShutDownReleasesEverythingAndStartUpRestoresIt)
{
    HINSTANCE instance = GetInstance();
    HWND window = GetLibraryWindow();
    HFONT small = GetSmallGuiFont();
    ShutdownLibrary(instance, false);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, GetLibraryWindow());
    EXPECT_FALSE(ClassExists("CLASS_SWND"));
    EXPECT_FALSE(ClassExists("CLASS_SWND2"));
    EXPECT_EQ(nullptr, GetSmallGuiFont());
    EXPECT_EQ(0u, GetObjectType(small));
    EXPECT_EQ(nullptr, GetLibraryCursor(0));
    EXPECT_EQ(0, GetProgramFileName().GetLength());
    EXPECT_EQ(0, GetProgramFolder().GetLength());
    {
        SLockGuard lock(GetWindowRegistryLock());
        EXPECT_EQ(0, GetWindowRegistry().GetCount());
    }
    InitLibrary(instance, false);
    EXPECT_NE(nullptr, GetLibraryWindow());
    EXPECT_TRUE(ClassExists("CLASS_SWND"));
    EXPECT_NE(nullptr, GetLibraryCursor(0));
    EXPECT_GT(GetProgramFileName().GetLength(), 0);
}

TEST(SLibraryStartup, GdiplusAndWinsockStartAndStop)
{
    EXPECT_EQ(0, StartupGdiplus());
    ShutdownGdiplus();
    ShutdownGdiplus();  // a second stop does nothing
    EXPECT_TRUE(StartupWinsock());
    ShutdownWinsock();
}

TEST(SLibraryRegional, ValuesComeFromTheUsersSettings)
{
    SavedRegionalValue decimal("sDecimal"), thousand("sThousand"), digits("iDigits");
    decimal.Set(",");
    thousand.Set("'");
    digits.Set("3");
    LoadLanguageRecords();
    const SLanguageRecord* record = GetLanguageRecord();
    EXPECT_EQ(',', record->decimalSeparator);
    EXPECT_EQ('\'', record->thousandsSeparator);
    EXPECT_EQ(3u, record->digits);
    EXPECT_EQ(0u, record->identity);
}

TEST(SLibraryRegional, EmptyOrMissingValuesGiveTheDefaults)
{
    {
        SavedRegionalValue decimal("sDecimal"), thousand("sThousand"), digits("iDigits");
        decimal.Set("");
        thousand.Set("");
        digits.Delete();
        LoadLanguageRecords();
        const SLanguageRecord* record = GetLanguageRecord();
        EXPECT_EQ('.', record->decimalSeparator);
        EXPECT_EQ(',', record->thousandsSeparator);
        EXPECT_EQ(0u, record->digits);
    }
    LoadLanguageRecords();
}

TEST(SLibraryRegional, OtherRecordsAreFixedEnglishAndFrench)
{
    LoadLanguageRecords();
    const SLanguageRecord* records = GetLanguageRecords();
    EXPECT_EQ(1u, records[1].identity);
    EXPECT_EQ(0u, records[1].secondWord);
    EXPECT_EQ(2u, records[1].digits);
    EXPECT_EQ('.', records[1].decimalSeparator);
    EXPECT_EQ(',', records[1].thousandsSeparator);
    EXPECT_STREQ("Saturday", records[1].weekdayNames[6]);
    EXPECT_EQ(2u, records[2].identity);
    EXPECT_EQ(1u, records[2].secondWord);
    EXPECT_EQ(',', records[2].decimalSeparator);
    EXPECT_EQ(' ', records[2].thousandsSeparator);
    EXPECT_STREQ("Dimanche", records[2].weekdayNames[0]);
    EXPECT_STREQ("F\xE9vrier", records[2].monthNames[1]);
    EXPECT_STREQ("D\xE9" "cembre", records[2].monthNames[11]);
    EXPECT_STREQ("Et\xE9", records[2].seasonNames[1]);
    EXPECT_STREQ("Winter", records[0].seasonNames[3]);
    EXPECT_STREQ("January", records[0].monthNames[0]);
}

TEST(SLibraryRegional, SplitNamesCutsWhatDoesNotFitItsSlot)
{
    char slots[3][8];
    memset(slots, 'x', sizeof(slots));
    SplitNamesIntoSlots(&slots[0][0], "one,muchtoolongname,three", 8);
    EXPECT_STREQ("one", slots[0]);
    EXPECT_STREQ("muchtoo", slots[1]);
    EXPECT_STREQ("three", slots[2]);
}

TEST(SLibraryDirectSound, MissingDeviceUnderThisSystemLeavesNoObject)
{
    // Here DirectSound answers at once that there is no device.
    CreateDirectSound(GetLibraryWindow(), DSSCL_PRIORITY);
    EXPECT_EQ(nullptr, GetDirectSound());
    ReleaseDirectSound();
}

TEST(SLibraryDirectSound, BusyDeviceIsTriedTenTimes)
{
    soundTries = 0;
    soundAnswer = DSERR_ALLOCATED;
    CreateDirectSoundWith(FakeFactory, GetLibraryWindow(), DSSCL_PRIORITY);
    EXPECT_EQ(10, soundTries);
    EXPECT_EQ(nullptr, GetDirectSound());
}

TEST(SLibraryDirectSound, OtherFailureEndsTheTriesAtOnce)
{
    soundTries = 0;
    soundAnswer = E_INVALIDARG;
    CreateDirectSoundWith(FakeFactory, GetLibraryWindow(), DSSCL_PRIORITY);
    EXPECT_EQ(1, soundTries);
    EXPECT_EQ(nullptr, GetDirectSound());
}

TEST(SLibraryDirectSound, CreatedObjectGetsTheCooperativeLevelAndIsReleased)
{
    soundTries = 0;
    soundAnswer = S_OK;
    fakeSound.references = 1;
    CreateDirectSoundWith(FakeFactory, GetLibraryWindow(), DSSCL_PRIORITY);
    EXPECT_EQ(1, soundTries);
    EXPECT_EQ(static_cast<IDirectSound8*>(&fakeSound), GetDirectSound());
    EXPECT_EQ(GetLibraryWindow(), fakeSound.cooperativeWindow);
    EXPECT_EQ(static_cast<DWORD>(DSSCL_PRIORITY), fakeSound.cooperativeLevel);
    EXPECT_EQ(2, fakeSound.references);
    ReleaseDirectSound();
    EXPECT_EQ(nullptr, GetDirectSound());
    EXPECT_EQ(1, fakeSound.references);
}

namespace
{
std::string JoinArguments(const char* line)
{
    SArrayString arguments;
    SplitCommandLine(line, arguments);
    std::string joined;
    for (int i = 0; i < arguments.GetCount(); i++)
        joined += std::string(i ? "|" : "") + arguments.GetAt(i).GetText();
    return joined;
}
} // namespace

TEST(SLibraryArguments, BlanksSeparateAndQuotesGroup)
{
    EXPECT_EQ("C:\\Program Files\\player.exe|/HIDE|two words|x",
              JoinArguments("\"C:\\Program Files\\player.exe\" /HIDE \"two words\"  x "));
    EXPECT_EQ("player.exe|/hide", JoinArguments("  player.exe\t/hide"));
    EXPECT_EQ("", JoinArguments("   "));
}

TEST(SLibraryArguments, BackslashesEscapeOnlyBeforeAQuote)
{
    // Argument 0 keeps its backslashes; later ones follow the quote rules.
    EXPECT_EQ("C:\\a\\|C:\\b\\c", JoinArguments("C:\\a\\ C:\\b\\c"));
    EXPECT_EQ("p|a\"b", JoinArguments("p a\\\"b"));
    EXPECT_EQ("p|a\\b c", JoinArguments("p \"a\\\\\"b\" c\""));
    EXPECT_EQ("p|ab|", JoinArguments("p a\"\"b \"\""));
}

TEST(SLibraryArguments, StartUpSplitTheProgramsOwnCommandLine)
{
    const SArrayString& arguments = GetCommandLineArguments();
    ASSERT_EQ(__argc, arguments.GetCount());
    for (int i = 1; i < __argc; i++)
        EXPECT_STREQ(__argv[i], arguments.GetAt(i).GetText());
}

TEST(SLibraryGlobals, UpdaterCommandLineIsTheLibrarysObject)
{
    UpdaterCommandLine = "\"C:\\Sonavel\\player.exe\" 2";
    EXPECT_STREQ("\"C:\\Sonavel\\player.exe\" 2", GetUpdaterCommandLine().GetText());
    UpdaterCommandLine = "";
    EXPECT_EQ(0, GetUpdaterCommandLine().GetLength());
}
