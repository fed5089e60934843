// A generated input of a given size that reads like a hand-written C file,
// shared by the latency measurements.
#pragma once

#include <cstddef>
#include <string>

namespace orvo::bench {

// Roughly what a hand-written C file holds: comments, declarations,
// functions, object-like and function-like macros with # and ##, and
// conditional sections, some of them excluded.
inline std::string RealisticInput(std::size_t size) {
  std::string text =
      "/* A realistic translation unit for latency measurements. */\n"
      "#define MAX(a, b) ((a) > (b) ? (a) : (b))\n"
      "#define STR(x) #x\n"
      "#define XSTR(x) STR(x)\n"
      "#define CAT(a, b) a ## b\n"
      "#define SIZE 64\n"
      "#define LIMIT SIZE\n"
      "#define FEATURE 1\n\n";
  for (int i = 0; text.size() < size; ++i) {
    const std::string n = std::to_string(i);
    text += "/* unit " + n + ": a block comment\n   that spans two lines */\n";
    text += "static const char *name_" + n + " = \"value " + n + " with \\\"escapes\\\"\";\n";
    text += "#if FEATURE && " + std::to_string(i % 3) + " != 1\n";
    text += "int CAT(value_, " + n + ") = MAX(" + n + ", LIMIT);\n";
    text += "#else\nint CAT(other_, " + n + ") = SIZE;\n#endif\n";
    text += "int function_" + n + "(int a, int b) { // a line comment\n";
    text += "  int c = a * " + n + " + b / 3 - (a << 2) % 7;\n";
    text += "  if (c >= " + n + " && b != 0) { c -= b; } else { c += a ^ b; }\n";
    text += "  return c > 0 ? c : -c;\n}\n";
    text += "const char *text_" + n + " = XSTR(LIMIT);\n";
    text += "#ifdef MAX\nlong sum_" + n + " = MAX(SIZE + 7, " + n + ") + " + n + ";\n#endif\n\n";
  }
  return text;
}

}  // namespace orvo::bench
