#include "dictionary/reference_loader_layouts.h"

#include <array>
#include <cstdint>

namespace orbe {
namespace {

constexpr std::array<std::uint8_t, 7> kSecuMainWidths = {12, 11, 81, 13, 13, 12, 12};
constexpr std::array<std::uint8_t, 7> kListedCmpWidths = {51, 51, 13, 13, 13, 12, 12};
constexpr std::array<ReferenceSetLayout, 2> kMainSets = {{
    {kSecuMainWidths, true},
    {kListedCmpWidths, true},
}};

constexpr std::array<std::uint8_t, 3> kGgBoardRowWidths = {4, 8, 40};
constexpr std::array<std::uint8_t, 4> kGgCompanyWidths = {8, 40, 10, 5};
constexpr std::array<std::uint8_t, 2> kGgBoardNameWidths = {4, 40};
constexpr std::array<std::uint8_t, 2> kGgIndustryNameWidths = {8, 40};
constexpr std::array<std::uint8_t, 2> kGgStockIndustryWidths = {8, 8};
constexpr std::array<ReferenceSetLayout, 5> kGgSets = {{
    {kGgBoardRowWidths, false},
    {kGgCompanyWidths, true},
    {kGgBoardNameWidths, false},
    {kGgIndustryNameWidths, false},
    {kGgStockIndustryWidths, false},
}};

constexpr std::array<std::uint8_t, 6> kJjWidths = {10, 40, 10, 10, 10, 10};
constexpr std::array<ReferenceSetLayout, 1> kJjSets = {{{kJjWidths, true}}};

constexpr std::array<std::uint8_t, 4> kQhContractWidths = {11, 10, 10, 10};
constexpr std::array<std::uint8_t, 3> kQhVarietyWidths = {10, 10, 40};
constexpr std::array<std::uint8_t, 2> kQhExchangeWidths = {10, 40};
constexpr std::array<std::uint8_t, 4> kQhDateWidths = {11, 8, 8, 6};
constexpr std::array<std::uint8_t, 2> kQhNameWidths = {11, 40};
constexpr std::array<ReferenceSetLayout, 5> kQhSets = {{
    {kQhContractWidths, true},
    {kQhVarietyWidths, false},
    {kQhExchangeWidths, false},
    {kQhDateWidths, true},
    {kQhNameWidths, true},
}};

constexpr std::array<std::uint8_t, 7> kZqWidths = {12, 10, 10, 51, 40, 40, 62};
constexpr std::array<ReferenceSetLayout, 1> kZqSets = {{{kZqWidths, true}}};

}  // namespace

const ReferenceProcedureLayout kMainTableLayout{"sys_get_main_table_v2", kMainTableTimerId, kMainSets};
const ReferenceProcedureLayout kGgInfoLayout{"sys_get_gg_info_v2", kReferenceTimerId, kGgSets};
const ReferenceProcedureLayout kJjInfoLayout{"sys_get_jj_info", kReferenceTimerId, kJjSets};
const ReferenceProcedureLayout kQhInfoLayout{"sys_get_qh_info", kReferenceTimerId, kQhSets};
const ReferenceProcedureLayout kZqInfoLayout{"sys_get_zq_info_v3", kReferenceTimerId, kZqSets};

}  // namespace orbe
