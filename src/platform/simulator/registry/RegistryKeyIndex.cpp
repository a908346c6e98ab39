#include "platform/simulator/registry/RegistryKeyIndex.h"

#include "platform/simulator/TextCodec.h"

namespace hw::sim {

void RegistryKeyIndex::Add(std::string_view path, std::size_t section) {
  std::string folded = FoldCase(path);
  // Every key above the section exists too. Once one is known, so are all
  // above it.
  for (std::size_t cut = folded.rfind('\\'); cut != std::string::npos && cut > 0;
       cut = folded.rfind('\\', cut - 1)) {
    if (!parents_.insert(folded.substr(0, cut)).second) break;
  }
  sections_[std::move(folded)].push_back(section);
}

bool RegistryKeyIndex::Has(std::string_view path) const {
  const std::string folded = FoldCase(path);
  return sections_.count(folded) != 0 || parents_.count(folded) != 0;
}

const std::vector<std::size_t>* RegistryKeyIndex::SectionsOf(std::string_view path) const {
  const auto found = sections_.find(FoldCase(path));
  return found == sections_.end() ? nullptr : &found->second;
}

}  // namespace hw::sim
