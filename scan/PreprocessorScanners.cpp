// The preprocessor's scanner table: which parts every one of the 300 grammar
// positions reads its next token with. Regex and skip parts are generated
// from the token kinds they look for, so the rows only name token sets.
#include <array>
#include <vector>

#include "base/Message.h"
#include "scan/ScannerTable.h"
#include "scan/TokenAlternation.h"
#include "scan/TokenSetNotation.h"

namespace orvo {
namespace {

constexpr int kScannerCount = 300;

// Ignore parts, in construction order: blanks everywhere except in
// include-path entries, where line ends separate the entries.
constexpr std::array<const char*, 6> kIgnoreParts = {"\t ", "\t ", "\t\n\r ", "\t ", "\t ", "\t "};
enum class Ignore { Blank = 0, White = 2 };

// Literal parts, in construction order, by the literal kinds they hold.
constexpr std::array<const char*, 4> kLiteralParts = {"18-64, 76-78, 84", "86, 88",
                                                      "18-64, 76-78, 84", "18-64, 76-78"};

// Skip parts, in construction order, by their stop kinds: excluded
// conditional groups, include-path entries, warning text, block comment body.
constexpr std::array<const char*, 4> kSkipParts = {"67, 74, 79, 80, 82, 83", "1, 6", "6", "88"};

struct CompositeRow {
  const char* indices;   // scanner indices, token-set notation
  Ignore ignore;
  const char* expected;  // expected set, or null for none
  int skipPart;          // -1: none
  int skipToken;         // the SKIP kind the skip part reports, -1 without one
  int inclusion;         // scanner index of the inclusion, -1: none
};

// Every scanner index 0 to 299 occurs in exactly one row.
constexpr CompositeRow kCompositeRows[] = {
    {"0, 4, 9-10, 12-13, 16-25, 28, 42, 44, 47-52, 57-61, 63-69, 72, 74-79, 83, 96, 107, 116-123, 125-151, 153-155, 159-162, 164, 174-175, 178, 180, 183, 185, 187-191, 208, 211-214, 218, 222-225, 228, 243, 245, 247-248, 250, 253, 256, 268, 270-271, 273, 275, 277, 281", Ignore::Blank, nullptr, -1, -1, 5},
    {"1", Ignore::White, "1", 1, 89, -1},
    {"2-3", Ignore::White, nullptr, 1, 89, -1},
    {"5-7", Ignore::Blank, "85, 86", -1, -1, 5},
    {"8", Ignore::Blank, "88", 3, 87, 5},
    {"11, 14", Ignore::Blank, "1, 6-66, 68-72, 74, 79, 80", -1, -1, 5},
    {"15, 215", Ignore::Blank, "6-66, 68-72, 74, 79, 80", -1, -1, 5},
    {"26, 251", Ignore::Blank, "6-72, 74, 79, 80, 82, 83", -1, -1, 5},
    {"27, 252", Ignore::Blank, "67, 82, 83", -1, -1, 5},
    {"29-32, 176, 181, 209, 229-235, 239-242, 298-299", Ignore::Blank, "6, 8-64, 69", -1, -1, 5},
    {"33, 35-39, 226", Ignore::Blank, "6, 8-17, 19-64, 69, 77, 78", -1, -1, 5},
    {"34, 227", Ignore::Blank, "6, 8-64, 69, 77, 78", -1, -1, 5},
    {"40-41, 168, 279", Ignore::Blank, "67, 74, 79, 80, 82, 83", 0, 81, 5},
    {"43, 237", Ignore::Blank, "41", -1, -1, 5},
    {"45, 70, 85, 88, 91, 94, 99-100, 102, 104, 106, 152, 157, 166, 172, 195, 198, 200, 202, 204, 206, 236, 244, 246, 272, 274, 276, 280", Ignore::Blank, "9, 10, 12-15, 19, 49-51, 63, 84", -1, -1, 5},
    {"46, 158, 238", Ignore::Blank, "18", -1, -1, 5},
    {"53-56, 62, 73, 111-115, 192-194, 278, 283-297", Ignore::Blank, "8-64, 69", -1, -1, 5},
    {"71, 82, 163, 177, 182, 210", Ignore::Blank, "6", -1, -1, 5},
    {"80-81", Ignore::Blank, "67, 74, 79, 80", 0, 81, 5},
    {"84, 86", Ignore::Blank, "48", -1, -1, 5},
    {"87, 89", Ignore::Blank, "43", -1, -1, 5},
    {"90, 92", Ignore::Blank, "42", -1, -1, 5},
    {"93, 95, 97", Ignore::Blank, "28, 29", -1, -1, 5},
    {"98, 101, 103, 105, 221", Ignore::Blank, "30-33", -1, -1, 5},
    {"108, 110, 258, 260", Ignore::Blank, "18, 76", -1, -1, 5},
    {"109", Ignore::Blank, "6, 8-64, 69, 76-78", -1, -1, 5},
    {"124", Ignore::Blank, "9, 75", -1, -1, 5},
    {"156", Ignore::Blank, "9, 19", -1, -1, 5},
    {"165, 167", Ignore::Blank, "40", -1, -1, 5},
    {"169, 196, 220", Ignore::Blank, "49, 50", -1, -1, 5},
    {"170, 216", Ignore::Blank, "74, 79, 80", 0, 81, 5},
    {"171", Ignore::Blank, "21", -1, -1, 5},
    {"173", Ignore::Blank, "20", -1, -1, 5},
    {"179", Ignore::Blank, "2, 6, 8-64, 69, 76-78", -1, -1, 5},
    {"184, 249, 269", Ignore::Blank, "9", -1, -1, 5},
    {"186", Ignore::Blank, nullptr, 2, 73, 5},
    {"197, 199, 201, 203", Ignore::Blank, "27, 34, 37", -1, -1, 5},
    {"205, 207, 219", Ignore::Blank, "38, 39", -1, -1, 5},
    {"217", Ignore::Blank, nullptr, 0, 81, 5},
    {"254", Ignore::Blank, "6-72, 74, 79, 80", -1, -1, 5},
    {"255", Ignore::Blank, "67", -1, -1, 5},
    {"257", Ignore::Blank, "9-18, 20-64", -1, -1, 5},
    {"259", Ignore::Blank, "9-17, 20-64", -1, -1, 5},
    {"261-267", Ignore::Blank, "6, 8-64, 77, 78", -1, -1, 5},
    {"282", Ignore::Blank, "1, 6, 8-64, 69", -1, -1, 5},
};

// For each scanner index, the row that describes it.
std::array<int, kScannerCount> RowOfEachScanner() {
  std::array<int, kScannerCount> rowOf;
  rowOf.fill(-1);
  for (int row = 0; row < static_cast<int>(std::size(kCompositeRows)); ++row) {
    for (const CVL_NumberRange& range : ParseNumberRanges(kCompositeRows[row].indices)) {
      for (int k = range.first; k <= range.last; ++k) {
        if (k >= kScannerCount || rowOf[k] != -1)
          throw CVL_Message("scanner table lists an index twice or out of range");
        rowOf[k] = row;
      }
    }
  }
  for (int row : rowOf)
    if (row == -1) throw CVL_Message("scanner table misses an index");
  return rowOf;
}

CVL_TokenSet LiteralKinds(const CVL_TokenSet& set) {
  CVL_TokenSet literals;
  set.forEach([&](int id) {
    if (GetSymbol(id)->literal) literals.insert(id);
  });
  return literals;
}

// The smallest literal part holding every literal kind of the expected set.
// A larger part would find the same tokens, since literals outside the set
// are refused, but walks more nodes.
int LiteralPartFor(const CVL_TokenSet& expected, const std::vector<CVL_TokenSet>& parts) {
  const CVL_TokenSet literals = LiteralKinds(expected);
  if (literals.empty()) return -1;
  int best = -1;
  for (int k = 0; k < static_cast<int>(parts.size()); ++k) {
    CVL_TokenSet covered = parts[k];
    covered |= literals;
    if (covered == parts[k] && (best == -1 || parts[k].size() < parts[best].size())) best = k;
  }
  if (best == -1) throw CVL_Message("no literal part holds the expected literals");
  return best;
}

// Everything the rows imply about the parts, worked out once per process:
// the rows are constant, so every table built from them is the same.
struct ScannerPlan {
  std::array<int, kScannerCount> rowOf;
  std::vector<int> literalPart;  // per row, -1 for none
  std::vector<int> regexPart;    // per row, -1 for none
  std::vector<CVL_Alternation> regexParts;
  std::vector<CVL_Alternation> skipParts;
};

ScannerPlan MakePlan() {
  constexpr std::size_t kRowCount = std::size(kCompositeRows);
  ScannerPlan plan{RowOfEachScanner(), std::vector<int>(kRowCount, -1),
                   std::vector<int>(kRowCount, -1), {}, {}};

  std::vector<CVL_TokenSet> vocabularies;
  for (const char* tokens : kLiteralParts) vocabularies.push_back(ParseTokenSet(tokens));

  // Regex parts in the order their positions first occur; positions with
  // equal expected sets share one.
  std::vector<CVL_TokenSet> regexSets;
  std::vector<bool> planned(kRowCount, false);
  for (int row : plan.rowOf) {
    if (planned[row]) continue;
    planned[row] = true;
    if (kCompositeRows[row].expected == nullptr) continue;
    const CVL_TokenSet expected = ParseTokenSet(kCompositeRows[row].expected);
    plan.literalPart[row] = LiteralPartFor(expected, vocabularies);
    for (std::size_t part = 0; part < regexSets.size(); ++part)
      if (regexSets[part] == expected) plan.regexPart[row] = static_cast<int>(part);
    if (plan.regexPart[row] != -1) continue;
    CVL_Alternation alternation = RegexAlternation(expected);
    if (alternation.expression.empty()) continue;
    plan.regexPart[row] = static_cast<int>(regexSets.size());
    regexSets.push_back(expected);
    plan.regexParts.push_back(std::move(alternation));
  }

  for (const char* stops : kSkipParts) plan.skipParts.push_back(SkipAlternation(ParseTokenSet(stops)));
  return plan;
}

const ScannerPlan& Plan() {
  static const ScannerPlan plan = MakePlan();
  return plan;
}

}  // namespace

std::unique_ptr<CVL_ScannerTable> BuildPreprocessorScanners() {
  const ScannerPlan& plan = Plan();
  auto table = std::make_unique<CVL_ScannerTable>();
  table->AllocScanners(kScannerCount);

  for (const char* chars : kIgnoreParts) table->AddIgnoreScanner(chars);

  for (int part = 0; part < static_cast<int>(kLiteralParts.size()); ++part) {
    table->AddLiteralScanner();
    table->AddLiteralTokens(part, kLiteralParts[part]);
  }

  for (int part = 0; part < static_cast<int>(plan.regexParts.size()); ++part) {
    table->AddRegexScanner(plan.regexParts[part].expression.c_str());
    table->MapRegexGroups(part, plan.regexParts[part].groupMap.c_str());
  }

  for (int part = 0; part < static_cast<int>(plan.skipParts.size()); ++part) {
    table->AddSkipScanner(plan.skipParts[part].expression.c_str());
    table->MapSkipGroups(part, plan.skipParts[part].groupMap.c_str());
  }

  for (int k = 0; k < kScannerCount; ++k) {
    const int row = plan.rowOf[k];
    const CompositeRow& data = kCompositeRows[row];
    table->SetScanner(k, static_cast<int>(data.ignore), plan.literalPart[row],
                      plan.regexPart[row], data.skipPart, data.skipToken, data.inclusion);
    if (data.expected != nullptr) table->AddExpectedTokens(k, data.expected);
  }

  table->ResolveInclusions();
  table->DeriveFirstByteTokens();
  table->DerivePlainReading();
  return table;
}

std::shared_ptr<const CVL_ScannerTable> SharedPreprocessorScanners() {
  // Initialised once even when several threads ask at the same time.
  static const std::shared_ptr<const CVL_ScannerTable> table = BuildPreprocessorScanners();
  return table;
}

}  // namespace orvo
