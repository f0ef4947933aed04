// SPDX-License-Identifier: MIT
#include "protocol/Request.h"

namespace Request {

QByteArray padded(int value, int digits)
{
    QByteArray text = QByteArray::number(value);
    if (value >= 0 && text.size() < digits)
        text.prepend(QByteArray(digits - text.size(), '0'));
    return text;
}

QByteArray command(const char *code)
{
    return QByteArray("{") + code + "}";
}

QByteArray withArgument(const char *code, int argument, int digits)
{
    return QByteArray("{") + code + padded(argument, digits) + "}";
}

} // namespace Request
