#include "FormFixture.h"

#include <QCoreApplication>
#include <QFile>
#include <QPlainTextEdit>

FormFixture::FormFixture(const QString& exeName, bool create) {
    form = std::make_unique<TForm1>(port, pacer, dialogs, exeName, settingsPath());
    if (create) {
        form->run([this] { form->FormCreate(); });
        // No module answers start-up here: the lines a test says answer what it has asked since.
        form->unit.forgetOpen();
    }
}

FormFixture::~FormFixture() {
    form.reset();
}

void FormFixture::say(const QByteArrayList& lines) {
    for (const QByteArray& line : lines)
        port.deliver("\r\n" + line + "\r\n");
}

void FormFixture::asked(const QByteArray& command) {
    form->unit.send(command + "\r\n");
    port.sent.removeLast();
}

void FormFixture::forgetStartup() {
    port.clearSent();
    pacer.waits.clear();
    form->Monitor->clear();
}

void FormFixture::settle() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

QStringList FormFixture::monitorLines() const {
    const QString text = form->Monitor->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

void FormFixture::writeSettings(const QByteArray& text) {
    QFile file(settingsPath());
    file.open(QIODevice::WriteOnly);
    file.write(text);
}
