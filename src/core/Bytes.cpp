#include "core/Bytes.h"

#include "core/Failure.h"

namespace {

const CodePage* current = nullptr;

} // namespace

const CodePage& codePage() {
    if (!current) current = &CodePage::ofSystem();
    return *current;
}

void setCodePage(const CodePage& page) {
    current = &page;
}

int toInt(const QByteArray& text) {
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok) throw Failure(QStringLiteral("'%1' is not a valid integer value").arg(fromBytes(text)));
    return value;
}
