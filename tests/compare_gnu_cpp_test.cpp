// Generated programs from the constructs where this preprocessor's rules and
// ISO C's agree, run through the engine and through GNU cpp: the token text
// of both outputs must match once all blanks and line breaks are removed.
// Skipped when cpp is not installed.
//
// Left out of the generator, because the rules here differ from ISO C:
// macro names, `defined` of a macro whose value is not 1, and constants with
// suffixes in #if (a name counts by its value here, not by its expansion;
// `defined` yields the value; a suffix is a conversion error); arithmetic
// that leaves 32 bits (the expressions are 32-bit int); names beginning
// with "__" (fixed predefined values); nested block comments (comments
// nest here); an object-like macro named twice in one expansion (each
// expands once per rescan here, so only object-like bodies and text lines
// name them, each body at most one earlier macro); and "##" where the
// paste would not give one token (an error in ISO C), so only CAT pastes,
// with words and numbers; and "#" of an argument that holds a call, which
// ISO C expands before a macro that stringizes it receives it, while here
// the call's text reaches it as written, so only STR and XSTR stringize,
// words, numbers and object-like names; and a call of F passed as an
// argument of F (ISO C expands it before the outer call begins; here it may
// meet its own macro busy inside the outer expansion and stay as written),
// so arguments hold no calls but CAT's, and calls nest through the bodies.
//
// The standard-C engine runs the same programs with these constructs added:
// variadic macros, macros with numeric values in #if, constants with
// suffixes, and __LINE__.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/Command.h"
#include "orvo/StandardRun.h"
#include "support/RunHelpers.h"

namespace orvo::test {
namespace {

class ProgramGenerator {
 public:
  // `standard`: also the constructs where only ISO C's rules hold.
  ProgramGenerator(unsigned seed, bool standard = false) : m_Random(seed), m_Standard(standard) {}

  std::string program() {
    std::string text;
    if (m_Standard)
      text += "#define N0 " + number() + "\n#define N1 " + number() + "U\n"
              "#define V(...) g(__VA_ARGS__)\n#define W(x, ...) x [__VA_ARGS__] #__VA_ARGS__\n";
    const int objects = pick(1, 5);
    for (int i = 0; i < objects; ++i)
      text += "#define O" + std::to_string(i) + " " + objectBody(i) + "\n";
    const int functions = pick(1, 4);
    for (int i = 0; i < functions; ++i)
      text += "#define F" + std::to_string(i) + "(x, y) " + functionBody(i) + "\n";
    text += "#define CAT(x, y) x ## y\n#define STR(x) #x\n#define XSTR(x) STR(x)\n";
    m_Objects = objects;
    m_Functions = functions;
    for (int line = pick(2, 6); line > 0; --line) {
      if (chance(4)) {
        text += conditional();
      } else {
        text += textLine() + "\n";
      }
    }
    return text;
  }

 private:
  int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_Random); }
  bool chance(int oneIn) { return pick(1, oneIn) == 1; }
  template <class T>
  const T& any(const std::vector<T>& choices) {
    return choices[static_cast<std::size_t>(pick(0, static_cast<int>(choices.size()) - 1))];
  }

  std::string word() { return any<std::string>({"a", "b", "c", "n1", "p", "q"}); }
  std::string number() { return std::to_string(pick(0, 99)); }
  std::string suffixed() {
    return number() + (m_Standard ? any<std::string>({"", "", "u", "L", "UL", "ll"}) : "");
  }
  std::string op() { return any<std::string>({"+", "-", "*", "==", "<", ";", "=", "&"}); }

  // An object-like replacement: words, numbers, operators and at most one
  // earlier macro, so that no macro is named twice in an expansion.
  std::string objectBody(int index) {
    std::string body;
    bool named = index == 0;
    for (int n = pick(1, 4); n > 0; --n) {
      const int kind = pick(0, 3);
      if (kind == 0) body += word();
      if (kind == 1) body += number();
      if (kind == 2) body += op();
      if (kind == 3) body += named ? word() : "O" + std::to_string(pick(0, index - 1));
      if (kind == 3) named = true;
      body += " ";
    }
    return body;
  }

  std::string functionBody(int index) {
    std::vector<std::string> bodies = {"x", "(x) + (y)", "x y", "[x] [y]", "{ y; x }", "y * x"};
    if (index > 0) {
      const std::string inner = "F" + std::to_string(pick(0, index - 1));
      bodies.push_back(inner + "(x, y) + " + inner + "(y, x)");
      bodies.push_back(inner + "((x), 7)");
    }
    return any(bodies);
  }

  std::string argument(int depth) {
    const int kind = pick(0, depth > 1 ? 2 : 3);
    if (kind == 0) return word();
    if (kind == 1) return number();
    if (kind == 2) return word() + " " + any<std::string>({"+", "-", "*", "==", "<"}) + " " + number();
    return "CAT(" + word() + ", " + number() + ")";
  }

  std::string call(int depth) {
    return "F" + std::to_string(pick(0, m_Functions - 1)) + "(" + argument(depth) + ", " +
           argument(depth) + ")";
  }

  std::string textLine() {
    std::string line;
    for (int n = pick(1, 4); n > 0; --n) {
      const int kind = pick(0, 8);
      if (kind == 6) line += "CAT(" + word() + ", " + (chance(2) ? word() : number()) + ")";
      if (kind == 7) line += "STR(" + argument(2) + ")";
      if (kind == 8) line += "XSTR(O" + std::to_string(pick(0, m_Objects - 1)) + ")";
      if (kind == 0) line += word();
      if (kind == 1) line += "O" + std::to_string(pick(0, m_Objects - 1));
      if (kind == 2) line += call(0);
      if (kind == 3) line += op();
      if (kind == 4) line += "/* note */";
      if (kind == 5) line += number();
      if (m_Standard && chance(3)) {
        line += any<std::string>({" V(" + argument(2) + ", " + argument(2) + ")", " V()",
                                  " W(" + word() + ")", " W(" + word() + ", " + argument(2) + ", q)",
                                  " __LINE__"});
      }
      line += " ";
    }
    if (chance(4)) line += "// trailing";
    return line;
  }

  std::string expression(int depth) {
    if (depth > 2 || chance(3)) {
      if (m_Standard && chance(3)) return any<std::string>({"N0", "N1", "__LINE__", "(N0 + N1)"});
      return suffixed();
    }
    const int kind = pick(0, 3);
    if (kind == 0) return "(" + expression(depth + 1) + ")";
    if (kind == 1) return "!" + expression(depth + 1);
    if (kind == 2) {
      return expression(depth + 1) + " ? " + expression(depth + 1) + " : " + expression(depth + 1);
    }
    return expression(depth + 1) + " " +
           any<std::string>({"+", "-", "*", "==", "!=", "<", ">=", "&&", "||", "&", "|"}) + " " +
           expression(depth + 1);
  }

  std::string conditional() {
    std::string head;
    const int kind = pick(0, 2);
    if (kind == 0) head = "#if " + expression(0);
    if (kind == 1) head = "#ifdef O" + std::to_string(pick(0, 8));
    if (kind == 2) head = "#if defined(O" + std::to_string(pick(0, 8)) + ") || " + number();
    std::string text = head + "\n" + textLine() + "\n";
    if (chance(2)) text += "#elif " + expression(0) + "\n" + textLine() + "\n";
    if (chance(2)) text += "#else\n" + textLine() + "\n";
    return text + "#endif\n";
  }

  std::mt19937 m_Random;
  bool m_Standard = false;
  int m_Objects = 1;
  int m_Functions = 1;
};

std::string WithoutBlanks(const std::string& text) {
  std::string tokens;
  for (const char c : text)
    if (c != ' ' && c != '\t' && c != '\n' && c != '\r') tokens += c;
  return tokens;
}

TEST(CompareWithGnuCpp, GeneratedProgramsGiveTheSameTokens) {
  if (runCommand("command -v cpp").status != 0) GTEST_SKIP() << "GNU cpp is not installed";
  const int kPrograms = 200;
  int differences = 0;
  for (int seed = 1; seed <= kPrograms && differences < 5; ++seed) {
    const std::string program = ProgramGenerator(static_cast<unsigned>(seed)).program();
    const RunResult ours = runPreprocessor(program, {});
    ASSERT_TRUE(ours.ok()) << ours.error->text << " in\n" << program;
    const CommandResult theirs = runCommand("cpp -P -undef -nostdinc -std=c99", program);
    ASSERT_EQ(theirs.status, 0) << theirs.err << " in\n" << program;
    if (WithoutBlanks(ours.output) != WithoutBlanks(theirs.out)) {
      ++differences;
      ADD_FAILURE() << "seed " << seed << ":\n"
                    << program << "--- orvo:\n"
                    << ours.output << "\n--- cpp:\n"
                    << theirs.out;
    }
  }
}

TEST(CompareWithGnuCpp, StandardEngineGivesCppTokens) {
  if (runCommand("command -v cpp").status != 0) GTEST_SKIP() << "GNU cpp is not installed";
  const int kPrograms = 100;
  int differences = 0;
  for (int seed = 1; seed <= kPrograms && differences < 5; ++seed) {
    const std::string program = ProgramGenerator(static_cast<unsigned>(seed), true).program();
    const RunResult ours = runStandardC(program, {});
    ASSERT_TRUE(ours.ok()) << ours.error->text << " in\n" << program;
    for (const Diagnostic& diagnostic : ours.diagnostics)
      EXPECT_NE(diagnostic.severity, Severity::Error) << diagnostic.text << " in\n" << program;
    const CommandResult theirs = runCommand("cpp -P -undef -nostdinc -std=c11", program);
    ASSERT_EQ(theirs.status, 0) << theirs.err << " in\n" << program;
    if (WithoutBlanks(ours.output) != WithoutBlanks(theirs.out)) {
      ++differences;
      ADD_FAILURE() << "seed " << seed << ":\n"
                    << program << "--- standard:\n"
                    << ours.output << "\n--- cpp:\n"
                    << theirs.out;
    }
  }
}

}  // namespace
}  // namespace orvo::test
