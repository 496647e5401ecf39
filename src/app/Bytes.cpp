#include "app/Bytes.h"

#include "app/Failure.h"

int toInt(const QByteArray& text) {
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok) throw Failure(QStringLiteral("'%1' is not a valid integer value").arg(fromBytes(text)));
    return value;
}
