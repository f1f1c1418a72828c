// The information pane: counts of the current and the selected subtree and the
// selected folder's web link.
#include "PWndApp.h"

namespace
{
const char* const BULLET = "\x95 ";

SString CountPart(unsigned int count, const char* word)
{
    SString text("<b>");
    text += TextOf(IntToGroupedString(static_cast<int>(count)));
    text += "</b> ";
    text += word;
    if (count >= 2)
        text += "s";
    return text;
}

SString CountPhrase(const unsigned int counts[3])
{
    return CountPart(counts[0], "song") + ", " + TextOf(CountPart(counts[1], "video")) + " and " +
           TextOf(CountPart(counts[2], "radio"));
}
}

bool PWndApp::UpdateInfoText()
{
    SString text("");
    unsigned int counts[3] = {0, 0, 0};
    const SString current = m_currentFolder.GetPath();
    const SString root = m_rootFolder.GetPath();
    if (FindFolderCounts(current, counts))
    {
        text += BULLET;
        text += TextOf(CountPhrase(counts));
        if (current.GetLength() > root.GetLength())
        {
            // The names below the root, without the closing separator.
            const SString below = current.Mid(root.GetLength(), current.GetLength() - root.GetLength() - 1);
            text += " in <b>";
            text += TextOf(below);
            text += "</b>";
        }
    }
    const SString name = GetSelectedFolderName();
    if (name.GetLength() > 0 && FindFolderCounts(current + TextOf(name) + "\\", counts))
    {
        text += "\n";
        text += BULLET;
        text += TextOf(CountPhrase(counts) + " in <b>" + TextOf(name) + "</b>");
    }
    const SString ini = current + TextOf(name) + ".ini";
    if (name.GetLength() > 0 && m_folderIni.Open(TextOf(ini), true))
    {
        const SString site = m_folderIni.GetString("", "site");
        m_folderIni.Close();
        if (site.GetLength() > 0)
        {
            text += "\n";
            text += BULLET;
            text += TextOf(SString("<link>") + TextOf(site) + "</link>");
        }
    }
    m_infoPane.SetWindowText(TextOf(text));
    return true;
}
