#include "cli/CommandLine.h"

namespace zelvora::cli {

const char* UsageText() {
  return "usage: zelvora-make [--options FILE.gof] [--set KEY=VALUE]...\n"
         "                    (--list FILE | --folder DIR [--subfolders])\n"
         "                    [--background FILE] [--overwrite ask|never|always] [--quiet]\n"
         "                    [--jobs N]\n"
         "                    OUTPUT_FOLDER\n"
         "\n"
         "Makes a web gallery of the pictures in a list file (.igl or a plain list of\n"
         "paths) or a folder, and prints the path of its start page.\n"
         "\n"
         "  --options FILE     gallery options file to start from (after Templates/)\n"
         "  --set KEY=VALUE    one more option line, as in an options file\n"
         "  --list FILE        image list: .igl, or any other file as a list of paths\n"
         "  --folder DIR       every picture of DIR (with --subfolders, of its tree)\n"
         "  --background FILE  page background picture\n"
         "  --overwrite MODE   existing picture copies: ask (on a terminal), never\n"
         "                     (the default elsewhere) or always\n"
         "  --quiet            no progress bars\n"
         "  --jobs N           pictures loaded and scaled at once (default: one per core)\n"
         "\n"
         "Exit status: 0 the gallery was written, 1 the run stopped or wrote nothing,\n"
         "2 wrong arguments or an input that cannot be read.\n";
}

std::optional<TCommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                             std::string& error) {
  TCommandLine line;
  std::vector<std::string> positional;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
      positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    std::string name = arg, value;
    bool hasValue = false;
    if (std::size_t eq = arg.find('='); eq != std::string::npos) {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
      hasValue = true;
    }
    auto takeValue = [&]() -> bool {
      if (hasValue) return true;
      if (i + 1 >= args.size()) {
        error = name + " needs a value";
        return false;
      }
      value = args[++i];
      return true;
    };
    auto noValue = [&]() -> bool {
      if (!hasValue) return true;
      error = name + " takes no value";
      return false;
    };
    if (name == "--options") {
      if (!takeValue()) return std::nullopt;
      line.OptionsFile = value;
    } else if (name == "--set") {
      if (!takeValue()) return std::nullopt;
      if (value.find('=') == std::string::npos || value.front() == '=') {
        error = "--set needs KEY=VALUE, not \"" + value + "\"";
        return std::nullopt;
      }
      line.SetLines.push_back(value);
    } else if (name == "--list") {
      if (!takeValue()) return std::nullopt;
      line.ListFile = value;
    } else if (name == "--folder") {
      if (!takeValue()) return std::nullopt;
      line.Folder = value;
    } else if (name == "--subfolders") {
      if (!noValue()) return std::nullopt;
      line.Subfolders = true;
    } else if (name == "--background") {
      if (!takeValue()) return std::nullopt;
      line.BackgroundFile = value;
    } else if (name == "--overwrite") {
      if (!takeValue()) return std::nullopt;
      if (value == "ask") {
        line.Overwrite = TOverwriteMode::Ask;
      } else if (value == "never") {
        line.Overwrite = TOverwriteMode::Never;
      } else if (value == "always") {
        line.Overwrite = TOverwriteMode::Always;
      } else {
        error = "--overwrite takes ask, never or always, not \"" + value + "\"";
        return std::nullopt;
      }
    } else if (name == "--jobs") {
      if (!takeValue()) return std::nullopt;
      const bool digits = !value.empty() && value.size() <= 4 &&
                          value.find_first_not_of("0123456789") == std::string::npos;
      line.Jobs = digits ? std::stoi(value) : 0;
      if (line.Jobs < 1 || line.Jobs > 256) {
        error = "--jobs takes a number from 1 to 256, not \"" + value + "\"";
        return std::nullopt;
      }
    } else if (name == "--quiet") {
      if (!noValue()) return std::nullopt;
      line.Quiet = true;
    } else if (name == "--help") {
      line.Help = true;
      return line;
    } else {
      error = "unknown option " + name;
      return std::nullopt;
    }
  }
  if (line.ListFile.empty() == line.Folder.empty()) {
    error = "give either --list FILE or --folder DIR";
    return std::nullopt;
  }
  if (line.Subfolders && line.Folder.empty()) {
    error = "--subfolders goes with --folder";
    return std::nullopt;
  }
  if (positional.size() != 1 || positional.front().empty()) {
    error = positional.empty() ? "the output folder is missing" : "give one output folder";
    return std::nullopt;
  }
  line.OutputFolder = positional.front();
  return line;
}

}  // namespace zelvora::cli
