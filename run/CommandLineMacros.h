// Macros given on the command line (-D, -U): the directive line each entry
// stands for, and their application to a parser before the input is parsed.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "orvo/Run.h"

namespace orvo {
class Cpreprocess_fileParser;
}

namespace orvo {

// The entry as a user types it: "-D NAME=VALUE", "-U NAME".
std::string spellingOf(const CommandLineMacro& macro);

struct MacroDirective {
  std::string name;  // the macro's name
  std::string line;  // "#define NAME VALUE\n" or "#undef NAME\n"
};

// The directive line of an entry. A value ends at its first line break, so
// that an entry is always exactly one directive. Nothing, and `error` set,
// when the entry names no macro.
std::optional<MacroDirective> directiveFor(const CommandLineMacro& macro, std::string& error);

// Parses each entry's directive with `parser`, in order, so its macro tables
// hold them when the input is parsed. Warnings go to
// `result.diagnostics`; the first failing entry sets `result.error`
// and ends the application with false.
bool applyCommandLineMacros(orvo::Cpreprocess_fileParser& parser,
                            const std::vector<CommandLineMacro>& macros, RunResult& result);

}  // namespace orvo
