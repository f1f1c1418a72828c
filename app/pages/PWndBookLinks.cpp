#include "PWndBook.h"
bool PWndBook::IsMediaExtension(const SString& extension) { return false; }
LRESULT PWndBook::OnBeforeNavigate(const char* address) { return 0; }
