#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace orv::fuzz {

[[noreturn]] void fail(const char *what, const QByteArray &detail = {});

inline void require(bool ok, const char *what, const QByteArray &detail = {})
{
    if (!ok)
        fail(what, detail);
}

inline QByteArray show(const QString &text) { return text.toUtf8(); }

// Hands out the input a piece at a time; past the end every read gives zeros, so any
// input, however short, is a complete run.
class Bytes {
public:
    Bytes(const std::uint8_t *data, std::size_t size) : m_data(data), m_size(size) {}

    bool empty() const { return m_pos >= m_size; }
    std::uint8_t u8() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    std::uint16_t u16() { return static_cast<std::uint16_t>(u8() | u8() << 8); }
    std::uint32_t u32() { return static_cast<std::uint32_t>(u16()) | static_cast<std::uint32_t>(u16()) << 16; }
    std::uint64_t u64() { return static_cast<std::uint64_t>(u32()) | static_cast<std::uint64_t>(u32()) << 32; }
    QByteArray take(std::size_t n)
    {
        const std::size_t left = m_pos < m_size ? m_size - m_pos : 0;
        const std::size_t k = n < left ? n : left;
        QByteArray out(reinterpret_cast<const char *>(m_data + m_pos), static_cast<qsizetype>(k));
        m_pos += k;
        return out;
    }

private:
    const std::uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

} // namespace orv::fuzz
