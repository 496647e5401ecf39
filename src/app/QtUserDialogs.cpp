#include "app/QtUserDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <cstdio>

namespace {

// The extension a filter names first, "ORU files (*.oru)" gives "oru"; "*" and "*.*" give none.
QString firstExtension(const QString& filter) {
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    return pattern.match(filter).captured(1);
}

// A name typed without extension gets the chosen filter's one, and replacing a file is asked first.
QString chooseFile(QWidget* parent, QFileDialog::AcceptMode mode, const QString& filters,
                   const QString& folder) {
    QFileDialog dialog(parent, QString(), folder, filters);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    const auto useExtension = [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(firstExtension(filter));
    };
    useExtension(dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, useExtension);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString QtUserDialogs::qtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        filters << (description.contains(QLatin1Char('('))
                        ? description
                        : QStringLiteral("%1 (%2)").arg(description, parts[i + 1]));
    }
    return filters.join(QStringLiteral(";;"));
}

QString QtUserDialogs::openFileName(const QString& filter, const QString& folder) {
    if (m_dismissed) return {};
    return chooseFile(m_window, QFileDialog::AcceptOpen, qtFilter(filter), folder);
}

QString QtUserDialogs::saveFileName(const QString& filter) {
    if (m_dismissed) return {};
    return chooseFile(m_window, QFileDialog::AcceptSave, qtFilter(filter), QString());
}

std::optional<QString> QtUserDialogs::choosePort(const QStringList& choices) {
    if (m_dismissed) return std::nullopt;
    QDialog dialog(m_window);
    dialog.setWindowTitle(QStringLiteral("Select Port"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* invalid = new QLabel(QStringLiteral("The configured serial port is not valid."), &dialog);
    auto* choose = new QLabel(QStringLiteral("Please choose another port."), &dialog);
    auto* ports = new QComboBox(&dialog);
    // The list offers the devices found; a device path can be typed too.
    ports->setEditable(true);
    ports->addItems(choices);
    ports->setCurrentIndex(choices.isEmpty() ? -1 : 0);
    ports->setMinimumWidth(260);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    for (QWidget* w : std::initializer_list<QWidget*>{invalid, choose, ports, buttons})
        layout->addWidget(w);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    // OK with nothing chosen or typed acts as Cancel.
    if (dialog.exec() != QDialog::Accepted || m_dismissed || ports->currentText().trimmed().isEmpty())
        return std::nullopt;
    return ports->currentText().trimmed();
}

void QtUserDialogs::reportError(const QString& text) {
    if (m_dismissed) {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return;
    }
    QMessageBox box(QMessageBox::Critical, QStringLiteral("ZUVovu"), text, QMessageBox::Ok, m_window);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool QtUserDialogs::confirm(const Confirmation& question) {
    if (m_dismissed) return false;
    QDialog dialog(m_window);
    dialog.setWindowTitle(question.title);
    auto* layout = new QVBoxLayout(&dialog);
    auto* text = new QLabel(question.text, &dialog);
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    layout->addWidget(text);
    if (!question.details.isEmpty()) {
        auto* details = new QPlainTextEdit(question.details.join(QLatin1Char('\n')), &dialog);
        details->setReadOnly(true);
        // A long difference wraps and scrolls; nothing of it is cut.
        details->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        details->setMinimumSize(560, 240);
        layout->addWidget(details);
    }
    QCheckBox* option = nullptr;
    if (!question.optionText.isEmpty() && question.option) {
        option = new QCheckBox(question.optionText, &dialog);
        option->setChecked(*question.option);
        layout->addWidget(option);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, &dialog);
    QPushButton* accept = buttons->addButton(question.accept, QDialogButtonBox::AcceptRole);
    accept->setEnabled(!question.refused);
    // A stray Enter cancels: the accepting button has to be chosen.
    buttons->button(QDialogButtonBox::Cancel)->setDefault(true);
    accept->setAutoDefault(false);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    const bool accepted = dialog.exec() == QDialog::Accepted && !m_dismissed;
    if (accepted && option) *question.option = option->isChecked();
    return accepted;
}

UserDialogs::UnsavedChoice QtUserDialogs::askUnsaved(const QString& text) {
    if (m_dismissed) return UnsavedChoice::Discard;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("ZUVovu"), text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, m_window);
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Save)->setText(QStringLiteral("Save to file"));
    box.setDefaultButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return UnsavedChoice::Save;
    case QMessageBox::Discard:
        return UnsavedChoice::Discard;
    default:
        return m_dismissed ? UnsavedChoice::Discard : UnsavedChoice::Cancel;
    }
}

void QtUserDialogs::dismiss() {
    m_dismissed = true;
    // Each modal dialog runs its own event loop; closing the innermost one as cancelled ends it.
    while (QWidget* modal = QApplication::activeModalWidget()) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        if (QApplication::activeModalWidget() == modal) break;
    }
}
