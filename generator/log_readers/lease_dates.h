// Time keys: digit texts that order a log's entries by the date and time the server wrote.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The key of a date and time as the Windows DHCP Server writes it in the system's locale:
// "yyyy-M-d H:m:s" ("/" or "." also between the date's numbers), or with the year last as
// "M/d/yyyy" (or "d/M/yyyy" with dayFirst); "AM"/"PM" and "上午"/"下午" before or after the time
// are honoured; missing time parts count as zero. Gives 14 digits "yyyyMMddHHmmss". A text that
// names no valid date and time (text such as "Reservation (active)", an empty field, a month
// above 12, a number longer than its place) gets UndatedKey(position): it is placed after every
// dated entry, and such entries keep their list order.
std::string LeaseTimeKey(std::string_view text, size_t position, bool dayFirst = false);

// True when text is a date with the year last whose first number is above 12, which only a day
// can be: the dates of that file read day/month/year.
bool ShowsDayFirst(std::string_view text);

// Seconds since 1970 written as up to 12 decimal digits and nothing else; false otherwise.
bool ReadEpochSeconds(std::string_view text, long long* seconds);

// "yyyyMMddHHmmss" of a time given in seconds since 1970 (UTC); false before 1970 or after 9999.
bool EpochTimeKey(long long seconds, std::string* key);

// "99999999999999" and the position as ten digits.
std::string UndatedKey(size_t position);

// The key of an entry without a time in the lease files of other servers, after every dated one.
// Their keys are all 14 digits and the import keeps file order among equal keys.
constexpr const char kUndatedKey[] = "99999999999999";
