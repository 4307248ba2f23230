#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <system_error>

namespace norvik::io {

// Where a save puts its bytes: the temporary file beside the target, or something a test puts
// in front of it (a device that fails after N bytes).
class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Writes a leading part of `bytes` and returns its length; 0 with `error` set on failure.
    virtual std::size_t write(std::span<const std::uint8_t> bytes, std::error_code& error) = 0;
    // Returns once the bytes written so far are on the disk; false with `error` set when they are not.
    virtual bool sync(std::error_code& error) = 0;
};

// Wraps the sink of the temporary file; an empty wrapper writes to the file itself.
using SinkWrapper = std::function<std::unique_ptr<ByteSink>(ByteSink& file)>;

} // namespace norvik::io
