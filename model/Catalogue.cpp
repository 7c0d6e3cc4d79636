#include "Catalogue.h"

namespace varkelo {

namespace {

constexpr std::size_t GroupStart(TGroup group) {
    std::size_t start = 0;
    while (kCatalogue[start].Group != group)
        ++start;
    return start;
}

constexpr std::size_t GroupSize(TGroup group) {
    switch (group) {
    case TGroup::Fish:
        return kFishCount;
    case TGroup::Bait:
        return kBaitCount;
    case TGroup::SpentTackle:
    case TGroup::TackleLongevity:
        return kTackleCount;
    }
    return 0;
}

// The record and the catalogue must agree on order; checked once, at compile time.
constexpr bool CatalogueMatchesRecord() {
    for (TGroup group :
         {TGroup::Fish, TGroup::Bait, TGroup::SpentTackle, TGroup::TackleLongevity}) {
        const std::size_t start = GroupStart(group);
        for (std::size_t i = 0; i < GroupSize(group); ++i) {
            const auto& row = kCatalogue[start + i];
            if (row.Group != group || row.Index != static_cast<int>(i))
                return false;
        }
    }
    return true;
}
static_assert(CatalogueMatchesRecord());

} // namespace

std::span<const TCatalogueRow> CatalogueGroup(TGroup group) {
    return CatalogueGroups(group, group);
}

std::span<const TCatalogueRow> CatalogueGroups(TGroup first, TGroup last) {
    const std::size_t start = GroupStart(first);
    return std::span<const TCatalogueRow>(kCatalogue)
        .subspan(start, GroupStart(last) + GroupSize(last) - start);
}

} // namespace varkelo
