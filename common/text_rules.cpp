// Text rules shared by Tolvik and Brevane.
#include "common/text_rules.h"

#include <climits>

namespace {

bool IsBelow33(char c) { return static_cast<unsigned char>(c) < 33; }

char UpperByte(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::string TrimText(const std::string& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBelow33(text[begin])) ++begin;
  while (end > begin && IsBelow33(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string UpperAscii(const std::string& text) {
  std::string result = text;
  for (char& c : result) c = UpperByte(c);
  return result;
}

long long ReadNumber(const std::string& text) {
  size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  long long value = 0;
  for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
    int digit = text[pos] - '0';
    if (value > (LLONG_MAX - digit) / 10) {
      value = LLONG_MAX;  // saturate instead of overflowing on absurdly long digit runs
      continue;
    }
    value = value * 10 + digit;
  }
  return negative ? -value : value;
}

std::string ZeroPad(long long number, int width) {
  std::string digits = std::to_string(number);
  if (static_cast<int>(digits.size()) >= width) return digits;
  return std::string(static_cast<size_t>(width) - digits.size(), '0') + digits;
}

bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (UpperByte(a[i]) != UpperByte(b[i])) return false;
  }
  return true;
}

std::string NetshConnectionName(const std::string& connectionName) {
  if (connectionName.find_first_of(" \t") == std::string::npos) return connectionName;
  return "\"" + connectionName + "\"";
}
