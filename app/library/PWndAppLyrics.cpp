// Lyrics of the selected track, looked up on the lyrics site: its search page in
// the user's browser, or its lyrics page fetched into the notes.
#include "PWndApp.h"
#include <string>
#include "Hosts.h"
#include "SMemory.h"

namespace
{
SString SearchAddress(const char* title)
{
    SString query(title ? title : "");
    query.RemoveLeadingNumber();
    query += " Lyrics";
    query.UrlEncode(false);
    return SString("http://") + LYRICS_SEARCH_HOST + "/cgi-bin/s.cgi?q=" + query.GetText();
}

// Every line feed not already after a carriage return gets one, so that pages
// with either line end give the same text.
SString WithCrLf(const SString& text)
{
    std::string out;
    out.reserve(text.GetLength() + text.CountChar('\n'));
    for (int i = 0; i < text.GetLength(); i++)
    {
        const char c = text.GetAt(i);
        if (c == '\n' && (i == 0 || text.GetAt(i - 1) != '\r'))
            out += '\r';
        out += c;
    }
    SString result;
    result.Assign(out.data(), static_cast<int>(out.size()));
    return result;
}

// The lines between the line of the marker's first showing and the line of
// its second; the whole page when either is missing.
SString CutBetweenMarkers(const SString& page, const SString& marker)
{
    int start = 0;
    const int first = page.Find(marker.GetText());
    if (first >= 0)
    {
        const int lineEnd = page.FindChar('\n', first + marker.GetLength());
        start = lineEnd >= 0 ? lineEnd + 1 : 0;
    }
    if (start > 0)
    {
        const int second = page.Find(marker.GetText(), start);
        const int lastLineEnd = second >= 0 ? page.ReverseFindChar('\n', second) : -1;
        if (lastLineEnd >= 0)
            return page.Substring(start, lastLineEnd + 1);
    }
    return page;
}

bool FetchText(SNetwork& network, const SString& address, SString* text)
{
    SMemory reply;
    if (!network.Download(&reply, address.GetText(), 1024))
        return false;
    reply.SeekToStart();
    *text = reply.ReadText();
    return true;
}
}

bool PWndApp::FindLyrics(const char* title)
{
    return m_network.OpenInShell(SearchAddress(title).GetText());
}

SString PWndApp::DownloadLyrics(const char* title, bool parse)
{
    SString search;
    if (!FetchText(m_network, SearchAddress(title), &search))
    {
        Ask("No active connection.", "KLV Sonavel", MB_ICONEXCLAMATION);
        return SString("");
    }
    const SString prefix = SString("http://") + LYRICS_PAGE_HOST + "/music/lyric.nsf/";
    const int start = search.Find(prefix.GetText());
    const int end = start >= 0 ? search.FindChar('"', start) : -1;
    SString page;
    if (end < 0 || !FetchText(m_network, search.Substring(start, end), &page))
        return SString("");
    page.Replace("<br>", "");
    page = WithCrLf(page);
    if (!parse)
        return page;
    return CutBetweenMarkers(page, SString("http://") + LYRICS_PAGE_HOST + "/images/headphone.gif");
}
