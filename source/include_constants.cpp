#include "source/include_constants.h"

#include <memory>
#include <optional>

#include "source/path_parts.h"

namespace {

using Values = std::vector<std::string>;
using SharedValues = std::shared_ptr<const Values>;

// Constants nest at most this deep, so a long chain of definitions cannot exhaust the stack.
constexpr size_t kMaxNesting = 256;
// Terms that the definitions expanded for one statement may hold in all, so a web of
// constants that refer to each other cannot keep the scan busy.
constexpr size_t kWorkBudget = 200000;

std::optional<std::string_view> BuiltInValue(std::string_view name, const BuiltInConstants& built_ins) {
  if (name == "#PB_Compiler_Home") return built_ins.CompilerHome;
  if (name == "#PB_Compiler_FilePath") return DirectoryPart(built_ins.IncludingFile);
  if (name == "#PB_Compiler_File") return built_ins.IncludingFile;
  if (name == "#PS" || name == "#PS$") return std::string_view("/");
  if (name == "#NPS" || name == "#NPS$") return std::string_view("\\");
  return std::nullopt;
}

// A definition as one text: each term's kind, length and bytes.
std::string DefinitionKey(const ConstantDefinition& definition) {
  std::string key = definition.Name + "=";
  for (const ExpressionTerm& term : definition.Value) {
    key += (term.IsConstant ? "c" : "l") + std::to_string(term.Text.size()) + ":" + term.Text;
  }
  return key;
}

// Appends `part` to `name` up to one byte past MaxNameLength: a cut name stays too long.
void AppendCut(std::string& name, std::string_view part) {
  if (name.size() > MaxNameLength) return;
  name.append(part.substr(0, MaxNameLength + 1 - name.size()));
}

// Moves `choice` to the next combination, the last varying list fastest; false after the last.
bool Step(const std::vector<SharedValues>& lists, const std::vector<size_t>& varying,
          std::vector<size_t>& choice) {
  for (size_t k = varying.size(); k-- > 0;) {
    const size_t list = varying[k];
    if (++choice[list] < lists[list]->size()) return true;
    choice[list] = 0;
  }
  return false;
}

// Calls `take` with the combinations of one value from each list, in order, until it
// returns true or `limit` names were produced. Only lists with several values are stepped,
// so a long expression of single values costs one pass per name.
template <typename Take>
void Combine(const std::vector<SharedValues>& lists, size_t limit, Take take) {
  std::vector<size_t> varying;
  for (size_t list = 0; list < lists.size(); ++list) {
    if (lists[list]->empty()) return;
    if (lists[list]->size() > 1) varying.push_back(list);
  }
  std::vector<size_t> choice(lists.size(), 0);
  std::string name;
  for (size_t produced = 0; produced < limit; ++produced) {
    name.clear();
    for (size_t list = 0; list < lists.size() && name.size() <= MaxNameLength; ++list) {
      AppendCut(name, (*lists[list])[choice[list]]);
    }
    if (take(name) || !Step(lists, varying, choice)) return;
  }
}

// One statement's evaluation: the constants being expanded, the values of those whose
// expansion met none of them, and the work left.
class Evaluation {
 public:
  Evaluation(const ConstantDefinitions& definitions, const BuiltInConstants& built_ins,
             std::set<std::string>& looked_up)
      : definitions_(definitions), built_ins_(built_ins), looked_up_(looked_up) {}

  // The values of each term of `terms` into `lists`; false when a constant is unknown.
  // `cut` becomes true when a value came out smaller because of what is being expanded.
  bool TermValues(const ExpressionTerms& terms, std::vector<SharedValues>& lists, bool& cut) {
    lists.clear();
    for (const ExpressionTerm& term : terms) {
      if (!term.IsConstant) {
        lists.push_back(std::make_shared<const Values>(1, term.Text));
      } else if (const auto built_in = BuiltInValue(term.Text, built_ins_)) {
        lists.push_back(std::make_shared<const Values>(1, std::string(*built_in)));
      } else {
        looked_up_.insert(term.Text);
        if (definitions_.Of(term.Text).empty()) return false;
        lists.push_back(ConstantValues(term.Text, cut));
      }
    }
    return true;
  }

 private:
  // The values of user constant `name`. A constant that is already being expanded yields
  // nothing (its definition would use itself). When that happens through other constants,
  // the values depend on where the expansion started and are not remembered; a definition
  // that names its own constant directly yields nothing wherever it is expanded.
  SharedValues ConstantValues(const std::string& name, bool& cut) {
    static const SharedValues nothing = std::make_shared<const Values>();
    if (const auto known = memo_.find(name); known != memo_.end()) return known->second;
    const size_t depth = stack_.size();
    for (size_t level = 0; level < depth; ++level) {
      if (stack_[level] != name) continue;
      cut = cut || level + 1 != depth;
      return nothing;
    }
    const std::vector<ExpressionTerms>& definitions = definitions_.Of(name);
    if (depth >= kMaxNesting || !Spend(definitions)) {
      cut = true;
      return nothing;
    }
    stack_.push_back(name);
    bool own_cut = false;
    auto values = std::make_shared<Values>();
    ExpandDefinitions(definitions, *values, own_cut);
    stack_.pop_back();
    if (own_cut) {
      cut = true;
    } else {
      memo_[name] = values;
    }
    return values;
  }

  void ExpandDefinitions(const std::vector<ExpressionTerms>& definitions, Values& values,
                         bool& cut) {
    std::vector<SharedValues> lists;
    for (const ExpressionTerms& definition : definitions) {
      if (values.size() >= MaxExpressionNames) return;
      if (!TermValues(definition, lists, cut)) continue;  // an unknown constant in it
      Combine(lists, MaxExpressionNames - values.size(), [&values](const std::string& value) {
        values.push_back(value);
        return false;
      });
    }
  }

  bool Spend(const std::vector<ExpressionTerms>& definitions) {
    size_t cost = 1;
    for (const ExpressionTerms& definition : definitions) cost += definition.size();
    if (cost > budget_) {
      budget_ = 0;
      return false;
    }
    budget_ -= cost;
    return true;
  }

  const ConstantDefinitions& definitions_;
  const BuiltInConstants& built_ins_;
  std::set<std::string>& looked_up_;
  std::vector<std::string> stack_;
  std::map<std::string, SharedValues> memo_;
  size_t budget_ = kWorkBudget;
};

}  // namespace

bool IsBuiltInConstant(std::string_view name) {
  return BuiltInValue(name, BuiltInConstants{}).has_value();
}

void ConstantDefinitions::Define(ConstantDefinition definition) {
  if (IsBuiltInConstant(definition.Name) || !seen_.insert(DefinitionKey(definition)).second) {
    return;
  }
  definitions_[definition.Name].push_back(std::move(definition.Value));
}

const std::vector<ExpressionTerms>& ConstantDefinitions::Of(const std::string& name) const {
  static const std::vector<ExpressionTerms> none;
  const auto found = definitions_.find(name);
  return found == definitions_.end() ? none : found->second;
}

bool ConstantDefinitions::SameFor(const std::string& name, const ConstantDefinitions& other) const {
  return Of(name) == other.Of(name);
}

void ExpressionNames::ForEach(const ExpressionTerms& terms, const BuiltInConstants& built_ins,
                              const std::function<bool(const std::string&)>& take) {
  Evaluation evaluation(definitions_, built_ins, looked_up_);
  std::vector<SharedValues> lists;
  bool cut = false;
  if (evaluation.TermValues(terms, lists, cut)) Combine(lists, MaxExpressionNames, take);
}
