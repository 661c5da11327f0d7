#pragma once
// Routines of a system library reached by name at their first use, never
// through the linker, so that the program starts without loading the library
// and names the one it lacks. One implementation per port:
// library_routine_win32.cpp (LoadLibrary) and library_routine_dlopen.cpp.

using LibraryRoutine = void (*)();

// The routine `name` of the library file `library`, loaded on first use and
// kept loaded. One that cannot be bound (no such library, or no such routine
// in it) ends the program through fatalError with code 0.
LibraryRoutine bindLibraryRoutine(const char* library, const char* name);

// Ends the program with the report of a routine that could not be bound; the
// same words on every port.
[[noreturn]] void failToBindLibraryRoutine(const char* library, const char* name);
