// The book: the HTML catalogue of the library.
#include "PWndApp.h"

bool PWndApp::MakeBook(const char* bookFile, bool pictures) { return false; }
