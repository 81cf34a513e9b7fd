// A slow disk for one file, preloaded into a Wine process by the hook tests:
// every write to a file whose path holds $ROMBO_SLOW_WRITE_MATCH takes
// $ROMBO_SLOW_WRITE_MS milliseconds longer, as a slow disk or a virus
// scanner that holds the new file make it. Wine writes a Windows program's
// files through these calls in the program's own process and thread.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static void slow_down(int fd) {
  const char* match = getenv("ROMBO_SLOW_WRITE_MATCH");
  const char* ms = getenv("ROMBO_SLOW_WRITE_MS");
  if (match == NULL || *match == '\0' || ms == NULL) return;
  char link[64];
  char path[4096];
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t length = readlink(link, path, sizeof path - 1);
  if (length <= 0) return;
  path[length] = '\0';
  if (strstr(path, match) == NULL) return;
  const long delay = atol(ms);
  struct timespec wait = {delay / 1000, (delay % 1000) * 1000000L};
  while (nanosleep(&wait, &wait) != 0) {
  }
}

ssize_t write(int fd, const void* data, size_t size) {
  static ssize_t (*real)(int, const void*, size_t);
  if (real == NULL) real = (ssize_t(*)(int, const void*, size_t))dlsym(RTLD_NEXT, "write");
  slow_down(fd);
  return real(fd, data, size);
}

ssize_t pwrite(int fd, const void* data, size_t size, off_t offset) {
  static ssize_t (*real)(int, const void*, size_t, off_t);
  if (real == NULL) real = (ssize_t(*)(int, const void*, size_t, off_t))dlsym(RTLD_NEXT, "pwrite");
  slow_down(fd);
  return real(fd, data, size, offset);
}

ssize_t pwrite64(int fd, const void* data, size_t size, off64_t offset) {
  static ssize_t (*real)(int, const void*, size_t, off64_t);
  if (real == NULL) {
    real = (ssize_t(*)(int, const void*, size_t, off64_t))dlsym(RTLD_NEXT, "pwrite64");
  }
  slow_down(fd);
  return real(fd, data, size, offset);
}
