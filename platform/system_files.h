// The files and paths the command-line companion handles itself, through this system's own
// calls: on Windows the ANSI (...A) functions, so that paths in the code page (Chinese directory
// names) work as they do for the window programs; elsewhere the standard library.
#pragma once

#include <string>
#include <vector>

#include "platform/file_api.h"

// Win32FileApi on Windows, PortableFileApi elsewhere.
FileApi& SystemFiles();

// The full path of a file name (GetFullPathNameA on Windows); empty when there is none. The
// profile functions of Windows look for a bare file name in the Windows directory, so every
// path handed to them is made full first.
std::string FullPath(const std::string& path);

// The names of the plain files in directory (no folders), in no particular order; false when
// the directory cannot be read.
bool FilesInDirectory(const std::string& directory, std::vector<std::string>* names);
