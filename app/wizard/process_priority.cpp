#include "app/wizard/process_priority.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>

namespace vs {

int CurrentNice() {
  errno = 0;
  const int nice = getpriority(PRIO_PROCESS, 0);
  return errno != 0 ? 0 : nice;
}

bool MayRaisePriority(int baseNice, int steps) {
  if (geteuid() == 0) return true;
  // RLIMIT_NICE allows nice values down to 20 - its limit.
  struct rlimit limit {};
  if (getrlimit(RLIMIT_NICE, &limit) != 0) return false;
  const long lowest = limit.rlim_cur == RLIM_INFINITY ? -20 : 20 - static_cast<long>(limit.rlim_cur);
  return baseNice - steps >= lowest;
}

}  // namespace vs
