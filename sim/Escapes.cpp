// SPDX-License-Identifier: MIT
#include "Escapes.h"

namespace sim {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::optional<QByteArray> decodeEscapes(const QByteArray &text, QString *error)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c != '\\') {
            bytes.append(c);
            continue;
        }
        if (i + 1 >= text.size()) {
            *error = QStringLiteral("a backslash ends the text; write \\\\ for a backslash");
            return std::nullopt;
        }
        const char kind = text.at(++i);
        switch (kind) {
        case '\\': bytes.append('\\'); break;
        case 'r': bytes.append('\r'); break;
        case 'n': bytes.append('\n'); break;
        case 't': bytes.append('\t'); break;
        case 'x': {
            const int high = i + 1 < text.size() ? hexValue(text.at(i + 1)) : -1;
            const int low = i + 2 < text.size() ? hexValue(text.at(i + 2)) : -1;
            if (high < 0 || low < 0) {
                *error = QStringLiteral("\\x must be followed by two hexadecimal digits");
                return std::nullopt;
            }
            bytes.append(char(high * 16 + low));
            i += 2;
            break;
        }
        default:
            *error = QStringLiteral("unknown escape \\%1").arg(QLatin1Char(kind));
            return std::nullopt;
        }
    }
    return bytes;
}

QByteArray encodeEscapes(const QByteArray &bytes)
{
    QByteArray text;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes.at(i));
        const bool last = i + 1 == bytes.size();
        if (byte == '\\')
            text.append("\\\\");
        else if (byte == '\r')
            text.append("\\r");
        else if (byte == '\n')
            text.append("\\n");
        else if (byte == '\t')
            text.append("\\t");
        else if (byte > 0x20 && byte < 0x7f)
            text.append(char(byte));
        else if (byte == 0x20 && !last)
            text.append(' ');
        else
            text.append("\\x").append(QByteArray::number(byte, 16).rightJustified(2, '0').toUpper());
    }
    return text;
}

} // namespace sim
