// The web hosts both programs reach, fixed at build time. Tests never change
// them: they point the system's proxy at a local stand-in instead.
#pragma once

// The maker's update host: the version file "/klvsn.ver" and the program file
// "/klvsn.bin" (and their French forms "_fr") lie at its root.
inline constexpr char UPDATE_HOST[] = "www.quentara.com";
