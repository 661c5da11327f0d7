// Linux: dlopen and dlsym.
#include <dlfcn.h>

#include "web/library_routine.h"

LibraryRoutine bindLibraryRoutine(const char* library, const char* name) {
  // The library stays loaded for the life of the process: the bound routines
  // are kept in statics. RTLD_NOW: a library whose own dependencies are
  // missing fails here, not at some later call into it. RTLD_LOCAL: its
  // symbols are not offered to libraries loaded after it.
  void* module = dlopen(library, RTLD_NOW | RTLD_LOCAL);
  void* routine = module != nullptr ? dlsym(module, name) : nullptr;
  if (routine == nullptr) failToBindLibraryRoutine(library, name);
  // POSIX guarantees a routine's address survives the trip through void*.
  return reinterpret_cast<LibraryRoutine>(routine);
}
