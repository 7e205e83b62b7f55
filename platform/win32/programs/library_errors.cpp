// The C++ library's error reports for the two window programs: end the program at once.
//
// A string or container asked for more than it can hold reports it through std::__throw_*.
// libstdc++'s own versions build exception objects that carry the library's older string type,
// which brings that whole string, its exceptions and their support into the program, about 57 KB
// of each program. Nothing in Tolvik or Brevane catches these exceptions: uncaught, they end the
// program through std::terminate and abort, the outcome these definitions give at once. Only the
// two programs list this file; maclist and the test programs keep the library's versions.
#include <cstdlib>

namespace std {

[[noreturn]] void __throw_bad_alloc() { abort(); }
[[noreturn]] void __throw_bad_array_new_length() { abort(); }
[[noreturn]] void __throw_bad_function_call() { abort(); }
[[noreturn]] void __throw_invalid_argument(const char*) { abort(); }
[[noreturn]] void __throw_length_error(const char*) { abort(); }
[[noreturn]] void __throw_logic_error(const char*) { abort(); }
[[noreturn]] void __throw_out_of_range(const char*) { abort(); }
[[noreturn]] void __throw_out_of_range_fmt(const char*, ...) { abort(); }

}  // namespace std
