#pragma once

class LibraryService;

// The case library's settings: where it is, whether archives are indexed as the program
// opens, imports and saves them (on unless turned off), and whether a server's password is
// remembered in the keyring (never the password).
void loadLibrarySettings(LibraryService &service);
void saveLibrarySettings(const LibraryService &service);
