#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "app/ExampleCatalogue.h"
#include "orvo/Run.h"

namespace {

using orvo::ExampleCatalogue;
using orvo::ExampleRecord;
using orvo::kExampleTextSize;

// Length of a field's text; the rest of the field must be NUL padding.
std::size_t paddedLength(const char (&field)[kExampleTextSize]) {
  const std::size_t length = strnlen(field, kExampleTextSize);
  EXPECT_LT(length, kExampleTextSize);
  EXPECT_TRUE(std::all_of(field + length, field + kExampleTextSize, [](char c) { return c == 0; }));
  return length;
}

TEST(ExampleCatalogue, HoldsThirtyEightPaddedRecordsOfTheListedSizes) {
  ASSERT_EQ(ExampleCatalogue::count(), 38u);
  EXPECT_STREQ(ExampleCatalogue::name(0), "Tokenization");
  EXPECT_STREQ(ExampleCatalogue::name(37), "unshielded_comma2");
  std::size_t longestName = 0, longestInput = 0, longestResult = 0;
  for (std::size_t i = 0; i < ExampleCatalogue::count(); ++i) {
    const ExampleRecord& record = ExampleCatalogue::record(i);
    longestName = std::max(longestName, paddedLength(record.name));
    longestInput = std::max(longestInput, paddedLength(record.input));
    longestResult = std::max(longestResult, paddedLength(record.expectedResult));
  }
  // A lost or doubled escape in the transcription shows in these lengths.
  EXPECT_EQ(longestName, 19u);
  EXPECT_EQ(longestInput, 134u);
  EXPECT_EQ(longestResult, 97u);
}

TEST(ExampleCatalogue, KeepsEscapesBlanksAndLineEndsOfTheTexts) {
  EXPECT_STREQ(ExampleCatalogue::input(2),
               "#define NUMBERS 1, \\\r\n                2, \\\r\n                3\r\n"
               "int x[] = { NUMBERS };");
  EXPECT_STREQ(ExampleCatalogue::input(19), "#define STRINGIFY(EXP) #EXP\r\nSTRINGIFY (p = \"foo\n\";)");
  EXPECT_STREQ(ExampleCatalogue::record(19).expectedResult, "\"p = \"foo\\n\";\"");
  const std::string concatenation = ExampleCatalogue::input(22);
  EXPECT_EQ(concatenation.substr(concatenation.size() - 5), "\r\n}; ");
  EXPECT_STREQ(ExampleCatalogue::record(5).expectedResult, "\r\n37");
}

TEST(ExampleCatalogue, RejectsAnIndexOutOfRange) {
  EXPECT_THROW(ExampleCatalogue::record(38), std::out_of_range);
}

}  // namespace

namespace {

// The group of differences: one example per rule of the table, each with a
// one-line description, in the input area's line ends.
TEST(ExampleCatalogue, DifferencesGroupHasOneDescribedExamplePerRule) {
  const std::vector<orvo::GroupExample> examples = orvo::differenceExamples();
  ASSERT_EQ(examples.size(), 8u);
  for (const orvo::GroupExample& example : examples) {
    EXPECT_FALSE(example.description.empty()) << example.name;
    EXPECT_EQ(example.description.find('\n'), std::string::npos) << example.name;
    EXPECT_NE(example.input.find("\r\n"), std::string::npos) << example.name;
    EXPECT_EQ(example.input.find("\r\n"), example.input.find('\n') - 1) << example.name;
  }
  EXPECT_EQ(examples.front().name, "A macro counts 1 in #if");
}

}  // namespace

namespace {

// The examples of both lists as the window offers them: name, input,
// description and the files they bring.
std::vector<orvo::GroupExample> everyExample() {
  std::vector<orvo::GroupExample> examples;
  for (std::size_t i = 0; i < ExampleCatalogue::count(); ++i)
    examples.push_back({ExampleCatalogue::name(i), ExampleCatalogue::input(i),
                        ExampleCatalogue::description(i)});
  for (orvo::GroupExample& example : orvo::differenceExamples())
    examples.push_back(std::move(example));
  return examples;
}

// Writes an example's files below a fresh folder, which is removed again
// with this object.
class ExampleFolder {
 public:
  explicit ExampleFolder(const orvo::GroupExample& example) {
    static int made = 0;
    m_Path = std::filesystem::temp_directory_path() /
             ("orvo-example-" + std::to_string(::getpid()) + "-" + std::to_string(made++));
    for (const orvo::ExampleFile& file : example.includeFiles) {
      const std::filesystem::path path = m_Path / file.path;
      std::filesystem::create_directories(path.parent_path());
      std::ofstream(path, std::ios::binary) << file.text;
    }
  }
  ~ExampleFolder() { std::filesystem::remove_all(m_Path); }
  std::string path() const { return m_Path.string(); }

 private:
  std::filesystem::path m_Path;
};

// Each example shows its rule as it opens: with the files it brings (in an
// include directory of its own, as the window gives them) no file is
// missing, and a description speaks of a warning exactly when the run gives
// one, so none says "refused" of what is accepted with a warning.
TEST(ExampleCatalogue, EachExampleShowsWhatItsDescriptionSays) {
  for (const orvo::GroupExample& example : everyExample()) {
    const ExampleFolder folder(example);
    orvo::RunOptions options;
    if (!example.includeFiles.empty()) options.includeDirectories.push_back(folder.path());
    const orvo::RunResult result = orvo::runPreprocessor(example.input, options);
    ASSERT_TRUE(result.ok()) << example.name << ": " << result.error->text;
    bool warned = false;
    for (const orvo::Diagnostic& diagnostic : result.diagnostics) {
      EXPECT_EQ(diagnostic.text.find("not found"), std::string::npos) << example.name;
      warned = warned || diagnostic.severity == orvo::Severity::Warning;
    }
    EXPECT_EQ(warned, example.description.find("warning") != std::string::npos)
        << example.name << ": " << example.description;
    EXPECT_EQ(example.description.find("refused"), std::string::npos) << example.name;
  }
}

TEST(ExampleCatalogue, SubdirectoryExampleBringsItsHeaderOneFolderDown) {
  for (const orvo::GroupExample& example : orvo::differenceExamples()) {
    if (example.name != "Includes found in subdirectories") continue;
    ASSERT_EQ(example.includeFiles.size(), 1u);
    EXPECT_EQ(example.includeFiles.front().path, "sub/sys.h");
    const ExampleFolder folder(example);
    orvo::RunOptions options;
    options.includeDirectories.push_back(folder.path());
    EXPECT_NE(orvo::runPreprocessor(example.input, options).output.find("int sys_found = 1;"),
              std::string::npos);
    return;
  }
  FAIL() << "no example of the subdirectory rule";
}

}  // namespace
