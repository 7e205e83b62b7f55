// A cursor over one command's arguments: options with values, flags, positional arguments, and
// a clear message for whatever is wrong.
#pragma once

#include <string>
#include <vector>

class CommandArguments {
 public:
  CommandArguments(const std::vector<std::string>& arguments, std::string* error);

  bool AtEnd() const { return next_ >= arguments_.size(); }

  // True when the next argument is the option name (its value is the argument after it) or
  // "name=value"; the argument is then consumed. A missing value sets the error, still true.
  bool Option(const char* name, std::string* value);

  // Option, with the value turned into GBK bytes (see ArgumentToGbk).
  bool TextOption(const char* name, std::string* gbk);

  // True (and consumed) when the next argument is the flag name.
  bool Flag(const char* name);

  // Consumes the next argument as a positional one. An unknown option ("-x", "--x"; a lone "-"
  // is positional) sets the error and gives false.
  bool Positional(std::vector<std::string>* positional);

  // A value of decimal digits only, from low to high; otherwise sets the error, false.
  bool NumberInRange(const char* name, const std::string& value, long low, long high);

  // Sets the error; always false.
  bool Fail(const std::string& message);

  // The option name matched last.
  const std::string& LastOption() const { return lastOption_; }

 private:
  std::vector<std::string> arguments_;
  size_t next_ = 0;
  std::string* error_;
  std::string lastOption_;
};
