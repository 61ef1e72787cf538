#include "resources/Resources.h"

#include <cctype>

namespace res {

const Resource* FindResource(std::string_view name) {
    for (const Resource* r = kResources; r->name; ++r) {
        std::string_view n(r->name);
        if (n.size() != name.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < n.size() && same; ++i)
            same = std::tolower(static_cast<unsigned char>(n[i])) ==
                   std::tolower(static_cast<unsigned char>(name[i]));
        if (same) return r;
    }
    return nullptr;
}

}  // namespace res
