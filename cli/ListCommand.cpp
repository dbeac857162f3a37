#include "ListCommand.h"

#include "Failures.h"
#include "ValueText.h"

#include <nlohmann/json.hpp>

#include <iomanip>
#include <iostream>

int RunList(ValueKind kind, bool json)
{
    const auto catalogue = CatalogueOf(kind);
    if (json) {
        auto entries = nlohmann::ordered_json::array();
        for (std::size_t number = 0; number < catalogue.size(); ++number)
            entries.push_back({{"number", number}, {"name", catalogue[number]}});
        std::cout << entries.dump(2) << '\n';
    } else {
        for (std::size_t number = 0; number < catalogue.size(); ++number)
            std::cout << std::setw(3) << number << "  " << catalogue[number] << '\n';
    }
    return Printed();
}
