#include "SampleLibrary.h"
#include "SDisk.h"
#include "SFile.h"
#include "SImage.h"
#include "SIni.h"

const char* const SampleLibrary::EXTENSIONS[8] = {"mp3", "wma", "wax", "mpg", "mpeg", "avi", "wmv", "wvx"};

namespace
{
const char* const GENRES[4] = {"Rock", "Jazz", "Classical", "Radio"};
const char* const ARTISTS[4] = {"Artist", "Band", "Ensemble", "Trio"};
const COLORREF COLORS[6] = {0x3A7BD5, 0x2E9E5B, 0xD58A3A, 0x7B5EA7, 0xB03A3A, 0x2E7D9E};
}

SString SampleLibrary::GenreName(int i)
{
    return SString(GENRES[i % 4]);
}

SString SampleLibrary::ArtistName(int genre, int i)
{
    SString name(ARTISTS[i % 4]);
    if (genre > 0 || i >= 4)
        name += SString().SetInt(genre * 10 + i).GetText();
    return name;
}

SString SampleLibrary::AlbumName(int i)
{
    return SString().Format("Album %d", i + 1);
}

SString SampleLibrary::TrackTitle(int album, int i)
{
    return SString().Format("%.2d Track %c", i + 1, 'A' + (album + i) % 26);
}

bool SampleLibrary::WriteFile(const SString& path, const char* text, SArrayString* written)
{
    SFile file;
    if (!file.Open(path.GetText(), true, true, false))
        return false;
    const int length = static_cast<int>(strlen(text));
    const bool ok = file.Write(text, length) == length;
    file.Close();
    if (ok && written)
        written->Add(path.GetText());
    return ok;
}

bool SampleLibrary::WriteCover(const SString& path, COLORREF color, bool jpeg, SArrayString* written)
{
    SImage image;
    if (!image.Create(150, 150))
        return false;
    image.Clear(color);
    const Gdiplus::Rect inner(40, 40, 70, 70);
    image.FillRectangle(&inner, 0xFFFFFFFF);
    SFile file;
    if (!file.Open(path.GetText(), true, true, false))
        return false;
    const bool ok = image.Save(jpeg ? SImage::FORMAT_JPEG : SImage::FORMAT_PNG, &file);
    file.Close();
    if (ok && written)
        written->Add(path.GetText());
    return ok;
}

// Beside folder parent\name: a cover, a description with its page, a link file.
bool SampleLibrary::WriteExtras(const SString& parent, const SString& name, int index, SArrayString* written)
{
    const SString base = parent + name.GetText();
    bool ok = WriteCover(base + (index % 3 == 2 ? ".jpg" : ".png"), COLORS[index % 6], index % 3 == 2, written);
    if (index % 2 == 0)
    {
        ok = WriteFile(base + ".txt", (SString("{") + name.GetText() + "}\r\nA few words about " +
                                       name.GetText() + ".\r\n").GetText(), written) && ok;
        ok = WriteFile(base + ".htm", (SString("<html><body><h3>") + name.GetText() +
                                       "</h3><p>A few words about " + name.GetText() +
                                       ".</p></body></html>").GetText(), written) && ok;
    }
    SIni ini;
    if (ini.Open((base + ".ini").GetText(), false))
    {
        ok = ini.SetString("", "site", (SString("http://www.example.com/") + name.GetText()).GetText()) && ok;
        ini.Close();
        if (written)
            written->Add((base + ".ini").GetText());
    }
    return ok;
}

bool SampleLibrary::WriteAlbum(const SString& artistFolder, int genre, int album, const Options& options,
                               int& fileIndex, SArrayString* written)
{
    SDisk disk;
    const SString name = AlbumName(album);
    const SString folder = artistFolder + name.GetText() + "\\";
    if (!disk.CreateFolder(folder.GetText(), true))
        return false;
    bool ok = true;
    for (int t = 0; t < options.tracks; ++t, ++fileIndex)
    {
        SString extension(EXTENSIONS[fileIndex % 8]);
        if ((fileIndex / 8) % 2 == 1)
            extension.MakeUpper();
        const SString title = TrackTitle(album, t);
        ok = WriteFile(folder + title.GetText() + "." + extension.GetText(), "sample media\r\n", written) && ok;
        if (options.extras && t == 0)
            ok = WriteFile(folder + title.GetText() + ".txt", "Notes on the first track.", written) && ok;
    }
    if (options.extras)
    {
        ok = WriteFile(folder + "folder.txt", "Notes on this album.", written) && ok;
        ok = WriteExtras(artistFolder, name, genre + album, written) && ok;
    }
    return ok;
}

bool SampleLibrary::Write(const char* root, const Options& options, SArrayString* written)
{
    SDisk disk;
    SString base(root ? root : "");
    if (base.GetLength() == 0 || !disk.CreateFolder(base.GetText(), true))
        return false;
    if (base.GetAt(base.GetLength() - 1) != '\\')
        base += "\\";
    bool ok = true;
    int fileIndex = 0;
    for (int g = 0; g < options.genres && g < 4; ++g)
    {
        const SString genre = GenreName(g);
        for (int a = 0; a < options.artists; ++a)
        {
            const SString artist = ArtistName(g, a);
            const SString folder = base + genre.GetText() + "\\" + artist.GetText() + "\\";
            if (!disk.CreateFolder(folder.GetText(), true))
                return false;
            for (int b = 0; b < options.albums; ++b)
                ok = WriteAlbum(folder, g, b, options, fileIndex, written) && ok;
            if (options.extras)
            {
                ok = WriteFile(folder + "folder.txt", "Notes on this artist.", written) && ok;
                ok = WriteExtras(base + genre.GetText() + "\\", artist, g + a + 1, written) && ok;
            }
        }
        if (options.extras)
            ok = WriteExtras(base, genre, g, written) && ok;
    }
    return ok;
}
