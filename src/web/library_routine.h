#pragma once
// Windows port: routines of a system library reached by name at their first
// use, never through an import library, so that the program starts without
// them and names the one it lacks.

using LibraryRoutine = void (*)();

// The routine `name` of the library file `library`, loaded on first use and
// kept loaded. One that cannot be bound (no such library, or no such routine
// in it) ends the program through fatalError with code 0.
LibraryRoutine bindLibraryRoutine(const char* library, const char* name);
