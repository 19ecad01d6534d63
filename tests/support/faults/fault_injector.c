// A fault injector for the program's writes, loaded with LD_PRELOAD: it lets chosen calls of
// rename, link, unlink, write, pwrite, fsync and fdatasync fail as a full or failing disk would,
// and logs the calls it sees, so that a test can check what a save does and in which order.
//
// Only calls on regular files and folders are touched (never a pipe, a socket or a terminal),
// and of those only the ones whose path holds the filter text, when a filter is set.
//
// A test drives it through qj_faults_* (found with dlsym); by hand, the environment does:
//   QJ_FAULTS="rename@1,fsync*2"  a call name, "@n" to let its first n calls pass, "*m" to
//                                 fail m calls (all that follow without it), ":errno" number
//   QJ_FAULT_PATH=/some/folder    only paths that hold this text
//   QJ_FAULT_LOG=/tmp/calls.txt   every call seen, one a line
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

enum { kMaxRules = 16, kLogSize = 1 << 20 };

struct Rule {
  char call[16];
  long skip;   // calls that pass before the faults begin
  long times;  // faults, -1 for every call after the skipped ones
  int err;
  long seen;
};

static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
static struct Rule rules[kMaxRules];
static int ruleCount;
static char filter[4096];
static char log_[kLogSize];
static size_t logUsed;
static int logFd = -1;
static __thread int inside;  // a call of ours (the log file) is never judged

static int defaultErrno(const char* call) {
  return strcmp(call, "write") == 0 || strcmp(call, "pwrite") == 0 ? ENOSPC : EIO;
}

void qj_faults_reset(const char* pathFilter) {
  pthread_mutex_lock(&lock);
  ruleCount = 0;
  logUsed = 0;
  log_[0] = '\0';
  snprintf(filter, sizeof filter, "%s", pathFilter ? pathFilter : "");
  pthread_mutex_unlock(&lock);
}

void qj_faults_add(const char* call, long skip, long times, int err) {
  pthread_mutex_lock(&lock);
  if (ruleCount < kMaxRules) {
    struct Rule* r = &rules[ruleCount++];
    snprintf(r->call, sizeof r->call, "%s", call);
    r->skip = skip;
    r->times = times;
    r->err = err ? err : defaultErrno(call);
    r->seen = 0;
  }
  pthread_mutex_unlock(&lock);
}

// The calls seen since the last reset, one a line: "rename <from> <to> -> ok" and the like.
const char* qj_faults_log(void) {
  return log_;
}

__attribute__((constructor)) static void configure(void) {
  const char* path = getenv("QJ_FAULT_PATH");
  qj_faults_reset(path);
  const char* logPath = getenv("QJ_FAULT_LOG");
  if (logPath) logFd = open(logPath, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  const char* spec = getenv("QJ_FAULTS");
  if (!spec) return;
  char copy[1024];
  snprintf(copy, sizeof copy, "%s", spec);
  char* save = NULL;
  for (char* item = strtok_r(copy, ",", &save); item; item = strtok_r(NULL, ",", &save)) {
    char name[16] = {0};
    size_t n = strcspn(item, "@*:");
    if (n >= sizeof name) continue;
    memcpy(name, item, n);
    long skip = 0, times = -1;
    int err = 0;
    for (char* p = item + n; *p;) {
      const char kind = *p++;
      const long value = strtol(p, &p, 10);
      if (kind == '@') skip = value;
      if (kind == '*') times = value;
      if (kind == ':') err = (int)value;
    }
    qj_faults_add(name, skip, times, err);
  }
}

// The path of an open descriptor when it is a regular file or a folder; NULL otherwise.
static const char* pathOf(int fd, char* buf, size_t size) {
  struct stat st;
  if (fstat(fd, &st) != 0 || !(S_ISREG(st.st_mode) || S_ISDIR(st.st_mode))) return NULL;
  char link[64];
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t n = readlink(link, buf, size - 1);
  if (n < 0) return NULL;
  buf[n] = '\0';
  return buf;
}

static int matches(const char* a, const char* b) {
  if (!filter[0]) return 1;
  return (a && strstr(a, filter)) || (b && strstr(b, filter));
}

// Whether this call fails, and with which errno; logs it. Called with the paths it touches.
static int judge(const char* call, const char* a, const char* b, int* err) {
  if (inside) return 0;
  if (!matches(a, b)) return 0;
  pthread_mutex_lock(&lock);
  int fail = 0;
  for (int i = 0; i < ruleCount && !fail; ++i) {
    struct Rule* r = &rules[i];
    if (strcmp(r->call, call) != 0) continue;
    const long k = r->seen++;
    if (k >= r->skip && (r->times < 0 || k < r->skip + r->times)) {
      fail = 1;
      *err = r->err;
    }
  }
  char line[8400];
  const int len = snprintf(line, sizeof line, "%s %s%s%s -> %s\n", call, a ? a : "", b ? " " : "",
                           b ? b : "", fail ? "fails" : "ok");
  if (len > 0 && logUsed + (size_t)len < kLogSize) {
    memcpy(log_ + logUsed, line, (size_t)len);
    logUsed += (size_t)len;
    log_[logUsed] = '\0';
  }
  if (logFd >= 0 && len > 0) {
    inside = 1;
    ssize_t ignored = write(logFd, line, (size_t)len);
    (void)ignored;
    inside = 0;
  }
  pthread_mutex_unlock(&lock);
  return fail;
}

static int judgeFd(const char* call, int fd, int* err) {
  if (inside) return 0;
  char buf[4096];
  const char* path = pathOf(fd, buf, sizeof buf);
  return path ? judge(call, path, NULL, err) : 0;
}

#define REAL(name) ((__typeof__(&name))dlsym(RTLD_NEXT, #name))
// Ends the call with -1 and the rule's errno when the rule makes it fail.
#define FAIL_WHEN(judged) \
  do {                    \
    int err_ = 0;         \
    if (judged) {         \
      errno = err_;       \
      return -1;          \
    }                     \
  } while (0)

int rename(const char* from, const char* to) {
  FAIL_WHEN(judge("rename", from, to, &err_));
  return REAL(rename)(from, to);
}

int renameat(int fromDir, const char* from, int toDir, const char* to) {
  FAIL_WHEN(judge("rename", from, to, &err_));
  return REAL(renameat)(fromDir, from, toDir, to);
}

int link(const char* from, const char* to) {
  FAIL_WHEN(judge("link", from, to, &err_));
  return REAL(link)(from, to);
}

int unlink(const char* path) {
  FAIL_WHEN(judge("unlink", path, NULL, &err_));
  return REAL(unlink)(path);
}

ssize_t write(int fd, const void* buf, size_t n) {
  FAIL_WHEN(judgeFd("write", fd, &err_));
  return REAL(write)(fd, buf, n);
}

ssize_t pwrite(int fd, const void* buf, size_t n, off_t at) {
  FAIL_WHEN(judgeFd("pwrite", fd, &err_));
  return REAL(pwrite)(fd, buf, n, at);
}

ssize_t pwrite64(int fd, const void* buf, size_t n, off64_t at) {
  FAIL_WHEN(judgeFd("pwrite", fd, &err_));
  return REAL(pwrite64)(fd, buf, n, at);
}

int fsync(int fd) {
  FAIL_WHEN(judgeFd("fsync", fd, &err_));
  return REAL(fsync)(fd);
}

int fdatasync(int fd) {
  FAIL_WHEN(judgeFd("fsync", fd, &err_));
  return REAL(fdatasync)(fd);
}
