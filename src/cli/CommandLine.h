#pragma once
// zelvora-make's arguments.

#include <optional>
#include <string>
#include <vector>

namespace zelvora::cli {

enum class TOverwriteMode { Default, Ask, Never, Always };

struct TCommandLine {
  std::string OptionsFile;
  std::vector<std::string> SetLines;  // KEY=VALUE, in the order given
  std::string ListFile;
  std::string Folder;
  bool Subfolders = false;
  std::string BackgroundFile;
  TOverwriteMode Overwrite = TOverwriteMode::Default;
  bool Quiet = false;
  int Jobs = 0;  // 0: one per core
  bool Help = false;
  std::string OutputFolder;
};

// The parsed arguments, or nullopt with the reason in error.
std::optional<TCommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                             std::string& error);

const char* UsageText();

}  // namespace zelvora::cli
