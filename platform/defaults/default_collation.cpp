// SystemCollationApi in builds without Windows: the portable comparison.
#include "platform/collation_api.h"
#include "platform/portable/portable_collation.h"

CollationApi& SystemCollationApi() {
  static PortableCollationApi collation;
  return collation;
}
