// List generation: computer names from prefix, running number and suffix; IP addresses counted
// up from the start value, or "DHCP" for every row.
#include "generator/generate_list.h"

#include "common/text_rules.h"
#include "generator/generator_texts.h"

namespace {

// Widths beyond this come from no field of the window (its arrows stop at 5); the cap keeps a
// stray value from asking for gigabytes of "0".
const long long kMaxWidth = 64;

// Numbers whose digit text is at most this long are counted in long long arithmetic; the row
// index added to them cannot overflow it.
const size_t kMaxSmallDigits = 17;

// A number read from a field by its leading decimal digits, counted on row by row.
class RunningNumber {
 public:
  explicit RunningNumber(const std::string& text) {
    size_t end = 0;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    size_t begin = 0;
    while (begin + 1 < end && text[begin] == '0') ++begin;  // leading zeros name no value
    digits_ = end == 0 ? std::string("0") : text.substr(begin, end - begin);
    small_ = digits_.size() <= kMaxSmallDigits;
    if (small_) value_ = std::stoll(digits_);
  }

  // The decimal text of the number plus add.
  std::string Plus(size_t add) const {
    if (small_) return std::to_string(value_ + static_cast<long long>(add));
    std::string result = digits_;
    size_t carry = add;
    for (size_t i = result.size(); i-- > 0 && carry > 0;) {
      size_t sum = static_cast<size_t>(result[i] - '0') + carry;
      result[i] = static_cast<char>('0' + sum % 10);
      carry = sum / 10;
    }
    while (carry > 0) {
      result.insert(result.begin(), static_cast<char>('0' + carry % 10));
      carry /= 10;
    }
    return result;
  }

  // The number plus add, left-filled with "0" to width and never cut.
  std::string PaddedPlus(size_t add, int width) const {
    if (small_) return ZeroPad(value_ + static_cast<long long>(add), width);
    std::string text = Plus(add);
    if (static_cast<long long>(text.size()) < width) {
      text.insert(0, static_cast<size_t>(width) - text.size(), '0');
    }
    return text;
  }

  bool small() const { return small_; }
  long long value() const { return value_; }

 private:
  std::string digits_;
  bool small_ = true;
  long long value_ = 0;
};

// The text between the n-th and the next "." (n from 0), or after the third "." for n = 3.
void SplitAddress(const std::string& text, std::string parts[4]) {
  size_t begin = 0;
  for (int n = 0; n < 4; ++n) {
    if (begin == std::string::npos) {
      parts[n].clear();
      continue;
    }
    size_t dot = n < 3 ? text.find('.', begin) : std::string::npos;
    parts[n] = text.substr(begin, dot == std::string::npos ? std::string::npos : dot - begin);
    begin = dot == std::string::npos ? std::string::npos : dot + 1;
  }
}

}  // namespace

size_t MachinesThatFit(const std::string& ipStart) {
  const std::string start = UpperAscii(ipStart);
  if (start == generator_texts::kDhcpKeyword) return static_cast<size_t>(-1);
  std::string parts[4];
  SplitAddress(start, parts);
  const RunningNumber last(parts[3]);
  if (!last.small() || last.value() > 255) return 0;
  return static_cast<size_t>(256 - last.value());
}

bool GenerateList(ListModel& model, const GenerationFields& fields) {
  if (model.rows.empty()) return false;

  std::string start = UpperAscii(fields.ipStart);
  bool dhcp = start == generator_texts::kDhcpKeyword;
  std::string parts[4];
  SplitAddress(start, parts);
  std::string ipPrefix = parts[0] + "." + parts[1] + "." + parts[2] + ".";
  RunningNumber lastNumber(parts[3]);

  RunningNumber firstNumber(fields.firstNumber);
  RunningNumber digits(fields.digits);
  long long width = digits.small() && digits.value() < kMaxWidth ? digits.value() : kMaxWidth;

  for (size_t index = 0; index < model.rows.size(); ++index) {
    ListRow& row = model.rows[index];
    row.cells[kColumnComputerName] =
        fields.prefix + firstNumber.PaddedPlus(index, static_cast<int>(width)) + fields.suffix;
    row.cells[kColumnIp] =
        dhcp ? std::string(generator_texts::kDhcpKeyword) : ipPrefix + lastNumber.Plus(index);
  }
  return !model.rows[0].cells[kColumnIp].empty();
}
