// Windows: LoadLibraryA and GetProcAddress.
#include <windows.h>

#include "web/library_routine.h"

LibraryRoutine bindLibraryRoutine(const char* library, const char* name) {
  // The library stays loaded for the life of the process: the bound routines
  // are kept in statics.
  const HMODULE module = LoadLibraryA(library);
  const FARPROC routine = module != nullptr ? GetProcAddress(module, name) : nullptr;
  if (routine == nullptr) failToBindLibraryRoutine(library, name);
  return reinterpret_cast<LibraryRoutine>(routine);
}
