// Looks up a function when it is first needed instead of importing it. Windows refuses to load a
// program that imports a function its DLLs lack, so the functions that only the NT family has are
// found this way: Tolvik then still starts on Windows 95 and 98, far enough to refuse them.
#pragma once

#include <windows.h>

template <typename Function>
Function LateBoundFunction(const char* dll, const char* name) {
  HMODULE module = GetModuleHandleA(dll);
  if (module == nullptr) module = LoadLibraryA(dll);  // kept loaded for the program's lifetime
  if (module == nullptr) return nullptr;
  // Through a plain function pointer type, as GetProcAddress gives no signature.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}
