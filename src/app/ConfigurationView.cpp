#include "app/ConfigurationView.h"

#include "app/TForm1.h"
#include "config/ConfigurationChanges.h"
#include "core/Bytes.h"
#include "files/PhoneBookList.h"

namespace {

constexpr int Parameters = 4;

std::array<QByteArray, Parameters> shownStrings(TForm1& form) {
    std::array<QByteArray, Parameters> strings = form.encodedParameters();
    for (int i = 0; i < Parameters; ++i) {
        const TForm1::ShownParameter& shown = form.shownParameters[i];
        if (shown.bytes && shown.shownAs == strings[i]) strings[i] = *shown.bytes;
    }
    return strings;
}

// A caption as a sentence reads it: without its mnemonic mark and the blanks around it.
QString plain(QString caption) {
    return caption.replace(QLatin1String("&&"), QLatin1String("\x01"))
        .remove(QLatin1Char('&'))
        .replace(QLatin1Char('\x01'), QLatin1Char('&'))
        .trimmed();
}

} // namespace

Configuration readControls(TForm1& form) {
    Configuration configuration;
    for (int entry = 1; entry < FixedEntries::FirstParameter; ++entry)
        configuration.entry(entry) = toBytes(FixedEntries::edit(form, entry)->text());
    const std::array<QByteArray, Parameters> strings = shownStrings(form);
    for (int i = 0; i < Parameters; ++i)
        configuration.entry(FixedEntries::FirstParameter + i) = strings[i];
    for (int row = 0; row < form.PhoneBook1->lineCount(); ++row)
        configuration.rows << form.PhoneBook1->line(row);
    configuration.simCapacity = form.engine.sim.capacity;
    return configuration;
}

void showOnControls(TForm1& form, const Configuration& configuration) {
    // Each edit's own handler filters a number and fills an ABUTTON edit's twin.
    for (int entry = 1; entry < FixedEntries::FirstParameter; ++entry)
        FixedEntries::edit(form, entry)->setText(fromBytes(configuration.entry(entry)));
    form.PhoneBook1->clearLines();
    for (const QByteArray& row : configuration.rows)
        form.PhoneBook1->appendLine(row);
    const std::array<QByteArray, Parameters> shown = shownStrings(form);
    bool same = true;
    for (int i = 0; i < Parameters; ++i)
        same &= shown[i] == configuration.entry(FixedEntries::FirstParameter + i);
    if (same) return;
    // The decoder reads all four strings at once, so all four are put in place before it runs.
    for (int i = 0; i < Parameters; ++i)
        form.takeParameter(FixedEntries::FirstParameter + i,
                           configuration.entry(FixedEntries::FirstParameter + i));
    form.ParamsToControls();
}

QStringList parameterFieldNames(const TForm1& f) {
    const auto relay = [](const QGroupBox* group, const QString& what) {
        return plain(group->title()) + QLatin1Char(' ') + plain(what);
    };
    QStringList names{plain(f.GroupBox2->title()), plain(f.GroupBox1->title()),  plain(f.GroupBox3->title()),
                      plain(f.SendSMS->text()),    plain(f.ClockGSM->text()),    plain(f.InfoTones->title()),
                      plain(f.Port->title()),      plain(f.WaitingCall->title())};
    const std::tuple<QGroupBox*, QLabel*, QLabel*> relays[] = {{f.Relay1, f.Label31, f.Label33},
                                                               {f.Relay2, f.Label32, f.Label34}};
    for (const auto& [group, code, time] : relays)
        names << relay(group, code->text()) << relay(group, QStringLiteral("function"))
              << relay(group, time->text()) << relay(group, QStringLiteral("ringing"));
    names << plain(f.Label63->text()) << plain(f.DirectCall->text());
    Q_ASSERT(names.size() == parameterFields().size());
    return names;
}
