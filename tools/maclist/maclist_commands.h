// maclist's command dispatch: the whole program as a function of its arguments, so tests run it
// in memory.
#pragma once

#include <string>
#include <vector>

#include "platform/profile_api.h"

// Runs "maclist ARGUMENTS...": standard output and standard error are collected into *out and
// *err as the terminal shows them (generate -o - puts the file's own GBK bytes into *out).
// profile is the system's profile-string implementation. Returns the exit code.
int RunMaclist(const std::vector<std::string>& arguments, ProfileApi& profile, std::string* out,
               std::string* err);
