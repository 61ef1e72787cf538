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

// The resource with this file name (case-insensitive), or null. The program's own
// table is searched first, then the tables added.
const Resource* FindResource(std::string_view name);

// Adds a table of resources to the search (the tests add their own sheets, which
// stay out of the game binary). The table must live as long as the program.
void AddResources(const Resource* table);

}  // namespace res
