#include "SStringParser.h"

SStringParser::SStringParser() : m_quote('"'), m_flags(0), m_position(0), m_spare(0) {}
SStringParser::SStringParser(const char* text) : SString(text), m_quote('"'), m_flags(0), m_position(0), m_spare(0) {}
SStringParser::~SStringParser() {}
void SStringParser::Reset() {}
int SStringParser::Split(SString separators, unsigned flags, char quote, SArrayString* out) { return 0; }
int SStringParser::SplitText(SString text, SString separators, unsigned flags, char quote, SArrayString* out) { return 0; }
int SStringParser::SplitInto(SArrayString* out, SString separators, unsigned flags, char quote) { return 0; }
int SStringParser::GetTokenCount() const { return 0; }
SString SStringParser::GetToken(int i) const { return SString(); }
int SStringParser::GetTokenInt(int i) const { return 0; }
bool SStringParser::GetTokenBool(int i) const { return false; }
int SStringParser::FindToken(const char* text, bool caseSensitive) const { return -1; }
SStringParser::ReadResult SStringParser::ReadToken(SString& token) { return End; }
bool SStringParser::IsSeparator(char c) const { return false; }
void SStringParser::CleanToken(SString& token) const {}
