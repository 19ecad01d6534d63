#pragma once
// Write faults for tests: the fault injector (tests/support/faults/fault_injector.c) is a
// library loaded with LD_PRELOAD, so a test that needs it runs itself again in a child process
// that preloads it:
//
//   TEST(Saving, X) {
//     if (test::WriteFaults::ranInChild()) return;
//     test::WriteFaults faults(dir.path());
//     faults.fail("rename", 1);  // the first rename passes, every later one fails
//     ...
//   }

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace qj::test {

class WriteFaults {
 public:
  // In the test's own process: runs the test in a child with the injector preloaded, reports
  // the child's outcome as this test's, and returns true. In the child: returns false, and
  // the test goes on.
  static bool ranInChild() {
    if (std::getenv("QJ_FAULT_CHILD")) {
      if (!control<void (*)(const char*)>("qj_faults_reset"))
        ADD_FAILURE() << "the fault injector is not loaded";
      return false;
    }
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string filter =
        std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name();
    std::vector<std::string> env;
    std::string preload = QJ_FAULT_INJECTOR;
    std::string asan = "verify_asan_link_order=0";
    for (char** e = environ; *e; ++e) {
      const std::string var = *e;
      if (var.starts_with("LD_PRELOAD="))
        preload += " " + var.substr(11);
      else if (var.starts_with("ASAN_OPTIONS="))
        asan += ":" + var.substr(13);
      else
        env.push_back(var);
    }
    env.push_back("LD_PRELOAD=" + preload);
    env.push_back("ASAN_OPTIONS=" + asan);
    env.push_back("QJ_FAULT_CHILD=1");
    const std::string output = run({"/proc/self/exe", filter}, env);
    const bool passed = output.find("[  PASSED  ] 1 test.") != std::string::npos;
    EXPECT_TRUE(passed) << "the test under the fault injector:\n" << output;
    return true;
  }

  // Faults and the log apply to paths that hold `folder`'s path from here on.
  explicit WriteFaults(const std::filesystem::path& folder) : folder_(folder) {
    control<void (*)(const char*)>("qj_faults_reset")(folder_.c_str());
  }
  ~WriteFaults() { control<void (*)(const char*)>("qj_faults_reset")("\x01no path"); }
  WriteFaults(const WriteFaults&) = delete;
  WriteFaults& operator=(const WriteFaults&) = delete;

  // After `skip` calls of `call` ("rename", "link", "unlink", "write", "pwrite", "fsync") that
  // pass, `times` calls fail (every later one with -1), with `err` (0: ENOSPC for writes, else
  // EIO).
  void fail(const char* call, long skip = 0, long times = -1, int err = 0) {
    control<void (*)(const char*, long, long, int)>("qj_faults_add")(call, skip, times, err);
  }
  // Ends every fault given so far and starts a new log.
  void clear() { control<void (*)(const char*)>("qj_faults_reset")(folder_.c_str()); }
  // The calls seen, one a line: "fsync <path> -> ok", "rename <from> <to> -> fails" ("ok":
  // passed on to the system, whatever it answered).
  std::string log() const { return control<const char* (*)()>("qj_faults_log")(); }
  // The log's renames, links and syncs, with the folder written "D" and temporary names
  // "<temp>".
  std::vector<std::string> syncsAndRenames() const {
    static const std::regex temp(R"(/\.[^ /]*\.tmp-[0-9-]+)");
    std::vector<std::string> lines;
    std::istringstream in(log());
    for (std::string line; std::getline(in, line);) {
      if (line.starts_with("write ") || line.starts_with("pwrite ") || line.starts_with("unlink "))
        continue;
      for (size_t at; (at = line.find(folder_.string())) != std::string::npos;)
        line.replace(at, folder_.string().size(), "D");
      lines.push_back(std::regex_replace(line, temp, "/<temp>"));
    }
    return lines;
  }

 private:
  template <typename F>
  static F control(const char* name) {
    return reinterpret_cast<F>(::dlsym(RTLD_DEFAULT, name));
  }

  static std::string run(const std::vector<std::string>& args,
                         const std::vector<std::string>& env) {
    std::vector<char*> argv, envp;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    int out[2];
    if (::pipe(out) != 0) return "no pipe";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, out[1], 2);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    std::string output;
    char buf[4096];
    for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) != 0;) {
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) break;
      output.append(buf, static_cast<size_t>(n));
    }
    ::close(out[0]);
    if (spawned != 0) return "the test could not be run again: " + std::to_string(spawned);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return output;
  }

  std::filesystem::path folder_;
};

}  // namespace qj::test
