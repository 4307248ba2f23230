#pragma once

#include <algorithm>
#include <system_error>

#include "io/byte_sink.h"

namespace norvik::test {

// A file device that fails: passes at most `chunk` bytes per write to the real file, reports a
// full disk once `failAt` bytes have gone through, and fails its sync when asked to.
class FailingSink : public io::ByteSink {
public:
    FailingSink(io::ByteSink& file, std::size_t failAt, std::size_t chunk = SIZE_MAX, bool syncFails = false)
        : m_file(file), m_failAt(failAt), m_chunk(chunk), m_syncFails(syncFails) {}
    std::size_t write(std::span<const std::uint8_t> bytes, std::error_code& error) override {
        if (m_written >= m_failAt) {
            error = std::make_error_code(std::errc::no_space_on_device);
            return 0;
        }
        const std::size_t n = m_file.write(bytes.first(std::min({bytes.size(), m_chunk, m_failAt - m_written})), error);
        m_written += n;
        return n;
    }
    bool sync(std::error_code& error) override {
        if (m_syncFails)
            error = std::make_error_code(std::errc::io_error);
        return !m_syncFails && m_file.sync(error);
    }

private:
    io::ByteSink& m_file;
    std::size_t m_failAt, m_chunk, m_written = 0;
    bool m_syncFails;
};

} // namespace norvik::test
