#pragma once

#include "platform/registry.h"

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace volmara::test {

// Keys as the test creates them; a write under a key that is not there fails, as it does on a
// machine where the key is missing or closed to the user.
class FakeRegistry final : public Registry {
public:
    using Key = std::pair<RegRoot, std::string>;
    using Value = std::tuple<RegRoot, std::string, std::string>;

    RegStatus setString(RegRoot root, const std::string& subKey, const std::string& valueName,
                        const std::string& data) override
    {
        writes.push_back({root, subKey, valueName});
        if (!failWrites.empty())
            return {false, failWrites};
        if (!keys.count({root, subKey}))
            return {false, "The system cannot find the key specified."};
        values[{root, subKey, valueName}] = data;
        return {true, {}};
    }

    std::optional<std::string> queryString(RegRoot root, const std::string& subKey,
                                           const std::string& valueName) override
    {
        const auto value = values.find({root, subKey, valueName});
        if (value == values.end())
            return std::nullopt;
        return value->second;
    }

    void addKey(RegRoot root, const std::string& subKey) { keys.insert({root, subKey}); }
    void setValue(RegRoot root, const std::string& subKey, const std::string& valueName, std::string data)
    {
        addKey(root, subKey);
        values[{root, subKey, valueName}] = std::move(data);
    }

    std::set<Key> keys;
    std::map<Value, std::string> values;
    std::vector<Value> writes;
    std::string failWrites; // not empty: every write fails with this reason
};

} // namespace volmara::test
