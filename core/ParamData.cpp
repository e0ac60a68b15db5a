#include "core/ParamData.h"

#include "core/ProductTable.h"

namespace
{

template <typename Row, size_t size>
constexpr ParamData::ById<const char*, (int) size> namesOf (const std::array<Row, size>& rows)
{
    ParamData::ById<const char*, (int) size> names {};
    for (size_t i = 0; i < size; ++i)
        names.values[i] = rows[i].name;
    return names;
}

constexpr ParamData::ById<float, ParamData::NUM_PARAMS> defaultsOf (const decltype (ProductTable::parameters)& parameters)
{
    ParamData::ById<float, ParamData::NUM_PARAMS> defaults {};
    for (size_t id = 0; id < parameters.size(); ++id)
        defaults.values[id] = parameters[id].defaultValue;
    return defaults;
}

} // namespace

const ParamData::ById<const char*, ParamData::NUM_PARAMS> ParamData::paramName = namesOf (ProductTable::parameters);
const ParamData::ById<const char*, ParamData::NUM_NA_PARAMS> ParamData::naParamName = namesOf (ProductTable::settings);
const ParamData::ById<float, ParamData::NUM_PARAMS> ParamData::paramDefault = defaultsOf (ProductTable::parameters);
