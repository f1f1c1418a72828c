// The book: the HTML catalogue of the library.
#include "PBookBuilder.h"
#include "PWndApp.h"

bool PWndApp::MakeBook(const char* bookFile, bool pictures)
{
    PBookBuilder builder(*this, GetCovers());
    return builder.Build(bookFile, pictures);
}
