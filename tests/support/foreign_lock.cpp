#include "support/foreign_lock.h"

#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace zentrova::testing {
namespace {

// argv: file, kind, x|s. Prints "ready" holding the lock, or "held"; holds until stdin ends.
constexpr char kHolder[] = R"PY(
import fcntl, os, struct, sys
path, kind, exclusive = sys.argv[1], sys.argv[2], sys.argv[3] == 'x'
fd = os.open(path, os.O_RDWR)
try:
    if kind == 'flock':
        fcntl.flock(fd, (fcntl.LOCK_EX if exclusive else fcntl.LOCK_SH) | fcntl.LOCK_NB)
    elif kind == 'posix':
        fcntl.lockf(fd, (fcntl.LOCK_EX if exclusive else fcntl.LOCK_SH) | fcntl.LOCK_NB)
    else:
        lock = fcntl.F_WRLCK if exclusive else fcntl.F_RDLCK
        fcntl.fcntl(fd, fcntl.F_OFD_SETLK, struct.pack('hhqqi4x', lock, 0, 0, 0, 0))
except OSError:
    os.write(1, b'held\n')
    sys.exit(0)
os.write(1, b'ready\n')
sys.stdin.read()
)PY";

}  // namespace

std::string NameOf(ForeignLock kind) {
  switch (kind) {
    case ForeignLock::kFlock:
      return "flock";
    case ForeignLock::kPosixRecord:
      return "posix";
    case ForeignLock::kOpenFileDescription:
      return "ofd";
  }
  return "";
}

LockHolder::LockHolder(const std::filesystem::path& file, ForeignLock kind, bool exclusive) {
  int to_child[2];
  int from_child[2];
  if (pipe(to_child) != 0 || pipe(from_child) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    dup2(to_child[0], STDIN_FILENO);
    dup2(from_child[1], STDOUT_FILENO);
    close(to_child[1]);
    close(from_child[0]);
    const std::string name = NameOf(kind);
    execl(ZENTROVA_PYTHON, ZENTROVA_PYTHON, "-c", kHolder, file.c_str(), name.c_str(),
          exclusive ? "x" : "s", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(to_child[0]);
  close(from_child[1]);
  release_ = to_child[1];
  answer_ = from_child[0];
  std::string line;
  char c = 0;
  while (read(answer_, &c, 1) == 1 && c != '\n') line += c;
  holding_ = line == "ready";
}

LockHolder::~LockHolder() {
  if (release_ >= 0) close(release_);
  if (answer_ >= 0) close(answer_);
  if (pid_ > 0) {
    int status = 0;
    waitpid(pid_, &status, 0);
  }
}

bool OtherProcessCanLock(const std::filesystem::path& file, ForeignLock kind, bool exclusive) {
  return LockHolder(file, kind, exclusive).holding();
}

}  // namespace zentrova::testing
