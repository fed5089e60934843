// Include directives end to end: directories from the include-path text and
// the source directory, the recursive search, the nested parse of the found
// file, and the bounds on hostile trees and self-inclusion.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "orvo/Run.h"
#include "grammar/IncludeSearch.h"
#include "tests/support/Command.h"
#include "tests/support/RunHelpers.h"

namespace orvo::test {
namespace {

namespace fs = std::filesystem;

const fs::path kData = fs::path(ORVO_TEST_DATA) / "include";

RunOptions fromSource(const fs::path& dir) {
  RunOptions options;
  options.sourceDir = dir.string();
  return options;
}

TEST(IncludeName, SplitsAtTheLastSeparator) {
  EXPECT_EQ(orvo::SplitIncludeName("sys/types.h").directory, "sys/");
  EXPECT_EQ(orvo::SplitIncludeName("sys/types.h").leaf, "types.h");
  EXPECT_EQ(orvo::SplitIncludeName("a.h").directory, "");
  EXPECT_EQ(orvo::SplitIncludeName("a.h").leaf, "a.h");
  EXPECT_EQ(orvo::SplitIncludeName("/abs/dir/").leaf, "");
}

TEST(IncludeName, JoinPutsOneSeparatorAtTheJunction) {
  EXPECT_EQ(orvo::JoinDirectory("", "sys/"), "sys/");
  EXPECT_EQ(orvo::JoinDirectory("/inc", ""), "/inc");
  EXPECT_EQ(orvo::JoinDirectory("/inc/", "/sys/"), "/inc/sys/");
  EXPECT_EQ(orvo::JoinDirectory("/inc/", "sys/"), "/inc/sys/");
  EXPECT_EQ(orvo::JoinDirectory("/inc", "/sys/"), "/inc/sys/");
  EXPECT_EQ(orvo::JoinDirectory("/inc", "sys/"), "/inc/sys/");
}

TEST(Include, NotFoundLeavesDirectiveUnchanged) {
  EXPECT_EQ(pp("#include <stdio.h>\r\nx"), "#include <stdio.h>\r\nx");
  // The second directive is answered from the cache of missing names.
  const std::string twice = "  #include \"none.h\"\r\n#include \"none.h\"\r\n";
  EXPECT_EQ(pp(twice, fromSource(kData / "basic")), twice);
}

TEST(Include, FoundFileReplacesDirective) {
  const RunOptions basic = fromSource(kData / "basic");
  EXPECT_EQ(pp("#include \"a.h\"\r\nb", basic), "int a;\n\r\nb");
  EXPECT_EQ(pp("#include <a.h>\r\nb", basic), "int a;\n\r\nb");
  EXPECT_EQ(pp("  #include \"a.h\"\r\nb", basic), "int a;\n  \r\nb");
  // Found anywhere below the directory, and inside an included file too.
  EXPECT_EQ(pp("#include <x.h>\r\n", basic), "int x;\n\r\n");
  EXPECT_EQ(pp("#include \"outer.h\"\r\n", basic), "outer1\nint a;\n\nouter2\n\r\n");
}

TEST(Include, DirectoryPartNarrowsTheSearch) {
  const RunOptions basic = fromSource(kData / "basic");
  EXPECT_EQ(pp("#include <sys/types.h>\r\n", basic), "int sys_types;\n\r\n");
  EXPECT_EQ(pp("#include <other/types.h>\r\n", basic), "int other_types;\n\r\n");
  EXPECT_EQ(pp("#include <sys/a.h>\r\n", basic), "#include <sys/a.h>\r\n");
}

TEST(Include, IncludePathEntriesComeFirstThenSourceDirectory) {
  RunOptions options = fromSource(kData / "basic");
  // Blanks around a directory's name are no part of it.
  options.includeDirectories = {"  " + (kData / "first").string() + "  ",
                                "\t" + (kData / "second").string()};
  EXPECT_EQ(pp("#include \"order.h\"\r\n#include \"only2.h\"\r\n#include \"a.h\"\r\n", options),
            "int first;\n\r\nint only2;\n\r\nint a;\n\r\n");
}

TEST(Include, MacrosOfIncludedFileStayDefined) {
  const RunOptions basic = fromSource(kData / "basic");
  EXPECT_EQ(pp("#include \"defines.h\"\r\nN", basic), "\r\n3");
  const std::string out = pp("#include \"guard.h\"\r\n#include \"guard.h\"\r\n", basic);
  EXPECT_EQ(out.find("int guarded;"), out.rfind("int guarded;")) << out;
  EXPECT_NE(out.find("int guarded;"), std::string::npos) << out;
}

TEST(Include, StrayEndifEndsOnlyTheIncludedFile) {
  EXPECT_EQ(pp("#include \"stray.h\"\r\nz", fromSource(kData / "basic")), "before\n\r\nz");
}

TEST(Include, FailedMatchInIncludedFileWritesDirectiveOnce) {
  // In an included file a failed match is silent: the parse goes on with
  // the rest of the line as a text line.
  EXPECT_EQ(pp("#include \"junk_after.h\"\r\n", fromSource(kData / "basic")),
            "int a;\n junk\n\r\n");
}

// A lone CR ends a line in an included file as the window and orvo-pp read
// it in the main input: byte for byte an LF, so the run gives what it gives
// for the file with LF line ends, and places stay the file's.
TEST(Include, LoneCarriageReturnEndsALineInAnIncludedFile) {
  const std::string text = "#define A 1\rA\r\n#warning at 3\r#if (A\r#endif\rA\r";
  std::string withLf = text;
  for (std::size_t i = 0; i + 1 < withLf.size(); ++i)
    if (withLf[i] == '\r' && withLf[i + 1] != '\n') withLf[i] = '\n';
  withLf.back() = '\n';
  const std::string outer = "#include \"in.h\"\rA\r";
  TempDir cr;
  writeFile(cr.path() / "in.h", text);
  writeFile(cr.path() / "outer.h", outer);
  TempDir lf;
  writeFile(lf.path() / "in.h", withLf);
  writeFile(lf.path() / "outer.h", "#include \"in.h\"\nA\n");
  for (const char* first : {"in.h", "outer.h"}) {
    const std::string input = "#include \"" + std::string(first) + "\"\r\n";
    const RunResult result = runPreprocessor(input, fromSource(cr.path()));
    const RunResult reference = runPreprocessor(input, fromSource(lf.path()));
    ASSERT_TRUE(result.ok()) << first << ": " << result.error->text;
    EXPECT_EQ(result.output, reference.output) << first;
    ASSERT_EQ(result.diagnostics.size(), 2u) << first;
    const std::pair<Severity, int> expected[] = {{Severity::Warning, 3}, {Severity::Error, 4}};
    for (std::size_t i = 0; i < 2; ++i) {
      const Diagnostic& message = result.diagnostics[i];
      EXPECT_EQ(message.severity, expected[i].first) << first << ": " << message.text;
      ASSERT_TRUE(message.place) << first;
      EXPECT_EQ(message.place->file, (cr.path() / "in.h").string());
      EXPECT_EQ(message.place->line, expected[i].second) << first << ": " << message.text;
      EXPECT_EQ(message.place->includedFrom.size(), std::string(first) == "outer.h" ? 2u : 1u);
    }
  }
}

// An include directory that does not exist is skipped with one warning per
// run at the first directive whose search reaches it, and the search goes
// on in the others, as GNU cpp ignores it. One that names a file ends the run.
TEST(Include, MissingIncludeDirectoryIsSkippedWithOneWarning) {
  const std::string missing = "/nonexistent/orvo-include-dir";
  const std::string skipped = "#include search skips include directory " + missing +
                              ": it does not exist";
  RunOptions options = fromSource(kData / "basic");
  options.includeDirectories = {missing};
  const RunResult quiet = runPreprocessor("x\r\n", options);
  EXPECT_EQ(RunSummary(quiet), "output: x\r\n\n");  // only a search reaches the directory

  const RunResult found = runPreprocessor("#include <a.h>\r\n#include <x.h>\r\n", options);
  ASSERT_TRUE(found.ok()) << found.error->text;
  EXPECT_EQ(found.output, "int a;\n\r\nint x;\n\r\n");
  ASSERT_EQ(found.diagnostics.size(), 1u) << RunSummary(found);
  EXPECT_EQ(found.diagnostics[0].severity, Severity::Warning);
  EXPECT_EQ(found.diagnostics[0].text, skipped);
  ASSERT_TRUE(found.diagnostics[0].place);
  EXPECT_EQ(found.diagnostics[0].place->line, 1);

  options.sourceDir.clear();
  const RunResult nowhere = runPreprocessor("#include <a.h>\r\n", options);
  ASSERT_TRUE(nowhere.ok()) << nowhere.error->text;
  EXPECT_EQ(nowhere.output, "#include <a.h>\r\n");
  ASSERT_EQ(nowhere.diagnostics.size(), 2u) << RunSummary(nowhere);
  EXPECT_EQ(nowhere.diagnostics[0].text, skipped);
  EXPECT_EQ(nowhere.diagnostics[1].text,
            "include file not found: a.h (no include directory could be searched)");

  RunOptions file;
  file.includeDirectories = {(kData / "basic" / "a.h").string()};
  EXPECT_EQ(ppError("#include <sys/x.h>\r\n", file),
            (kData / "basic" / "a.h").string() + "/sys/ is not a directory");
}

// A folder tree far deeper than any real header tree, met before the header
// in the search, neither ends the run nor hides the header: each lookup
// goes 128 folder levels down, and the first one cut short says where.
TEST(Include, DeepFolderTreeIsCutWithOneWarning) {
  constexpr int kTreeDepth = 200;
  constexpr int kSearchDepth = 128;
  TempDir dir;
  fs::path deep = dir.path() / "inc" / "a_deep";
  fs::path cut;
  for (int level = 1; level <= kTreeDepth; ++level) {
    if (level == kSearchDepth) cut = deep;
    deep /= "d";
  }
  fs::create_directories(deep);
  writeFile(deep / "lost.h", "int lost;\n");
  fs::create_directories(dir.path() / "inc" / "z" / "y" / "x");
  writeFile(dir.path() / "inc" / "z" / "y" / "x" / "three.h", "int three;\n");
  // Below an include directory, and below the input's own folder.
  RunOptions given;
  given.includeDirectories = {(dir.path() / "inc").string()};
  for (const RunOptions& options : {given, fromSource(dir.path() / "inc")}) {
    const RunResult result = runPreprocessor(
        "#include <none.h>\r\n#include <three.h>\r\n#include <lost.h>\r\n", options);
    ASSERT_TRUE(result.ok()) << result.error->text;
    EXPECT_EQ(result.output,
              "#include <none.h>\r\nint three;\n\r\n#include <lost.h>\r\n");
    int cuts = 0;
    for (const Diagnostic& message : result.diagnostics) {
      EXPECT_EQ(message.severity, Severity::Warning) << message.text;
      if (message.text.rfind("#include search skips the folders below ", 0) != 0) continue;
      ++cuts;
      EXPECT_LE(message.text.size(), 255u);
      EXPECT_TRUE(message.text.ends_with(": more than 128 folder levels below the include directory"))
          << message.text;
      ASSERT_TRUE(message.place);
      EXPECT_EQ(message.place->line, 1);
      ASSERT_EQ(message.notes.size(), 1u);
      EXPECT_EQ(message.notes[0].text, "in full: " + cut.string());
    }
    EXPECT_EQ(cuts, 1) << RunSummary(result);
  }
}

TEST(Include, SelfInclusionEndsWithClearMessage) {
  const RunResult direct = runPreprocessor("#include \"self.h\"\r\n", fromSource(kData / "self"));
  ASSERT_FALSE(direct.ok());
  EXPECT_EQ(direct.error->errorClass, ErrorClass::Message);
  EXPECT_EQ(direct.error->text, "#include nested too deeply (more than 200 levels): self.h");

  EXPECT_NE(ppError("#include \"ping.h\"\r\n", fromSource(kData / "cycle"))
                .find("#include nested too deeply"),
            std::string::npos);
}

TEST(Include, SymbolicLinkCycleIsWalkedOnce) {
  TempDir dir;
  fs::create_directories(dir.path() / "a" / "b");
  fs::create_directory_symlink(dir.path(), dir.path() / "a" / "up");
  fs::create_directory_symlink(dir.path() / "a", dir.path() / "a" / "b" / "again");
  writeFile(dir.path() / "a" / "b" / "found.h", "int found;\n");
  const RunOptions options = fromSource(dir.path());
  EXPECT_EQ(pp("#include <missing.h>\r\n", options), "#include <missing.h>\r\n");
  EXPECT_EQ(pp("#include <found.h>\r\n", options), "int found;\n\r\n");
}

TEST(Include, UnreadableHitIsReportedNotParsed) {
  TempDir dir;
  // A pipe would block a plain read; a dangling link cannot be opened.
  ASSERT_EQ(mkfifo((dir.path() / "pipe.h").c_str(), 0600), 0);
  fs::create_symlink(dir.path() / "nowhere", dir.path() / "dangling.h");
  for (const std::string name : {"pipe.h", "dangling.h"}) {
    const std::string input = "#include <" + name + ">\r\n";
    const RunResult result = runPreprocessor(input, fromSource(dir.path()));
    ASSERT_TRUE(result.ok()) << result.error->text;
    EXPECT_EQ(result.output, input);
    ASSERT_EQ(result.diagnostics.size(), 1u);
    EXPECT_EQ(result.diagnostics[0].severity, Severity::Error);
    EXPECT_EQ(result.diagnostics[0].text,
              (dir.path() / name).string() + " could not be loaded!");
  }
}

// A folder below an include directory that cannot be listed, and an include
// directory that cannot be looked at, are skipped with a warning naming each;
// the search goes on in the others. Runs in a child without the superuser's
// rights, which read any folder.
TEST(Include, UnreadableFoldersAreSkippedWithAWarning) {
  TempDir dir;
  fs::permissions(dir.path(), fs::perms(0755));
  fs::create_directories(dir.path() / "inc" / "locked");
  fs::create_directories(dir.path() / "inc" / "open");
  fs::create_directories(dir.path() / "closed" / "inc");
  writeFile(dir.path() / "inc" / "locked" / "hidden.h", "int hidden;\n");
  writeFile(dir.path() / "inc" / "open" / "want.h", "int want;\n");
  fs::permissions(dir.path() / "inc" / "locked", fs::perms::none);
  fs::permissions(dir.path() / "closed", fs::perms::none);
  RunOptions options;
  options.includeDirectories = {(dir.path() / "closed" / "inc").string(),
                                (dir.path() / "inc").string()};
  const std::string input = "#include <none.h>\r\n#include <want.h>\r\n";
  const std::string warnings[] = {
      "#include search skips include directory " + (dir.path() / "closed" / "inc").string() +
          ": Permission denied",
      "#include search skips folder " + (dir.path() / "inc" / "locked").string() +
          ": Permission denied"};
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    constexpr uid_t kNobody = 65534;
    if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(10);
    const RunResult result = runPreprocessor(input, options);
    if (!result.ok()) _exit(11);
    if (result.output != "#include <none.h>\r\nint want;\n\r\n") _exit(12);
    // Besides the warning that none.h is nowhere, each skip once.
    std::vector<std::string> skips;
    for (const Diagnostic& diagnostic : result.diagnostics) {
      if (diagnostic.severity != Severity::Warning) _exit(13);
      if (diagnostic.text.rfind("#include search skips", 0) == 0) skips.push_back(diagnostic.text);
    }
    if (skips.size() != 2) _exit(13);
    _exit(skips[0] == warnings[0] && skips[1] == warnings[1] ? 0 : 14);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 10) GTEST_SKIP() << "cannot drop the superuser's rights here";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "11: the run ended, 12: output, 13: messages, 14: text";
  fs::permissions(dir.path() / "inc" / "locked", fs::perms(0755));
  fs::permissions(dir.path() / "closed", fs::perms(0755));
}

// Address space the process has mapped now, in bytes.
std::size_t mappedBytes() {
  std::ifstream statm("/proc/self/statm");
  std::size_t pages = 0;
  statm >> pages;
  return pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// 41 headers that each include the next one twice would load 2^41 files;
// the run ends at its limit on loadings, soon and in little memory.
TEST(Include, FanOutEndsAtTheLimitOnLoadedFiles) {
  TempDir dir;
  constexpr int kHeaders = 41;
  for (int i = 0; i < kHeaders; ++i) {
    const std::string next = "#include \"e_" + std::to_string(i + 1) + ".h\"\n";
    writeFile(dir.path() / ("e_" + std::to_string(i) + ".h"), next + next);
  }
  writeFile(dir.path() / ("e_" + std::to_string(kHeaders) + ".h"), "x\n");
  const std::string input = "#include \"e_0.h\"\n";
  // Processor time, which a busy machine does not stretch as it does the
  // time on the clock.
  const std::clock_t start = std::clock();
  const RunResult result = runPreprocessor(input, fromSource(dir.path()));
  const auto used = std::chrono::milliseconds((std::clock() - start) * 1000 / CLOCKS_PER_SEC);
  EXPECT_LT(used, budget(1000));
  ASSERT_FALSE(result.ok());
  // The 100,001st loading in depth-first order is of e_37.h, from e_36.h.
  EXPECT_EQ(result.error->text,
            "#include loads too many files (more than 100000 in one run): e_37.h");
  ASSERT_TRUE(result.error->place.has_value());
  EXPECT_EQ(result.error->place->file, (dir.path() / "e_36.h").string());
  EXPECT_EQ(result.error->place->includedFrom.size(), 37u);

#ifndef ORVO_SANITIZED
  // The same run in a child that may map only 64 MB more than this process.
  constexpr std::size_t kMoreBytes = std::size_t{64} << 20;
  const rlim_t limit = mappedBytes() + kMoreBytes;
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const rlimit bound{limit, limit};
    setrlimit(RLIMIT_AS, &bound);
    const RunResult bounded = runPreprocessor(input, fromSource(dir.path()));
    _exit(!bounded.ok() && bounded.error->text.rfind("#include loads too many", 0) == 0 ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
#endif
}

}  // namespace
}  // namespace orvo::test
