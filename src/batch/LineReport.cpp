#include "batch/LineReport.h"

#include "core/Failure.h"
#include "core/WholeFile.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QByteArray CsvHeader = "time,port,imei,sim_number,result,written,differences,backup,reason\n";

QByteArray csvField(const QString& text) {
    QByteArray field = text.toUtf8();
    if (!field.contains(',') && !field.contains('"') && !field.contains('\n') && !field.contains('\r'))
        return field;
    return '"' + field.replace('"', "\"\"") + '"';
}

} // namespace

LineReport::LineReport(const QString& path) : m_path(path) {
    if (m_path.isEmpty()) return;
    const QString suffix = QFileInfo(m_path).suffix().toLower();
    if (suffix == QLatin1String("csv"))
        m_format = Format::Csv;
    else if (suffix == QLatin1String("jsonl") || suffix == QLatin1String("ndjson"))
        m_format = Format::JsonLines;
    else
        throw Failure(
            QStringLiteral("The report %1 must end in .csv (CSV) or .jsonl (JSON lines).").arg(m_path));
    checkWritable(m_path);
    if (QFileInfo(m_path).isFile()) m_content = readWholeFile(m_path);
    if (!m_content.isEmpty() && !m_content.endsWith('\n')) m_content += '\n';
    if (m_content.isEmpty() && m_format == Format::Csv) m_content = CsvHeader;
}

void LineReport::add(const UnitRecord& record) {
    if (m_path.isEmpty()) return;
    m_content += m_format == Format::Csv ? csvLine(record) : jsonLine(record);
    write();
}

void LineReport::retry() {
    if (m_unwritten) write();
}

void LineReport::write() {
    m_unwritten = true;
    writeWholeFile(m_path, m_content);
    m_unwritten = false;
}

QByteArray LineReport::csvLine(const UnitRecord& record) {
    const QStringList fields{record.time.toString(Qt::ISODate),
                             record.port,
                             record.imei,
                             record.simNumber,
                             record.result,
                             QString::number(record.written),
                             QString::number(record.differences),
                             record.backup,
                             record.reason};
    QByteArrayList line;
    for (const QString& field : fields)
        line << csvField(field);
    return line.join(',') + '\n';
}

QByteArray LineReport::jsonLine(const UnitRecord& record) {
    const QJsonObject object{{QStringLiteral("time"), record.time.toString(Qt::ISODate)},
                             {QStringLiteral("port"), record.port},
                             {QStringLiteral("imei"), record.imei},
                             {QStringLiteral("sim_number"), record.simNumber},
                             {QStringLiteral("result"), record.result},
                             {QStringLiteral("written"), record.written},
                             {QStringLiteral("differences"), record.differences},
                             {QStringLiteral("backup"), record.backup},
                             {QStringLiteral("reason"), record.reason}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}
