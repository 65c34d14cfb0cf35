// The runner as a script calls it: a temporary folder for files, and a run
// with its exit status, standard output and standard error.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

struct TResult {
  int Status = -1;
  std::string Out, Err;
};

class Runner : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tarmisy-cli-" + std::to_string(getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string File(const std::string& name, const std::string& bytes) {
    const fs::path p = dir_ / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p.string();
  }
  static std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // Runs the runner with args (a shell fragment) and stdin from /dev/null
  // unless the fragment redirects it.
  TResult Run(const std::string& args, const std::string& prefix = "") {
    const fs::path out = dir_ / "out", err = dir_ / "err";
    const std::string cmd = prefix + std::string(TARMISY_RUN) + " " + args + " >" + out.string() + " 2>" +
                            err.string() + (args.find('<') == std::string::npos ? " </dev/null" : "");
    TResult r;
    const int status = std::system(cmd.c_str());
    r.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.Out = Read(out);
    r.Err = Read(err);
    return r;
  }

  // Runs a bash script in the temporary folder with $RUN naming the runner;
  // the script does its own redirections and ends with the status to test.
  TResult Sh(const std::string& script) {
    const fs::path file = dir_ / "script.sh", out = dir_ / "sh.out", err = dir_ / "sh.err";
    std::ofstream(file) << "cd '" << dir_.string() << "'\nRUN='" << TARMISY_RUN << "'\n" << script << "\n";
    const std::string cmd = "bash " + file.string() + " >" + out.string() + " 2>" + err.string() + " </dev/null";
    TResult r;
    const int status = std::system(cmd.c_str());
    r.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.Out = Read(out);
    r.Err = Read(err);
    return r;
  }

  fs::path dir_;
};
