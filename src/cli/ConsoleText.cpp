// SPDX-License-Identifier: MIT
#include "cli/ConsoleText.h"

#include <QStringList>

#include <cmath>

QString terminalText(const QString &text)
{
    QString shown;
    for (const QChar character : text) {
        const char16_t c = character.unicode();
        if (c < 0x20 || (c >= 0x7F && c < 0xA0))
            shown += QStringLiteral("\\x%1").arg(int(c), 2, 16, QLatin1Char('0'));
        else
            shown += character;
    }
    return shown;
}

QByteArray terminalTable(const QByteArray &table)
{
    QStringList lines = QString::fromUtf8(table).split(u'\n');
    for (QString &line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        line = terminalText(line);
    }
    return lines.join(u'\n').toUtf8();
}

QString progressLine(int done, int total, double elapsedSeconds)
{
    constexpr int barWidth = 20;
    const int filled = total > 0 ? int(qint64(barWidth) * qBound(0, done, total) / total) : barWidth;
    QString line = u'[' + QString(filled, u'#') + QString(barWidth - filled, u'-') + u']';
    const int digits = int(QString::number(total).size());
    line += QStringLiteral(" %1/%2 files").arg(done, digits).arg(total);
    if (done > 0 && elapsedSeconds > 0) {
        const double rate = done / elapsedSeconds;
        const int secondsLeft = int(std::ceil((total - done) / rate));
        line += QStringLiteral("  %1 files/s  %2:%3 left")
                    .arg(rate, 0, 'f', 1)
                    .arg(secondsLeft / 60)
                    .arg(secondsLeft % 60, 2, 10, QLatin1Char('0'));
    }
    return line;
}
