#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// What became of one unit on the production line.
struct UnitRecord {
    QDateTime time;
    QString port;
    QString imei;
    QString simNumber;
    // "done" (programmed and verified), "differences" (verification found some), "refused" (the plan or
    // the file was refused before anything was written), "failed", "interrupted".
    QString result;
    int written = 0;
    qint64 differences = 0;
    QString backup;
    QString reason;
};

// The production line's report: one record per unit, as CSV or as JSON lines by the file's extension.
// The whole file is written again with each record, so that what is on disk is always complete: a crash
// loses nothing already done, and a failed write leaves the report as it was. A report that exists is
// continued.
class LineReport {
public:
    enum class Format { Csv, JsonLines };

    // Checks that the report can be written; a Failure saying why not. An empty path keeps no report.
    explicit LineReport(const QString& path);

    // Adds the record; a Failure when the file cannot be written (the record is kept for the next write).
    void add(const UnitRecord& record);
    // Writes again what a failed write left out.
    void retry();
    bool pending() const { return m_unwritten; }
    const QString& path() const { return m_path; }

    static QByteArray csvLine(const UnitRecord& record);
    static QByteArray jsonLine(const UnitRecord& record);

private:
    void write();

    QString m_path;
    Format m_format = Format::Csv;
    QByteArray m_content;
    bool m_unwritten = false;
};
