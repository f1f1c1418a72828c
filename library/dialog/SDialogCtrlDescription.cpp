#include "SDialogCtrl.h"
#include "SDrawing.h"
#include "SStringParser.h"
#include "SVirtualFile.h"
#include <cstring>
#include <string>

namespace
{
// One line of the stream; a zero byte ends it, as it ends every text of a record.
SString ReadTextLine(SVirtualFile* stream, int maximum = -1)
{
    return SString(stream->ReadLine(true, maximum).GetText());
}

short CutTo16(long long value)
{
    return static_cast<short>(static_cast<unsigned short>(value & 0xFFFF));
}
} // namespace

const SDialogElementType* SDialogCtrl::FindElementType(const char* name) const
{
    for (int i = 0; name && i < m_typeCount; i++)
    {
        if (m_types[i].GetBareName().CompareNoCase(name) == 0)
            return &m_types[i];
    }
    return nullptr;
}

const SDialogElementType* SDialogCtrl::GetTypeDescriptor(int index) const
{
    for (int i = 0; i < m_typeCount; i++)
    {
        if (m_types[i].index == index)
            return &m_types[i];
    }
    return nullptr;
}

const SDialogElementType* SDialogCtrl::GetElementDescriptor(const _SCtrl* element) const
{
    return element ? GetTypeDescriptor(element->GetType()) : nullptr;
}

bool SDialogCtrl::SetDialogDescription(const _SCtrl* description)
{
    if (!description)
        return false;
    if (!m_dialog)
        m_dialog.reset(new _SCtrl);
    m_dialog->CopyFrom(*description);
    m_dialog->SetType(DTYPE_DIALOG);
    m_dialog->SetDialog(true);
    return true;
}

int SDialogCtrl::_SCtrl::Read(SVirtualFile* stream, const SDialogCtrl* designer)
{
    if (!stream)
        return -1;
    const int start = stream->GetPosition();
    AssignTypeKeys(SString(""));
    const SString header = ReadTextLine(stream);
    const SString name = header.GetLength() >= 2 ? header.Mid(1, header.GetLength() - 2) : SString("");
    const SDialogElementType* type = designer ? designer->FindElementType(name.GetText()) : nullptr;
    if (!type)
        return 0;
    m_type = type->index;
    if (m_type == DTYPE_DIALOG)
        m_isDialog = true;
    // Gathered in one buffer that grows by doubling: many keys are copied once.
    std::string typeKeys;
    while (!stream->IsEnd())
    {
        const SString line = ReadTextLine(stream);
        if (line.GetLength() == 0)
            break;
        const int equal = line.FindChar('=');
        if (equal < 0)
            return -1;
        ReadKeyLine(line.Left(equal), line.Mid(equal + 1), typeKeys);
    }
    AssignTypeKeys(SString().SetText(typeKeys.data(), static_cast<int>(typeKeys.size())));
    return stream->GetPosition() - start;
}

void SDialogCtrl::_SCtrl::ReadKeyLine(const SString& key, const SString& value, std::string& typeKeys)
{
    switch (FindCommonKey(key.GetText()))
    {
    case DKEY_ID: m_id = CutTo16(ParseDialogNumber(value.GetText())); break;
    case DKEY_NAME: m_name = value; break;
    case DKEY_CAPTION: m_caption = value; break;
    case DKEY_FONT: ReadFont(value); break;
    case DKEY_POSITION: ReadPosition(value); break;
    case DKEY_STYLE: SetStyleNames(false, value.GetText()); break;
    case DKEY_EXSTYLE: SetStyleNames(true, value.GetText()); break;
    case DKEY_BACKCOLOR: m_backColor = ParseHtmlColor(value.GetText()); break;
    case DKEY_TEXTCOLOR: m_textColor = ParseHtmlColor(value.GetText()); break;
    case DKEY_TRANSPARENT: m_transparent = ParseDialogNumber(value.GetText()) != 0; break;
    case DKEY_ISLOCKED: m_locked = ParseDialogNumber(value.GetText()) != 0; break;
    default:
        // "=x" names nothing and is dropped.
        if (key.GetLength() > 0)
        {
            typeKeys.append(key.GetText(), key.GetLength());
            typeKeys += '=';
            if (value.GetLength() > 0)
                typeKeys.append(value.GetText(), value.GetLength());
            typeKeys += "\r\n";
        }
        break;
    }
}

void SDialogCtrl::_SCtrl::ReadFont(const SString& value)
{
    SStringParser parser(value.GetText());
    if (parser.Split(",", SStringParser::TrimSpaces) != 3)
        return;
    m_fontName = parser.GetToken(0);
    m_fontSize = CutTo16(ParseDialogNumber(parser.GetToken(1).GetText()));
    m_fontStyle = static_cast<DWORD>(ParseDialogNumber(parser.GetToken(2).GetText()));
}

void SDialogCtrl::_SCtrl::ReadPosition(const SString& value)
{
    SStringParser parser(value.GetText());
    if (parser.Split(" ") != 4)
        return;
    m_x = CutTo16(ParseDialogNumber(parser.GetToken(0).GetText()));
    m_y = CutTo16(ParseDialogNumber(parser.GetToken(1).GetText()));
    m_width = CutTo16(ParseDialogNumber(parser.GetToken(2).GetText()));
    m_height = CutTo16(ParseDialogNumber(parser.GetToken(3).GetText()));
}

int SDialogCtrl::_SCtrl::Write(SVirtualFile* stream, const SDialogCtrl* designer) const
{
    const SDialogElementType* type = designer ? designer->GetTypeDescriptor(m_type) : nullptr;
    if (!stream || !type)
        return 0;
    const SString text = FormatSection(*type);
    const int length = text.GetLength();
    return stream->Write(text.GetText(), length) == length ? length : 0;
}

SString SDialogCtrl::_SCtrl::FormatSection(const SDialogElementType& type) const
{
    SString text("[");
    text += type.GetSectionName().GetText();
    text += "]\r\n";
    SString line;
    text += line.Format("ID=%d\r\n", m_id).GetText();
    text += (SString("NAME=") + m_name.GetText() + "\r\n").GetText();
    text += (SString("CAPTION=") + m_caption.GetText() + "\r\n").GetText();
    text += (SString("FONT=") + m_fontName.GetText()).GetText();
    text += line.Format(", %d, %u\r\n", m_fontSize, static_cast<unsigned>(m_fontStyle)).GetText();
    text += line.Format("POSITION=%d %d %d %d\r\n", m_x, m_y, m_width, m_height).GetText();
    text += (SString("STYLE=") + GetStyleNames(false).GetText() + "\r\n").GetText();
    text += (SString("EXSTYLE=") + GetStyleNames(true).GetText() + "\r\n").GetText();
    text += (SString("BACKCOLOR=") + FormatHtmlColor(m_backColor).GetText() + "\r\n").GetText();
    text += (SString("TEXTCOLOR=") + FormatHtmlColor(m_textColor).GetText() + "\r\n").GetText();
    text += m_transparent ? "TRANSPARENT=1\r\n" : "TRANSPARENT=0\r\n";
    text += m_locked ? "ISLOCKED=1\r\n" : "ISLOCKED=0\r\n";
    text += m_typeKeys.GetText();
    text += "\r\n";
    return text;
}

bool SDialogCtrl::ReadDescription(SVirtualFile* stream)
{
    if (!stream)
        return false;
    Clear();
    // The header is short: a longer first line is never read whole. It is
    // compared with its length, so a zero byte after the header's text differs.
    const int headerLength = static_cast<int>(strlen(DIALOG_HEADER));
    const SString header = stream->ReadLine(true, headerLength + 2);
    if (header.GetLength() != headerLength || header != DIALOG_HEADER)
        return false;
    ReadTextLine(stream);
    for (int section = 0; !stream->IsEnd(); section++)
    {
        _SCtrl record;
        const int read = record.Read(stream, this);
        if (read == 0)
            break;
        const bool taken = read > 0 && (section == 0 ? SetDialogDescription(&record)
                                                     : AddElement(&record, false, true, true) != nullptr);
        if (!taken)
        {
            Reset();
            return false;
        }
    }
    // A text that ends before any section is valid, but there is no dialog to edit.
    m_open = m_dialog != nullptr;
    RefreshToolbox();
    return true;
}

bool SDialogCtrl::WriteDescription(SVirtualFile* stream) const
{
    if (!stream || !m_dialog)
        return false;
    const SString start = SString(DIALOG_HEADER) + "\r\n\r\n";
    if (stream->Write(start.GetText(), start.GetLength()) != start.GetLength())
        return false;
    if (m_dialog->Write(stream, this) == 0)
        return false;
    for (int i = 0; i < m_elements.GetCount(); i++)
    {
        if (m_elements.GetAt(i)->Write(stream, this) == 0)
            return false;
    }
    return true;
}
