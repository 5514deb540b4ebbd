# The game's folders, read by the build, the tests and the fuzz targets alike.
# Each library folder has its tests in tests/<folder>; the programs come last.
set(MVK_LIBRARY_FOLDERS core sound canvas desktop forms playfield game controls fame)
set(MVK_PROGRAM_FOLDERS shell gallery)
