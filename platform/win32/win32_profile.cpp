// Win32ProfileApi: GetPrivateProfileStringA, GetPrivateProfileSectionA, WritePrivateProfileStringA.
#include "platform/win32/win32_profile.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

std::string Win32ProfileApi::GetString(const std::string& section, const std::string& key,
                                       const std::string& defaultValue, const std::string& path,
                                       uint32_t bufferSize) {
  if (bufferSize == 0) return std::string();
  // The count returned can include a double-byte character that did not fit and was not
  // copied (Wine leaves that byte untouched), so the text ends at the first NUL.
  std::vector<char> buffer(bufferSize, '\0');
  DWORD copied = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(),
                                          buffer.data(), bufferSize, path.c_str());
  size_t length = std::min<size_t>(copied, bufferSize - 1);
  return std::string(buffer.data(), strnlen(buffer.data(), length));
}

uint32_t Win32ProfileApi::GetSection(const std::string& section, std::vector<char>* buffer,
                                     const std::string& path) {
  const size_t size = buffer->size();
  if (size == 0) return 0;  // Wine writes through a null-sized buffer
  // Wine writes two NULs even into a buffer of one byte; a scratch buffer two bytes longer
  // keeps that inside memory we own, and only size bytes are handed back.
  std::vector<char> scratch(size + 2, '\0');
  DWORD copied = GetPrivateProfileSectionA(section.c_str(), scratch.data(),
                                           static_cast<DWORD>(size), path.c_str());
  std::copy(scratch.begin(), scratch.begin() + static_cast<std::ptrdiff_t>(size), buffer->begin());
  return copied;
}

bool Win32ProfileApi::WriteString(const std::string& section, const std::string& key,
                                  const std::string& value, const std::string& path) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()) !=
         FALSE;
}

ProfileApi& SystemProfileApi() {
  static Win32ProfileApi api;
  return api;
}

std::unique_ptr<ProfileApi> SystemProfileReaderOf(const std::string&, const std::string&) {
  // Windows' functions read the file themselves, as Tolvik does; they keep nothing between calls.
  return std::make_unique<Win32ProfileApi>();
}
