#include "gfx/Resources.h"

#include <string>

namespace zg {

std::span<const uint8_t> loadResource(std::string_view name, std::string_view type) {
    for (std::size_t i = 0; i < detail::kEmbeddedResourceCount; ++i) {
        const EmbeddedResource& r = detail::kEmbeddedResources[i];
        if (name == r.name && type == r.type) {
            return {r.data, r.size};
        }
    }
    throw ResourceError("Can't load resource: " + std::string(name));
}

} // namespace zg
