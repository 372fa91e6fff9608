// zelvora-make: makes the same gallery as the wizard's Create, from the
// command line.

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/GalleryInput.h"
#include "cli/TerminalHost.h"
#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "generation/GenerationRun.h"
#include "generation/RunFileSystem.h"
#include "util/PathUtils.h"

namespace {

constexpr int kExitWritten = 0;
constexpr int kExitStopped = 1;
constexpr int kExitBadInput = 2;

int Fail(const std::string& message) {
  std::cerr << "zelvora-make: " << message << "\n";
  return kExitBadInput;
}

int Main(int argc, char** argv) {
  using namespace zelvora;
  using namespace zelvora::cli;

  std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  std::optional<TCommandLine> line = ParseCommandLine(args, error);
  if (!line) {
    std::cerr << "zelvora-make: " << error << "\n"
              << "Try 'zelvora-make --help'.\n";
    return kExitBadInput;
  }
  if (line->Help) {
    std::fputs(UsageText(), stdout);
    return kExitWritten;
  }

  TGallerySet options;
  TImageGalleryList list;
  TGenerationParams params;
  std::string listMessage;
  if (!PrepareGalleryInput(*line, ProgramFolder(argc > 0 ? argv[0] : ""), options, list, params,
                           listMessage, error))
    return Fail(error);
  if (!listMessage.empty()) std::cerr << "zelvora-make: " << listMessage << "\n";

  const bool interactive = isatty(STDIN_FILENO) && isatty(STDERR_FILENO);
  switch (line->Overwrite) {
    case TOverwriteMode::Default:
      params.InitialOverwriteAnswer = interactive ? kOverwriteAsk : kOverwriteNever;
      break;
    case TOverwriteMode::Ask:
      params.InitialOverwriteAnswer = kOverwriteAsk;
      break;
    case TOverwriteMode::Never:
      params.InitialOverwriteAnswer = kOverwriteNever;
      break;
    case TOverwriteMode::Always:
      params.InitialOverwriteAnswer = kOverwriteAlways;
      break;
  }

  params.Jobs = line->Jobs;

  TTerminalHost host(interactive, !line->Quiet);
  TRealFileSystem fileSystem;
  TGenerationRun run(host, fileSystem);
  host.Attach(&run);
  TTerminalHost::InstallInterruptHandler();
  TRunOutcome outcome = run.Execute(list, options, params);
  host.ClearBars();

  if (outcome == TRunOutcome::Stopped) {
    std::cerr << "zelvora-make: the run stopped; the files written so far stay in "
              << options.OutputFolder << "\n";
    return kExitStopped;
  }
  if (run.GalleryStartPage().empty()) {
    std::cerr << "zelvora-make: nothing was written: the list holds no picture that exists\n";
    return kExitStopped;
  }
  std::cout << run.GalleryStartPage() << "\n";
  return kExitWritten;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Main(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "zelvora-make: " << e.what() << "\n";
  } catch (...) {
    std::cerr << "zelvora-make: unexpected failure\n";
  }
  return kExitStopped;
}
