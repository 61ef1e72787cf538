#include "resources/Resources.h"

#include <cctype>
#include <vector>

namespace res {

namespace {
std::vector<const Resource*>& Tables() {
    static std::vector<const Resource*> tables{kResources};
    return tables;
}
}  // namespace

void AddResources(const Resource* table) {
    if (table) Tables().push_back(table);
}

const Resource* FindResource(std::string_view name) {
    for (const Resource* table : Tables()) {
        for (const Resource* r = table; r->name; ++r) {
            std::string_view n(r->name);
            if (n.size() != name.size()) continue;
            bool same = true;
            for (std::size_t i = 0; i < n.size() && same; ++i)
                same = std::tolower(static_cast<unsigned char>(n[i])) ==
                       std::tolower(static_cast<unsigned char>(name[i]));
            if (same) return r;
        }
    }
    return nullptr;
}

}  // namespace res
