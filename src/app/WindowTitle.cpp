#include "app/TForm1.h"
#include "files/UnsavedEdits.h"

#include <QEvent>
#include <QFileInfo>

void TForm1::refreshTitle() {
    m_titleCheck.stop();
    const bool unsaved = unsavedEdits->pending();
    if (shownFile.isEmpty() && !unsaved) {
        setWindowTitle(m_baseTitle);
        return;
    }
    const QString file = shownFile.isEmpty() ? QStringLiteral("no file") : QFileInfo(shownFile).fileName();
    setWindowTitle(
        QStringLiteral("%1%2 - %3").arg(file, unsaved ? QStringLiteral("*") : QString(), m_baseTitle));
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyRelease:
    case QEvent::MouseButtonRelease:
    case QEvent::Drop:
    case QEvent::Wheel:
        if (watched->isWidgetType() && isAncestorOf(static_cast<QWidget*>(watched))) m_titleCheck.start();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
