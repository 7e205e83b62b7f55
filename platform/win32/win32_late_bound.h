// Looks up a function when it is first needed instead of importing it. Windows refuses to load a
// program that imports a function its DLLs lack, so the functions that only the NT family has are
// found this way: Tolvik then still starts on Windows 95 and 98, far enough to refuse them.
#pragma once

#include <windows.h>

// The DLL is loaded by its full path in the system directory, never by bare name: Windows would
// look in the program's own folder first, where anybody who can write there could put a DLL of
// that name to be run with the rights of an elevated Tolvik. The DLL stays loaded for the
// program's lifetime. Null when the DLL or the function is missing.
FARPROC LateBoundAddress(const char* dll, const char* name);

// The same, typed; one shared body, so each signature costs no code of its own.
template <typename Function>
Function LateBoundFunction(const char* dll, const char* name) {
  // Through a plain function pointer type, as GetProcAddress gives no signature.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(LateBoundAddress(dll, name)));
}
