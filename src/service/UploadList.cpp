#include "service/UploadList.h"

#include "app/Bytes.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

int listLineCount(const QPlainTextEdit* list) {
    const QTextDocument* document = list->document();
    return document->isEmpty() ? 0 : document->blockCount();
}

QByteArray listLine(const QPlainTextEdit* list, int index) {
    if (index < 0 || index >= listLineCount(list)) return {};
    return toBytes(list->document()->findBlockByNumber(index).text());
}

void appendListLines(QPlainTextEdit* list, const QByteArrayList& lines) {
    if (lines.isEmpty()) return;
    QString text = fromBytes(lines.join('\n'));
    // appendPlainText() would drop blank entries at the start of an empty memo, and a blank entry ends
    // the upload, so each one must stay a line of its own.
    if (!list->document()->isEmpty()) text.prepend(QLatin1Char('\n'));
    QTextCursor end(list->document());
    end.movePosition(QTextCursor::End);
    end.insertText(text);
}
