// Loaded into a program under test with LD_PRELOAD: the program is killed (SIGKILL, as by a
// power cut) just before the Nth change it makes to a folder (rename, unlink, remove), N
// given by ZENTROVA_TEST_KILL_AT_CHANGE. Without the variable nothing changes.

#include <dlfcn.h>

#include <csignal>
#include <cstdlib>

namespace {

long changes_left = -1;

void BeforeChange() {
  if (changes_left < 0) {
    const char* value = std::getenv("ZENTROVA_TEST_KILL_AT_CHANGE");
    changes_left = value != nullptr ? std::atol(value) : 0;
  }
  if (changes_left > 0 && --changes_left == 0) std::raise(SIGKILL);
}

template <typename Function>
Function Next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

int rename(const char* from, const char* to) {
  BeforeChange();
  static auto real = Next<int (*)(const char*, const char*)>("rename");
  return real(from, to);
}

int unlink(const char* path) {
  BeforeChange();
  static auto real = Next<int (*)(const char*)>("unlink");
  return real(path);
}

int remove(const char* path) {
  BeforeChange();
  static auto real = Next<int (*)(const char*)>("remove");
  return real(path);
}

}  // extern "C"
