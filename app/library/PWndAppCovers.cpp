// Covers and lyrics kept beside the media.
#include "PWndApp.h"

bool PWndApp::MakeCover(const char* folder) { return false; }
bool PWndApp::DownloadCover(const char* name) { return false; }
bool PWndApp::FindLyrics(const char* title) { return false; }
SString PWndApp::DownloadLyrics(const char* title, bool parse) { return SString(""); }
