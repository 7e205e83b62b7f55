// The argument cursor of maclist's commands.
#include "tools/maclist/command_arguments.h"

#include "platform/console_text.h"

CommandArguments::CommandArguments(const std::vector<std::string>& arguments, std::string* error)
    : arguments_(arguments), error_(error) {}

bool CommandArguments::Option(const char* name, std::string* value) {
  if (AtEnd()) return false;
  const std::string& argument = arguments_[next_];
  const std::string prefix = std::string(name) + "=";
  if (argument.compare(0, prefix.size(), prefix) == 0) {
    *value = argument.substr(prefix.size());
  } else if (argument == name) {
    if (next_ + 1 >= arguments_.size()) {
      ++next_;
      lastOption_ = name;
      Fail(std::string("option ") + name + " needs a value");
      return true;
    }
    *value = arguments_[next_ + 1];
    ++next_;
  } else {
    return false;
  }
  ++next_;
  lastOption_ = name;
  return true;
}

bool CommandArguments::TextOption(const char* name, std::string* gbk) {
  std::string value;
  if (!Option(name, &value)) return false;
  if (!error_->empty()) return true;
  if (!ArgumentToGbk(value, gbk)) {
    Fail(std::string("the value of ") + name + " cannot be written in GBK (code page 936): \"" +
         value + "\"");
  }
  return true;
}

bool CommandArguments::Flag(const char* name) {
  if (AtEnd() || arguments_[next_] != name) return false;
  ++next_;
  lastOption_ = name;
  return true;
}

bool CommandArguments::Positional(std::vector<std::string>* positional) {
  const std::string& argument = arguments_[next_];
  if (argument.size() > 1 && argument[0] == '-') {
    return Fail("unknown option " + argument);
  }
  positional->push_back(argument);
  ++next_;
  return true;
}

bool CommandArguments::NumberInRange(const char* name, const std::string& value, long low,
                                     long high) {
  bool digits = !value.empty() && value.size() <= 9;
  for (char c : value) digits = digits && c >= '0' && c <= '9';
  const long number = digits ? std::stol(value) : -1;
  if (!digits || number < low || number > high) {
    return Fail(std::string(name) + " must be a number from " + std::to_string(low) + " to " +
                std::to_string(high) + ", not \"" + value + "\"");
  }
  return true;
}

bool CommandArguments::Fail(const std::string& message) {
  if (error_->empty()) *error_ = message;
  return false;
}
