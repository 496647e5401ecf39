#include "SimFormFixture.h"

#include "Transcript.h"

SimFormFixture::SimFormFixture(const SimOptions& options, const QString& exeName)
    : unit(options), port(unit) {
    form =
        std::make_unique<TForm1>(port, pacer, dialogs, exeName, dir.filePath(QStringLiteral("zuvovu.ini")));
}

void SimFormFixture::settle() {
    ::settle(port);
}

QStringList SimFormFixture::monitorLines() const {
    const QString text = form->Monitor->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}
