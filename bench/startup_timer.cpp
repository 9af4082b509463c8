// Cold-start timer: runs a program on the current X display and reports the time from exec to
// the first top-level window being mapped, then terminates it. Measuring from outside needs no
// hook in the program, and the bare Qt baseline is measured the very same way.
//
//   startupTimer RUNS PROGRAM [ARGS...]    prints the median in milliseconds
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double OneRun(Display* display, char** argv) {
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, True);
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    execvp(argv[0], argv);
    _exit(127);
  }
  double ms = -1;
  const int fd = ConnectionNumber(display);
  while (ms < 0) {
    while (XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == MapNotify && !event.xmap.override_redirect) {
        ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                 .count();
        break;
      }
    }
    if (ms >= 0) break;
    fd_set set;
    FD_ZERO(&set);
    FD_SET(fd, &set);
    timeval tv{10, 0};
    if (select(fd + 1, &set, nullptr, nullptr, &tv) <= 0) break;  // no window in 10 s
  }
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  XSelectInput(display, DefaultRootWindow(display), NoEventMask);
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s RUNS PROGRAM [ARGS...]\n", argv[0]);
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "startupTimer: no X display\n");
    return 2;
  }
  const int runs = std::max(1, std::atoi(argv[1]));
  std::vector<double> times;
  OneRun(display, argv + 2);  // warm the file cache
  for (int i = 0; i < runs; ++i) {
    const double ms = OneRun(display, argv + 2);
    if (ms < 0) {
      std::fprintf(stderr, "startupTimer: %s showed no window\n", argv[2]);
      return 1;
    }
    times.push_back(ms);
  }
  std::sort(times.begin(), times.end());
  std::printf("%.1f\n", times[times.size() / 2]);
  XCloseDisplay(display);
  return 0;
}
