#include "app/Caption.h"
#include "app/Captions.h"
#include "app/SharedState.h"
#include "core/IniFile.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

#include <memory>

namespace {

// A stand-in for the window: every control that shows a text from the settings file, by name. Tab
// pages (one of them with its tab hidden), a group box and buttons stand for their kinds; the rest are
// labels.
std::unique_ptr<QWidget> makeWindow() {
    auto root = std::make_unique<QWidget>();
    auto* tabs = new QTabWidget(root.get());
    tabs->setObjectName(QStringLiteral("ORUtyp"));
    for (const QString name : {"ORUtyp1", "ORUtyp2", "TabSheet2"}) {
        auto* page = new QWidget;
        page->setObjectName(name);
        tabs->addTab(page, name);
    }
    tabs->setTabVisible(0, false);
    for (const QString& name : textControlNames()) {
        if (root->findChild<QWidget*>(name)) continue;
        QWidget* control = nullptr;
        if (name == "GroupBox4")
            control = new QGroupBox(root.get());
        else if (name.startsWith("DelButton"))
            control = new QPushButton(root.get());
        else if (QRegularExpression(QStringLiteral("^M\\dRel\\d$")).match(name).hasMatch())
            control = new QRadioButton(root.get());
        else
            control = new QLabel(root.get());
        control->setObjectName(name);
    }
    return root;
}

QWidget* control(QWidget& root, const QString& name) {
    auto* found = root.findChild<QWidget*>(name);
    if (!found) qFatal("no control %s", qPrintable(name));
    return found;
}

QByteArray fileData(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The keys of one section of a settings file, in file order.
QList<QByteArray> keysOf(const QByteArray& file, const QByteArray& section) {
    QList<QByteArray> keys;
    bool inSection = false;
    for (const QByteArray& line : file.split('\n')) {
        if (line.startsWith('['))
            inSection = line.trimmed() == '[' + section + ']';
        else if (inSection && line.contains('='))
            keys << line.left(line.indexOf('='));
    }
    return keys;
}

} // namespace

class TestCaptions : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString iniPath() const { return m_dir.filePath(QStringLiteral("ZUVovu.ini")); }

    void writeIni(const QByteArray& data) {
        QFile file(iniPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(data);
    }

    // One run of the program: load at start-up, write back at close.
    QWidget* startAndClose(const QByteArray& editionName, SharedState& state) {
        state.editionName = editionName;
        m_window = makeWindow();
        IniFile ini(iniPath());
        loadCaptions(*m_window, ini, state);
        writeCaptions(*m_window, ini, state);
        ini.save();
        return m_window.get();
    }

    std::unique_ptr<QWidget> m_window;

private slots:
    void init() {
        // A text whose control is missing, or of a kind that shows no caption, is a warning.
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        QFile::remove(iniPath());
    }

    void defaultsWithoutFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("isHint");
        QTest::addColumn<QString>("expected");
        QTest::newRow("page caption") << "TabSheet2" << false << "Monitor";
        QTest::newRow("caption of a hidden tab") << "ORUtyp1" << false << "1 button";
        QTest::newRow("group box") << "GroupBox4" << false << "4G-Kelvane";
        QTest::newRow("default differs from key") << "KeyBoardParams" << false << "Keyboard parameters";
        QTest::newRow("blanks of the week line") << "week" << false << "Mo  Tu    We  Th     Fr    Sa    Su";
        QTest::newRow("copy of a button") << "DelButton" << false << "Del Button";
        QTest::newRow("memo list's delete") << "DelMemo" << false << "Del Memo";
        QTest::newRow("memo panel's delete, named apart") << "DelMemoSel" << false << "Del Number";
        QTest::newRow("copy of a group box into a radio button") << "M4Rel2" << false << "Relay 2";
        QTest::newRow("copy of a check box") << "RelRing2" << false << "switch SIM ringing";
        QTest::newRow("label read twice")
            << "Label35" << false << "Phone number for SMSs with opening numbers";
        QTest::newRow("hint ending in the device") << "PhoneBook" << true << "Telephone book in 4G-Kelvane";
        QTest::newRow("copied hint") << "PhoneBook1" << true << "Telephone book in 4G-Kelvane";
        QTest::newRow("device inside a hint")
            << "signal" << true << "Finding the signal strength (only when stopped 4G-Kelvane).";
        QTest::newRow("hint starting with the device")
            << "DeviceStop" << true << "4G-Kelvane Status (Programming Mode / Stand By - Run mode).";
        QTest::newRow("two blanks kept") << "RelLi2" << true
                                         << "Relay switches pick up the call and will remain switched still  "
                                            "the switching time after hanging call.";
        QTest::newRow("last of many copies") << "ADMIN7" << true << "Telephone number";
        QTest::newRow("page hint copied from the monitor")
            << "TabSheet2" << true << "Monitoring serial communication.";
        QTest::newRow("keyboard memory shares a key") << "MemoPNumber" << true << "Phone number in memory.";
    }
    void defaultsWithoutFile() {
        QFETCH(QString, name);
        QFETCH(bool, isHint);
        QFETCH(QString, expected);
        SharedState state;
        state.editionName = "4G-Kelvane";
        const auto window = makeWindow();
        loadCaptions(*window, IniFile(iniPath()), state);
        QWidget* shown = control(*window, name);
        QCOMPARE(isHint ? hint(shown) : caption(shown), expected);
        QCOMPARE(state.languageName, QByteArray("Eng"));
    }

    void firstCloseWritesEveryKey() {
        SharedState state;
        startAndClose("ORU", state);
        const QByteArray file = fileData(iniPath());

        const QList<QByteArray> captions = keysOf(file, "Language");
        QCOMPARE(captions.size(), 95);
        QCOMPARE(captions.first(), QByteArray("Language"));
        QCOMPARE(captions.mid(captions.size() - 3),
                 (QList<QByteArray>{"Upgrade", "ORU", "Phone number for SMSs with opening numbers"}));
        QCOMPARE(QSet<QByteArray>(captions.begin(), captions.end()).size(), 95);

        const QList<QByteArray> hints = keysOf(file, "Help");
        QCOMPARE(hints.size(), 63);
        QCOMPARE(QSet<QByteArray>(hints.begin(), hints.end()).size(), 63);
        QVERIFY(!hints.contains("Status"));

        const IniFile written(iniPath());
        QCOMPARE(written.readString("Language", "Language", {}), QByteArray("Eng"));
        QCOMPARE(written.readString("Language", "Keyboard Parameters", {}),
                 QByteArray("Keyboard parameters"));
        QCOMPARE(written.readString("Help", "PhoneBook", {}), QByteArray("Telephone book in ORU"));
        QCOMPARE(written.readString("Help", "Name of memory", {}), QByteArray("Name of memory."));
    }

    // The device-name caption is read under the edition's name and written back under "ORU".
    void deviceNameKey() {
        SharedState state;
        startAndClose("GSM Menta", state);
        IniFile first(iniPath());
        QCOMPARE(first.readString("Language", "ORU", {}), QByteArray("GSM Menta"));
        QCOMPARE(first.readString("Language", "GSM Menta", "<none>"), QByteArray("<none>"));

        first.writeString("Language", "GSM Menta", "Menta CZ");
        first.writeString("Language", "ORU", "Jednotka");
        first.save();
        QWidget* window = startAndClose("GSM Menta", state);
        QCOMPARE(caption(control(*window, "GroupBox4")), QString("Menta CZ"));
        const IniFile second(iniPath());
        QCOMPARE(second.readString("Language", "ORU", {}), QByteArray("Menta CZ"));
        QCOMPARE(second.readString("Language", "GSM Menta", {}), QByteArray("Menta CZ"));
    }

    // A value put into the file by hand is shown by the row's control and all its copies, and the
    // next close leaves it as it was.
    void handEditedValue_data() {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("expected");
        QTest::newRow("language name") << QByteArray("Language") << QByteArray("Language") << QByteArray("Cz")
                                       << QStringList{} << QString();
        QTest::newRow("caption with a copy")
            << QByteArray("Language") << QByteArray("del button") << QByteArray("Smazat")
            << QStringList{"DelButtonSel", "DelButton"} << "Smazat";
        QTest::newRow("group box caption copied to radio buttons")
            << QByteArray("Language") << QByteArray("Relay 1") << QByteArray("Rel\xe9 1")
            << QStringList{"Relay1", "M0Rel1", "M1Rel1", "M2Rel1", "M3Rel1", "M4Rel1"} << "Rel\u00e9 1";
        QTest::newRow("label copied to labels")
            << QByteArray("Language") << QByteArray("day") << QByteArray("den")
            << QStringList{"Label51", "Label53", "Label48"} << "den";
        QTest::newRow("tab page") << QByteArray("Language") << QByteArray("1 button")
                                  << QByteArray("1 tla\xe8itko") << QStringList{"ORUtyp1"}
                                  << "1 tla\u00e8itko";
        QTest::newRow("week line") << QByteArray("Language")
                                   << QByteArray("Mo  Tu    We  Th     Fr    Sa    Su")
                                   << QByteArray("Po  Ut") << QStringList{"week"} << "Po  Ut";
        QTest::newRow("empty caption")
            << QByteArray("Language") << QByteArray("Find") << QByteArray() << QStringList{"Find"} << "";
        QTest::newRow("markup caption")
            << QByteArray("Language") << QByteArray("Memo") << QByteArray("<b>Memo</b> &amp;")
            << QStringList{"Label62", "Label56"} << "<b>Memo</b> &amp;";
        QTest::newRow("hint with copies")
            << QByteArray("Help") << QByteArray("Telephone number") << QByteArray("Cislo")
            << QStringList{"ABUTTON1", "AABUTTON4", "ADMIN7"} << "Cislo";
        QTest::newRow("status hint, never written")
            << QByteArray("Help") << QByteArray("Status") << QByteArray("Stav jednotky")
            << QStringList{"DeviceNic", "DeviceRun", "DeviceStop"} << "Stav jednotky";
        QTest::newRow("empty hint") << QByteArray("Help") << QByteArray("SMeter") << QByteArray()
                                    << QStringList{"Smeter"} << "";
        QTest::newRow("markup hint") << QByteArray("Help") << QByteArray("Save")
                                     << QByteArray("<i>Save</i> to PC") << QStringList{"Save"}
                                     << "<i>Save</i> to PC";
    }
    void handEditedValue() {
        QFETCH(QByteArray, section);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, value);
        QFETCH(QStringList, names);
        QFETCH(QString, expected);
        writeIni("[" + section + "]\r\n" + key + "=" + value + "\r\n");
        SharedState state;
        QWidget* window = startAndClose("ORU", state);
        for (const QString& name : names) {
            QWidget* shown = control(*window, name);
            QCOMPARE(section == "Help" ? hint(shown) : caption(shown), expected);
        }
        if (key == "Language") QCOMPARE(state.languageName, value);
        QCOMPARE(IniFile(iniPath()).readString(section, key, "<none>"), value);
    }

    // Whatever a translator writes, controls show it as written, never as markup.
    void textsShowPlain_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << "Save to PC";
        QTest::newRow("markup") << "<b>Save</b> to PC";
        QTest::newRow("entities and blanks") << "a  &lt; <br> b";
    }
    void textsShowPlain() {
        QFETCH(QString, text);
        QLabel label;
        setCaption(&label, text);
        QCOMPARE(label.textFormat(), Qt::PlainText);
        QCOMPARE(caption(&label), text);

        QTabWidget tabs;
        auto* page = new QWidget;
        tabs.addTab(page, QString());
        setHint(page, text);
        QCOMPARE(hint(page), text);
        QCOMPARE(tabs.tabToolTip(0), page->toolTip());
        // Qt shows a tooltip as rich text when it looks like markup; it must then render as the text.
        QString shown = page->toolTip();
        if (Qt::mightBeRichText(shown)) {
            QTextDocument document;
            document.setHtml(shown);
            shown = document.toPlainText();
        }
        QCOMPARE(shown, text);
    }
};

QTEST_MAIN(TestCaptions)
#include "tst_captions.moc"
