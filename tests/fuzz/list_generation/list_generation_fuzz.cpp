// Fuzz target: list generation from any field texts, for up to 600 rows. Each name is prefix,
// number and suffix, the number one up from the row before and at least as wide as asked; each
// address is DHCP or the start's first three parts with its last number counted up the same way.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/text_rules.h"
#include "generator/generate_list.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// Leading zeros dropped; "0" for none.
std::string_view Digits(std::string_view text) {
  size_t begin = 0;
  while (begin + 1 < text.size() && text[begin] == '0') ++begin;
  return text.substr(begin);
}

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

std::string OneUp(std::string_view view) {
  std::string digits(view);
  size_t i = digits.size();
  while (i-- > 0) {
    if (digits[i] != '9') {
      ++digits[i];
      return digits;
    }
    digits[i] = '0';
  }
  return "1" + digits;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  ListModel model;
  model.rows.resize(input.ConsumeIntegralInRange<size_t>(0, 600));
  GenerationFields fields;
  fields.prefix = input.ConsumeRandomLengthString(20);
  fields.suffix = input.ConsumeRandomLengthString(20);
  fields.firstNumber = input.ConsumeRandomLengthString(24);
  fields.digits = input.ConsumeRandomLengthString(24);
  fields.ipStart = input.ConsumeRemainingBytesAsString();
  // Written out only when an expectation fails.
  const auto story = [&] {
    return "prefix " + HexBytes(fields.prefix) + " suffix " +
           HexBytes(fields.suffix) + " first " + HexBytes(fields.firstNumber) +
           " digits " + HexBytes(fields.digits) + " ip " +
           HexBytes(fields.ipStart) + " rows " + std::to_string(model.rows.size());
  };

  const bool enabled = GenerateList(model, fields);
  FUZZ_EXPECT(enabled == (!model.rows.empty() && !model.rows[0].cells[kColumnIp].empty()), story());

  const bool dhcp = UpperAscii(fields.ipStart) == "DHCP";
  std::string lastName;
  std::string lastHost;
  std::string ipPrefix;
  for (size_t i = 0; i < model.rows.size(); ++i) {
    const std::string& name = model.rows[i].cells[kColumnComputerName];
    FUZZ_EXPECT(name.size() >= fields.prefix.size() + fields.suffix.size() + 1 &&
                    name.compare(0, fields.prefix.size(), fields.prefix) == 0 &&
                    name.compare(name.size() - fields.suffix.size(), std::string::npos,
                                 fields.suffix) == 0,
                story() + " row " + std::to_string(i) + ": " + HexBytes(name));
    const std::string_view number = std::string_view(name).substr(
        fields.prefix.size(), name.size() - fields.prefix.size() - fields.suffix.size());
    FUZZ_EXPECT(AllDigits(number), story() + " number " + std::string(number));
    FUZZ_EXPECT(i == 0 || Digits(number) == OneUp(lastName),
                story() + " number " + std::string(number));
    lastName = Digits(number);

    const std::string& ip = model.rows[i].cells[kColumnIp];
    if (dhcp) {
      FUZZ_EXPECT(ip == "DHCP", story() + " ip " + HexBytes(ip));
      continue;
    }
    // The first three parts end at the third ".", which the generated text always has.
    size_t third = ip.find('.');
    for (int dots = 1; dots < 3 && third != std::string::npos; ++dots) third = ip.find('.', third + 1);
    FUZZ_EXPECT(third != std::string::npos, story() + " ip " + HexBytes(ip));
    const std::string_view host = std::string_view(ip).substr(third + 1);
    if (i == 0) ipPrefix = ip.substr(0, third + 1);
    FUZZ_EXPECT(ip.compare(0, third + 1, ipPrefix) == 0 && AllDigits(host) &&
                    (i == 0 || Digits(host) == OneUp(lastHost)),
                story() + " ip " + HexBytes(ip));
    lastHost = Digits(host);
  }
  return 0;
}
