// SystemProfileApi outside Windows: the portable profile functions.
#include "platform/portable/parsed_profile_reader.h"
#include "platform/portable/portable_profile.h"

ProfileApi& SystemProfileApi() {
  static PortableProfileApi api;
  return api;
}

std::unique_ptr<ProfileApi> SystemProfileReaderOf(const std::string& path, const std::string& bytes) {
  return std::make_unique<ParsedProfileReader>(path, bytes);
}
