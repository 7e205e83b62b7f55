// Win32AdapterApi against the real GetAdaptersInfo: the buffer-size protocol and the record walk.
#include "platform/win32/win32_adapters.h"

#include <gtest/gtest.h>

namespace {

// The full table with a buffer large enough for any machine this runs on.
std::vector<AdapterRecord> AllRecords(Win32AdapterApi& api, uint32_t* result) {
  uint32_t size = 1 << 20;
  std::vector<AdapterRecord> records;
  *result = api.GetAdaptersInfo(&size, &records);
  return records;
}

TEST(Win32AdapterApi, TooSmallABufferAsksForTheSizeThatThenHoldsEveryRecord) {
  Win32AdapterApi api;
  uint32_t fullResult = 0;
  std::vector<AdapterRecord> all = AllRecords(api, &fullResult);
  if (fullResult == kErrorNoData) {
    GTEST_SKIP() << "this machine lists no adapter at all";
  }
  ASSERT_EQ(fullResult, kErrorSuccess);
  ASSERT_FALSE(all.empty());

  for (uint32_t offered : {0u, 1u, 100u}) {
    uint32_t size = offered;
    std::vector<AdapterRecord> records(1);  // left over from a caller: must be cleared
    ASSERT_EQ(api.GetAdaptersInfo(&size, &records), kErrorBufferOverflow) << offered;
    EXPECT_TRUE(records.empty()) << offered;
    EXPECT_GT(size, offered);

    // A buffer of exactly the size Windows named holds the whole table, last record included.
    ASSERT_EQ(api.GetAdaptersInfo(&size, &records), kErrorSuccess) << offered;
    ASSERT_EQ(records.size(), all.size()) << offered;
    for (size_t i = 0; i < all.size(); ++i) {
      EXPECT_EQ(records[i].adapterName, all[i].adapterName);
      EXPECT_EQ(records[i].address, all[i].address);
    }
  }
  for (const AdapterRecord& record : all) {
    EXPECT_FALSE(record.adapterName.empty());
    EXPECT_LE(record.adapterName.size(), 260u);
    EXPECT_LE(record.address.size(), 8u);
  }
}

}  // namespace
