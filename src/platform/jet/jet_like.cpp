#include "platform/jet/jet_like.h"

#include <vector>

#include "platform/jet/jet_text.h"

namespace vmu {

namespace {

enum class Kind { kAny, kOne, kDigit, kLiteral, kList };

struct Item {
  explicit Item(Kind k, char32_t c = 0) : kind(k), literal(c) {}
  Kind kind;
  char32_t literal;
  bool negated = false;
  std::vector<std::pair<char32_t, char32_t>> ranges;  // lower-cased
};

std::vector<char32_t> Chars(std::string_view text) {
  std::vector<char32_t> chars;
  for (size_t pos = 0; pos < text.size();) chars.push_back(NextChar(text, pos));
  return chars;
}

std::vector<Item> Compile(const std::vector<char32_t>& p, char32_t escape) {
  std::vector<Item> items;
  for (size_t i = 0; i < p.size(); ++i) {
    char32_t c = p[i];
    if (escape != 0 && c == escape && i + 1 < p.size()) {
      items.emplace_back(Kind::kLiteral, LowerChar(p[++i]));
    } else if (c == '*' || c == '%') {
      if (items.empty() || items.back().kind != Kind::kAny) items.emplace_back(Kind::kAny);
    } else if (c == '?' || c == '_') {
      items.emplace_back(Kind::kOne);
    } else if (c == '#') {
      items.emplace_back(Kind::kDigit);
    } else if (c == '[') {
      size_t close = i + 1;
      // A ']' right after '[' or '[!' belongs to the list.
      if (close < p.size() && p[close] == '!') ++close;
      if (close < p.size() && p[close] == ']') ++close;
      while (close < p.size() && p[close] != ']') ++close;
      if (close >= p.size()) {  // no closing bracket: a plain '['
        items.emplace_back(Kind::kLiteral, c);
        continue;
      }
      Item item(Kind::kList);
      size_t j = i + 1;
      if (p[j] == '!' && j + 1 < close) {
        item.negated = true;
        ++j;
      }
      for (; j < close; ++j) {
        char32_t from = LowerChar(p[j]), to = from;
        if (j + 2 < close && p[j + 1] == '-') {
          to = LowerChar(p[j + 2]);
          j += 2;
        }
        item.ranges.push_back({from, to});
      }
      items.push_back(item);
      i = close;
    } else {
      items.emplace_back(Kind::kLiteral, LowerChar(c));
    }
  }
  return items;
}

bool MatchOne(const Item& item, char32_t c) {
  switch (item.kind) {
    case Kind::kOne: return true;
    case Kind::kDigit: return c >= '0' && c <= '9';
    case Kind::kLiteral: return item.literal == c;
    case Kind::kList: {
      bool in = false;
      for (auto [from, to] : item.ranges) in = in || (c >= from && c <= to);
      return in != item.negated;
    }
    case Kind::kAny: break;
  }
  return false;
}

}  // namespace

bool JetLike(std::string_view text, std::string_view pattern, char32_t escape) {
  std::vector<char32_t> t = Chars(text);
  for (char32_t& c : t) c = LowerChar(c);
  std::vector<Item> items = Compile(Chars(pattern), escape);
  // Greedy match with one back-tracking point per star: linear in practice.
  size_t ti = 0, pi = 0, star = items.size(), star_t = 0;
  while (ti < t.size()) {
    if (pi < items.size() && items[pi].kind == Kind::kAny) {
      star = pi++;
      star_t = ti;
    } else if (pi < items.size() && MatchOne(items[pi], t[ti])) {
      ++pi;
      ++ti;
    } else if (star < items.size()) {
      pi = star + 1;
      ti = ++star_t;
    } else {
      return false;
    }
  }
  while (pi < items.size() && items[pi].kind == Kind::kAny) ++pi;
  return pi == items.size();
}

}  // namespace vmu
