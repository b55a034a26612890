/* Loaded into pravel-cli by LD_PRELOAD: writes every fsync, fdatasync and
   rename the program makes, in order, to the file $PRAVEL_SYNC_LOG, so a
   test can see that a definition reaches the disk before it takes its
   name. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

typedef int (*SyncCall)(int);
typedef int (*RenameCall)(const char*, const char*);

/* The system's own function of that name, as a function pointer (which
   ISO C does not let a plain cast make of dlsym's object pointer). */
static void Next(const char* name, void* function, size_t size) {
  void* found = dlsym(RTLD_NEXT, name);
  memcpy(function, &found, size);
}

static void Log(const char* what, const char* path) {
  const char* name = getenv("PRAVEL_SYNC_LOG");
  FILE* log = name ? fopen(name, "a") : NULL;
  if (!log) return;
  fprintf(log, "%s %s\n", what, path);
  fclose(log);
}

static void LogFd(const char* what, int fd) {
  char link[64], path[4096];
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t n = readlink(link, path, sizeof path - 1);
  path[n > 0 ? n : 0] = '\0';
  Log(what, path);
}

int fsync(int fd) {
  LogFd("fsync", fd);
  SyncCall next;
  Next("fsync", &next, sizeof next);
  return next(fd);
}

int fdatasync(int fd) {
  LogFd("fsync", fd);
  SyncCall next;
  Next("fdatasync", &next, sizeof next);
  return next(fd);
}

int rename(const char* from, const char* to) {
  char both[8300];
  snprintf(both, sizeof both, "%s -> %s", from, to);
  Log("rename", both);
  RenameCall next;
  Next("rename", &next, sizeof next);
  return next(from, to);
}
