#include "batch/ConsoleDialogs.h"

void ConsoleDialogs::reportError(const QString& text) {
    if (errorCount++ == 0) firstError = text;
    m_err << "error: " << text << Qt::endl;
}
