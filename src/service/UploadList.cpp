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
