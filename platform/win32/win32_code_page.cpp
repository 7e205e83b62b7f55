// CodePageApi on Windows: WideCharToMultiByte(CP_ACP) and the SystemCodePageApi of the Windows
// builds.
#include "platform/win32/win32_code_page.h"

#include <windows.h>

#include <climits>

#include "platform/portable/portable_code_page.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 units");

std::string Win32CodePageApi::Utf16ToAnsi(const std::u16string& text) {
  if (text.empty()) return std::string();
  if (text.size() < static_cast<size_t>(INT_MAX)) {
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(text.data());
    int units = static_cast<int>(text.size());
    // Flags 0 and no default character: the code page's own default ("?") stands for the
    // characters it lacks. The first call measures, the second converts.
    int needed = WideCharToMultiByte(CP_ACP, 0, wide, units, nullptr, 0, nullptr, nullptr);
    if (needed > 0) {
      std::string result(static_cast<size_t>(needed), '\0');
      int written =
          WideCharToMultiByte(CP_ACP, 0, wide, units, &result[0], needed, nullptr, nullptr);
      if (written > 0) {
        result.resize(static_cast<size_t>(written));
        return result;
      }
    }
  }
  // Only when Windows refuses the conversion: the ASCII characters, which carry every MAC
  // text, date and field separator, still come through exactly.
  PortableCodePageApi portable;
  return portable.Utf16ToAnsi(text);
}

CodePageApi& SystemCodePageApi() {
  static Win32CodePageApi codePage;
  return codePage;
}
