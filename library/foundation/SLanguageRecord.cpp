#include "SLanguageRecord.h"

namespace
{
#define SL_ENGLISH_NAMES                                                                       \
    {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},            \
        {"January", "February", "March", "April", "May", "June", "July", "August",             \
         "September", "October", "November", "December"},                                      \
        {"Spring", "Summer", "Autumn", "Winter"}

// The accented letters are Latin-1.
#define SL_FRENCH_NAMES                                                                        \
    {"Dimanche", "Lundi", "Mardi", "Mercredi", "Jeudi", "Vendredi", "Samedi"},                 \
        {"Janvier", "F\xE9vrier", "Mars", "Avril", "Mai", "Juin", "Juillet", "Ao\xFBt",        \
         "Septembre", "Octobre", "Novembre", "D\xE9"                                           \
                                             "cembre"},                                        \
        {"Printemps", "\xC9t\xE9", "Automne", "Hiver"}

SLanguageRecord g_records[3] = {
    {0, 0, 0, '.', ',', SL_ENGLISH_NAMES},
    {1, 0, 2, '.', ',', SL_ENGLISH_NAMES},
    {2, 1, 2, ',', ' ', SL_FRENCH_NAMES},
};
} // namespace

SLanguageRecord* GetLanguageRecords()
{
    return g_records;
}

SLanguageRecord* GetLanguageRecord()
{
    return &g_records[0];
}
