#include "similarity.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <unordered_map>

#include "listing.h"

namespace {

// Renumbers the references "gN" and "pN" of text by their first use.
class TRenamer {
 public:
  std::string Apply(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
      const char c = text[i];
      const bool start = i == 0 || !(std::isalnum(static_cast<unsigned char>(text[i - 1])) || text[i - 1] == '_');
      if ((c == 'g' || c == 'p') && start && i + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[i + 1]))) {
        size_t j = i + 1;
        while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) ++j;
        auto& map = c == 'g' ? globals_ : procs_;
        const auto [it, added] = map.emplace(text.substr(i + 1, j - i - 1), static_cast<int>(map.size()));
        out += c;
        out += std::to_string(it->second);
        i = j;
      } else {
        out += c;
        ++i;
      }
    }
    return out;
  }

 private:
  std::unordered_map<std::string, int> globals_, procs_;
};

// Instructions made of whole strings: the longest common subsequence.
size_t CommonLength(const std::vector<int>& a, const std::vector<int>& b) {
  std::vector<size_t> prev(b.size() + 1, 0), cur(b.size() + 1, 0);
  for (size_t i = 1; i <= a.size(); ++i) {
    for (size_t j = 1; j <= b.size(); ++j)
      cur[j] = a[i - 1] == b[j - 1] ? prev[j - 1] + 1 : std::max(prev[j], cur[j - 1]);
    std::swap(prev, cur);
  }
  return prev[b.size()];
}

// Beyond this many cells of the table the comparison is by runs of three.
constexpr size_t kMaxTable = 4'000'000;

double TrigramDice(const std::vector<int>& a, const std::vector<int>& b) {
  auto grams = [](const std::vector<int>& v) {
    std::map<std::tuple<int, int, int>, int> m;
    for (size_t i = 0; i + 2 < v.size(); ++i) ++m[{v[i], v[i + 1], v[i + 2]}];
    return m;
  };
  const auto ga = grams(a), gb = grams(b);
  size_t common = 0, total = 0;
  for (const auto& [k, n] : ga) {
    total += n;
    const auto it = gb.find(k);
    if (it != gb.end()) common += std::min(n, it->second);
  }
  for (const auto& [k, n] : gb) total += n;
  return total ? 2.0 * common / total : 0;
}

}  // namespace

std::vector<std::string> NormalisedCode(const TPseudoCode& code) {
  // First the instructions with their cells, then jump targets as
  // distances between kept instructions.
  struct TItem {
    int Cell;
    std::string Text;
    int Target = -1;  // a jump's target cell
  };
  std::vector<TItem> items;
  int cell = 0;
  while (cell >= 0 && cell < code.CodeSize) {
    const int32_t op = code.Cells[static_cast<size_t>(cell)];
    int next = -1;
    std::string text = InstructionText(code, cell, &next);
    const TOpInfo* info = OpInfo(op);
    if (op != opLine) {
      TItem item{cell, {}, -1};
      // The loop ends name the cell where "continue" goes on: a jump target
      // like the others, which layout must not change.
      const bool loopEnd = op == opEndRepeat || op == opEndFor || op == opEndWhile;
      if (info && (op == opJump || op == opJumpIfFalse || op == opJumpIfNotPositive || loopEnd)) {
        const int at = op == opJumpIfFalse || op == opJumpIfNotPositive ? 2 : 1;
        item.Target = cell + at < code.CodeSize ? code.Cells[static_cast<size_t>(cell + at)] : -1;
        text = text.substr(0, text.rfind(' '));
      }
      item.Text = std::move(text);
      items.push_back(std::move(item));
    }
    cell = next;
  }
  std::map<int, int> indexOf;
  for (size_t i = 0; i < items.size(); ++i) indexOf[items[i].Cell] = static_cast<int>(i);
  TRenamer renamer;
  std::vector<std::string> out;
  out.reserve(items.size());
  for (size_t i = 0; i < items.size(); ++i) {
    std::string text = renamer.Apply(items[i].Text);
    if (items[i].Target >= 0) {
      // A target on a dropped line marker means the next kept instruction.
      const auto it = indexOf.lower_bound(items[i].Target);
      const int to = it == indexOf.end() ? static_cast<int>(items.size()) : it->second;
      text += " " + std::to_string(to - static_cast<int>(i));
    }
    out.push_back(std::move(text));
  }
  return out;
}

double Similarity(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  if (a.empty() && b.empty()) return 1;
  if (a.empty() || b.empty()) return 0;
  std::unordered_map<std::string, int> ids;
  auto encode = [&](const std::vector<std::string>& v) {
    std::vector<int> out;
    for (const std::string& s : v) out.push_back(ids.emplace(s, static_cast<int>(ids.size())).first->second);
    return out;
  };
  const std::vector<int> ea = encode(a), eb = encode(b);
  if (ea.size() * eb.size() > kMaxTable) return TrigramDice(ea, eb);
  return 2.0 * static_cast<double>(CommonLength(ea, eb)) / static_cast<double>(a.size() + b.size());
}

TSimilarity FindSimilar(const std::vector<std::vector<std::string>>& codes, double threshold) {
  TSimilarity result;
  std::map<std::vector<std::string>, std::vector<int>> same;
  for (size_t i = 0; i < codes.size(); ++i)
    if (!codes[i].empty()) same[codes[i]].push_back(static_cast<int>(i));
  std::vector<int> groupOf(codes.size(), -1);
  for (auto& [code, members] : same) {
    if (members.size() < 2) continue;
    for (int m : members) groupOf[static_cast<size_t>(m)] = static_cast<int>(result.Groups.size());
    result.Groups.push_back(members);
  }
  std::sort(result.Groups.begin(), result.Groups.end());
  for (size_t i = 0; i < codes.size(); ++i) {
    if (codes[i].empty()) continue;
    for (size_t j = i + 1; j < codes.size(); ++j) {
      if (codes[j].empty()) continue;
      if (groupOf[i] >= 0 && groupOf[i] == groupOf[j]) continue;
      const double s = Similarity(codes[i], codes[j]);
      if (s >= threshold) result.Near.push_back({static_cast<int>(i), static_cast<int>(j), s});
    }
  }
  std::stable_sort(result.Near.begin(), result.Near.end(),
                   [](const TNearMatch& x, const TNearMatch& y) { return x.Score > y.Score; });
  return result;
}
