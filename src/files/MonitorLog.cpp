#include "app/TForm1.h"
#include "core/WholeFile.h"
#include "widgets/MonitorView.h"

QByteArray TForm1::monitorText() const {
    return QByteArray(Monitor->lines()).replace('\n', "\r\n");
}

void TForm1::SaveMonitorClick() {
    const QString path = dialogs.saveFileName(QStringLiteral("Monitor files (*.mon)|*.mon"));
    if (path.isEmpty()) return;
    writeWholeFile(path, monitorText());
}
