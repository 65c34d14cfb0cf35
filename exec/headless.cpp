#include "headless.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "program.h"
#include "session.h"

int RunHeadless(const std::vector<std::string>& lines, const THeadlessOptions& options,
                const TTextHost::TOutput& output,
                const std::function<bool(std::string& line, const std::atomic<bool>& stop)>& input,
                const std::function<void(std::string_view)>& report, THeadlessStats* stats) {
  const std::atomic<bool>* stop = nullptr;
  TTextHost host(output, [&](std::string& line) { return input && input(line, *stop); }, options.EchoInput);
  host.Animate = options.Animate;
  host.KeepConsoleText(false);  // the output is streamed as it comes
  TRunSession session(host, options.Factory, false);
  stop = &session.State().StoppedByUser;
  session.State().StepLimit = options.StepLimit;
  session.State().DetectLoops = options.DetectLoops;
  session.State().CountInstructions = options.CountInstructions;

  TProgramBuilder build = ProgramBuilder(lines, options.ExecutorKind, &host);
  if (options.Prepare)
    build = [&options, compile = std::move(build)] {
      std::unique_ptr<TPseudoCode> code = compile();
      if (code) options.Prepare(*code);
      return code;
    };
  if (session.Run(build) == crTranslationError) {
    const ECompileException& e = *session.TranslationError();
    report(std::to_string(e.Line + 1) + ":" + std::to_string(e.Col) + ": " + e.Message() + "\n");
    return hsTranslation;
  }
  // Most runs of a pupil's program are over in well under a millisecond, so
  // the first looks come quickly and the pace then slows to one every 2 ms.
  auto pause = std::chrono::microseconds(50);
  while (session.Running()) {
    if (options.Interrupted && options.Interrupted()) session.Stop();
    std::this_thread::sleep_for(pause);
    pause = std::min<std::chrono::microseconds>(pause * 2, std::chrono::milliseconds(2));
  }
  session.Wait();
  host.Finish();
  if (stats) {
    stats->Instructions = session.State().Executed.load();
    stats->LoopLine = session.State().LoopLine.load();
    stats->StepLimitReached = session.State().StepLimitReached.load();
  }

  if (host.HasError()) {
    const std::string where = host.ErrorLine() >= 0 ? std::to_string(host.ErrorLine() + 1) + ": " : "";
    report(where + host.ErrorText() + "\n");
    return hsRunTime;
  }
  const TRunEnd end = host.End().value_or(reFinished);
  if (end == reVerdictDue && options.Verdict) {
    std::string text;
    const bool solved = options.Verdict(text);
    report(text + "\n");
    return solved ? hsOk : hsNotSolved;
  }
  report(RunEndText(end) + "\n");
  return end == reStopped ? hsStopped : hsOk;
}
