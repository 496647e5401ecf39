#include "app/Captions.h"

#include "app/Caption.h"
#include "app/SharedState.h"
#include "core/Bytes.h"
#include "core/IniFile.h"
#include "widgets/TextRow.h"

#include <QWidget>

namespace {

using Getter = QString (*)(const QWidget*);
using Setter = void (*)(QWidget*, const QString&);

QByteArray withDevice(const char* text, const QByteArray& device) {
    return QByteArray(text).replace(devicePlaceholder, device);
}

QStringList names(const char* list) {
    return QString::fromLatin1(list).split(' ', Qt::SkipEmptyParts);
}

QWidget* control(QWidget& root, const QString& name) {
    auto* found = root.findChild<QWidget*>(name);
    if (!found) qWarning("The window has no control %s", qPrintable(name));
    return found;
}

void load(QWidget& root, const IniFile& ini, QByteArrayView section, std::span<const TextRow> rows,
          const QByteArray& device, Getter get, Setter set) {
    for (const TextRow& row : rows) {
        const QByteArray fallback = withDevice(row.defaultText ? row.defaultText : row.key, device);
        const QByteArray text = ini.readString(section, withDevice(row.key, device), fallback);
        QWidget* target = control(root, QString::fromLatin1(row.target));
        if (!target) continue;
        set(target, fromBytes(text));
        for (const QString& name : names(row.copies))
            if (QWidget* copy = control(root, name)) set(copy, get(target));
    }
}

void write(QWidget& root, IniFile& ini, QByteArrayView section, std::span<const TextRow> rows, Getter get) {
    for (const TextRow& row : rows) {
        if (!row.written) continue;
        if (const QWidget* target = control(root, QString::fromLatin1(row.target)))
            // The device-name row goes back under "ORU" in every edition: a value under another
            // edition's name is only ever put there by hand.
            ini.writeString(section, withDevice(row.key, "ORU"), toBytes(get(target)));
    }
}

} // namespace

void loadCaptions(QWidget& root, const IniFile& ini, SharedState& state) {
    state.languageName = ini.readString("Language", "Language", "Eng");
    load(root, ini, "Language", captionRows(), state.editionName, caption, setCaption);
    load(root, ini, "Help", hintRows(), state.editionName, hint, setHint);
}

void writeCaptions(QWidget& root, IniFile& ini, const SharedState& state) {
    ini.writeString("Language", "Language", state.languageName);
    write(root, ini, "Language", captionRows(), caption);
    write(root, ini, "Help", hintRows(), hint);
}

QStringList textControlNames() {
    QStringList all;
    for (const auto rows : {captionRows(), hintRows()})
        for (const TextRow& row : rows)
            all << QString::fromLatin1(row.target) << names(row.copies);
    all.removeDuplicates();
    return all;
}
