#include "FormFixture.h"

#include "app/ConfigurationView.h"
#include "core/Bytes.h"
#include "core/CodePage.h"
#include "files/ConfigFile.h"

#include <QtTest>

Q_DECLARE_METATYPE(const CodePage*)
Q_DECLARE_METATYPE(Configuration)

// Showing a configuration on the window and reading the window gives it back byte for byte, in every code
// page; reading and showing it again changes nothing.
class ConfigurationViewTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { setCodePage(CodePage::ofSystem()); }
    void showThenReadGivesItBack_data();
    void showThenReadGivesItBack();
};

namespace {

Configuration withParameters(Configuration c, const QByteArrayList& strings) {
    for (int i = 0; i < 4; ++i)
        c.entry(FixedEntries::FirstParameter + i) = strings[i];
    return c;
}

QList<std::pair<const char*, Configuration>> cases() {
    Configuration ordinary;
    ordinary.entry(1) = "+420603111222";
    ordinary.entry(9) = "*#10";
    ordinary.entry(16) = "602";
    ordinary.entry(22) = "Alarm on, zone=1";
    ordinary.rows = {"Jan=123", "B1-1=602111", "DETECT=1"};
    ordinary = withParameters(ordinary, {"4#6#2#1#0#5#1#3", "5#4#03#0", "6#1#99#1", "9#1"});

    Configuration odd = ordinary;
    odd.entry(22) = "\x80\x8a\x9a\xa0\xc8\xe1\xff \t!";
    odd.entry(23) = "\xe9\xb9";
    odd.rows = {"\xc8\xe1=\xff", "x=1=2", "note without a name", "=5", "Novak="};

    return {{"ordinary", ordinary},
            {"odd bytes in texts and rows", odd},
            {"strings the controls encode otherwise",
             withParameters(ordinary, {"4#4#0#0#1#7#2#0", "55#1#03#1", "", "2#0 "})},
            {"a string one field longer",
             withParameters(ordinary, {"4#4#0#0#1#7#2#0#1", "5#1#03#1", "6#0#03#0", "2#0"})},
            {"a string the decoder cannot read",
             withParameters(ordinary, {"x#4#0#0#1#7#2#0", "5#1#03#1", "6#0#03#0", "2#0"})},
            {"nothing at all", Configuration{}}};
}

} // namespace

void ConfigurationViewTest::showThenReadGivesItBack_data() {
    QTest::addColumn<const CodePage*>("page");
    QTest::addColumn<Configuration>("configuration");
    for (const CodePage* page : {&CodePage::Windows1250, &CodePage::Windows1251, &CodePage::Windows1252})
        for (const auto& [name, configuration] : cases())
            QTest::addRow("%s, %s", page->name().data(), name) << page << configuration;
}

void ConfigurationViewTest::showThenReadGivesItBack() {
    QFETCH(const CodePage*, page);
    QFETCH(Configuration, configuration);
    setCodePage(*page);
    FormFixture f;
    TForm1& form = *f.form;
    configuration.simCapacity = form.engine.sim.capacity;
    // A string the decoder cannot read is reported; everything, that string too, is shown all the same.
    form.run([&] { showOnControls(form, configuration); });
    const Configuration read = readControls(form);
    QCOMPARE(configurationFile(read), configurationFile(configuration));
    QCOMPARE(read, configuration);

    const std::array<QByteArray, 4> encoded = form.encodedParameters();
    form.run([&] { showOnControls(form, read); });
    QCOMPARE(readControls(form), configuration);
    QCOMPARE(form.encodedParameters(), encoded);
}

QTEST_MAIN(ConfigurationViewTest)
#include "tst_configurationview.moc"
