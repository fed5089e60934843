// The rule-end flag table against the grammar's shape: every flag is
// recomputed from a structural description of the 57 productions and must
// be set exactly where the production can end right after the element.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "grammar/RuleEndFlags.h"

namespace {

// Notation: NAME<n> or 'text'<n> is a token read with scanner n after it
// (a bare NAME is a skip token, matched without a scanner index);
// production<n> is a call; [ ] is optional, { } zero or more, {+ } one or
// more, ( a | b ) a choice.
const std::map<std::string, std::string> kGrammar = {
    {"preprocess_file", "outer_group<96>"},
    {"outer_group", "{ group<15> }"},
    {"group", "( EOL<151> | include_line<18> | pp_tokens<19> | control_line<17> | if_section<16> )"},
    {"control_line",
     "( definition<20> | error_line<23> | line_line<25> | pragma_line<22> | undef_line<21> | "
     "warning_line<24> )"},
    {"if_section", "if_begin<26> groups<27> if_end<28>"},
    {"include_line", "PD_INCLUDE<71> EOL<72>"},
    {"pp_tokens",
     "{+ ( BSEOL<111> | ID<112> | ( CHAR<114> | STRING<115> | FLOAT<278> | DECIMALINT<192> | "
     "HEXADECIMALINT<193> | OCTADECIMALLINT<194> | UNSIGNED<53> | NOT_OTHER<54> | ')'<55> | "
     "'('<56> | cpp_operator<113> ) | macro_call_begin<73> ) }"},
    {"cpp_operator",
     "( ':'<57> | '?'<58> | '->'<59> | '{'<60> | '}'<61> | '['<74> | ']'<75> | '*'<76> | "
     "'=='<77> | '!='<78> | '<='<187> | '<'<188> | '>='<116> | '>'<117> | '/'<118> | '++'<119> | "
     "'--'<120> | '%'<121> | '>>'<122> | '<<'<126> | '&&'<127> | '||'<128> | '&'<129> | "
     "'^'<130> | '.'<131> | '->*'<132> | '.*'<133> | '::'<134> | '|'<135> | '+'<136> | "
     "'-'<137> | '~'<138> | '='<139> | '*='<140> | '/='<141> | '%='<142> | '+='<143> | "
     "'-='<144> | '>>='<145> | '<<='<146> | '&='<147> | '^='<148> | '|='<149> | '!'<150> | "
     "'...'<123> )"},
    {"definition", "PD_DEFINE<124> ( object_like_macro<125> | function_like_macro<208> )"},
    {"error_line", "PD_ERROR<209> [ pp_tokens<210> ] EOL<211>"},
    {"if_begin", "( ifdef_line<212> | ifndef_line<214> | if_line<213> )"},
    // The branch is chosen by the condition: the taken groups, or the
    // line break and the skipped text.
    {"groups", "( { group<215> } | EOL<216> skip_group<217> )"},
    {"if_end", "( PD_ENDIF<175> | elif_section<218> | else_section<174> )"},
    {"line_line", "PD_LINE<176> [ pp_tokens<177> ] EOL<178>"},
    // The call follows only when the name is a function-like macro.
    {"macro_call_begin", "MACRO_CALL_BEGIN<179> [ macro_call<180> ]"},
    {"pragma_line", "PD_PRAGMA<181> [ pp_tokens<182> ] EOL<183>"},
    {"undef_line", "PD_UNDEF<184> ID<185>"},
    {"warning_line", "PD_WARNING<186> SKIP73 EOL<248>"},
    {"ifdef_line", "PD_IFDEF<249> ID<250>"},
    {"elif_section", "elif_begin_line<251> groups<252> if_end<253>"},
    {"else_section", "else_begin_line<254> groups<255> PD_ENDIF<256>"},
    {"function_like_macro",
     "MACRO_DEF_BEGIN<257> [ macro_token<258> { ','<259> macro_token<260> } ] ')'<261> "
     "{ ( BSEOL<267> | ( macro_token<262> | ')'<263> | '('<264> ) | '#'<265> | '##'<266> ) } "
     "EOL<268>"},
    {"ifndef_line", "PD_IFNDEF<269> ID<270>"},
    {"if_line", "PD_IF<106> const_expr<107>"},
    {"macro_call", "macro_tokens<108> { ','<109> macro_tokens<110> } ')'<228>"},
    {"object_like_macro",
     "ID<229> { ( BSEOL<230> | ( ID<232> | CHAR<29> | STRING<30> | FLOAT<31> | DECIMALINT<32> | "
     "HEXADECIMALINT<239> | OCTADECIMALLINT<240> | UNSIGNED<241> | NOT_OTHER<242> | ')'<234> | "
     "'('<233> | cpp_operator<235> ) | macro_call_begin<231> ) } EOL<243>"},
    {"skip_group", "{ ( skip_if_section<170> | SKIP81 ) }"},
    {"const_expr", "log_or_expr<171> [ '?'<172> const_expr<173> ':'<244> const_expr<245> ]"},
    {"elif_begin_line", "PD_ELIF<246> const_expr<247>"},
    {"else_begin_line", "PD_ELSE<62> [ pp_tokens<63> ]"},
    {"macro_token",
     "( ID<223> | CHAR<65> | STRING<66> | FLOAT<67> | DECIMALINT<68> | HEXADECIMALINT<69> | "
     "OCTADECIMALLINT<222> | UNSIGNED<224> | NOT_OTHER<225> | cpp_operator<64> )"},
    {"macro_tokens",
     "{ ( EOL<39> | BSEOL<36> | macro_token<226> | '('<227> macro_parenthesis<33> | "
     "MACRO_CALL_BEGIN<34> macro_parenthesis<35> | '#'<37> | '##'<38> ) }"},
    {"skip_if_section", "skip_if_begin<40> { skip_group<41> } skip_if_end<42>"},
    {"log_or_expr", "log_and_expr<43> { '||'<236> log_and_expr<237> }"},
    {"macro_parenthesis", "macro_tokens<238> ')'<189>"},
    {"skip_if_begin", "( PD_IFDEF<190> | PD_IFNDEF<160> | PD_IF<191> )"},
    {"skip_if_end",
     "( PD_ENDIF<163> [ EOL<164> ] | skip_elif_section<161> | skip_else_section<162> )"},
    {"log_and_expr", "inclusive_or_expr<165> { '&&'<166> inclusive_or_expr<167> }"},
    {"skip_elif_section", "PD_ELIF<168> { skip_group<279> } skip_if_end<79>"},
    {"skip_else_section", "PD_ELSE<80> { skip_group<81> } PD_ENDIF<82> EOL<83>"},
    {"inclusive_or_expr", "exclusive_or_expr<84> { '|'<85> exclusive_or_expr<86> }"},
    {"exclusive_or_expr", "and_expr<87> { '^'<88> and_expr<89> }"},
    {"and_expr", "equality_expr<90> { '&'<91> equality_expr<92> }"},
    {"equality_expr",
     "relational_expr<93> { ( '=='<94> relational_expr<95> | '!='<280> relational_expr<97> ) }"},
    {"relational_expr",
     "shift_expr<98> { ( '<='<99> shift_expr<221> | '>='<100> shift_expr<101> | "
     "'<'<102> shift_expr<103> | '>'<104> shift_expr<105> ) }"},
    {"shift_expr", "add_expr<219> { ( '>>'<206> add_expr<207> | '<<'<204> add_expr<205> ) }"},
    {"add_expr",
     "multiply_expr<220> { ( '+'<70> multiply_expr<169> | '-'<195> multiply_expr<196> ) }"},
    {"multiply_expr",
     "unary_expr<197> { ( '*'<198> unary_expr<199> | '/'<200> unary_expr<201> | "
     "'%'<202> unary_expr<203> ) }"},
    {"unary_expr",
     "( prim_expr<271> | '+'<272> unary_expr<273> | '-'<274> unary_expr<275> | "
     "'~'<276> unary_expr<277> | '!'<152> unary_expr<153> )"},
    {"prim_expr",
     "( ( ID<155> | constant<154> | 'defined'<156> ( ID<44> | '('<157> const_expr<158> "
     "')'<159> ) ) | '('<45> const_expr<46> ')'<47> )"},
    {"constant",
     "( CHAR<48> | FLOAT<52> | DECIMALINT<49> | HEXADECIMALINT<50> | OCTADECIMALLINT<51> )"},
    {"comment", "{+ ( LINE_COMMENT<7> | block_comment<6> ) }"},
    {"block_comment", "'/*'<8> { SKIP87 } '*/'<9>"},
    {"header", "outer_group<12>"},
    {"IncludePaths", "{ SKIP89 ( EOF<3> | EOL<2> ) }"},
    {"re_macro_call", "{+ ( EOL<299> | re_pp_tokens<298> ) }"},
    {"re_pp_tokens",
     "{+ ( BSEOL<285> | ID<286> | ( CHAR<288> | STRING<289> | FLOAT<290> | DECIMALINT<291> | "
     "HEXADECIMALINT<292> | OCTADECIMALLINT<293> | UNSIGNED<294> | NOT_OTHER<295> | ')'<296> | "
     "'('<297> | cpp_operator<287> ) | macro_call_begin<284> ) }"},
};

struct Node {
  enum Kind { Sequence, Choice, Optional, ZeroOrMore, OneOrMore, Token, Call } kind;
  std::string name;  // token or production
  int position = -1;
  std::vector<std::unique_ptr<Node>> children;
};

class Shape {
 public:
  explicit Shape(const std::string& text) : m_Text(text) {}

  std::unique_ptr<Node> parse() {
    auto node = sequence();
    EXPECT_EQ(m_Pos, m_Text.size()) << "unparsed rest of: " << m_Text;
    return node;
  }

 private:
  std::string word() {
    skipBlanks();
    const std::size_t start = m_Pos;
    if (m_Pos < m_Text.size() && m_Text[m_Pos] == '\'') {
      m_Pos = m_Text.find('\'', m_Pos + 1) + 1;
    } else {
      while (m_Pos < m_Text.size() && !std::isspace(static_cast<unsigned char>(m_Text[m_Pos])) &&
             m_Text[m_Pos] != '<')
        ++m_Pos;
    }
    return m_Text.substr(start, m_Pos - start);
  }
  void skipBlanks() {
    while (m_Pos < m_Text.size() && m_Text[m_Pos] == ' ') ++m_Pos;
  }
  bool at(const char* symbol) {
    skipBlanks();
    return m_Text.compare(m_Pos, std::string(symbol).size(), symbol) == 0;
  }
  void expect(const char* symbol) {
    EXPECT_TRUE(at(symbol)) << "expected " << symbol << " at " << m_Pos << " of " << m_Text;
    m_Pos += std::string(symbol).size();
  }

  std::unique_ptr<Node> sequence() {
    auto node = std::make_unique<Node>(Node{Node::Sequence});
    while (m_Pos < m_Text.size() && !at(")") && !at("]") && !at("}") && !at("|")) {
      node->children.push_back(element());
      skipBlanks();
    }
    return node;
  }

  std::unique_ptr<Node> element() {
    if (at("(")) {
      expect("(");
      auto node = std::make_unique<Node>(Node{Node::Choice});
      node->children.push_back(sequence());
      while (at("|")) {
        expect("|");
        node->children.push_back(sequence());
      }
      expect(")");
      return node;
    }
    if (at("[") || at("{")) {
      const bool optional = at("[");
      m_Pos += 1;
      Node::Kind kind = optional ? Node::Optional : Node::ZeroOrMore;
      if (!optional && at("+")) {
        expect("+");
        kind = Node::OneOrMore;
      }
      auto node = std::make_unique<Node>(Node{kind});
      node->children.push_back(sequence());
      expect(optional ? "]" : "}");
      return node;
    }
    auto node = std::make_unique<Node>(Node{Node::Token});
    node->name = word();
    if (kGrammar.count(node->name) != 0) node->kind = Node::Call;
    if (m_Pos < m_Text.size() && m_Text[m_Pos] == '<') {
      const std::size_t close = m_Text.find('>', m_Pos);
      node->position = std::stoi(m_Text.substr(m_Pos + 1, close - m_Pos - 1));
      m_Pos = close + 1;
    }
    return node;
  }

  std::string m_Text;
  std::size_t m_Pos = 0;
};

class RuleEnds {
 public:
  RuleEnds() {
    for (const auto& [name, text] : kGrammar) m_Shapes[name] = Shape(text).parse();
    // Nullable productions, to a fixed point.
    for (bool changed = true; changed;) {
      changed = false;
      for (const auto& [name, shape] : m_Shapes)
        if (m_Nullable.count(name) == 0 && nullable(*shape)) changed = m_Nullable.insert(name).second;
    }
    for (const auto& [name, shape] : m_Shapes) mark(*shape, true, name);
  }

  std::map<int, bool> flags;  // position -> the production may end after it
  std::map<int, std::string> productionOf;
  std::vector<int> duplicates;

 private:
  bool nullable(const Node& node) const {
    switch (node.kind) {
      case Node::Sequence:
        for (const auto& child : node.children)
          if (!nullable(*child)) return false;
        return true;
      case Node::Choice:
        for (const auto& child : node.children)
          if (nullable(*child)) return true;
        return false;
      case Node::Optional:
      case Node::ZeroOrMore:
        return true;
      case Node::OneOrMore:
        return nullable(*node.children[0]);
      case Node::Call:
        return m_Nullable.count(node.name) != 0;
      case Node::Token:
        return false;
    }
    return false;
  }

  // `restIsEmpty`: whatever follows `node` up to the production's end can
  // derive the empty string.
  void mark(const Node& node, bool restIsEmpty, const std::string& production) {
    switch (node.kind) {
      case Node::Sequence: {
        bool rest = restIsEmpty;
        for (auto it = node.children.rbegin(); it != node.children.rend(); ++it) {
          mark(**it, rest, production);
          rest = rest && nullable(**it);
        }
        break;
      }
      case Node::Choice:
      case Node::Optional:
      case Node::ZeroOrMore:
      case Node::OneOrMore:
        // Further passes of a repetition are optional: after its body comes
        // what follows the repetition.
        for (const auto& child : node.children) mark(*child, restIsEmpty, production);
        break;
      case Node::Token:
      case Node::Call:
        if (node.position < 0) break;
        if (flags.count(node.position) != 0) duplicates.push_back(node.position);
        flags[node.position] = restIsEmpty;
        productionOf[node.position] = production;
        break;
    }
  }

  std::map<std::string, std::unique_ptr<Node>> m_Shapes;
  std::set<std::string> m_Nullable;
};

TEST(RuleEndFlags, EveryFlagFollowsFromTheGrammarShape) {
  ASSERT_EQ(kGrammar.size(), 57u);
  const RuleEnds expected;
  EXPECT_TRUE(expected.duplicates.empty()) << "a scanner index names one position only";
  EXPECT_EQ(expected.flags.size(), 289u);
  for (int position = 0; position < orvo::kGrammarPositions; ++position) {
    const auto it = expected.flags.find(position);
    const bool flag = it != expected.flags.end() && it->second;
    EXPECT_EQ(orvo::endsAt(position), flag)
        << "position " << position << " in "
        << (it == expected.flags.end() ? "no production" : expected.productionOf.at(position));
  }
}

}  // namespace
