// List generation: names, addresses and the IP start value rules.
#include "generator/generate_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

ListModel RowsWithMacs(size_t count) {
  ListModel model;
  for (size_t i = 0; i < count; ++i) {
    ListRow row;
    row.cells[kColumnSequence] = std::to_string(i + 1);
    row.cells[kColumnIp] = "old ip";
    row.cells[kColumnComputerName] = "old name";
    row.cells[kColumnMac] = "00E0FD3A1B" + std::to_string(10 + i);
    model.rows.push_back(row);
  }
  return model;
}

GenerationFields Fields(const char* prefix, const char* suffix, const char* first,
                        const char* digits, const char* ip) {
  GenerationFields fields;
  fields.prefix = prefix;
  fields.suffix = suffix;
  fields.firstNumber = first;
  fields.digits = digits;
  fields.ipStart = ip;
  return fields;
}

TEST(GenerateList, NamesAndAddresses) {
  struct Case {
    const char* name;
    GenerationFields fields;
    size_t rows;
    std::vector<std::string> names;  // only the first names.size() rows are checked
    std::vector<std::string> ips;
  };
  const Case cases[] = {
      {"defaults", GenerationFields(), 3, {"COMPUTER001", "COMPUTER002", "COMPUTER003"},
       {"192.168.0.1", "192.168.0.2", "192.168.0.3"}},
      {"DHCP in upper case", Fields("PC", "", "1", "3", "DHCP"), 2, {"PC001", "PC002"},
       {"DHCP", "DHCP"}},
      {"dhcp in lower case", Fields("PC", "", "1", "3", "dhcp"), 2, {"PC001", "PC002"},
       {"DHCP", "DHCP"}},
      {"Dhcp in mixed case", Fields("PC", "", "1", "3", "Dhcp"), 1, {"PC001"}, {"DHCP"}},
      {"prefix, suffix and a carry", Fields("PC", "-A", "9", "3", "10.0.0.1"), 3,
       {"PC009-A", "PC010-A", "PC011-A"}, {"10.0.0.1", "10.0.0.2", "10.0.0.3"}},
      {"a number longer than its width is not cut", Fields("COMPUTER", "", "998", "3", "1.1.1.1"),
       3, {"COMPUTER998", "COMPUTER999", "COMPUTER1000"}, {"1.1.1.1", "1.1.1.2", "1.1.1.3"}},
      {"width 1", Fields("N", "", "1", "1", "1.1.1.1"), 12,
       {"N1", "N2", "N3", "N4", "N5", "N6", "N7", "N8", "N9", "N10", "N11", "N12"}, {}},
      {"width 5 from 0", Fields("", "", "0", "5", "1.1.1.1"), 2, {"00000", "00001"}, {}},
      {"three parts count from 0", Fields("PC", "", "1", "3", "10.0.1"), 2, {},
       {"10.0.1.0", "10.0.1.1"}},
      {"the last number counts on", Fields("PC", "", "1", "3", "172.16.5.20"), 3, {},
       {"172.16.5.20", "172.16.5.21", "172.16.5.22"}},
      {"past 255 without carrying", Fields("PC", "", "1", "3", "192.168.0.254"), 4, {},
       {"192.168.0.254", "192.168.0.255", "192.168.0.256", "192.168.0.257"}},
      {"only the leading digits of the rest", Fields("PC", "", "1", "3", "10.1.2.7x.9"), 2, {},
       {"10.1.2.7", "10.1.2.8"}},
      {"a rest without digits counts from 0", Fields("PC", "", "1", "3", "10.1.2.x"), 2, {},
       {"10.1.2.0", "10.1.2.1"}},
      {"letters of the start value are upper-cased", Fields("pc", "", "1", "3", "host.a.b.5"), 1,
       {"pc001"}, {"HOST.A.B.5"}},
      {"spaces are kept: DHCP with a space is no keyword", Fields("PC", "", "1", "3", "DHCP "),
       1, {}, {"DHCP ...0"}},
      // An empty start value follows the split rule: three dots and the number.
      {"empty start value", Fields("PC", "", "1", "3", ""), 2, {}, {"...0", "...1"}},
      {"first number without digits reads 0", Fields("PC", "", "abc", "2", "1.1.1.1"), 2,
       {"PC00", "PC01"}, {}},
      {"a sign is no digit", Fields("PC", "", "-5", "2", "1.1.1.+5"), 1, {"PC00"}, {"1.1.1.0"}},
      {"leading zeros", Fields("PC", "", "007", "3", "1.1.1.010"), 1, {"PC007"}, {"1.1.1.10"}},
      {"numbers beyond 64 bits count on exactly",
       Fields("PC", "", "99999999999999999999", "3", "1.1.1.18446744073709551615"), 2,
       {"PC99999999999999999999", "PC100000000000000000000"},
       {"1.1.1.18446744073709551615", "1.1.1.18446744073709551616"}},
      {"digits without digits give no padding", Fields("PC", "", "7", "", "1.1.1.1"), 1, {"PC7"},
       {}},
      {"GBK prefix and suffix as typed", Fields("\xBB\xFA", "-\xC2\xA5", "1", "2", "1.1.1.1"), 1,
       {"\xBB\xFA" "01-\xC2\xA5"}, {}},
  };
  for (const Case& c : cases) {
    ListModel model = RowsWithMacs(c.rows);
    EXPECT_TRUE(GenerateList(model, c.fields)) << c.name;
    ASSERT_EQ(model.rows.size(), c.rows) << c.name;
    for (size_t i = 0; i < c.names.size(); ++i) {
      EXPECT_EQ(model.rows[i].cells[kColumnComputerName], c.names[i]) << c.name << " row " << i;
    }
    for (size_t i = 0; i < c.ips.size(); ++i) {
      EXPECT_EQ(model.rows[i].cells[kColumnIp], c.ips[i]) << c.name << " row " << i;
    }
    for (size_t i = 0; i < c.rows; ++i) {  // sequence and MAC cells are not touched
      EXPECT_EQ(model.rows[i].cells[kColumnSequence], std::to_string(i + 1)) << c.name;
      EXPECT_EQ(model.rows[i].cells[kColumnMac], "00E0FD3A1B" + std::to_string(10 + i)) << c.name;
    }
  }
}

TEST(GenerateList, EmptyListAndHugeWidth) {
  ListModel empty;
  EXPECT_FALSE(GenerateList(empty, GenerationFields()));
  EXPECT_TRUE(empty.rows.empty());

  // The width field can only hold 1 to 5; a stray huge value is capped rather than filling
  // memory with zeros.
  ListModel model = RowsWithMacs(1);
  EXPECT_TRUE(GenerateList(model, Fields("PC", "", "1", "99999999999999999999", "1.1.1.1")));
  EXPECT_EQ(model.rows[0].cells[kColumnComputerName], "PC" + std::string(63, '0') + "1");
}

}  // namespace
