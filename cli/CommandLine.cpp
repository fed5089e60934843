#include "cli/CommandLine.h"

#include <stdexcept>

namespace orvo::cli {

std::string usageText() {
  return "Usage: orvo-pp [options] [FILE]\n"
         "Preprocesses FILE (or standard input when FILE is absent or '-') and writes\n"
         "the result to standard output, exactly as the orvo engine produces it.\n"
         "\n"
         "Options:\n"
         "  -D NAME[=VALUE] define NAME as VALUE (1 when no value is given) before the\n"
         "                  input, as '#define NAME VALUE' would; -D 'F(x)=BODY' defines\n"
         "                  a function-like macro (repeatable)\n"
         "  -U NAME         remove NAME, as '#undef NAME' would, predefined macros too;\n"
         "                  -D and -U apply in the order given\n"
         "  -I DIR          add DIR to the include directories (repeatable, searched in\n"
         "                  order, recursively); the directory of FILE is searched last\n"
         "  --deps          instead of the result, print the path of each file the run\n"
         "                  included, one per line, each once; a name that was searched\n"
         "                  for and not found is printed as 'not found: NAME'\n"
         "  -o OUT          write the result to OUT instead of standard output; OUT is\n"
         "                  replaced only once the whole result is on the disk, and is\n"
         "                  left as it was when writing fails\n"
         "  --force         let -o OUT name the input file itself (refused otherwise)\n"
         "  --crlf          convert line ends to CR LF first, as the window shows them\n"
         "  --all-messages  print notes too, such as syntax errors met while rescanning\n"
         "                  macro text, not only warnings and errors\n"
         "  --no-caret      do not show the source line and caret under each message\n"
         "  --color[=WHEN]  colour messages: 'auto' (the default) only when standard\n"
         "                  error is a terminal, 'always' (also without WHEN), 'never'\n"
         "  --standard      preprocess by the rules of ISO C11 instead, with Clang's\n"
         "                  preprocessor: variadic macros, macro values and suffixes\n"
         "                  in #if, real __LINE__ and __FILE__, ordinary include search\n"
         "                  (quotes: the including file's directory, then -I; angles:\n"
         "                  -I only; no subdirectories); written like 'cpp -P'\n"
         "  --compare       run both engines and print each input line whose tokens\n"
         "                  differ, both results and the rule that makes the difference,\n"
         "                  and both runs' messages (marked [orvo] and [standard C]);\n"
         "                  exit status 0 when they agree, 1 when they differ, 2 on\n"
         "                  trouble (standard C reports an error); with --trace=json one\n"
         "                  JSON object per difference; -o and --crlf apply to the list,\n"
         "                  --deps is refused\n"
         "  --trace         write every step of the run to standard error: macro\n"
         "                  definitions, each call with its arguments, substitution\n"
         "                  and rescan passes, conditional decisions, includes\n"
         "  --trace=json    the same as one JSON object per line\n"
         "  --max-output N  end the run with an error when the output would exceed N\n"
         "                  bytes (default 268435456, that is 256 MiB); also\n"
         "                  --max-output=N\n"
         "  --help          show this help and exit\n"
         "  --version       show the version and exit\n"
         "\n"
         "Messages go to standard error as FILE:LINE:COL: error|warning|note: TEXT,\n"
         "after 'In file included from FILE:LINE:' lines when they arose in an included\n"
         "file, and before the source line with a caret under the place. Notes follow\n"
         "their message: related places (\"to match this '('\", \"previous definition is\n"
         "here\") and a plain explanation of the parser's own texts.\n"
         "\n"
         "Warnings (exit status stays 0):\n"
         "  include file not found: NAME (searched DIRS)\n"
         "                  no include directory holds NAME; the directive is kept\n"
         "  macro \"F\" requires N arguments, but only M given (or passed M, takes N)\n"
         "                  a call with the wrong number of arguments; the output\n"
         "                  keeps the same text as a comment\n"
         "  \"O\" redefined, F found again\n"
         "                  a macro is defined again; the new definition holds\n"
         "  #undef of \"3\", which is not a macro name\n"
         "                  nothing is undefined\n"
         "  extra tokens at end of #undef directive\n"
         "                  the text after the name becomes a line of text\n"
         "  macro expansion stopped at 'T' after 'P', leaving 'M' unexpanded\n"
         "                  re-reading a macro's result for further macros could not\n"
         "                  go past token T (say a ',' right after 'g(' where g is no\n"
         "                  function-like macro, or a '#'); the rest is kept as it\n"
         "                  stands, so macro M in it was not replaced\n"
         "  \"/*\" within comment, \"//\" within comment\n"
         "                  a comment opener inside a block comment\n"
         "A lone CR ends a line, as in the window, in FILE and in included files.\n"
         "\n"
         "Exit status: 0 on success; 1 after an error: one that ended the run (nothing\n"
         "is written) or one recorded in an included file (the output is written, but\n"
         "may lack that file's text); 2 on a usage error or when FILE cannot be read\n"
         "or OUT cannot be written (each message gives the reason), or when OUT is\n"
         "the input file and --force is not given.\n";
}

std::optional<Options> parseCommandLine(const std::vector<std::string>& args, std::string& error) {
  Options options;
  bool haveInput = false;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    // Takes the value of an option given either attached (-IDIR) or as the next argument.
    auto value = [&](const std::string& flag) -> std::optional<std::string> {
      if (arg.size() > flag.size()) return arg.substr(flag.size());
      if (i + 1 < args.size()) return args[++i];
      error = "option '" + flag + "' needs an argument";
      return std::nullopt;
    };
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && arg == "--help") {
      options.help = true;
    } else if (!optionsEnded && arg == "--version") {
      options.version = true;
    } else if (!optionsEnded && arg == "--crlf") {
      options.crlf = true;
    } else if (!optionsEnded && (arg == "--trace" || arg == "--trace=text")) {
      options.trace = TraceFormat::Text;
    } else if (!optionsEnded && arg == "--trace=json") {
      options.trace = TraceFormat::Json;
    } else if (!optionsEnded && arg.rfind("--trace=", 0) == 0) {
      error = "unknown trace format '" + arg.substr(8) + "' (use --trace or --trace=json)";
      return std::nullopt;
    } else if (!optionsEnded && arg == "--all-messages") {
      options.allMessages = true;
    } else if (!optionsEnded && arg == "--no-caret") {
      options.caret = false;
    } else if (!optionsEnded && (arg == "--color" || arg.rfind("--color=", 0) == 0)) {
      const std::string when = arg == "--color" ? "always" : arg.substr(8);
      if (when == "auto") {
        options.color = ColorWhen::Auto;
      } else if (when == "always") {
        options.color = ColorWhen::Always;
      } else if (when == "never") {
        options.color = ColorWhen::Never;
      } else {
        error = "invalid argument '" + when + "' for '--color' (auto, always or never)";
        return std::nullopt;
      }
    } else if (!optionsEnded && (arg == "--max-output" || arg.rfind("--max-output=", 0) == 0)) {
      std::string text;
      if (arg != "--max-output") {
        text = arg.substr(13);
      } else if (i + 1 < args.size()) {
        text = args[++i];
      } else {
        error = "option '--max-output' needs an argument";
        return std::nullopt;
      }
      std::size_t used = 0;
      unsigned long long bytes = 0;
      try {
        bytes = std::stoull(text, &used);
      } catch (const std::exception&) {
        used = 0;
      }
      if (used == 0 || used != text.size() || text[0] == '-') {
        error = "invalid byte count '" + text + "' for '--max-output'";
        return std::nullopt;
      }
      options.maxOutputBytes = static_cast<std::size_t>(bytes);
    } else if (!optionsEnded && arg == "--force") {
      options.force = true;
    } else if (!optionsEnded && (arg == "--standard" || arg == "--compare")) {
      const EngineChoice choice = arg == "--standard" ? EngineChoice::Standard : EngineChoice::Compare;
      if (options.engine != EngineChoice::Main && options.engine != choice) {
        error = "options '--standard' and '--compare' exclude each other";
        return std::nullopt;
      }
      options.engine = choice;
    } else if (!optionsEnded && arg == "--deps") {
      options.deps = true;
    } else if (!optionsEnded && (arg.rfind("-D", 0) == 0 || arg.rfind("-U", 0) == 0)) {
      const bool define = arg[1] == 'D';
      const auto text = value(define ? "-D" : "-U");
      if (!text) return std::nullopt;
      options.macros.push_back(CommandLineMacro{
          define ? CommandLineMacro::Kind::Define : CommandLineMacro::Kind::Undefine, *text});
    } else if (!optionsEnded && arg.rfind("-I", 0) == 0) {
      const auto dir = value("-I");
      if (!dir) return std::nullopt;
      options.includeDirs.push_back(*dir);
    } else if (!optionsEnded && arg.rfind("-o", 0) == 0) {
      const auto out = value("-o");
      if (!out) return std::nullopt;
      options.outputPath = *out;
    } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      error = "unknown option '" + arg + "'";
      return std::nullopt;
    } else if (haveInput) {
      error = "more than one input file given ('" + options.inputPath + "' and '" + arg + "')";
      return std::nullopt;
    } else {
      options.inputPath = arg;
      haveInput = true;
    }
  }
  // --deps lists the files of one run, and the two runs search includes
  // differently: it has no meaning for a comparison.
  if (options.deps && options.engine == EngineChoice::Compare) {
    error = "options '--deps' and '--compare' exclude each other: --deps lists the files one run "
            "included (alone, or with --standard for standard C's)";
    return std::nullopt;
  }
  return options;
}

}  // namespace orvo::cli
