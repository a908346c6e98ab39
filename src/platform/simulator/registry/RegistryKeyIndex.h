#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace hw::sim {

// Which keys a registry file has and where their sections are, by path
// without regard to ASCII case: a look-up among twenty thousand keys costs
// one hash, not a pass over them all.
//
// It is made with the parse of a file of megabytes, so it holds no
// text of its own: a hash and a section number a key, in two flat tables,
// and the paths are read from the file's sections when a hash matches. That
// costs a pass over the paths and no allocation per key.
class RegistryKeyIndex {
 public:
  // The path of section number N, as the file holds it now.
  using PathOf = std::function<std::string_view(std::size_t)>;

  // The index of the first `count` sections.
  RegistryKeyIndex(std::size_t count, const PathOf& pathOf);
  // Section number `section`, the next one, has been added.
  void Add(std::size_t section, const PathOf& pathOf);
  // A key with a section, or one above a key with a section.
  bool Has(std::string_view path, const PathOf& pathOf) const;
  // The sections of `path` in file order; empty when it has none.
  std::vector<std::size_t> SectionsOf(std::string_view path, const PathOf& pathOf) const;

 private:
  struct Slot {
    std::uint64_t hash;
    std::uint32_t section;  // plus one: 0 is an empty slot
  };
  // Open addressing with linear probing, at most half full.
  struct Table {
    std::vector<Slot> slots;
    std::size_t used = 0;
    void Insert(std::uint64_t hash, std::size_t section);
    template <typename Match>
    bool Find(std::uint64_t hash, Match match) const;
  };

  Table keys_;     // by the hash of each section's folded path
  Table parents_;  // by that of each key above a section; the section is one below it
  std::vector<std::uint64_t> prefixHashes_;  // a path's, reused from one Add to the next
  std::vector<std::size_t> prefixLengths_;
};

}  // namespace hw::sim
