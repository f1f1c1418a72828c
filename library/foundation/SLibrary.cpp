#include "SLibrary.h"
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <gdiplus.h>
#include <mmsystem.h>
#include <dsound.h>
// Core layer: start-up registers the window classes, cursors and drawing objects.
#include "SCursor.h"
#include "SArrayString.h"
#include "SDll.h"
#include "SDrawing.h"
#include "SGlobals.h"
#include "SGuards.h"
#include "SKeyboard.h"
#include "SPath.h"
#include "SRegistry.h"
#include "SStringParser.h"
#include "SSystem.h"
#include "SWnd.h"

namespace
{
// The shared record: written by start-up and shut-down on the main thread,
// read by everyone.
struct LibraryRecord
{
    int windowsVersion;
    int languageIndex;
    HINSTANCE instance;
    UINT findReplaceMessage;
    ULONG_PTR gdiplusToken;
    IDirectSound8* directSound;
    SWnd* libraryWindow;
    HFONT messageFont;
    HFONT menuFont;
    HFONT statusFont;
    HFONT captionFont;
    HFONT smallCaptionFont;
    HFONT smallGuiFont;
};

LibraryRecord record;
SArrayString commandLineArguments;

const char* const ENGLISH_WEEKDAYS = "Sunday,Monday,Tuesday,Wednesday,Thursday,Friday,Saturday";
const char* const ENGLISH_MONTHS =
    "January,February,March,April,May,June,July,August,September,October,November,December";
const char* const ENGLISH_SEASONS = "Spring,Summer,Autumn,Winter";
const char* const FRENCH_WEEKDAYS = "Dimanche,Lundi,Mardi,Mercredi,Jeudi,Vendredi,Samedi";
// The accented letters are Latin-1.
const char* const FRENCH_MONTHS = "Janvier,F\xE9vrier,Mars,Avril,Mai,Juin,Juillet,Ao\xFBt,"
                                  "Septembre,Octobre,Novembre,D\xE9"
                                  "cembre";
const char* const FRENCH_SEASONS = "Printemps,Et\xE9,Automne,Hiver";

// The size of the metrics record before Vista added the padded border: every
// Windows version accepts it.
const UINT NONCLIENT_METRICS_SIZE = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
static_assert(offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth) == 340, "metrics size");

void FillRecord(SLanguageRecord& r, uint32_t identity, uint32_t second, uint32_t digits,
                char decimal, char thousands, bool french)
{
    r.identity = identity;
    r.secondWord = second;
    r.digits = digits;
    r.decimalSeparator = decimal;
    r.thousandsSeparator = thousands;
    std::memset(r.weekdayNames, 0, sizeof(r.weekdayNames));
    std::memset(r.monthNames, 0, sizeof(r.monthNames));
    std::memset(r.seasonNames, 0, sizeof(r.seasonNames));
    SplitNamesIntoSlots(&r.weekdayNames[0][0], french ? FRENCH_WEEKDAYS : ENGLISH_WEEKDAYS, 16);
    SplitNamesIntoSlots(&r.monthNames[0][0], french ? FRENCH_MONTHS : ENGLISH_MONTHS, 16);
    SplitNamesIntoSlots(&r.seasonNames[0][0], french ? FRENCH_SEASONS : ENGLISH_SEASONS, 16);
}

char FirstCharOr(const SString& text, char fallback)
{
    return text.GetLength() > 0 ? text.GetAt(0) : fallback;
}

// The first token of the command line: the quoted text when it starts with a
// quote, else the text up to the first blank.
SString FirstCommandLineToken(const SString& line)
{
    if (line.GetLength() > 0 && line.GetAt(0) == '"')
    {
        const int end = line.FindChar('"', 1);
        return end < 0 ? line.Mid(1) : line.Mid(1, end - 1);
    }
    const int blank = line.FindChar(' ');
    return blank < 0 ? line : line.Left(blank);
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Argument 0: the quoted text when it starts with a quote, else up to a blank.
const char* TakeProgramArgument(const char* p, SString& argument)
{
    const char end = *p == '"' ? '"' : 0;
    if (end)
        p++;
    const char* start = p;
    while (*p && (end ? *p != end : !IsBlank(*p)))
        p++;
    argument = SString(start).Left(static_cast<int>(p - start));
    return *p == '"' ? p + 1 : p;
}

// One later argument, with the quote and backslash rules.
const char* TakeArgument(const char* p, SString& argument)
{
    argument = "";
    bool quoted = false;
    while (*p && (quoted || !IsBlank(*p)))
    {
        int backslashes = 0;
        while (p[backslashes] == '\\')
            backslashes++;
        if (p[backslashes] == '"')
        {
            for (int i = 0; i < backslashes / 2; i++)
                argument += "\\";
            if (backslashes % 2)
                argument += "\"";
            else
                quoted = !quoted;
            p += backslashes + 1;
        }
        else if (backslashes > 0)
        {
            for (int i = 0; i < backslashes; i++)
                argument += "\\";
            p += backslashes;
        }
        else
        {
            argument += *p;
            p++;
        }
    }
    return p;
}

void ReadProgramPath()
{
    SplitCommandLine(GetCommandLineA(), commandLineArguments);

    SString line(GetCommandLineA());
    line.Trim();
    if (line.GetLength() == 0)
    {
        GetProgramPathText() = "";
        GetProgramFolderText() = "";
        return;
    }
    const SPath path(FirstCommandLineToken(line).GetText());
    GetProgramFolderText() = path.GetFullFolder();
    GetProgramPathText() = path.GetPath();
}

void CreateSystemFonts()
{
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = NONCLIENT_METRICS_SIZE;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, NONCLIENT_METRICS_SIZE, &metrics, 0))
        return;
    record.messageFont = CreateFontIndirectA(&metrics.lfMessageFont);
    record.menuFont = CreateFontIndirectA(&metrics.lfMenuFont);
    record.statusFont = CreateFontIndirectA(&metrics.lfStatusFont);
    record.captionFont = CreateFontIndirectA(&metrics.lfCaptionFont);
    record.smallCaptionFont = CreateFontIndirectA(&metrics.lfSmCaptionFont);
    record.smallGuiFont = CreateFontFromPoints(nullptr, metrics.lfMessageFont.lfFaceName, 8, 0,
                                               nullptr);
}

void DeleteFont(HFONT& font)
{
    if (font)
        DeleteObject(font);
    font = nullptr;
}

void CreateLibraryWindow(HINSTANCE instance)
{
    SWnd* window = new SWnd;
    if (!window->Create("", 0, 0, nullptr, nullptr, 0, 0, instance, false))
    {
        delete window;
        window = nullptr;
    }
    record.libraryWindow = window;
}
} // namespace

// --- Start-up and shut-down -------------------------------------------------

void InitLibrary(HINSTANCE instance, bool noCom)
{
    {
        const SSystem system;
        record.windowsVersion = system.GetVersionCode();
    }
    LoadLanguageRecords();
    CreateGlobalCursors();
    srand(timeGetTime());
    record.instance = instance;
    record.findReplaceMessage = RegisterWindowMessageA("commdlg_FindReplace");
    ReadProgramPath();
    CreateSystemFonts();
    SWnd::RegisterWindowClasses(instance);
    CreateLibraryWindow(instance);
    if (!noCom)
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    GetRichEditLibrary().Load("Riched20.dll");
}

void ShutdownLibrary(HINSTANCE instance, bool noCom)
{
    SKeyboard::GetKeyNames().FreeMemory();
    GetRichEditLibrary().Free();
    if (!noCom)
        CoUninitialize();
    delete record.libraryWindow;
    record.libraryWindow = nullptr;
    SWnd::UnregisterWindowClasses(instance);
    {
        SLockGuard lock(GetModelessDialogLock());
        GetModelessDialogList().FreeMemory();
    }
    DeleteFont(record.messageFont);
    DeleteFont(record.menuFont);
    DeleteFont(record.statusFont);
    DeleteFont(record.captionFont);
    DeleteFont(record.smallCaptionFont);
    DeleteFont(record.smallGuiFont);
    GetProgramFolderText() = "";
    GetProgramPathText() = "";
    commandLineArguments.FreeMemory();
    FreeGlobalCursors();
}

int StartupGdiplus()
{
    return Gdiplus::GdiplusStartup(&record.gdiplusToken, &GetGdiplusStartupInput(), nullptr);
}

void ShutdownGdiplus()
{
    if (record.gdiplusToken)
        Gdiplus::GdiplusShutdown(record.gdiplusToken);
    record.gdiplusToken = 0;
}

bool StartupWinsock()
{
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

void ShutdownWinsock()
{
    WSACleanup();
}

void CreateDirectSound(HWND window, DWORD level)
{
    CreateDirectSoundWith(DirectSoundCreate8, window, level);
}

void CreateDirectSoundWith(SDirectSoundFactory factory, HWND window, DWORD level)
{
    // A second call must not leak the object of the first.
    ReleaseDirectSound();
    const int tries = 10;
    for (int i = 0; i < tries; i++)
    {
        IDirectSound8* sound = nullptr;
        const HRESULT hr = factory(nullptr, &sound, nullptr);
        if (SUCCEEDED(hr) && sound)
        {
            record.directSound = sound;
            break;
        }
        // Only a busy or missing device is worth waiting for; the last try
        // has nothing left to wait for.
        if ((hr != DSERR_ALLOCATED && hr != DSERR_NODRIVER) || i == tries - 1)
            break;
        Sleep(500);
    }
    if (record.directSound)
        record.directSound->SetCooperativeLevel(window, level);
}

void ReleaseDirectSound()
{
    if (record.directSound)
        record.directSound->Release();
    record.directSound = nullptr;
}

void CreateGlobalCursors()
{
    FreeGlobalCursors();
    SArray<SCursor*>& table = GetCursorTable();
    for (int i = 0; i < 20; i++)
        table.Add(new SCursor(i));
}

void FreeGlobalCursors()
{
    SArray<SCursor*>& table = GetCursorTable();
    table.DeleteAll();
    table.FreeMemory();
}

void LoadLanguageRecords()
{
    record.languageIndex = 0;
    const SRegistry registry;
    const char* const key = "Control Panel\\International";
    const SString decimal = registry.GetString(HKEY_CURRENT_USER, key, "sDecimal");
    const SString thousands = registry.GetString(HKEY_CURRENT_USER, key, "sThousand");
    const SString digits = registry.GetString(HKEY_CURRENT_USER, key, "iDigits");
    SLanguageRecord* records = GetLanguageRecords();
    FillRecord(records[0], 0, 0, static_cast<uint32_t>(atoi(digits.GetText() ? digits.GetText() : "")),
               FirstCharOr(decimal, '.'), FirstCharOr(thousands, ','), false);
    FillRecord(records[1], 1, 0, 2, '.', ',', false);
    FillRecord(records[2], 2, 1, 2, ',', ' ', true);
}

void SplitNamesIntoSlots(char* destination, const char* list, int slotWidth)
{
    if (!destination || !list || slotWidth < 1)
        return;
    SStringParser parser(list);
    const int count = parser.Split(",", 0, '"');
    for (int i = 0; i < count; i++)
    {
        // A name longer than its slot is cut, never written past it.
        const SString token = parser.GetToken(i);
        const int length = token.GetLength() < slotWidth - 1 ? token.GetLength() : slotWidth - 1;
        char* slot = destination + i * slotWidth;
        if (length > 0)
            std::memcpy(slot, token.GetText(), length);
        slot[length] = 0;
    }
}

void SplitCommandLine(const char* line, SArrayString& arguments)
{
    arguments.FreeMemory();
    if (!line)
        return;
    const char* p = line;
    while (IsBlank(*p))
        p++;
    if (!*p)
        return;
    SString argument;
    p = TakeProgramArgument(p, argument);
    arguments.Add(argument.GetText() ? argument.GetText() : "");
    for (;;)
    {
        while (IsBlank(*p))
            p++;
        if (!*p)
            return;
        p = TakeArgument(p, argument);
        arguments.Add(argument.GetText() ? argument.GetText() : "");
    }
}

// --- Accessors --------------------------------------------------------------

HFONT GetSmallGuiFont() { return record.smallGuiFont; }
HFONT GetDefaultGuiFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }
IDirectSound8* GetDirectSound() { return record.directSound; }
UINT GetFindReplaceMessage() { return record.findReplaceMessage; }
HINSTANCE GetInstance() { return record.instance; }
int GetWindowsVersion() { return record.windowsVersion; }
void SetWindowsVersion(int code) { record.windowsVersion = code; }
SString GetProgramFileName() { return GetProgramPathText(); }
SString GetProgramFolder() { return GetProgramFolderText(); }

HCURSOR GetLibraryCursor(int i)
{
    // Before start-up (or after shut-down) the table is empty.
    SCursor* const* cursor = GetCursorTable().GetPtr(i);
    return cursor && *cursor ? (*cursor)->GetHandle() : nullptr;
}

const SArrayString& GetCommandLineArguments() { return commandLineArguments; }

HWND GetLibraryWindow()
{
    return record.libraryWindow ? record.libraryWindow->GetHandle() : nullptr;
}
