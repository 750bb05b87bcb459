#pragma once

class LibraryService;

// The case library's settings: where it is and whether archives are indexed as the program
// opens, imports and saves them (on unless turned off).
void loadLibrarySettings(LibraryService &service);
void saveLibrarySettings(const LibraryService &service);
