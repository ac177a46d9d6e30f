#include "Completions.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "Flags.h"

namespace cli {
namespace {

constexpr const char* kHeader =
    " completion for tessary-cli, made from the program's flag table\n";

// One flag as a shell sees it.
struct ShellFlag {
  std::vector<std::string> names;  // "-o", "--output"
  const Flag* flag;

  bool TakesValue() const { return flag->valueName != nullptr; }
  // A value that names a file, such as a preface file or a banner image.
  bool TakesFile() const {
    const std::string_view value = TakesValue() ? flag->valueName : "";
    return value == "FILE" || value == "REF";
  }
  std::vector<std::string> Choices() const {
    if (flag->choices == nullptr) return {};
    return flag->choices();
  }
};

std::vector<ShellFlag> ShellFlags() {
  std::vector<const Flag*> flags = {&kHelpFlag, &kVersionFlag};
  for (const Flag& flag : Flags()) flags.push_back(&flag);
  std::vector<ShellFlag> shellFlags;
  for (const Flag* flag : flags) {
    ShellFlag& shellFlag = shellFlags.emplace_back(ShellFlag{{}, flag});
    const std::string_view names = flag->names;
    for (std::size_t start = 0; start <= names.size();) {
      const std::size_t comma = std::min(names.find(',', start), names.size());
      shellFlag.names.emplace_back(names.substr(start, comma - start));
      start = comma + 1;
    }
  }
  return shellFlags;
}

// `text` in single quotes for bash and zsh.
std::string Quoted(std::string_view text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? "'\\''" : std::string(1, c);
  return quoted + "'";
}

// `text` in single quotes for fish, where a backslash escapes too.
std::string FishQuoted(std::string_view text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "'";
}

std::string Joined(const std::vector<std::string>& words,
                   std::string (*quote)(std::string_view),
                   std::string_view separator) {
  std::string joined;
  for (const std::string& word : words) {
    joined += (joined.empty() ? "" : std::string(separator)) + quote(word);
  }
  return joined;
}

std::string Unquoted(std::string_view text) { return std::string(text); }

// Bash ------------------------------------------------------------------

// The case that completes the value after `flag`; none for a flag without
// a value, whose next word is another flag or FOLDER.
std::string BashValueCase(const ShellFlag& flag) {
  if (!flag.TakesValue()) return {};
  const std::string pattern = "    " + Joined(flag.names, Unquoted, "|");
  if (flag.TakesFile()) {
    return pattern + ") _tessary_cli_reply -f; return 0 ;;\n";
  }
  const std::vector<std::string> choices = flag.Choices();
  if (choices.empty()) return pattern + ") return 0 ;;\n";
  return pattern + ") choices=(" + Joined(choices, Quoted, " ") + ") ;;\n";
}

constexpr const char* kBashReply = R"(
# Files (-f) or folders (-d) that start with the word being completed.
_tessary_cli_reply() {
  compopt -o filenames 2>/dev/null
  mapfile -t COMPREPLY < <(compgen "$1" -- "$cur")
}

_tessary_cli() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
  # Bash splits "--style=2" into "--style", "=" and "2".
  if [[ $cur == = ]]; then
    cur=
  elif [[ $prev == = && $COMP_CWORD -ge 2 ]]; then
    prev=${COMP_WORDS[COMP_CWORD-2]}
  fi
  local -a choices=()
  COMPREPLY=()
  case $prev in
)";

constexpr const char* kBashChoose = R"(    *)
      if [[ $cur != -* ]]; then
        _tessary_cli_reply -d
        return 0
      fi
      choices=("${_tessary_cli_flags[@]}") ;;
  esac
  local choice quoted
  for choice in "${choices[@]}"; do
    printf -v quoted %q "$choice"
    if [[ $choice == "$cur"* || $quoted == "$cur"* ]]; then
      COMPREPLY+=("$quoted")
    fi
  done
  # An assignment goes on after its "=".
  [[ ${COMPREPLY[0]-} == *= ]] && compopt -o nospace 2>/dev/null
  return 0
}

complete -F _tessary_cli tessary-cli
)";

// Fish ------------------------------------------------------------------

std::string FishLine(const ShellFlag& flag) {
  std::string line = "complete -c tessary-cli";
  for (const std::string& name : flag.names) {
    line += name.starts_with("--") ? " -l " + name.substr(2)
                                   : " -s " + name.substr(1);
  }
  line += " -d " + FishQuoted(flag.flag->description);
  if (!flag.TakesValue()) return line + "\n";
  if (flag.TakesFile()) return line + " -r -F\n";
  const std::vector<std::string> choices = flag.Choices();
  if (choices.empty()) return line + " -x\n";
  // -a takes one argument that fish splits into words itself.
  return line + " -x -a \"" + Joined(choices, FishQuoted, " ") + "\"\n";
}

// Zsh -------------------------------------------------------------------

// Escapes what _arguments reads in a description or a list of values.
std::string ZshEscaped(std::string_view text, std::string_view special) {
  std::string escaped;
  for (const char c : text) {
    if (special.find(c) != std::string_view::npos) escaped += '\\';
    escaped += c;
  }
  return escaped;
}

std::string ZshFunctionName(const ShellFlag& flag) {
  return "_tessary-cli" + flag.names.back();
}

// What completes the value of `flag`; a function for assignments, which
// go on after their "=" without a blank.
std::string ZshAction(const ShellFlag& flag) {
  if (flag.TakesFile()) return "_files";
  const std::vector<std::string> choices = flag.Choices();
  if (choices.empty()) return " ";
  if (choices.front().ends_with('=')) return ZshFunctionName(flag);
  std::string list;
  for (const std::string& choice : choices) {
    list += (list.empty() ? "" : " ") + ZshEscaped(choice, "\\ ()");
  }
  return "(" + list + ")";
}

std::string ZshArgument(const ShellFlag& flag, const std::string& name) {
  const bool stops = flag.flag == &kHelpFlag || flag.flag == &kVersionFlag;
  std::string argument = stops ? "(- *)" : "*";
  argument += name;
  if (flag.TakesValue() && name.starts_with("--")) argument += "=";
  argument += "[" + ZshEscaped(flag.flag->description, "\\[]:") + "]";
  if (flag.TakesValue()) {
    argument +=
        ":" + ZshEscaped(flag.flag->valueName, "\\:") + ":" + ZshAction(flag);
  }
  return Quoted(argument);
}

std::string ZshAssignmentFunction(const ShellFlag& flag) {
  const std::vector<std::string> choices = flag.Choices();
  if (choices.empty() || !choices.front().ends_with('=')) return {};
  return ZshFunctionName(flag) + "() {\n  compadd -S '' -- " +
         Joined(choices, Quoted, " ") + "\n}\n\n";
}

}  // namespace

std::string BashCompletion() {
  std::vector<std::string> allNames;
  std::string valueCases;
  for (const ShellFlag& flag : ShellFlags()) {
    allNames.insert(allNames.end(), flag.names.begin(), flag.names.end());
    valueCases += BashValueCase(flag);
  }
  return "# bash" + std::string(kHeader) + "\n_tessary_cli_flags=(" +
         Joined(allNames, Unquoted, " ") + ")\n" + kBashReply + valueCases +
         kBashChoose;
}

std::string ZshCompletion() {
  std::string functions;
  std::string arguments;
  for (const ShellFlag& flag : ShellFlags()) {
    functions += ZshAssignmentFunction(flag);
    for (const std::string& name : flag.names) {
      arguments += "  " + ZshArgument(flag, name) + " \\\n";
    }
  }
  return "#compdef tessary-cli\n# zsh" + std::string(kHeader) + "\n" +
         functions + "_arguments -s -S \\\n" + arguments +
         "  '*:FOLDER:_files -/'\n";
}

std::string FishCompletion() {
  std::string script = "# fish" + std::string(kHeader) +
                       "complete -c tessary-cli -f -a "
                       "'(__fish_complete_directories (commandline -ct))'\n";
  for (const ShellFlag& flag : ShellFlags()) script += FishLine(flag);
  return script;
}

}  // namespace cli
