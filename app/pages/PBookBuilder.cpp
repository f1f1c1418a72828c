#include "PBookBuilder.h"
#include <cctype>
#include "PBookPicturePool.h"
#include "PSettings.h"
#include "PWndApp.h"
#include "PWndProgress.h"
#include "SFile.h"
#include "SLibrary.h"

namespace
{
// One look per depth: the bar picture's colour, the page's cell colour, the class.
struct RowStyle
{
    DWORD bar;
    const char* cell;
    const char* className;
};

const RowStyle ROWS[4] = {{0xb2d5de, "AAD0DA", "txtRow1"},
                          {0xdfd5b1, "dbd0a9", "txtRow2"},
                          {0xb5e2ae, "addfa6", "txtRow3"},
                          {0xc8c8c8, "c2c2c2", "txtRow4"}};

const RowStyle& RowOf(int depth)
{
    return ROWS[depth < 3 ? depth : 3];
}

SString Escaped(const SString& text)
{
    SString escaped(text);
    escaped.HtmlEscape();
    return escaped;
}

SString WithoutSeparator(const SString& folder)
{
    SString text(folder);
    if (text.GetLength() > 0 && text.GetAt(text.GetLength() - 1) == '\\')
        text.TrimRight(1);
    return text;
}

SString NameOf(const SString& folder)
{
    return SPath(TextOf(folder)).GetLastFolderName(true);
}
}

PBookBuilder::PBookBuilder(PWndApp& app, const PLibraryFiles::_SCovers& covers)
    : m_app(app), m_covers(covers), m_pictureThreads(PBookPicturePool::GetCoreCount()),
      m_pictureBudget(PBookPicturePool::BUDGET), m_previousDepth(-1)
{
}

PBookBuilder::~PBookBuilder()
{
}

bool PBookBuilder::IsBookPicture(const char* name)
{
    const SString text(name ? name : "");
    const int length = text.GetLength();
    if (length < 9 || text.Left(4).CompareNoCase("book") != 0)
        return false;
    const SString extension = text.Right(4);
    if (extension.CompareNoCase(".png") != 0 && extension.CompareNoCase(".jpg") != 0)
        return false;
    for (int i = 4; i < length - 4; ++i)
        if (!isdigit(static_cast<unsigned char>(text.GetAt(i))))
            return false;
    return true;
}

SString PBookBuilder::RelativeAddress(const SString& root, const SString& path)
{
    SString address = path.Mid(root.GetLength());
    address.ReplaceChar('\\', '/');
    address.UrlEncodeOnly("%#&\"");
    return address;
}

// The page's text goes piece by piece into the page's memory: no line is
// built by growing a string.
void PBookBuilder::Put(std::initializer_list<const char*> pieces)
{
    for (const char* piece : pieces)
        m_page.WriteText(piece);
}

void PBookBuilder::Line(std::initializer_list<const char*> pieces)
{
    Put(pieces);
    m_page.WriteText("\r\n", 2);
}

// The hidden picture folder, emptied of the pictures of an earlier book.
bool PBookBuilder::PreparePictureFolder(PWndProgress& progress)
{
    if (!m_disk.CreateFolder(TextOf(m_pictureFolder), true) && !m_disk.FolderExists(TextOf(m_pictureFolder)))
        return false;
    if (!m_disk.IsHidden(TextOf(m_pictureFolder)))
        m_disk.SetAttributes(TextOf(m_pictureFolder), m_disk.GetAttributes(TextOf(m_pictureFolder)) | SDisk::kHidden);
    SArrayString found, old;
    m_disk.List(&found, TextOf(m_pictureFolder + "book*.png"), false, false, true, false, true);
    m_disk.List(&found, TextOf(m_pictureFolder + "book*.jpg"), false, false, true, false, true);
    for (int i = 0; i < found.GetCount(); ++i)
        if (IsBookPicture(TextOf(SPath(TextOf(found.GetAt(i))).GetFileName())))
            old.Add(TextOf(found.GetAt(i)));
    for (int i = 0; i < old.GetCount(); ++i)
    {
        m_disk.DeleteFile(TextOf(old.GetAt(i)));
        progress.Step(i, old.GetCount());
    }
    return true;
}

// The names below the root, each closed by a separator, give the depth: it
// never rests on a parse that can fail.
int PBookBuilder::DepthOf(const SString& folder) const
{
    const int depth = folder.Mid(m_root.GetLength()).CountChar('\\') - 1;
    return depth > 0 ? depth : 0;
}

// A folder the code-page calls cannot list or name (a path past the system's
// limit, a name the code page lacks or gives as a look-alike of another) can
// be neither listed nor linked: such folders and all below them are left out
// and told once.
void PBookBuilder::ListFolders()
{
    m_tree.List(m_root);
    const std::vector<SString>& listed = m_tree.GetFolders();
    m_folders.clear();
    m_folders.reserve(listed.size());
    for (const SString& path : listed)
        m_folders.push_back(_SFolder{path, DepthOf(path)});
}

// The largest picture the folder's cover may be read from: the workers keep
// within a budget by it.
long long PBookBuilder::CoverBytes(const SString& folder) const
{
    const SString base = WithoutSeparator(folder);
    const SString name = NameOf(folder);
    long long bytes = 0;
    const SString candidates[4] = {base + ".png", base + ".jpg", m_root + TextOf(name) + ".png",
                                   m_root + TextOf(name) + ".jpg"};
    bool named = false;
    for (int i = 0; m_covers.names && i < m_covers.names->GetCount(); ++i)
        named = named || m_covers.names->GetAt(i).CompareNoCase(TextOf(name)) == 0;
    for (int i = 0; i < (named ? 4 : 2); ++i)
    {
        const long long size = m_tree.GetPictureSize(candidates[i]);
        bytes = size > bytes ? size : bytes;
    }
    return bytes;
}

void PBookBuilder::AddPictureJobs(PBookPicturePool& pool) const
{
    for (size_t i = 0; i < m_folders.size(); ++i)
    {
        const _SFolder& folder = m_folders[i];
        pool.Add(PBookPicturePool::_SJob{folder.path, NameOf(folder.path), RowOf(folder.depth).bar,
                                         m_pictureFolder + "book" + TextOf(IntToString(static_cast<int>(i))),
                                         CoverBytes(folder.path)});
    }
}

void PBookBuilder::WriteHead()
{
    Line({"<html>"});
    Line({"<head>"});
    Line({"<title>Sonavel</title>"});
    SMemory style;
    if (style.LoadFromResource("BINARY", STYLE, GetInstance()))
        Line({TextOf(style.ReadText())});
    Line({"</head>"});
    Line({"<body leftmargin=0 topmargin=0 rightmargin=0 bottommargin=0 marginwidth=0 marginheight=0>"});
}

void PBookBuilder::WriteRows(const _SFolder& folder, int number, bool hasMedia)
{
    const RowStyle& row = RowOf(folder.depth);
    const SString picture = m_pictureAddress + TextOf(IntToString(number));
    const SString name = Escaped(NameOf(folder.path));
    Line({"<table border=0 cellspacing=0 cellpadding=0 width=100%>"});
    Line({"<tr>"});
    Line({"<td width=32 bgcolor=#", row.cell, "><img src=\"", TextOf(picture), ".jpg\" align=absmiddle>"});
    if (hasMedia)
        Line({"<td valign=center bgcolor=#", row.cell, "><a href=\"",
              TextOf(RelativeAddress(m_root, WithoutSeparator(folder.path))), ".album\" class=", row.className, ">",
              TextOf(name), "</a>"});
    else
        Line({"<td valign=center bgcolor=#", row.cell, "><font class=", row.className, ">", TextOf(name), "</font>"});
    Line({"</tr>"});
    Line({"<tr>"});
    Line({"<td bgcolor=#", row.cell, " background=\"", TextOf(picture), ".png\" class=tdRow>"});
    Line({"<td>"});
}

// Videos and video play lists in italics.
void PBookBuilder::WriteFiles(const SArrayString& files)
{
    Line({"<font class=txtSong>"});
    for (int i = 0; i < files.GetCount(); ++i)
    {
        const SPath path(TextOf(files.GetAt(i)));
        const SString extension = path.GetExtension(false, true);
        const bool plain = extension == "mp3" || extension == "wma" || extension == "wax";
        Put({i > 0 ? " \x95 " : "", "<a href=\"", TextOf(RelativeAddress(m_root, files.GetAt(i))),
             plain ? "\">" : "\"><i>", TextOf(Escaped(path.GetTitle())), plain ? "</a>" : "</i></a>"});
    }
    Line({""});
    Line({"</font>"});
}

void PBookBuilder::WriteFolder(const _SFolder& folder, int number)
{
    for (int i = m_previousDepth - folder.depth + 1; i > 0; --i)
    {
        Line({"</tr>"});
        Line({"</table>"});
    }
    m_previousDepth = folder.depth;
    SArrayString files;
    m_app.ListMediaFiles(&files, TextOf(folder.path), false, true, true, false, false);
    WriteRows(folder, number, files.GetCount() > 0);
    if (files.GetCount() > 0)
        WriteFiles(files);
}

// The user's thread writes the rows in order while the workers make the
// pictures; the bar follows the pictures, the longer part.
bool PBookBuilder::WritePage(const char* bookFile, bool pictures)
{
    PWndProgress progress;
    progress.Create(m_app.GetHandle());
    if (pictures && !PreparePictureFolder(progress))
        return false;
    ListFolders();
    PBookPicturePool pool(m_covers);
    if (pictures)
    {
        AddPictureJobs(pool);
        pool.SetBudget(m_pictureBudget);
        pool.Start(m_pictureThreads);
    }
    WriteHead();
    m_previousDepth = -1;
    const int count = static_cast<int>(m_folders.size());
    for (int i = 0; i < count; ++i)
    {
        WriteFolder(m_folders[static_cast<size_t>(i)], i);
        if (pictures)
            pool.ShowProgress(progress);
        else
            progress.Step(i, count);
    }
    if (pictures)
        pool.Finish(progress);
    Line({"</body>"});
    Line({"</html>"});
    return SFile::SaveReplacing(bookFile, m_page.GetData(), m_page.GetSize(), false);
}

void PBookBuilder::TellLeftOut() const
{
    const int SHOWN = 10;
    const SArrayString& leftOut = m_tree.GetLeftOut();
    SString text("These folders are left out of the book: their paths are too long or hold characters that "
                 "cannot be read.\n");
    for (int i = 0; i < leftOut.GetCount() && i < SHOWN; ++i)
        text += TextOf(SString("\n") + TextOf(leftOut.GetAt(i)));
    // The folders below those named are left out with them.
    const int more = (leftOut.GetCount() > SHOWN ? leftOut.GetCount() - SHOWN : 0) + m_tree.GetCountBelowLeftOut();
    if (more > 0)
        text += TextOf(SString("\n... and ") + TextOf(IntToString(more)) + " more.");
    PWndApp::AskQuestion(m_app.GetHandle(), TextOf(text), "KLV Sonavel", MB_OK | MB_ICONINFORMATION);
}

bool PBookBuilder::Build(const char* bookFile, bool pictures)
{
    const SPath book(bookFile ? bookFile : "");
    m_root = m_app.GetRootFolder().GetPath();
    if (!book.HasFileName() || m_root.GetLength() == 0)
        return false;
    m_title = book.GetTitle();
    m_pictureFolder = book.GetFullFolder() + TextOf(m_title) + "\\";
    m_pictureAddress = m_title;
    m_pictureAddress.UrlEncodeOnly("%#&\"");
    m_pictureAddress += "\\book";
    // The note comes once the progress window is gone.
    if (!WritePage(bookFile, pictures))
        return false;
    if (m_tree.GetLeftOut().GetCount() > 0)
        TellLeftOut();
    return true;
}
