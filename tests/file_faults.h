// Faults injected into the settings writer's file calls. The tests that link
// tests/file_faults.cpp have write, flush and replace wrapped at link time (GNU ld's --wrap,
// tests/CMakeLists.txt); each call is passed on unless a fault is due for it.
#pragma once

#include <string>

namespace modalscope::testing {

#if defined(__MINGW32__) || defined(__linux__)
constexpr bool kInjectsFileFaults = true;
#else
constexpr bool kInjectsFileFaults = false;
#endif

// What another writer puts in its new file.
constexpr const char* kOtherWritersFile = "Width 1\n";

// The faults due, in order: 'w' the next write fails; 'b' (Windows) the next replace fails
// with a sharing violation, as while another program holds a file; 'o' the next replace fails, the
// new file having been moved away (to its name + ".moved") and another writer's having taken
// its name. Forgets the calls recorded so far.
void injectFileFaults(const std::string& faults);
// The calls made since, in order: w(rite), f(lush of a file), r(eplace).
std::string fileCalls();

} // namespace modalscope::testing
