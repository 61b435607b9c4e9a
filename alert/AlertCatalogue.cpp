#include "alert/AlertCatalogue.h"

#include "alert/AlertCatalogueTables.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

#include <map>

namespace {

// Built on first use and kept until the program ends; the tables are small
// and constant, so the maps are never refilled.
const std::map<std::uint8_t, AlertCategory>& CategoryMap() {
    static const auto map = [] {
        std::map<std::uint8_t, AlertCategory> result;
        for (const AlertCategory& row : AlertCategoryTable)
            result.emplace(row.Id, row);
        return result;
    }();
    return map;
}

const std::map<std::int32_t, AlertDefinition>& DefinitionMap() {
    static const auto map = [] {
        std::map<std::int32_t, AlertDefinition> result;
        for (const AlertDefinition& row : AlertDefinitionTable)
            result.emplace(row.AlertId, row);
        return result;
    }();
    return map;
}

} // namespace

const AlertCategory& GetAlertCategory(int Id) {
    const auto key = static_cast<std::uint8_t>(Id);
    const auto& map = CategoryMap();
    const auto found = map.find(key);
    if (found == map.end())
        throw Exception(Format("An invalid alert category identifier ('%d') was encountered.",
                               static_cast<int>(static_cast<std::int8_t>(key))));
    return found->second;
}

const AlertDefinition& GetAlertDefinition(int AlertId) {
    const auto& map = DefinitionMap();
    const auto found = map.find(AlertId);
    if (found == map.end())
        throw Exception(Format("An invalid Alert Id ('%d') was encountered.", AlertId));
    return found->second;
}

std::vector<AlertDefinition> GetScheduledAlertDefinitions() {
    static const auto scheduled = [] {
        std::vector<AlertDefinition> result;
        for (const AlertDefinition& row : AlertDefinitionTable)
            if (row.Kind & 1) result.push_back(row);
        return result;
    }();
    return scheduled;
}

AnsiString PriorityName(std::int8_t Level) {
    switch (Level) {
    case 0:
        return "Low";
    case 1:
        return "Medium";
    case 2:
        return "High";
    case 3:
        return "None";
    default:
        throw Exception(Format("Invalid priority level (%d)", static_cast<int>(Level)));
    }
}
