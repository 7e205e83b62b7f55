// SystemCodePageApi in builds without Windows: the portable conversion.
#include "platform/code_page_api.h"
#include "platform/portable/portable_code_page.h"

CodePageApi& SystemCodePageApi() {
  static PortableCodePageApi codePage;
  return codePage;
}
