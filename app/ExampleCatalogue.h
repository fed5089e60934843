// The built-in macro examples offered by the window's drop-down list.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace orvo {

// Every text of a record is NUL-terminated and padded with NULs to this size.
inline constexpr std::size_t kExampleTextSize = 150;

struct ExampleRecord {
  char name[kExampleTextSize];
  char input[kExampleTextSize];  // line ends are CR LF, as in the input area
  // What the source of the examples gives for the input; kept with the
  // record for reference only, since this preprocessor's spacing differs.
  char expectedResult[kExampleTextSize];
  // One line on what the example shows, for the list and the status bar.
  const char* description;
};

// Read-only access by catalogue index; an index out of range throws
// std::out_of_range.
class ExampleCatalogue {
 public:
  static std::size_t count();
  static const ExampleRecord& record(std::size_t index);
  static const char* name(std::size_t index) { return record(index).name; }
  static const char* input(std::size_t index) { return record(index).input; }
  static const char* description(std::size_t index) { return record(index).description; }
};

// ---- The group "Differences from standard C" --------------------------------
// Listed after the examples above: one short example per rule where this
// preprocessor parts from ISO C (compare/DifferenceRules.h, the one table of
// them), each with a one-line description of what it shows.
inline constexpr const char* kDifferencesGroupName = "Differences from standard C";

// A file an example's #include finds, shipped with the example so that it
// shows its rule as it opens, with no set-up.
struct ExampleFile {
  std::string path;  // below the example's include directory, '/' between folders
  std::string text;
};

struct GroupExample {
  std::string name;
  std::string input;  // line ends are CR LF, as in the input area
  std::string description;
  // The files of the example's own include directory, which is searched
  // while the example is shown; none for most.
  std::vector<ExampleFile> includeFiles = {};
};

std::vector<GroupExample> differenceExamples();

}  // namespace orvo
