#include "service/UploadList.h"

#include "core/Bytes.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// The memo takes a CR for a line break, so a CR inside an entry is shown as this symbol. No code page
// holds it, so it cannot be typed as itself.
constexpr QChar ShownCr(u'\u240d');
// Marks the only block of a memo that holds one blank entry: an empty memo holds none.
constexpr int BlankEntry = 1;

} // namespace

int listLineCount(const QPlainTextEdit* list) {
    const QTextDocument* document = list->document();
    if (!document->isEmpty()) return document->blockCount();
    return document->firstBlock().userState() == BlankEntry ? 1 : 0;
}

QByteArray listLine(const QPlainTextEdit* list, int index) {
    return toBytes(shownListLine(list, index).replace(ShownCr, QLatin1Char('\r')));
}

QString shownListLine(const QPlainTextEdit* list, int index) {
    if (index < 0 || index >= listLineCount(list)) return {};
    return list->document()->findBlockByNumber(index).text();
}

void appendListLines(QPlainTextEdit* list, const QByteArrayList& lines) {
    if (lines.isEmpty()) return;
    QString text = fromBytes(lines.join('\n')).replace(QLatin1Char('\r'), ShownCr);
    // appendPlainText() would drop blank entries at the start of an empty memo, and a blank entry ends
    // the upload, so each one must stay a line of its own.
    if (listLineCount(list) > 0) text.prepend(QLatin1Char('\n'));
    QTextCursor end(list->document());
    end.movePosition(QTextCursor::End);
    end.insertText(text);
    if (list->document()->isEmpty()) list->document()->firstBlock().setUserState(BlankEntry);
}

QList<int> linesAfterBlank(const QPlainTextEdit* list, int index) {
    QList<int> lines;
    for (int i = index + 1; i < listLineCount(list); ++i)
        if (!listLine(list, i).isEmpty()) lines << i;
    return lines;
}

QByteArrayList listFileLines(const QByteArray& text) {
    QByteArrayList lines = text.split('\n');
    if (text.isEmpty() || text.endsWith('\n')) lines.removeLast();
    for (QByteArray& line : lines)
        if (line.endsWith('\r')) line.chop(1);
    return lines;
}

UploadKind uploadKind(const QByteArray& line) {
    if (line.contains("RUN:")) return UploadKind::Run;
    if (line.contains("ASEND:")) return UploadKind::Audio;
    if (line.contains("SET:")) return UploadKind::Set;
    if (line.contains("DEL:")) return UploadKind::Delete;
    return UploadKind::Script;
}

QByteArray uploadArgument(const QByteArray& line) {
    return line.mid(line.indexOf(':') + 1);
}

QByteArray uploadFileName(const QByteArray& line) {
    switch (uploadKind(line)) {
    case UploadKind::Audio:
        return uploadArgument(line);
    case UploadKind::Script:
        return line;
    case UploadKind::Run:
    case UploadKind::Set:
    case UploadKind::Delete:
        break;
    }
    return {};
}
