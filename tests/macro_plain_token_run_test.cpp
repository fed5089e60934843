// Text lines copy runs of plain tokens without the scanners. Every run must
// give exactly what reading each token with the scanners gives: the same
// output, the same error and the same messages at the same places.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "support/RunHelpers.h"

namespace orvo {
namespace {

std::string RunWith(std::string_view input, bool fast,
                    const std::string& sourceDir = std::string(),
                    std::size_t maxOutputBytes = std::size_t{1} << 20) {
  RunOptions options;
  options.sourceDir = sourceDir;
  options.mode = fast ? Mode::Fast : Mode::Reference;
  options.maxOutputBytes = maxOutputBytes;
  return test::RunSummary(runPreprocessor(input, options));
}

void ExpectSameBothWays(std::string_view input) {
  EXPECT_EQ(RunWith(input, true), RunWith(input, false)) << "input: " << input;
}

// `input` gives `output`, and the same run both ways.
void ExpectOutputBothWays(const std::string& input, const std::string& output) {
  RunOptions options;
  EXPECT_EQ(runPreprocessor(input, options).output, output) << input;
  ExpectSameBothWays(input);
}

TEST(PlainTokenRun, CopiesOrdinaryLinesAsTheScannersRead) {
  const struct {
    const char* input;
    const char* output;
  } cases[] = {
      {"int c = a * 0 + b / 3 - (a << 2) % 7;\n", "int c = a * 0 + b / 3 - (a << 2) % 7;\n"},
      {"  x\t=  y ;  \n", "  x\t=  y ;  \n"},
      {"if (c >= 0 && b != 0) { c -= b; }\n", "if(c >= 0 && b != 0) { c -= b; }\n"},
      {"s = \"a \\\"q\\\" b\"; c = '\\n' + 'x';\n", "s = \"a \\\"q\\\" b\"; c = '\\n' + 'x';\n"},
      {"p->q->*r .* s ... t >>= u <<= v;\n", "p->q->*r .* s ... t >>= u <<= v;\n"},
      {"#define M 9\nint a = M + M;\n", "int a = 9 + 9;\n"},
      {"#define F(x) [x]\nint F = F (1) + f\n(2);\n", "int F = [1]  + f(2);\n"},
      {"n = __LINE__ + 1;\n", "n = 1 + 1;\n"},
  };
  for (const auto& c : cases) ExpectOutputBothWays(c.input, c.output);
}

// Lines where the scanners read something the plain reader must not claim:
// floating constants, prefixed literals, comments, backslashes, calls over
// line breaks, bytes beyond ASCII and unterminated literals.
TEST(PlainTokenRun, LeavesToTheScannersWhatTheyReadOtherwise) {
  const char* const inputs[] = {
      "x = 1.5e+3f + .5 + 1e-2 + 0x1e+3 + 1..2 + 12f + 017u;\n",
      "w = L'x' + L\"wide\" + L + 'ab' + '\\x41' + '\\'';\n",
      "a = b /* c */ + d; // e\n",
      "a = b \\\n + c;\n",
      "a = b\\c;\n",
      "f x = g\n\n  (1);\n",
      "caf\xc3\xa9 = 1 + \"\xc3\xa9\" + x\x80y;\n",
      "a = \"unterminated + b;\n",
      "a = 'q + b;\n",
      "a\r\n= b\r\n;\r\n",
      "#if 1 \t\r\n#define M(x) x \t\n#endif  \nM(a \r b) \r\r\n",
      "a \v b \f c;\n",
      "a # b ## c;\n",
      "x @ $ ` y;\n",
      "#if 1\nint a = b;\n#else\nint c = d;\n#endif\n",
      "#  if 1 + 017\n# \telse\n#endif\n#ifdef\nM\n#endif\n#iffy\n# include\n",
      "#define defM\n#ifdefM\nA\n#else\nB\n#endif\n",
      "#if 0\nint a = b;\n#endif\nint c = d;\n",
      "int a = b",
      "#define E\n#define O E + 1\nx = O E y;\n",
      "#define S(x) #x\ny = S( a + b ) z;\n",
  };
  for (const char* input : inputs) ExpectSameBothWays(input);
}

// Argument lists collected in one piece: the first token of an argument and
// of a parenthesised group drops the blanks in front of it, "(" and ")"
// keep theirs, commas inside a group belong to the argument, and a call of
// a macro being expanded is copied through as written.
TEST(PlainTokenRun, CollectsArgumentListsAsTheScannersRead) {
  const std::string defines =
      "#define F(x) [x]\n#define G(x, y) [x|y]\n#define R(x) F(x) R( x )\n";
  const struct {
    const char* call;
    const char* output;
  } cases[] = {
      {"F( (a , b ) )", "[ (a , b )] "},
      {"F( ( , a))", "[ (, a)] "},
      {"F( ( ) )", "[ ( )] "},
      {"G( a  b , c d )", "[a  b|c d] "},
      {"G( , )", "[|] "},
      {"F()", "[] "},
      {"G((a,(  b )),c)", "[(a,(b ))|c] "},
      {"G( 1 + 2 ,3)", "[1 + 2|3] "},
      {"F(\"a\" , x)", "[\"a\"]  // macro \"F\" passed 2 arguments, but takes just 1"},
      {"G(1)", "[1|]  // macro \"G\" requires 2 arguments, but only 1 given"},
  };
  for (const auto& c : cases)
    ExpectOutputBothWays(defines + c.call + "\n", std::string(c.output) + "\n");
  // A macro that calls itself ends in the nesting limit; nested calls and
  // calls over line breaks are collected by the productions.
  for (const char* call : {"R( p ( q ,r) )", "G(F(1), (F)(2))", "G(a,\n b)", "F(a /* , */ b)"})
    ExpectSameBothWays(defines + call + "\n");
}

// Lines copied in one piece are written in one piece; the error of a run
// that writes more than it may still points at the line that crossed the
// limit.
TEST(PlainTokenRun, OutputLimitPointsAtTheLineThatCrossesIt) {
  const std::string input = "int a = 1;\nint b = 2;\n\nint c = 3;\n";
  for (std::size_t limit = 0; limit <= input.size(); ++limit) {
    EXPECT_EQ(RunWith(input, true, std::string(), limit), RunWith(input, false, std::string(), limit))
        << "limit " << limit;
  }
}

// Programs from fragments chosen to meet every stop of the reader and the
// macros and directives around text lines.
std::string RandomProgram(std::mt19937& random) {
  // Fragments of ordinary text, and rarer ones that stop the reader, end
  // the line or the run, or make the scanners read otherwise.
  static const std::vector<std::string> plain = {
      "a", "b", "x1", "_y", "if", "defined", "OBJ", "FN", "EMPTY", "0", "137", "0x1F", "017",
      "08", "1e5", "12u", "9L", "\"s\"", "\"a\\\"b\"", "\"\\\\\"", "'a'", "'\\n'", "'\\''",
      "+", "-", "*", "/", "%", "<<", ">>=", "->", "->*", ".*", ".", "..", "...", "::", "?", ":",
      "&&", "||", "!", "~", "^=", "==", "!=", "<=", "=", "{", "}", "[", "]", "(", ")", "(", ")",
      ";", ",", "@", "$", "`", " ", " ", " ", "\t", "  ",
  };
  static const std::vector<std::string> rare = {
      "L", "__LINE__", "__FILE__", "1e+5", "1.5", ".5", "1.", "3f", "\"open", "L\"w\"", "'ab'",
      "L'x'", "'", "'\\'", "\v", "\f", "/* c */", "// line\n", "/*", "*/", "#", "##", "\\",
      "\\\n", "\r\n", "\n", "\xc3\xa9", "\x80", "\x7f", std::string(1, '\0'), "\r",
  };
  static const std::vector<std::string> directives = {
      "#define OBJ 1 + x1\n", "#define FN(p) (p * 2)\n", "#define EMPTY\n", "#undef OBJ\n",
      "#if 1\n", "#if 0\n", "#else\n", "#endif\n", "#ifdef OBJ\n", "#define a b\n",
      "# \t if 017 != 08\n", "#  ifdef\nOBJ\n", "#iffy\n", "#\nelse\n", "#endif x\n",
      "#define REC(p, q) [ p ] REC( q,(p) ) q\n",
      // Comments made while rescanning macro text write a blank at once.
      "#define f(x) x\n", "#define g() 1\n", "f(f(g(,)))\n", "#define C(a) a##/##/\n",
      "f(f(C(x)))\n",
  };
  const auto pick = [&](const std::vector<std::string>& pool) -> const std::string& {
    return pool[random() % pool.size()];
  };
  // Directives and calls whose operands are fragments too: the scanners of
  // definitions, conditions and arguments read them.
  static const std::vector<std::string> openings = {
      "", "", "", "#define OBJ ", "#define FN(p, q) p # q ## ", "#if ", "#elif ", "FN(",
      "FN(a, ", "#pragma ", "#line ", "#ifdef ", "#undef ", "REC(", "REC( ( a ,(b )) , ",
      "FN( (", "x = REC(1, FN(2)) + ",
  };
  std::string program;
  const int lines = 1 + static_cast<int>(random() % 6);
  for (int line = 0; line < lines; ++line) {
    if (random() % 4 == 0) program += pick(directives);
    program += pick(openings);
    const int length = static_cast<int>(random() % 14);
    for (int k = 0; k < length; ++k) {
      program += random() % 8 == 0 ? pick(rare) : pick(plain);
      if (random() % 3 == 0) program += ' ';
    }
    if (program.ends_with("(") || random() % 4 == 0) program += ")";
    program += '\n';
  }
  return program;
}

TEST(PlainTokenRun, RandomProgramsGiveTheSameResultBothWays) {
  if (modeFromEnvironment() == Mode::Reference)
    GTEST_SKIP() << "runs both modes itself; once is enough";
  // Every tenth program includes another one: an included file is parsed
  // on its own. Every seventh may write little: the error of a run that
  // writes more points at the text that crossed the limit.
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("orvo_plain_run_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  // ORVO_BOTH_WAYS_PROGRAMS sets how many (`make compare-modes` runs more).
  const char* wanted = std::getenv("ORVO_BOTH_WAYS_PROGRAMS");
  const int programs = wanted != nullptr ? std::atoi(wanted) : 10000;
  std::mt19937 random(20261210);
  for (int k = 0; k < programs; ++k) {
    std::string program = RandomProgram(random);
    if (k % 10 == 0) {
      std::ofstream(dir / "included.h", std::ios::binary) << RandomProgram(random);
      program = "#include \"included.h\"\n" + program;
    }
    const std::size_t limit = k % 7 == 0 ? random() % 64 : std::size_t{1} << 20;
    const std::string fast = RunWith(program, true, dir.string(), limit);
    const std::string slow = RunWith(program, false, dir.string(), limit);
    ASSERT_EQ(fast, slow) << "program " << k << ":\n" << program;
  }
  std::filesystem::remove_all(dir);
}

TEST(BothWays, ReadLongStringLiterals) {
  // A literal of 35,000 escapes, and a string that grows with each nested
  // call: the regular-expression library backtracks once per escape, and
  // must read them as the token matchers do, or end with a message in words.
  std::string literal = "x = \"";
  for (int i = 0; i < 35000; ++i) literal += "a\\n";
  literal += "\";\n";
  EXPECT_EQ(RunWith(literal, false), "output: " + literal + "\n");
  ExpectSameBothWays(literal);
  // With the default output limit the literal grows to megabytes before
  // the expansion budget ends the run: the same message both ways.
  const std::string growing = "#define P(x,y) P(,#y\nP()\n";
  EXPECT_EQ(RunWith(growing, true, "", kDefaultMaxOutputBytes),
            RunWith(growing, false, "", kDefaultMaxOutputBytes));
}

}  // namespace
}  // namespace orvo
