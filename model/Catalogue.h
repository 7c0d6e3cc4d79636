#pragma once

#include "TripData.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace varkelo {

// One input of the trip: where it lives in the record, how it looks on screen and what it is
// worth. Captions and texts are UTF-8.
struct TCatalogueRow {
    TGroup Group;
    int Index;
    std::string_view EditName; // object name of the entry field; the label is named alike
    std::string_view Caption;
    // What one unit brings in (fish) or costs (bait, tackle), in tenths of a НВ: only fish
    // values have fractions, and none finer than a tenth.
    std::int32_t ValueTenths;
    std::string_view DefaultText;

    constexpr bool HasFraction() const { return ValueTenths % 10 != 0; }
    constexpr std::int32_t WholeValue() const { return ValueTenths / 10; }
    // The nearest double to the value, as the calculation uses it.
    constexpr double Value() const { return ValueTenths / 10.0; }
};

namespace detail {

struct TTackleKind {
    std::string_view CountEditName;
    std::string_view LongevityEditName;
    std::string_view Caption;
    std::int32_t Price; // also the full longevity of a new item
    std::string_view FullLongevityText;
};

inline constexpr std::array<TTackleKind, kTackleCount> kTackleKinds{{
    {"NutRodEdit", "NutRodLongevityEdit", "Ореховая удочка:", 10, "10"},
    {"BambooRodEdit", "BambooRodLongevityEdit", "Бамбуковая удочка:", 25, "25"},
    {"Bamboo2RodEdit", "Bamboo2RodLongevityEdit", "Бамбуковая 2-х коленная удочка:", 70, "70"},
    {"Bamboo3RodEdit", "Bamboo3RodLongevityEdit", "Бамбуковая 3-х коленная удочка:", 120, "120"},
    {"TelescopicRodEdit", "TelescopicRodLongevityEdit", "Телескопическая удочка:", 250, "250"},
    {"TelescopicLightenedRodEdit", "TelescopicLightenedRodLongevityEdit",
     "Телескопическая облегчённая удочка:", 600, "600"},
    {"NetEdit", "NetLongevityEdit", "Сачок:", 30, "30"},
}};

constexpr std::array<TCatalogueRow, 40> MakeCatalogue() {
    constexpr std::array<TCatalogueRow, kFishCount> fish{{
        {TGroup::Fish, 0, "CancerEdit", "Рак:", 20, "0"},
        {TGroup::Fish, 1, "GudgeonEdit", "Пескарь:", 27, "0"},
        {TGroup::Fish, 2, "TopsailEdit", "Верхоплавка:", 29, "0"},
        {TGroup::Fish, 3, "RedfeatherEdit", "Краснопёрка:", 29, "0"},
        {TGroup::Fish, 4, "GobyEdit", "Бычок:", 30, "0"},
        {TGroup::Fish, 5, "CarpEdit", "Карп:", 50, "0"},
        {TGroup::Fish, 6, "BreamEdit", "Лещ:", 50, "0"},
        {TGroup::Fish, 7, "PerchEdit", "Окунь:", 50, "0"},
        {TGroup::Fish, 8, "RuffEdit", "Ёрш:", 80, "0"},
        {TGroup::Fish, 9, "RoechEdit", "Плотва:", 85, "0"},
        {TGroup::Fish, 10, "EuropeanCarpEdit", "Карась:", 90, "0"},
        {TGroup::Fish, 11, "NearEdit", "Подлещик:", 90, "0"},
        {TGroup::Fish, 12, "IdeEdit", "Язь:", 110, "0"},
        {TGroup::Fish, 13, "MoltEdit", "Линь:", 260, "0"},
        {TGroup::Fish, 14, "SheatfishEdit", "Сом:", 260, "0"},
        {TGroup::Fish, 15, "BurbotEdit", "Налим:", 290, "0"},
        {TGroup::Fish, 16, "PikeperchEdit", "Судак:", 300, "0"},
        {TGroup::Fish, 17, "GogEdit", "Голавль:", 580, "0"},
        {TGroup::Fish, 18, "PikeEdit", "Щука:", 800, "0"},
        {TGroup::Fish, 19, "TroutEdit", "Форель:", 830, "0"},
    }};
    constexpr std::array<TCatalogueRow, kBaitCount> bait{{
        {TGroup::Bait, 0, "BreadEdit", "Хлеб:", 10, "0"},
        {TGroup::Bait, 1, "WormEdit", "Червяк:", 10, "0"},
        {TGroup::Bait, 2, "LargeWormEdit", "Крупный червяк:", 10, "0"},
        {TGroup::Bait, 3, "FallEdit", "Опарыш:", 50, "0"},
        {TGroup::Bait, 4, "MothEdit", "Мотыль:", 50, "0"},
        {TGroup::Bait, 5, "SpoonBaitEdit", "Блесна:", 500, "0"},
    }};

    std::array<TCatalogueRow, 40> rows{};
    std::size_t n = 0;
    for (const auto& row : fish)
        rows[n++] = row;
    for (const auto& row : bait)
        rows[n++] = row;
    // Both tackle groups share the kinds: one count field and one longevity field per kind.
    for (int i = 0; i < kTackleCount; ++i) {
        const auto& kind = kTackleKinds[static_cast<std::size_t>(i)];
        rows[n++] = {TGroup::SpentTackle, i,  kind.CountEditName, kind.Caption,
                     kind.Price * 10,     "0"};
    }
    for (int i = 0; i < kTackleCount; ++i) {
        const auto& kind = kTackleKinds[static_cast<std::size_t>(i)];
        rows[n++] = {TGroup::TackleLongevity, i,
                     kind.LongevityEditName,  kind.Caption,
                     kind.Price * 10,         kind.FullLongevityText};
    }
    return rows;
}

} // namespace detail

// All 40 inputs in record order: fish, bait, spent tackle, tackle longevity.
inline constexpr std::array<TCatalogueRow, 40> kCatalogue = detail::MakeCatalogue();

// The rows of one group, in catalogue order.
std::span<const TCatalogueRow> CatalogueGroup(TGroup group);
// The rows of the groups from first to last, in catalogue order.
std::span<const TCatalogueRow> CatalogueGroups(TGroup first, TGroup last);

} // namespace varkelo
