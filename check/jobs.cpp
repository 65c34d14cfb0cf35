#include "jobs.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

extern char** environ;

namespace {

using TClock = std::chrono::steady_clock;

// A child that had SIGTERM this long ago and still runs gets SIGKILL.
constexpr double kKillGrace = 2.0;

struct TChild {
  size_t Job = 0;
  pid_t Pid = -1;
  int OutFd = -1, ErrFd = -1;
  TClock::time_point Start;
  bool Exited = false;
  bool Termed = false;
  TClock::time_point TermAt;
};

double Since(TClock::time_point t) { return std::chrono::duration<double>(TClock::now() - t).count(); }

// Starts job with its streams on two new pipes; false when it cannot.
bool Spawn(const TJob& job, TChild& child) {
  int out[2], err[2];
  if (pipe2(out, O_CLOEXEC) != 0) return false;
  if (pipe2(err, O_CLOEXEC) != 0) {
    close(out[0]);
    close(out[1]);
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, job.Stdin.empty() ? "/dev/null" : job.Stdin.c_str(),
                                   O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  // A group of its own: a terminal's Ctrl+C reaches the checker only, which
  // then stops the children itself.
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attr, 0);
  std::vector<char*> argv;
  for (const std::string& a : job.Argv) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const int rc = posix_spawn(&child.Pid, argv[0], &actions, &attr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attr);
  close(out[1]);
  close(err[1]);
  if (rc != 0) {
    close(out[0]);
    close(err[0]);
    return false;
  }
  child.OutFd = out[0];
  child.ErrFd = err[0];
  child.Start = TClock::now();
  return true;
}

// Reads what is there; closes the descriptor at its end.
void Drain(int& fd, std::string& into, size_t cap) {
  char buffer[65536];
  const ssize_t n = read(fd, buffer, sizeof buffer);
  if (n > 0) {
    if (into.size() < cap) into.append(buffer, std::min(static_cast<size_t>(n), cap - into.size()));
    return;
  }
  if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
  close(fd);
  fd = -1;
}

}  // namespace

std::vector<TJobResult> TJobPool::Run(const std::vector<TJob>& jobs, const std::function<void(size_t)>& started,
                                      const std::function<void(size_t, const TJobResult&)>& finished,
                                      const std::function<bool()>& stop) {
  std::vector<TJobResult> results(jobs.size());
  std::vector<TChild> running;
  size_t next = 0;
  for (;;) {
    const bool stopping = stop && stop();
    while (!stopping && next < jobs.size() && static_cast<int>(running.size()) < parallel_) {
      TChild child;
      child.Job = next++;
      if (!Spawn(jobs[child.Job], child)) {
        results[child.Job].Started = false;
        if (finished) finished(child.Job, results[child.Job]);
        continue;
      }
      if (started) started(child.Job);
      running.push_back(child);
    }
    if (running.empty() && (stopping || next >= jobs.size())) break;

    std::vector<pollfd> fds;
    std::vector<std::pair<size_t, bool>> owners;  // child index, stdout?
    for (size_t i = 0; i < running.size(); ++i) {
      if (running[i].OutFd >= 0) {
        fds.push_back({running[i].OutFd, POLLIN, 0});
        owners.push_back({i, true});
      }
      if (running[i].ErrFd >= 0) {
        fds.push_back({running[i].ErrFd, POLLIN, 0});
        owners.push_back({i, false});
      }
    }
    // A child whose streams have closed is about to be reaped: look again
    // soon rather than sleep a whole round.
    bool ending = false;
    for (const TChild& c : running) ending = ending || (c.OutFd < 0 && c.ErrFd < 0);
    poll(fds.data(), fds.size(), ending ? 1 : 20);
    for (size_t k = 0; k < fds.size(); ++k) {
      if (!(fds[k].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      TChild& c = running[owners[k].first];
      TJobResult& r = results[c.Job];
      if (owners[k].second) Drain(c.OutFd, r.Out, cap_);
      else Drain(c.ErrFd, r.Err, cap_);
    }
    for (size_t i = 0; i < running.size();) {
      TChild& c = running[i];
      TJobResult& r = results[c.Job];
      if (!c.Exited) {
        int status = 0;
        if (waitpid(c.Pid, &status, WNOHANG) == c.Pid) {
          c.Exited = true;
          r.Seconds = Since(c.Start);
          if (WIFEXITED(status)) r.Status = WEXITSTATUS(status);
          else if (WIFSIGNALED(status)) r.Signal = WTERMSIG(status);
        } else if (stopping) {
          kill(c.Pid, SIGKILL);
        } else if (!c.Termed && Since(c.Start) > timeLimit_) {
          // A stop the runner understands: it still writes its picture.
          r.TimedOut = true;
          c.Termed = true;
          c.TermAt = TClock::now();
          kill(c.Pid, SIGTERM);
        } else if (c.Termed && Since(c.TermAt) > kKillGrace) {
          kill(c.Pid, SIGKILL);
        }
      }
      // A child's streams may outlive it (a grandchild holding them): they
      // are given up with it.
      if (c.Exited && ((c.OutFd < 0 && c.ErrFd < 0) || Since(c.Start) > r.Seconds + kKillGrace)) {
        if (c.OutFd >= 0) close(c.OutFd);
        if (c.ErrFd >= 0) close(c.ErrFd);
        if (finished) finished(c.Job, r);
        running.erase(running.begin() + static_cast<std::ptrdiff_t>(i));
      } else {
        ++i;
      }
    }
  }
  for (size_t j = next; j < jobs.size(); ++j) results[j].Started = false;
  return results;
}
