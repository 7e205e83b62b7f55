// Windows' system directory: where Tolvik starts Windows' programs and loads its DLLs from.
#pragma once

#include <string>

// GetSystemDirectoryA, without a trailing "\" unless it is a drive's root; empty when it fails.
// For a 32-bit program on 64-bit Windows this is "...\system32", which Windows itself redirects
// to the 32-bit programs and DLLs in SysWOW64.
std::string Win32SystemDirectory();

// systemDirectory\fileName; empty when the system directory is unknown, so that nothing is ever
// looked for by bare name.
std::string Win32SystemFilePath(const std::string& fileName);

// Keeps every later DLL load to Windows' own DLLs: the system directory alone where Windows
// offers it (SetDefaultDllDirectories: Windows 8, or Vista and 7 with update KB2533623), and no
// DLL from the current directory (SetDllDirectoryA(""): XP SP1 on). Both are looked up at run
// time; on older systems the full paths of the late-bound DLLs do the work alone.
void KeepDllSearchToSystemDirectory();
