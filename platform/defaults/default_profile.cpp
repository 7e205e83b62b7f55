// SystemProfileApi outside Windows: the portable profile functions.
#include "platform/portable/portable_profile.h"

ProfileApi& SystemProfileApi() {
  static PortableProfileApi api;
  return api;
}
