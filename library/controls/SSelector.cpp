#include "SSelector.h"
#include <shlobj.h>
#include <memory>
#include <string>
#include "SDrawing.h"
#include "SGuards.h"
#include "SPath.h"

SSelector::SSelector(HWND owner)
    : m_owner(owner), m_addSeparator(true), m_folder(""), m_fontName(""), m_fontSize(0), m_fontStyle(0),
      m_color(0)
{
    m_date.SetNow();
}

SSelector::~SSelector() {}

DWORD SSelector::GetColorFlags(COLORREF initial, bool fullOpen, bool preventFullOpen, bool anyColor)
{
    DWORD flags = initial <= 0xFFFFFF ? CC_RGBINIT : 0;
    if (fullOpen)
        flags |= CC_FULLOPEN;
    if (preventFullOpen)
        flags |= CC_PREVENTFULLOPEN;
    flags |= anyColor ? CC_ANYCOLOR : CC_SOLIDCOLOR;
    return flags;
}

bool SSelector::ChooseColor(COLORREF initial, bool fullOpen, bool preventFullOpen, bool anyColor)
{
    COLORREF custom[16];
    for (COLORREF& c : custom)
        c = RGB(255, 255, 255);
    CHOOSECOLORA record;
    ZeroMemory(&record, sizeof(record));
    record.lStructSize = sizeof(record);
    record.hwndOwner = m_owner;
    record.rgbResult = initial;
    record.lpCustColors = custom;
    record.Flags = GetColorFlags(initial, fullOpen, preventFullOpen, anyColor);
    if (!::ChooseColorA(&record))
        return false;
    m_color = record.rgbResult;
    return true;
}

void SSelector::ReadFontResult(const LOGFONTA* font, int pointSizeTenths, int* size, int* style)
{
    if (size)
        *size = pointSizeTenths / 10;
    if (style)
        *style = GetLogFontStyleFlags(font);
}

bool SSelector::ChooseFont(LOGFONTA* font, int* size)
{
    if (!font)
        return false;
    CHOOSEFONTA record;
    ZeroMemory(&record, sizeof(record));
    record.lStructSize = sizeof(record);
    record.hwndOwner = m_owner;
    record.lpLogFont = font;
    record.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    if (!::ChooseFontA(&record))
        return false;
    m_fontName = font->lfFaceName;
    ReadFontResult(font, record.iPointSize, &m_fontSize, &m_fontStyle);
    if (size)
        *size = m_fontSize;
    return true;
}

SString SSelector::BuildFilterText(const SArrayString* filters)
{
    if (!filters || filters->GetCount() == 0)
        return SString("");
    std::string text;
    for (int i = 0; i < filters->GetCount(); i++)
    {
        const SString entry = filters->GetAt(i);
        std::string part(entry.GetText() ? entry.GetText() : "");
        const size_t bar = part.find('|');
        if (bar != std::string::npos)
            part[bar] = '\0';
        text += part;
        text += '\0';
    }
    text += '\0';
    return SString().SetText(text.data(), int(text.size()));
}

int SSelector::GetFilterIndex(const SArrayString* filters, int index)
{
    return filters && index >= 0 && index < filters->GetCount() ? index + 1 : 1;
}

int SSelector::SplitSelection(const char* buffer, int size, bool multiple, SArrayString* out)
{
    if (!buffer || !out || size <= 0 || !buffer[0])
        return 0;
    SArrayString parts;
    for (int i = 0; i < size && buffer[i];)
    {
        const int length = lstrlenA(buffer + i);
        const int end = i + length < size ? i + length : size;
        parts.Add(SString().SetText(buffer + i, end - i).GetText());
        i = end + 1;
        if (!multiple)
            break;
    }
    if (parts.GetCount() == 1)
        return out->Add(parts.GetAt(0).GetText()) >= 0 ? 1 : 0;
    SString folder = parts.GetAt(0);
    const char last = folder.GetAt(folder.GetLength() - 1);
    if (last != '\\' && last != '/')
        folder += '\\';
    int added = 0;
    for (int i = 1; i < parts.GetCount(); i++)
    {
        const SPath path((folder + parts.GetAt(i).GetText()).GetText());
        if (out->Add(path.GetPath().GetText()) >= 0)
            added++;
    }
    return added;
}

bool SSelector::GetOpenFileName(const SArrayString* filters, DWORD flags, const char* title, const char* folder,
                                int filterIndex)
{
    std::unique_ptr<char[]> names(new char[FILE_BUFFER_SIZE]());
    const SString filterText = BuildFilterText(filters);
    OPENFILENAMEA record;
    ZeroMemory(&record, sizeof(record));
    record.lStructSize = sizeof(record);
    record.hwndOwner = m_owner;
    record.lpstrFile = names.get();
    record.nMaxFile = FILE_BUFFER_SIZE;
    record.nFilterIndex = GetFilterIndex(filters, filterIndex);
    record.lpstrFilter = filterText.GetLength() > 0 ? filterText.GetText() : nullptr;
    record.lpstrInitialDir = folder;
    record.lpstrTitle = title;
    record.lpstrDefExt = "";
    record.Flags = flags | OPEN_FILE_FLAGS;
    m_files.FreeMemory();
    if (!::GetOpenFileNameA(&record))
        return false;
    return SplitSelection(names.get(), FILE_BUFFER_SIZE, (flags & OFN_ALLOWMULTISELECT) != 0, &m_files) > 0;
}

SString SSelector::GetFileName(int i) const
{
    return i >= 0 && i < m_files.GetCount() ? m_files.GetAt(i) : SString("");
}

SString SSelector::GetFolderResult(const char* path, bool addSeparator)
{
    SString folder(path ? path : "");
    if (addSeparator && folder.GetLength() > 0 && folder.GetAt(folder.GetLength() - 1) != '\\')
        folder += '\\';
    return folder;
}

int CALLBACK SSelector::FolderCallback(HWND dialog, UINT message, LPARAM, LPARAM data)
{
    SString* folder = reinterpret_cast<SString*>(data);
    if (message == BFFM_INITIALIZED && folder && folder->GetLength() > 0)
        SendMessageW(dialog, BFFM_SETEXPANDED, TRUE, reinterpret_cast<LPARAM>(folder->GetWide()));
    return 0;
}

SString SSelector::BrowseForFolder(SString* result, const char* title, const char* folder, bool includeFiles)
{
    SString start("");
    if (folder && folder[0])
    {
        SPath path;
        path.SetNoTrailingSeparator(true);
        path.Set(folder);
        start = path.GetPath();
    }
    m_folder = "";
    SComPtr<IMalloc> allocator;
    if (SUCCEEDED(SHGetMalloc(allocator.Out())) && allocator)
    {
        char display[MAX_PATH] = "";
        BROWSEINFOA info;
        ZeroMemory(&info, sizeof(info));
        info.hwndOwner = m_owner;
        info.pszDisplayName = display;
        info.lpszTitle = title;
        info.ulFlags = BIF_RETURNFSANCESTORS | BIF_NEWDIALOGSTYLE | (includeFiles ? BIF_BROWSEINCLUDEFILES : 0);
        info.lpfn = FolderCallback;
        info.lParam = reinterpret_cast<LPARAM>(&start);
        if (LPITEMIDLIST items = SHBrowseForFolderA(&info))
        {
            char path[MAX_PATH] = "";
            if (SHGetPathFromIDListA(items, path))
                m_folder = GetFolderResult(path, m_addSeparator);
            allocator->Free(items);
        }
    }
    if (result)
        *result = m_folder;
    return m_folder;
}
