#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

// The port's own resources, compiled into the binary from resources/data.
namespace res {

struct Resource {
    const char* name;
    const std::uint8_t* data;
    std::size_t size;
};

// Ended by an entry with a null name.
extern const Resource kResources[];

// The resource with this file name (case-insensitive), or null.
const Resource* FindResource(std::string_view name);

}  // namespace res
