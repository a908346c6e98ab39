#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace hw::sim {

// Which keys a registry file has and where their sections are, by path
// without regard to ASCII case: a look-up among twenty thousand keys costs
// one hash, not a pass over them all.
class RegistryKeyIndex {
 public:
  // Section number `section` has `path`; sections are added in file order.
  void Add(std::string_view path, std::size_t section);
  // A key with a section, or one above a key with a section.
  bool Has(std::string_view path) const;
  // The sections of `path` in file order; null when it has none.
  const std::vector<std::size_t>* SectionsOf(std::string_view path) const;

 private:
  std::unordered_map<std::string, std::vector<std::size_t>> sections_;  // by folded path
  std::unordered_set<std::string> parents_;  // folded paths of the keys above a section
};

}  // namespace hw::sim
