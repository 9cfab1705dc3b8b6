#include "platform/jet/jet_sql.h"

#include <algorithm>
#include <set>
#include <vector>

#include "platform/ascii.h"
#include "platform/jet/jet_date.h"
#include "platform/jet/jet_names.h"

namespace vmu {

namespace {

enum class Kind { kSpace, kWord, kNumber, kText, kName, kOp, kComma, kSemi, kOpen, kClose, kOther };

struct Node {
  Kind kind;
  std::string text;
  std::vector<Node> kids;  // a group's contents (kind kOpen)
  bool closed = false;     // the group's ')' was there
};

using Seq = std::vector<Node>;

bool WordStart(char c) { return IsAsciiLetter(c) || c == '_' || (c & 0x80); }
bool WordChar(char c) { return WordStart(c) || IsAsciiDigit(c); }
bool Digit(char c) { return IsAsciiDigit(c); }

// Jet string functions also come with a '$' (Left$, Mid$): the same function.
const std::set<std::string> kDollarFunctions = {"left",  "right",  "mid",  "trim", "ltrim", "rtrim", "ucase",
                                                "lcase", "format", "cstr", "str",  "chr",   "space", "string"};

// A quoted run from i (at the opening quote) to its closing quote, a doubled
// quote standing for one; npos when it is not closed.
size_t QuotedEnd(std::string_view s, size_t i, char quote, std::string* content) {
  for (size_t j = i + 1; j < s.size(); ++j) {
    if (s[j] != quote) {
      if (content) *content += s[j];
    } else if (j + 1 < s.size() && s[j + 1] == quote) {
      if (content) *content += quote;
      ++j;
    } else {
      return j;
    }
  }
  return std::string_view::npos;
}

std::string Quoted(std::string_view content, char quote) {
  std::string out(1, quote);
  for (char c : content) {
    out += c;
    if (c == quote) out += quote;
  }
  return out + quote;
}

// Token readers: each reads one token that starts at i, appends it and
// returns the position after it (the text's end when the rest is consumed).
using Reader = size_t (*)(std::string_view s, size_t i, Seq& tokens);

void Add(Seq& tokens, Kind kind, std::string text) { tokens.push_back(Node{kind, std::move(text), {}, false}); }

size_t ReadSpace(std::string_view s, size_t i, Seq& tokens) {
  size_t j = i;
  while (j < s.size() && IsAsciiSpace(s[j])) ++j;
  Add(tokens, Kind::kSpace, std::string(s.substr(i, j - i)));
  return j;
}

// SQLite comments stay as they are.
size_t ReadComment(std::string_view s, size_t i, Seq& tokens) {
  size_t j = s[i] == '-' ? s.find('\n', i) : s.find("*/", i + 2);
  j = j == std::string_view::npos ? s.size() : j + (s[i] == '-' ? 0 : 2);
  Add(tokens, Kind::kSpace, std::string(s.substr(i, j - i)));
  return j;
}

size_t ReadQuoted(std::string_view s, size_t i, Seq& tokens) {
  char c = s[i];
  std::string content;
  size_t end = QuotedEnd(s, i, c, &content);
  if (end == std::string_view::npos) {  // unclosed: SQLite reports it
    Add(tokens, Kind::kOther, std::string(s.substr(i)));
    return s.size();
  }
  if (c == '"') Add(tokens, Kind::kText, Quoted(content, '\''));  // Jet: a text, not a name
  else Add(tokens, c == '\'' ? Kind::kText : Kind::kName, std::string(s.substr(i, end + 1 - i)));
  return end + 1;
}

size_t ReadBracketName(std::string_view s, size_t i, Seq& tokens) {
  size_t end = s.find(']', i + 1);
  if (end == std::string_view::npos) {
    Add(tokens, Kind::kOther, std::string(s.substr(i)));
    return s.size();
  }
  Add(tokens, Kind::kName, Quoted(s.substr(i + 1, end - i - 1), '"'));
  return end + 1;
}

size_t ReadDateLiteral(std::string_view s, size_t i, Seq& tokens) {
  size_t end = s.find('#', i + 1);
  std::optional<JetDate> date;
  if (end != std::string_view::npos && end - i < 40)
    date = ParseDate(s.substr(i + 1, end - i - 1), DateOrder::kMonthDayYear);
  if (!date) {
    Add(tokens, Kind::kOther, "#");
    return i + 1;
  }
  Add(tokens, Kind::kText, "'" + IsoText(*date) + "'");
  return end + 1;
}

size_t ReadNumber(std::string_view s, size_t i, Seq& tokens) {
  size_t j = i;
  while (j < s.size() && (Digit(s[j]) || s[j] == '.')) ++j;
  if (j < s.size() && (s[j] == 'e' || s[j] == 'E')) {
    size_t k = j + 1;
    if (k < s.size() && (s[k] == '+' || s[k] == '-')) ++k;
    if (k < s.size() && Digit(s[k])) {
      while (k < s.size() && Digit(s[k])) ++k;
      j = k;
    }
  }
  Add(tokens, Kind::kNumber, std::string(s.substr(i, j - i)));
  return j;
}

size_t ReadWord(std::string_view s, size_t i, Seq& tokens) {
  size_t j = i;
  while (j < s.size() && WordChar(s[j])) ++j;
  Add(tokens, Kind::kWord, std::string(s.substr(i, j - i)));
  if (j < s.size() && s[j] == '$' && kDollarFunctions.count(AsciiLower(s.substr(i, j - i)))) ++j;
  return j;
}

size_t ReadPunctuation(std::string_view s, size_t i, Seq& tokens) {
  char c = s[i];
  Add(tokens,
      c == '('   ? Kind::kOpen
      : c == ')' ? Kind::kClose
      : c == ',' ? Kind::kComma
                 : Kind::kSemi,
      std::string(1, c));
  return i + 1;
}

size_t ReadOperator(std::string_view s, size_t i, Seq& tokens) {
  static const char* const kTwoChar[] = {"<>", "<=", ">=", "!=", "==", "||", "<<", ">>"};
  size_t length = 1;
  for (const char* op : kTwoChar)
    if (s.compare(i, 2, op) == 0) length = 2;
  Add(tokens, Kind::kOp, std::string(s.substr(i, length)));
  return i + length;
}

// Which reader the text at i needs.
Reader ReaderAt(std::string_view s, size_t i) {
  char c = s[i];
  if (IsAsciiSpace(c)) return ReadSpace;
  if (s.compare(i, 2, "--") == 0 || s.compare(i, 2, "/*") == 0) return ReadComment;
  if (c == '\'' || c == '"' || c == '`') return ReadQuoted;
  if (c == '[') return ReadBracketName;
  if (c == '#') return ReadDateLiteral;
  if (Digit(c) || (c == '.' && i + 1 < s.size() && Digit(s[i + 1]))) return ReadNumber;
  if (WordStart(c)) return ReadWord;
  if (c == '(' || c == ')' || c == ',' || c == ';') return ReadPunctuation;
  return ReadOperator;
}

Seq Tokenize(std::string_view s) {
  Seq tokens;
  for (size_t i = 0; i < s.size();) i = ReaderAt(s, i)(s, i, tokens);
  return tokens;
}

// Puts the tokens between '(' and ')' into their group.
Seq Nest(Seq& flat, size_t& i, bool inner, bool& closed) {
  Seq seq;
  closed = false;
  while (i < flat.size()) {
    Node node = std::move(flat[i++]);
    if (node.kind == Kind::kClose) {
      if (inner) {
        closed = true;
        return seq;
      }
      node.kind = Kind::kOther;  // a stray ')': SQLite reports it
    } else if (node.kind == Kind::kOpen) {
      node.kids = Nest(flat, i, true, node.closed);
    }
    seq.push_back(std::move(node));
  }
  return seq;
}

void Render(const Seq& seq, std::string& out) {
  for (const Node& node : seq) {
    out += node.text;
    if (node.kind == Kind::kOpen) {
      Render(node.kids, out);
      if (node.closed) out += ')';
    }
  }
}

// ---- helpers on one level of a statement ----

bool IsWord(const Node& node, std::string_view lower) {
  return node.kind == Kind::kWord && AsciiLower(node.text) == lower;
}
bool IsOp(const Node& node, std::string_view op) { return node.kind == Kind::kOp && node.text == op; }

int Next(const Seq& seq, int i) {
  for (++i; i < static_cast<int>(seq.size()); ++i)
    if (seq[i].kind != Kind::kSpace) return i;
  return -1;
}

int Prev(const Seq& seq, int i) {
  for (--i; i >= 0; --i)
    if (seq[i].kind != Kind::kSpace) return i;
  return -1;
}

int First(const Seq& seq) { return Next(seq, -1); }

// A word with a '.' before or after it is part of a qualified name.
bool Qualified(const Seq& seq, int i) {
  int p = Prev(seq, i), n = Next(seq, i);
  return (p >= 0 && IsOp(seq[p], ".")) || (n >= 0 && IsOp(seq[n], "."));
}

bool IsComparison(const Node& node) {
  static const std::set<std::string> kOps = {"=", "==", "<>", "!=", "<", ">", "<=", ">="};
  return node.kind == Kind::kOp && kOps.count(node.text);
}

bool IsEquality(const Node& node) { return IsOp(node, "=") || IsOp(node, "=="); }
bool IsInequality(const Node& node) { return IsOp(node, "<>") || IsOp(node, "!="); }

// Words that end an operand of '&' (everything that binds more loosely than
// Jet's concatenation) and that cannot end a compared operand.
const std::set<std::string> kKeywords = {
    "select",  "from",      "where",  "group",      "by",     "order",     "having", "and",     "or",
    "not",     "xor",       "eqv",    "imp",        "like",   "is",        "in",     "between", "as",
    "on",      "join",      "inner",  "left",       "right",  "outer",     "cross",  "full",    "union",
    "all",     "distinct",  "top",    "percent",    "into",   "values",    "set",    "update",  "delete",
    "insert",  "asc",       "desc",   "limit",      "offset", "case",      "when",   "then",    "else",
    "end",     "escape",    "exists", "collate",    "with",   "glob",      "regexp", "match",   "isnull",
    "notnull", "transform", "pivot",  "parameters", "except", "intersect", "window"};

bool IsBoundary(const Node& node) {
  if (node.kind == Kind::kComma || node.kind == Kind::kSemi || IsComparison(node)) return true;
  return node.kind == Kind::kWord && kKeywords.count(AsciiLower(node.text));
}

Node Word(std::string text) { return Node{Kind::kWord, std::move(text), {}, false}; }
Node Space() { return Node{Kind::kSpace, " ", {}, false}; }

struct Context {
  bool ddl = false;
};

// Indexes of the assignments "SET a = ..., b = ..." of an UPDATE, where '='
// is no comparison.
struct SetClause {
  int begin = -1, end = -1;
  bool Contains(int i) const { return i > begin && i < end; }
};

void Transform(Seq& seq, const Context& ctx, bool statement);

void RenameWords(Seq& seq) {
  for (int i = 0; i < static_cast<int>(seq.size()); ++i) {
    Node& node = seq[i];
    if (node.kind != Kind::kWord || Qualified(seq, i)) continue;
    std::string lower = AsciiLower(node.text);
    int n = Next(seq, i);
    bool call = n >= 0 && seq[n].kind == Kind::kOpen;
    if (lower == "distinctrow") node.text = "DISTINCT";
    else if (lower == "alike") node.text = "LIKE";
    else if (lower == "mod") node = Node{Kind::kOp, "%", {}, false};
    else if (call && lower == "left") node.text = kJetLeft;
    else if (call && lower == "right") node.text = kJetRight;
    else if (call && lower == "isnull") node.text = kJetIsNull;
  }
}

// DELETE * FROM t, DELETE t.* FROM t: SQLite names no columns there.
void DeleteStar(Seq& seq) {
  int d = First(seq);
  if (d < 0 || !IsWord(seq[d], "delete")) return;
  int f = Next(seq, d);
  std::vector<int> between;
  while (f >= 0 && !IsWord(seq[f], "from")) {
    between.push_back(f);
    f = Next(seq, f);
  }
  if (f < 0 || between.empty()) return;
  bool star = between.size() == 1 && IsOp(seq[between[0]], "*");
  bool table_star = between.size() == 3 &&
                    (seq[between[0]].kind == Kind::kWord || seq[between[0]].kind == Kind::kName) &&
                    IsOp(seq[between[1]], ".") && IsOp(seq[between[2]], "*");
  if (!star && !table_star) return;
  seq.erase(seq.begin() + d + 1, seq.begin() + f);
  seq.insert(seq.begin() + d + 1, Space());
}

// SELECT [DISTINCT] TOP n: removes "TOP n" and gives n for the LIMIT.
std::string TakeTop(Seq& seq) {
  for (int s = 0; s < static_cast<int>(seq.size()); ++s) {
    if (!IsWord(seq[s], "select")) continue;
    int t = Next(seq, s);
    if (t >= 0 && (IsWord(seq[t], "distinct") || IsWord(seq[t], "all"))) t = Next(seq, t);
    if (t < 0 || !IsWord(seq[t], "top")) return {};
    int n = Next(seq, t);
    if (n < 0 || seq[n].kind != Kind::kNumber ||
        !std::all_of(seq[n].text.begin(), seq[n].text.end(), [](char c) { return Digit(c); }))
      return {};
    int after = Next(seq, n);
    if (after >= 0 && IsWord(seq[after], "percent")) return {};
    std::string count = seq[n].text;
    int end = n + 1;
    if (end < static_cast<int>(seq.size()) && seq[end].kind == Kind::kSpace) ++end;
    seq.erase(seq.begin() + t, seq.begin() + end);
    return count;
  }
  return {};
}

// x = True -> x <> 0 and the like: a yes/no column holds 1 for true (and a
// value written by Jet itself -1), so "true" is anything but 0.
void TrueFalse(Seq& seq, const Context& ctx, const SetClause& set) {
  for (int i = 0; i < static_cast<int>(seq.size()); ++i) {
    bool is_true = IsWord(seq[i], "true");
    if ((!is_true && !IsWord(seq[i], "false")) || Qualified(seq, i)) continue;
    Node literal{Kind::kNumber, is_true ? "1" : "0", {}, false};
    if (!ctx.ddl && !set.Contains(i)) {
      int p = Prev(seq, i), n = Next(seq, i);
      int op = p >= 0 && (IsEquality(seq[p]) || IsInequality(seq[p]))   ? p
               : n >= 0 && (IsEquality(seq[n]) || IsInequality(seq[n])) ? n
                                                                        : -1;
      if (op >= 0) {
        // equal to true or unequal to false: not 0; the two others: 0.
        bool not_zero = is_true == IsEquality(seq[op]);
        seq[op].text = not_zero ? "<>" : "=";
        literal.text = "0";
      }
    }
    seq[i] = literal;
  }
}

// a & b & c -> jet_concat(a, b, c), each operand reaching to the nearest
// word or operator that binds more loosely than Jet's '&'.
void Concatenation(Seq& seq) {
  Seq out;
  size_t run = 0;
  auto flush = [&](size_t end) {
    std::vector<size_t> amps;
    for (size_t i = run; i < end; ++i)
      if (IsOp(seq[i], "&")) amps.push_back(i);
    if (amps.empty()) {
      for (size_t i = run; i < end; ++i) out.push_back(std::move(seq[i]));
      return;
    }
    std::vector<std::pair<size_t, size_t>> operands;  // [first, last] without blanks
    size_t from = run;
    amps.push_back(end);
    for (size_t amp : amps) {
      size_t a = from, b = amp;
      while (a < b && seq[a].kind == Kind::kSpace) ++a;
      while (b > a && seq[b - 1].kind == Kind::kSpace) --b;
      if (a == b) {  // an operand is missing: leave it to SQLite
        for (size_t i = run; i < end; ++i) out.push_back(std::move(seq[i]));
        return;
      }
      operands.push_back({a, b});
      from = amp + 1;
    }
    for (size_t i = run; i < operands.front().first; ++i) out.push_back(std::move(seq[i]));
    Node call{Kind::kOpen, "(", {}, true};
    for (size_t k = 0; k < operands.size(); ++k) {
      if (k > 0) {
        call.kids.push_back(Node{Kind::kComma, ",", {}, false});
        call.kids.push_back(Space());
      }
      for (size_t i = operands[k].first; i < operands[k].second; ++i) call.kids.push_back(std::move(seq[i]));
    }
    out.push_back(Word(kJetConcat));
    out.push_back(std::move(call));
    for (size_t i = operands.back().second; i < end; ++i) out.push_back(std::move(seq[i]));
  };
  for (size_t i = 0; i < seq.size(); ++i) {
    if (!IsBoundary(seq[i])) continue;
    flush(i);
    out.push_back(std::move(seq[i]));
    run = i + 1;
  }
  flush(seq.size());
  seq = std::move(out);
}

// Where a compared operand ends, so that COLLATE can follow it; -1 when there
// is no operand.
int OperandEnd(const Seq& seq, int i) {
  int p = Prev(seq, i);
  if (p < 0 || IsBoundary(seq[p]) || seq[p].kind == Kind::kOp) return -1;
  return p;
}

void CollatePoints(const Seq& seq, const SetClause& set, std::vector<int>& points) {
  for (int i = 0; i < static_cast<int>(seq.size()); ++i) {
    int end = -1;
    if (IsComparison(seq[i]) && !set.Contains(i)) {
      // A number on either side makes it a comparison of numbers.
      int n = Next(seq, i);
      end = OperandEnd(seq, i);
      if ((n >= 0 && seq[n].kind == Kind::kNumber) || (end >= 0 && seq[end].kind == Kind::kNumber)) end = -1;
    } else if ((IsWord(seq[i], "in") || IsWord(seq[i], "between")) && !Qualified(seq, i)) {
      int p = Prev(seq, i);
      end = p >= 0 && IsWord(seq[p], "not") ? OperandEnd(seq, p) : OperandEnd(seq, i);
    }
    if (end >= 0) points.push_back(end);
  }
  // ORDER BY and GROUP BY terms.
  static const std::set<std::string> kClauseEnd = {"having", "order",  "limit",     "offset",
                                                   "union",  "except", "intersect", "window"};
  for (int i = 0; i < static_cast<int>(seq.size()); ++i) {
    if (!IsWord(seq[i], "order") && !IsWord(seq[i], "group")) continue;
    int by = Next(seq, i);
    if (by < 0 || !IsWord(seq[by], "by")) continue;
    int term_last = -1;
    bool has_collate = false;
    auto close_term = [&]() {
      if (term_last >= 0 && !has_collate) points.push_back(term_last);
      term_last = -1;
      has_collate = false;
    };
    int j = by + 1;
    for (; j < static_cast<int>(seq.size()); ++j) {
      const Node& node = seq[j];
      if (node.kind == Kind::kSemi || (node.kind == Kind::kWord && kClauseEnd.count(AsciiLower(node.text)))) break;
      if (node.kind == Kind::kComma) {
        close_term();
      } else if (node.kind != Kind::kSpace) {
        if (IsWord(node, "collate")) has_collate = true;
        if (!IsWord(node, "asc") && !IsWord(node, "desc")) term_last = j;
      }
    }
    close_term();
    i = j - 1;
  }
}

void Transform(Seq& seq, const Context& outer, bool statement) {
  Context ctx = outer;
  int first = First(seq);
  if (statement && first >= 0) {
    std::string verb = AsciiLower(seq[first].text);
    ctx.ddl = verb == "create" || verb == "alter" || verb == "drop" || verb == "pragma";
  }
  for (Node& node : seq)
    if (node.kind == Kind::kOpen) Transform(node.kids, ctx, false);

  RenameWords(seq);
  DeleteStar(seq);
  std::string limit = TakeTop(seq);

  Concatenation(seq);
  SetClause set;
  first = First(seq);
  if (statement && first >= 0 && IsWord(seq[first], "update")) {
    for (int i = first; i < static_cast<int>(seq.size()) && set.end < 0; ++i) {
      if (set.begin < 0 && IsWord(seq[i], "set")) set.begin = i;
      else if (set.begin >= 0 && IsWord(seq[i], "where")) set.end = i;
    }
    if (set.begin >= 0 && set.end < 0) set.end = static_cast<int>(seq.size());
  }
  TrueFalse(seq, ctx, set);

  if (!ctx.ddl) {
    std::vector<int> points;
    CollatePoints(seq, set, points);
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    for (auto it = points.rbegin(); it != points.rend(); ++it)
      seq.insert(seq.begin() + *it + 1, {Space(), Word("COLLATE"), Space(), Word(kJetCollation)});
  }

  if (!limit.empty()) {
    int last = Prev(seq, static_cast<int>(seq.size()));
    seq.insert(seq.begin() + last + 1, {Space(), Word("LIMIT"), Space(), Node{Kind::kNumber, limit, {}, false}});
  }
}

}  // namespace

std::string TranslateJetSql(std::string_view jet) {
  Seq flat = Tokenize(jet);
  size_t i = 0;
  bool closed = false;
  Seq all = Nest(flat, i, false, closed);
  std::string out;
  Seq statement;
  auto finish = [&]() {
    Transform(statement, Context{}, true);
    Render(statement, out);
    statement.clear();
  };
  for (Node& node : all) {
    if (node.kind == Kind::kSemi) {
      finish();
      out += ';';
    } else {
      statement.push_back(std::move(node));
    }
  }
  finish();
  return out;
}

}  // namespace vmu
