#include "batch/ConsoleDialogs.h"

void ConsoleDialogs::reportError(const QString& text) {
    ++errorCount;
    m_err << "error: " << text << Qt::endl;
}
