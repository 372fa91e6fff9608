#include "cli/CommandLine.h"

#include <string_view>

#ifndef ZELVORA_VERSION
#define ZELVORA_VERSION "unknown"
#endif

namespace zelvora::cli {

namespace {

using TApply = bool (*)(TCommandLine& line, const std::string& value, std::string& error);

// One option: its names, its value (none for a switch), its help and what it
// does. --help is made from this table, and so is the man page.
struct TOptionSpec {
  const char* Name;
  const char* Short;      // nullptr when there is none
  const char* ValueName;  // nullptr for a switch
  const char* Help;       // lines after the first start with "\n"
  TApply Apply;
};

bool SetOverwrite(TCommandLine& line, const std::string& value, std::string& error) {
  if (value == "ask") {
    line.Overwrite = TOverwriteMode::Ask;
  } else if (value == "never") {
    line.Overwrite = TOverwriteMode::Never;
  } else if (value == "always") {
    line.Overwrite = TOverwriteMode::Always;
  } else {
    error = "--overwrite takes ask, never or always, not \"" + value + "\"";
    return false;
  }
  return true;
}

bool AddSetLine(TCommandLine& line, const std::string& value, std::string& error) {
  if (value.find('=') == std::string::npos || value.front() == '=') {
    error = "--set needs KEY=VALUE, not \"" + value + "\"";
    return false;
  }
  line.SetLines.push_back(value);
  return true;
}

bool SetJobs(TCommandLine& line, const std::string& value, std::string& error) {
  const bool digits = !value.empty() && value.size() <= 4 &&
                      value.find_first_not_of("0123456789") == std::string::npos;
  line.Jobs = digits ? std::stoi(value) : 0;
  if (line.Jobs < 1 || line.Jobs > 256) {
    error = "--jobs takes a number from 1 to 256, not \"" + value + "\"";
    return false;
  }
  return true;
}

const TOptionSpec kOptions[] = {
    {"--options", nullptr, "FILE.gof",
     "gallery options file to start from (after the start-up\nfiles of Templates/)",
     [](TCommandLine& l, const std::string& v, std::string&) { return l.OptionsFile = v, true; }},
    {"--set", nullptr, "KEY=VALUE",
     "one more line of the options file; KEY is any key of\nGalleryOptions.gof (see "
     "--list-keys), the last --set of\na key wins",
     AddSetLine},
    {"--list", nullptr, "FILE",
     "image list: .igl, or any other file as a list of paths",
     [](TCommandLine& l, const std::string& v, std::string&) { return l.ListFile = v, true; }},
    {"--folder", nullptr, "DIR", "every picture of DIR",
     [](TCommandLine& l, const std::string& v, std::string&) { return l.Folder = v, true; }},
    {"--subfolders", nullptr, nullptr,
     "with --folder: the pictures of its whole tree, leaving\nout the output folder and "
     "galleries written earlier",
     [](TCommandLine& l, const std::string&, std::string&) { return l.Subfolders = true, true; }},
    {"--background", nullptr, "FILE", "page background picture",
     [](TCommandLine& l, const std::string& v, std::string&) {
       return l.BackgroundFile = v, true;
     }},
    {"--overwrite", nullptr, "MODE",
     "picture copies already in the output folder: ask (the\ndefault on a terminal), never "
     "(the default elsewhere:\na copy is replaced only when its picture is newer or\ndiffers "
     "in size) or always",
     SetOverwrite},
    {"--clean", nullptr, nullptr,
     "after a successful run, remove the pages, thumbnails\nand copies of the gallery "
     "written there before that\nthis run did not write",
     [](TCommandLine& l, const std::string&, std::string&) { return l.Clean = true, true; }},
    {"--jobs", nullptr, "N",
     "pictures loaded and scaled at once (default: one per\ncore); the gallery is the same "
     "for any N",
     SetJobs},
    {"--quiet", nullptr, nullptr, "no progress bars",
     [](TCommandLine& l, const std::string&, std::string&) { return l.Quiet = true, true; }},
    {"--list-keys", nullptr, nullptr,
     "print every key of the options file with its type,\ndefault and meaning, and exit",
     [](TCommandLine& l, const std::string&, std::string&) { return l.ListKeys = true, true; }},
    {"--help", "-h", nullptr, "print this help and exit",
     [](TCommandLine& l, const std::string&, std::string&) { return l.Help = true, true; }},
    {"--version", nullptr, nullptr, "print the version and exit",
     [](TCommandLine& l, const std::string&, std::string&) { return l.Version = true, true; }},
};

const TOptionSpec* FindOption(std::string_view name) {
  for (const TOptionSpec& option : kOptions)
    if (name == option.Name || (option.Short && name == option.Short)) return &option;
  return nullptr;
}

}  // namespace

std::string VersionText() { return std::string("zelvora-make ") + ZELVORA_VERSION; }

std::string UsageText() {
  std::string text =
      "Usage: zelvora-make [OPTION]... (--list FILE | --folder DIR) OUTPUT_FOLDER\n"
      "Makes a static web gallery of the pictures in a list file or a folder: thumbnail\n"
      "pages, a page per picture, thumbnails and copies of the pictures. Prints the\n"
      "path of the gallery's start page.\n"
      "\n"
      "Options:\n";
  constexpr std::size_t kHelpColumn = 26;
  for (const TOptionSpec& option : kOptions) {
    std::string names = "  ";
    names += option.Short ? std::string(option.Short) + ", " : std::string("    ");
    names += option.Name;
    if (option.ValueName) names += std::string(" ") + option.ValueName;
    if (names.size() + 1 >= kHelpColumn) {
      text += names + "\n" + std::string(kHelpColumn, ' ');
    } else {
      text += names + std::string(kHelpColumn - names.size(), ' ');
    }
    for (const char* c = option.Help; *c; ++c) {
      text += *c;
      if (*c == '\n') text += std::string(kHelpColumn, ' ');
    }
    text += "\n";
  }
  text +=
      "\n"
      "Options are read in the wizard's order: the built-in defaults, the start-up\n"
      "files of Templates/ (beside the program or in ../share/zelvora/), the file of\n"
      "--options, then every --set. The keys of --set are those of the gallery options\n"
      "file (GalleryOptions.gof); --list-keys prints them. A --set value must suit its\n"
      "key; an options file is read as the wizard reads it, and the lines it could not\n"
      "take as written are named on standard error.\n"
      "\n"
      "An argument after \"--\" is the output folder even when it starts with \"-\".\n"
      "\n"
      "Exit status:\n"
      "  0  the gallery was written\n"
      "  1  the run stopped, or there was nothing to write\n"
      "  2  wrong arguments, an input that cannot be read or an output folder that\n"
      "     cannot be made\n";
  return text;
}

std::optional<TCommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                             std::string& error) {
  TCommandLine line;
  std::vector<std::string> positional;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.empty() || arg.front() != '-') {
      positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    std::string name = arg, value;
    bool hasValue = false;
    if (arg.starts_with("--")) {
      if (std::size_t eq = arg.find('='); eq != std::string::npos) {
        name = arg.substr(0, eq);
        value = arg.substr(eq + 1);
        hasValue = true;
      }
    }
    const TOptionSpec* option = FindOption(name);
    if (!option) {
      error = "unknown option " + name;
      return std::nullopt;
    }
    if (option->ValueName && !hasValue) {
      if (i + 1 >= args.size()) {
        error = name + " needs a value";
        return std::nullopt;
      }
      value = args[++i];
    } else if (!option->ValueName && hasValue) {
      error = name + " takes no value";
      return std::nullopt;
    }
    if (!option->Apply(line, value, error)) return std::nullopt;
    if (line.Help || line.Version || line.ListKeys) return line;
  }
  if (line.ListFile.empty() == line.Folder.empty()) {
    error = "give either --list FILE or --folder DIR";
    return std::nullopt;
  }
  if (line.Subfolders && line.Folder.empty()) {
    error = "--subfolders goes with --folder";
    return std::nullopt;
  }
  if (positional.empty() || (positional.size() == 1 && positional.front().empty())) {
    error = "the output folder is missing";
    return std::nullopt;
  }
  if (positional.size() > 1) {
    error = "give one output folder, not " + std::to_string(positional.size()) + ":";
    for (const std::string& folder : positional) error += " \"" + folder + "\"";
    return std::nullopt;
  }
  line.OutputFolder = positional.front();
  return line;
}

}  // namespace zelvora::cli
