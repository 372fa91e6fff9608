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
  bool Clean = false;
  bool Quiet = false;
  int Jobs = 0;  // 0: one per core
  // Requests that print something and end the program before any input is
  // read.
  bool Help = false;
  bool Version = false;
  bool ListKeys = false;
  std::string OutputFolder;
};

// The parsed arguments, or nullopt with the reason in error. --help,
// --version and --list-keys end the parsing where they stand.
std::optional<TCommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                             std::string& error);

// --help's text, made from the option table.
std::string UsageText();
// "zelvora-make " and the program's version.
std::string VersionText();

}  // namespace zelvora::cli
