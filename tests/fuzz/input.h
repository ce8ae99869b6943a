// Reading a libFuzzer input as the values a harness needs.
#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

// An input, taken apart from its front.
class Input
{
public:
    Input(const std::uint8_t *data, std::size_t size)
        : m_data(data)
        , m_size(size)
    { }

    // The next byte, or 0 once none is left.
    std::uint8_t byte()
    {
        if (m_size == 0)
            return 0;
        --m_size;
        return *m_data++;
    }

    // The next two bytes, the low one first, as a number that may be
    // negative. Read one statement at a time: the operands of one expression
    // may be read in either order, and a saved input would then replay
    // differently under another compiler.
    int small()
    {
        const unsigned low = byte();
        const unsigned high = byte();
        return std::int16_t(std::uint16_t(low | high << 8));
    }

    // The rest, as UTF-8 (malformed sequences become replacement
    // characters, as the toolkit decodes any outside text) or, when
    // asked, as raw UTF-16 code units, lone surrogates included.
    QString rest(bool utf16)
    {
        QString text;
        if (utf16) {
            for (std::size_t i = 0; i + 1 < m_size; i += 2)
                text.append(QChar(char16_t(m_data[i] | m_data[i + 1] << 8)));
        } else {
            text = QString::fromUtf8(reinterpret_cast<const char *>(m_data), qsizetype(m_size));
        }
        m_size = 0;
        return text;
    }

private:
    const std::uint8_t *m_data;
    std::size_t m_size;
};
