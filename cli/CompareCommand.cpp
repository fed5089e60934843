#include "cli/CompareCommand.h"

#include <nlohmann/json.hpp>

namespace orvo::cli {
namespace {

std::string placeText(const compare::Difference& difference) {
  if (!difference.place || !difference.place->known()) return "<output>";
  return difference.place->file + ":" + std::to_string(difference.place->line) + ":" +
         std::to_string(std::max(1, difference.place->column));
}

std::string shown(const std::string& text) { return text.empty() ? "(nothing)" : text; }

}  // namespace

int printComparison(const compare::Comparison& comparison, bool json, std::ostream& out) {
  if (comparison.trouble) return kCompareTrouble;
  for (const compare::Difference& difference : comparison.differences) {
    if (json) {
      nlohmann::json line = {{"event", "difference"},
                             {"rule", difference.rule},
                             {"reason", difference.reason},
                             {"orvo", difference.mainText},
                             {"standard", difference.standardText},
                             {"orvoLine", difference.mainLine},
                             {"standardLine", difference.standardLine}};
      if (difference.place) {
        line["file"] = difference.place->file;
        line["line"] = difference.place->line;
        line["column"] = difference.place->column;
      }
      out << line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
      continue;
    }
    out << placeText(difference) << ": difference: " << difference.reason << "\n";
    if (difference.place && !difference.place->lineText.empty())
      out << "    " << difference.place->lineText << "\n";
    out << "  orvo:       " << shown(difference.mainText) << "\n"
        << "  standard C: " << shown(difference.standardText) << "\n";
  }
  return comparison.differences.empty() ? kCompareAgree : kCompareDiffer;
}

}  // namespace orvo::cli
