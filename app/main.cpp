#include <malloc.h>

#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "Cli.h"

// GCC says it builds with AddressSanitizer through __SANITIZE_ADDRESS__,
// clang through __has_feature(address_sanitizer).
#if defined(__SANITIZE_ADDRESS__)
#define INKCURVE_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define INKCURVE_ADDRESS_SANITIZER 1
#endif
#endif

#if defined(INKCURVE_ADDRESS_SANITIZER)
// Fontconfig keeps the fonts' caches that --plot's text fills until the
// process ends; a sanitizer build's leak checker is told so, and nothing else.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif

int main(int argc, char** argv) {
  // A measurement file of millions of readings is held in lists of tens of
  // megabytes, made and freed in turn. Each such list gets a mapping of its
  // own, which goes back to the system when the list is freed. Left to itself
  // glibc raises this threshold after the first large free and carves later
  // lists from the heap, whose holes stay counted in the resident size.
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
  // A closed standard output (a pipe whose reader is gone) is a failed write
  // the command reports and fails on, replacing no file, rather than a signal
  // that ends the program without a word.
  std::signal(SIGPIPE, SIG_IGN);
  std::vector<std::string> args(argv + 1, argv + argc);
  return cli::run(args, std::cout, std::cerr);
}
