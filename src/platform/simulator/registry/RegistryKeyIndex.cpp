#include "platform/simulator/registry/RegistryKeyIndex.h"

#include <algorithm>

#include "platform/simulator/TextCodec.h"

namespace hw::sim {

namespace {

constexpr std::uint64_t kFnvBasis = 14695981039346656037ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;

std::uint64_t Mix(std::uint64_t hash, char c) {
  const char folded = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return (hash ^ static_cast<unsigned char>(folded)) * kFnvPrime;
}

std::uint64_t HashFolded(std::string_view path) {
  std::uint64_t hash = kFnvBasis;
  for (char c : path) hash = Mix(hash, c);
  return hash;
}

// The same key: most paths are spelled alike, and bytes compare faster than
// folded letters.
bool SameKey(std::string_view a, std::string_view b) {
  return a.size() == b.size() && (a == b || EqualsFolded(a, b));
}

// Whether `path` is a key above `below`.
bool IsAbove(std::string_view path, std::string_view below) {
  return below.size() > path.size() && below[path.size()] == '\\' &&
         SameKey(below.substr(0, path.size()), path);
}

}  // namespace

void RegistryKeyIndex::Table::Insert(std::uint64_t hash, std::size_t section) {
  if (2 * (used + 1) > slots.size()) {
    std::vector<Slot> old(std::max<std::size_t>(64, 2 * slots.size()), Slot{0, 0});
    old.swap(slots);
    used = 0;
    for (const Slot& slot : old) {
      if (slot.section != 0) Insert(slot.hash, slot.section - 1);
    }
  }
  const std::size_t mask = slots.size() - 1;
  std::size_t at = static_cast<std::size_t>(hash) & mask;
  while (slots[at].section != 0) at = (at + 1) & mask;
  slots[at] = {hash, static_cast<std::uint32_t>(section + 1)};
  ++used;
}

// Calls `match` with each section whose hash is `hash`, in the order they
// were inserted, until it returns true.
template <typename Match>
bool RegistryKeyIndex::Table::Find(std::uint64_t hash, Match match) const {
  if (slots.empty()) return false;
  const std::size_t mask = slots.size() - 1;
  for (std::size_t at = static_cast<std::size_t>(hash) & mask; slots[at].section != 0;
       at = (at + 1) & mask) {
    if (slots[at].hash == hash && match(std::size_t{slots[at].section} - 1)) return true;
  }
  return false;
}

RegistryKeyIndex::RegistryKeyIndex(std::size_t count, const PathOf& pathOf) {
  std::size_t size = 64;
  while (size < 2 * count) size *= 2;
  keys_.slots.assign(size, Slot{0, 0});
  parents_.slots.assign(size / 2, Slot{0, 0});
  for (std::size_t i = 0; i < count; ++i) Add(i, pathOf);
}

void RegistryKeyIndex::Add(std::size_t section, const PathOf& pathOf) {
  const std::string_view path = pathOf(section);
  // One pass: the hash as far as each backslash is that of the key above.
  prefixHashes_.clear();
  prefixLengths_.clear();
  std::uint64_t hash = kFnvBasis;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (path[i] == '\\' && i > 0) {
      prefixHashes_.push_back(hash);
      prefixLengths_.push_back(i);
    }
    hash = Mix(hash, path[i]);
  }
  keys_.Insert(hash, section);
  // Every key above the section exists too. Once one is known, so are all
  // above it: the deepest goes first.
  for (std::size_t k = prefixHashes_.size(); k-- > 0;) {
    const std::string_view above = path.substr(0, prefixLengths_[k]);
    if (parents_.Find(prefixHashes_[k], [&](std::size_t s) { return IsAbove(above, pathOf(s)); })) {
      break;
    }
    parents_.Insert(prefixHashes_[k], section);
  }
}

bool RegistryKeyIndex::Has(std::string_view path, const PathOf& pathOf) const {
  const std::uint64_t hash = HashFolded(path);
  return keys_.Find(hash, [&](std::size_t s) { return SameKey(pathOf(s), path); }) ||
         parents_.Find(hash, [&](std::size_t s) { return IsAbove(path, pathOf(s)); });
}

std::vector<std::size_t> RegistryKeyIndex::SectionsOf(std::string_view path,
                                                      const PathOf& pathOf) const {
  std::vector<std::size_t> sections;
  keys_.Find(HashFolded(path), [&](std::size_t s) {
    if (SameKey(pathOf(s), path)) sections.push_back(s);
    return false;
  });
  // A table that grew may have moved them out of file order.
  std::sort(sections.begin(), sections.end());
  return sections;
}

}  // namespace hw::sim
