// zelvora-make: makes the same gallery as the wizard's Create, from the
// command line.

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/GalleryFiles.h"
#include "cli/GalleryInput.h"
#include "cli/OptionKeys.h"
#include "cli/TerminalHost.h"
#include "gallery/GallerySet.h"
#include "gallery/ImageGalleryList.h"
#include "generation/GenerationRun.h"
#include "util/PathUtils.h"

namespace {

namespace fs = std::filesystem;

constexpr int kExitWritten = 0;
constexpr int kExitStopped = 1;
constexpr int kExitBadInput = 2;

void Say(const std::string& message) { std::cerr << "zelvora-make: " << message << "\n"; }

int Fail(const std::string& message) {
  Say(message);
  return kExitBadInput;
}

std::string Count(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The system's reason why a folder cannot be made; empty when it can.
std::string WhyNoFolder(const std::string& folder) {
  std::error_code ec;
  fs::create_directories(fs::path(folder), ec);
  if (ec) return ec.message();
  if (!fs::is_directory(fs::path(folder), ec)) return "it is not a folder";
  return {};
}

bool HasExistingPicture(const zelvora::TImageGalleryList& list) {
  for (int i = 0; i < list.Count(); ++i)
    if (list.IsImage(i) && zelvora::FileExists(list.Items(i)->FileName)) return true;
  return false;
}

// Pictures the run found but could not read: they have a number but no
// thumbnail.
std::vector<std::string> UnreadablePictures(const zelvora::TImageGalleryList& list) {
  std::vector<std::string> paths;
  for (int i = 0; i < list.Count(); ++i) {
    const zelvora::TImageGalleryItem* item = list.Items(i);
    if (item->IsImage() && item->Number > 0 && item->ThumbFileSize <= 0)
      paths.push_back(item->FileName);
  }
  return paths;
}

void TellAboutCopies(const zelvora::cli::TTerminalHost& host, zelvora::cli::TOverwriteMode mode,
                     bool interactive) {
  const int replaced = host.ReplacedCopies(), kept = host.KeptCopies();
  if (replaced + kept == 0) return;
  using zelvora::cli::TOverwriteMode;
  const bool byPicture = mode == TOverwriteMode::Never ||
                         ((mode == TOverwriteMode::Default || mode == TOverwriteMode::Ask) &&
                          !interactive);
  std::string message = "picture copies already in the output folder: " +
                        std::to_string(replaced) + " replaced";
  if (byPicture) message += " (their pictures are newer or differ in size)";
  message += ", " + std::to_string(kept) + " kept";
  if (byPicture && kept > 0) message += " (unchanged; --overwrite always replaces them too)";
  Say(message);
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
    std::cout << UsageText();
    return kExitWritten;
  }
  if (line->Version) {
    std::cout << VersionText() << "\n";
    return kExitWritten;
  }
  if (line->ListKeys) {
    std::cout << OptionKeysText();
    return kExitWritten;
  }

  TGallerySet options;
  TImageGalleryList list;
  TGenerationParams params;
  std::vector<std::string> notes;
  if (!PrepareGalleryInput(*line, ProgramFolder(argc > 0 ? argv[0] : ""), options, list, params,
                           notes, error))
    return Fail(error);
  for (const std::string& note : notes) Say(note);

  // The output folder the user named is made before the run, so that a
  // folder that cannot be made is told as such, with the system's reason.
  const std::string outputFolder = ExcludeTrailingDelimiters(options.OutputFolder);
  const bool anyPicture = HasExistingPicture(list);
  if (anyPicture) {
    if (std::string why = WhyNoFolder(outputFolder); !why.empty())
      return Fail("cannot make the output folder " + line->OutputFolder + ": " + why);
  }
  // Read before the run writes the new list and options over them.
  const std::set<std::string> previous = PreviousGalleryFiles(outputFolder);

  const bool interactive = isatty(STDIN_FILENO) && isatty(STDERR_FILENO);
  // Every existing copy goes to the host, which answers by --overwrite.
  params.InitialOverwriteAnswer = kOverwriteAsk;
  TTerminalHost host(interactive, !line->Quiet, line->Overwrite);
  host.Watch(&list, &options);
  TRecordingFileSystem fileSystem;
  params.Jobs = line->Jobs;
  TGenerationRun run(host, fileSystem);
  host.Attach(&run);
  TTerminalHost::InstallInterruptHandler();
  TRunOutcome outcome = run.Execute(list, options, params);
  host.ClearBars();

  if (outcome == TRunOutcome::Stopped) {
    Say("the run stopped; the files written so far stay in " + options.OutputFolder);
    return kExitStopped;
  }
  if (run.GalleryStartPage().empty()) {
    if (anyPicture && !options.ThumbFolder.empty()) {
      const std::string why = WhyNoFolder(ExcludeTrailingDelimiters(options.ThumbFolder));
      Say("nothing was written: cannot make the thumbnail folder " + options.ThumbFolder +
          (why.empty() ? std::string() : ": " + why));
    } else {
      Say("nothing was written: the list holds no picture that exists");
    }
    return kExitStopped;
  }

  if (const std::vector<std::string> unreadable = UnreadablePictures(list); !unreadable.empty()) {
    std::string message = Count(unreadable.size(), "picture", "pictures") +
                          (unreadable.size() == 1 ? " could not be read and has no thumbnail: "
                                                  : " could not be read and have no thumbnail: ");
    for (std::size_t i = 0; i < unreadable.size(); ++i)
      message += (i ? ", " : "") + unreadable[i];
    Say(message);
  }
  TellAboutCopies(host, line->Overwrite, interactive);

  // Files of the gallery written here before that this one neither wrote
  // nor refers to.
  std::set<std::string> current = FinishedGalleryFiles(list, options);
  current.merge(fileSystem.Written());
  for (const std::string& kept : host.KeptCopyPaths()) current.insert(GalleryPathKey(kept));
  const std::vector<std::string> stale = StaleGalleryFiles(previous, current, list);
  if (!stale.empty()) {
    if (line->Clean) {
      std::size_t removed = 0;
      for (const std::string& path : stale) {
        std::error_code ec;
        if (fs::remove(fs::path(path), ec)) {
          ++removed;
        } else if (ec) {
          Say("cannot remove " + path + ": " + ec.message());
        }
      }
      Say("removed " + Count(removed, "file", "files") +
          " of the previous gallery that this run did not write");
    } else {
      // The new ImageIndex.igl no longer names them: a later run cannot
      // find them, and the user should know that now.
      Say("left " + Count(stale.size(), "file", "files") +
          " of the previous gallery that this run did not write; a run with --clean "
          "removes such files, later runs no longer know them");
    }
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
