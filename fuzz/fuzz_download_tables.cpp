// SPDX-License-Identifier: MIT
// The command line's tables from whatever the meter sends. The JSON is written
// by hand, so it is read back with Qt's parser: it must parse, list every read
// and failed file in order with its status, and give each cell back as the
// text, number or null it stands for. The HTML must be the window's table.
// Input: a byte choosing the family (bits 0-1) and the locale (bits 2-3), then
// the model up to 0x1D, then one record reply per file, separated by 0x1E; a
// reply "F" is a file that failed.
#include "FuzzSupport.h"
#include "protocol/DownloadTables.h"
#include "protocol/HtmlTable.h"
#include "protocol/MessageTexts.h"
#include "protocol/FamilyProtocol.h"
#include "protocol/RecordFormat.h"
#include "protocol/TextFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

constexpr int mostFiles = 64;

void checkJson(const QString &model, const MeterFiles &files)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(jsonDownload(model, files), &error);
    FUZZ_CHECK(error.error == QJsonParseError::NoError && document.isObject());
    FUZZ_CHECK(document.object().value(QStringLiteral("model")).toString() == model);
    const QJsonArray listed = document.object().value(QStringLiteral("files")).toArray();
    const QStringList headings = dataHeadings(files);

    qsizetype next = 0;
    for (int slot = 0; slot < files.fileCount(); ++slot) {
        const MeterFiles::State state = files.state(slot);
        if (state != MeterFiles::State::Read && state != MeterFiles::State::Failed)
            continue;
        FUZZ_CHECK(next < listed.size());
        const QJsonObject file = listed.at(next++).toObject();
        FUZZ_CHECK(file.value(headings[0]).toInt() == slot + 1);
        FUZZ_CHECK(file.value(QStringLiteral("Status")).toString() == statusOf(files, slot));
        if (state == MeterFiles::State::Failed) {
            FUZZ_CHECK(file.size() == 2);
            continue;
        }
        // Every data column, typed as its cell is.
        const QList<DataCell> cells = files.dataCells(slot);
        FUZZ_CHECK(file.size() == 1 + cells.size());
        for (int column = 1; column < cells.size(); ++column) {
            const QJsonValue value = file.value(headings[column]);
            switch (cells[column].kind) {
            case DataCell::Kind::Empty:
                FUZZ_CHECK(value.isNull());
                break;
            case DataCell::Kind::Number:
                FUZZ_CHECK(value.isDouble());
                break;
            case DataCell::Kind::DateTime:
            case DataCell::Kind::Text:
                FUZZ_CHECK(value.isString() && value.toString() == dataCellText(cells[column]));
                break;
            }
        }
    }
    FUZZ_CHECK(next == listed.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    static const MeterFamily families[] = {MeterFamily::Winding, MeterFamily::Contact, MeterFamily::Ratio, MeterFamily::Cable};
    const MeterFamily family = families[data[0] & 3];
    const QLocale &locale = fuzz::locale(uint8_t(data[0] >> 2));
    const QByteArray rest = fuzz::bytes(data + 1, size - 1);
    const qsizetype modelEnd = rest.indexOf('\x1D');
    const QString model = QString::fromLatin1(modelEnd < 0 ? QByteArray() : rest.left(modelEnd));
    const QList<QByteArray> replies = rest.mid(modelEnd + 1).split('\x1E').mid(0, mostFiles);

    MeterFiles files(familyProtocol(family).columns(), int(replies.size()), locale);
    const RecordFormat format = familyProtocol(family).recordFormat(int(replies.size()));
    for (int slot = 0; slot < replies.size(); ++slot) {
        if (replies[slot] == "F")
            files.setFailed(slot, MessageTexts::communicationError());
        else
            files.setReply(slot, replies[slot], format);
    }

    checkJson(model, files);
    FUZZ_CHECK(htmlDownload(files) == textFileBytes(htmlTable(files.columns().headings, files.exportRows())));
    const QByteArray csv = csvDownload(files);
    FUZZ_CHECK(csv.startsWith("\xEF\xBB\xBF") && csv.endsWith("\r\n"));
    return 0;
}
