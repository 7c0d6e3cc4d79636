#include "TripData.h"

#include "Catalogue.h"

#include <stdexcept>

namespace varkelo {

void ResetTripData(TTripData& record) {
    record = TTripData{};
    // A tackle item in use starts at its full longevity, which equals its price.
    for (const auto& row : CatalogueGroup(TGroup::TackleLongevity))
        record.TackleLongevity[row.Index] = row.WholeValue();
}

std::span<std::int32_t> GroupSlots(TTripData& record, TGroup group) {
    switch (group) {
    case TGroup::Fish:
        return record.Fish;
    case TGroup::Bait:
        return record.Bait;
    case TGroup::SpentTackle:
        return record.SpentTackle;
    case TGroup::TackleLongevity:
        return record.TackleLongevity;
    }
    throw std::invalid_argument("unknown input group");
}

void SetInput(TTripData& record, TGroup group, int index, std::int32_t value) {
    const auto slots = GroupSlots(record, group);
    if (index < 0 || static_cast<std::size_t>(index) >= slots.size())
        throw std::out_of_range("input index outside its group");
    slots[static_cast<std::size_t>(index)] = value;
}

} // namespace varkelo
