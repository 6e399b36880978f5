#include "midi/PortGuid.h"

#include <QString>

#include <cctype>

namespace cs6 {
namespace {

const QUuid& Namespace()
{
    static const QUuid ns(QStringLiteral("81db6696-2ae9-4489-9af9-536762124ee2"));
    return ns;
}

} // namespace

QUuid PortGuid(std::string_view kind, std::string_view name, int occurrence)
{
    std::string text(kind);
    text += ':';
    text += name;
    if (occurrence > 0) // a line break: no port name has one
        text += '\n' + std::to_string(occurrence);
    return QUuid::createUuidV5(Namespace(), QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

std::string StripAlsaClientPort(std::string_view name)
{
    // Drop a trailing " <digits>:<digits>".
    std::size_t end = name.size();
    auto digitsBefore = [&](std::size_t pos) {
        std::size_t start = pos;
        while (start > 0 && std::isdigit(static_cast<unsigned char>(name[start - 1])))
            --start;
        return start;
    };
    const std::size_t portStart = digitsBefore(end);
    if (portStart == end || portStart == 0 || name[portStart - 1] != ':')
        return std::string(name);
    const std::size_t clientStart = digitsBefore(portStart - 1);
    if (clientStart == portStart - 1 || clientStart == 0 || name[clientStart - 1] != ' ')
        return std::string(name);
    end = clientStart - 1;
    return std::string(name.substr(0, end));
}

std::array<std::uint8_t, 16> GuidToBytes(const QUuid& guid)
{
    std::array<std::uint8_t, 16> bytes{};
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(guid.data1 >> (8 * i));
    for (int i = 0; i < 2; ++i) {
        bytes[4 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(guid.data2 >> (8 * i));
        bytes[6 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(guid.data3 >> (8 * i));
    }
    for (std::size_t i = 0; i < 8; ++i)
        bytes[8 + i] = guid.data4[i];
    return bytes;
}

QUuid GuidFromBytes(std::span<const std::uint8_t, 16> bytes)
{
    const auto u32 = [&](std::size_t at) {
        return static_cast<uint>(bytes[at]) | static_cast<uint>(bytes[at + 1]) << 8 |
               static_cast<uint>(bytes[at + 2]) << 16 | static_cast<uint>(bytes[at + 3]) << 24;
    };
    const auto u16 = [&](std::size_t at) {
        return static_cast<ushort>(bytes[at] | bytes[at + 1] << 8);
    };
    return QUuid(u32(0), u16(4), u16(6), bytes[8], bytes[9], bytes[10], bytes[11], bytes[12], bytes[13], bytes[14],
                 bytes[15]);
}

} // namespace cs6
