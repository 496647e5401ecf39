#include "app/Bytes.h"
#include "app/TForm1.h"
#include "app/WholeFile.h"

#include <QTextBlock>

QByteArray TForm1::monitorText() const {
    // Line by line from the blocks: the document's plain text would turn non-breaking spaces into blanks.
    QByteArray log;
    const QTextDocument* document = Monitor->document();
    if (!document->isEmpty())
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
            log += toBytes(block.text()) + "\r\n";
    return log;
}

void TForm1::SaveMonitorClick() {
    const QString path = dialogs.saveFileName(QStringLiteral("Monitor files (*.mon)|*.mon"));
    if (path.isEmpty()) return;
    writeWholeFile(path, monitorText());
}
