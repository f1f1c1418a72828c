// The web hosts both programs reach, fixed at build time. Tests never change
// them: they point the system's proxy at a local stand-in instead.
#pragma once

// The maker's update host: the version file "/klvsn.ver" and the program file
// "/klvsn.bin" (and their French forms "_fr") lie at its root.
inline constexpr char UPDATE_HOST[] = "www.quentara.com";

// The lyrics site: its search page "/cgi-bin/s.cgi?q=" on the search host, the
// lyrics pages "/music/lyric.nsf/..." and their marker picture on the page host.
inline constexpr char LYRICS_SEARCH_HOST[] = "search.lyricsden.com";
inline constexpr char LYRICS_PAGE_HOST[] = "www.lyricsden.com";

// The web image search: result pages "/images?hl=en&q=..." and thumbnails
// "/images?q=tbn:..." on the same host.
inline constexpr char IMAGE_SEARCH_HOST[] = "images.picturefinder.com";
