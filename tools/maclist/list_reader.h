// The profile reader the list check reads a file through, as Tolvik on this system would.
#pragma once

#include <memory>
#include <string>

#include "platform/profile_api.h"

// On Windows, Windows' own profile functions. Elsewhere the portable profile rules applied to
// the file's bytes parsed once: the same rules PortableProfileApi applies, without parsing the
// whole file again for every key read. bytes are the file's content; path names it.
std::unique_ptr<ProfileApi> MakeListReader(const std::string& path, const std::string& bytes);
