// The book: the HTML catalogue of the library.
#include "PBookBuilder.h"
#include "PWndApp.h"

bool PWndApp::MakeBook(const char* bookFile, bool pictures)
{
    PLibraryFiles::_SCovers covers;
    covers.root = m_rootFolder.GetPath();
    covers.names = &m_coverNames;
    covers.smallPicture = &m_smallPicture;
    covers.picture = &m_picture;
    PBookBuilder builder(*this, covers);
    return builder.Build(bookFile, pictures);
}
