#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string_view>

namespace zg {

/// A file embedded into the program at build time, found by name and type.
struct EmbeddedResource {
    const char* name;
    const char* type;
    const unsigned char* data;
    std::size_t size;
};

/// Raised when a named resource is missing; the message is "Can't load resource: " and the name.
class ResourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// The bytes of the embedded resource `name` of `type` (both matched exactly).
/// @throws ResourceError when there is no such resource.
std::span<const uint8_t> loadResource(std::string_view name, std::string_view type);

namespace detail {
extern const EmbeddedResource kEmbeddedResources[];
extern const std::size_t kEmbeddedResourceCount;
} // namespace detail

} // namespace zg
